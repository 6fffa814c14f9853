// Unpacking arbitrary bytes as an archive: never a crash, and never a file
// outside the target folder, whatever the entry names say.
#include "archive/archive_manager.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // <temp>/jx6ut-fuzz-<n>/{archive.zip, out/target/}; after each run only
    // the target folder may have changed.
    static const fs::path root =
        fs::temp_directory_path() / ("jx6ut-fuzz-" + std::to_string(std::rand()));
    static std::string archive = (root / "archive.zip").string();
    static std::string target = (root / "out" / "target").string();
    static const bool made = fs::create_directories(target) || fs::is_directory(target);
    std::ofstream(archive, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    ArchiveManager().UnpackExistingArchive(&archive[0], &target[0]);

    // Only the archive and "out" in the folder, only "target" in "out".
    std::error_code error;
    const auto count = [&error](const fs::path& folder) {
        return std::distance(fs::directory_iterator(folder, error), fs::directory_iterator());
    };
    if (!made || count(root) != 2 || count(root / "out") != 1) std::abort();
    for (const auto& entry : fs::directory_iterator(target, error))
        fs::remove_all(entry.path(), error);
    return 0;
}
