#include "support/drive_mapping.h"
#include "support/temp_dir.h"

#include "platform/win32.h"

namespace jx::test {

// The drives come with the Wine prefix of the build; on a Windows machine
// without them ok() is false and the tests that need them are skipped.
ScopedDriveMapping::ScopedDriveMapping(Kind kind) : letter_(kind == network ? 'N' : 'M') {
    if (GetDriveTypeA(root().c_str()) != (kind == network ? DRIVE_REMOTE : DRIVE_FIXED)) return;
    dir_ = root() + unique_folder_name();
    native_dir_ = dir_;
    std::error_code error;
    ok_ = std::filesystem::create_directory(native_dir_, error);
}

ScopedDriveMapping::~ScopedDriveMapping() {
    std::error_code error;
    if (ok_) std::filesystem::remove_all(native_dir_, error);
}

} // namespace jx::test
