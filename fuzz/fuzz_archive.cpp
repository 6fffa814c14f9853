// Unpacking arbitrary bytes as an archive: never a crash, and never a file
// outside the target folder, whatever the entry names say.
#include "archive/archive_manager.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

size_t entries_below(const fs::path& folder) {
    size_t count = 0;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; it != end; it.increment(error))
        ++count;
    return count;
}

} // namespace

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

    // Only the archive, "out" and "out/target" with what it holds.
    if (!made || entries_below(root) != 2 + entries_below(target) + 1) std::abort();
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(target, error))
        fs::remove_all(entry.path(), error);
    return 0;
}
