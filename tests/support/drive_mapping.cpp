#include "support/drive_mapping.h"
#include "support/temp_dir.h"

#include "platform/win32.h"
#if !defined(_WIN32)
#include "platform/drive_map.h"
#endif

#include <atomic>
#include <chrono>
#include <string>

namespace jx::test {

std::string unique_folder_name() {
    static std::atomic<unsigned> counter{0};
    return "jx-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) +
           '-' + std::to_string(counter++);
}

// Under Windows the drives come with the Wine prefix of the build; on a
// Windows machine without them ok() is false and the tests that need them
// are skipped.
ScopedDriveMapping::ScopedDriveMapping(Kind kind) : letter_(kind == network ? 'N' : 'M') {
    const UINT type = kind == network ? DRIVE_REMOTE : DRIVE_FIXED;
    const std::string name = unique_folder_name();
#if defined(_WIN32)
    if (GetDriveTypeA(root().c_str()) != type) return;
    native_dir_ = root() + name;
#else
    backing_ = std::make_unique<TempDir>();
    if (!jx_map_drive(letter_, backing_->path().c_str(), type)) return;
    native_dir_ = backing_->file(name);
#endif
    dir_ = root() + name;
    std::error_code error;
    ok_ = std::filesystem::create_directory(native_dir_, error);
}

ScopedDriveMapping::~ScopedDriveMapping() {
#if defined(_WIN32)
    std::error_code error;
    if (ok_) std::filesystem::remove_all(native_dir_, error);
#else
    jx_map_drive(letter_, nullptr, 0);
#endif
}

} // namespace jx::test
