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

// <temp>/jx6ut-fuzz-<pid>/{archive.zip, out/target/}; after each run only the
// target folder may have changed.
struct Layout {
    fs::path root;
    fs::path archive;
    fs::path target;
    Layout() {
        root = fs::temp_directory_path() / ("jx6ut-fuzz-" + std::to_string(std::rand()));
        archive = root / "archive.zip";
        target = root / "out" / "target";
        fs::create_directories(target);
    }
};

size_t entries_below(const fs::path& folder) {
    size_t count = 0;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; it != end; it.increment(error))
        ++count;
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Layout layout;
    {
        std::ofstream out(layout.archive, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    std::string archive = layout.archive.string();
    std::string target = layout.target.string();
    ArchiveManager manager;
    manager.UnpackExistingArchive(&archive[0], &target[0]);

    // Only the archive, "out" and "out/target" with what it holds.
    const size_t inside = entries_below(layout.target);
    if (entries_below(layout.root) != 2 + inside + 1) std::abort();
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(layout.target, error))
        fs::remove_all(entry.path(), error);
    return 0;
}
