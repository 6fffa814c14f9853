#include "support/drive_mapping.h"
#include "support/temp_dir.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <sstream>

namespace jx::test {

std::string unique_folder_name() {
    static std::atomic<unsigned> counter{0};
    std::ostringstream name;
    name << "jx-" << std::chrono::steady_clock::now().time_since_epoch().count() << '-'
         << counter++;
    return name.str();
}

std::string ScopedDriveMapping::root() const {
    return std::string(1, letter_) + ":\\";
}

std::string ScopedDriveMapping::native_file(const std::string& name) const {
    return (std::filesystem::path(native_dir_) / name).string();
}

} // namespace jx::test
