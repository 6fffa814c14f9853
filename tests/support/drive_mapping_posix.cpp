#include "support/drive_mapping.h"
#include "support/temp_dir.h"

#include "platform/drive_map.h"
#include "platform/win32.h"

namespace jx::test {

// The library's drive map gives the letter a fresh temporary folder.
ScopedDriveMapping::ScopedDriveMapping(Kind kind)
    : letter_(kind == network ? 'N' : 'M'), backing_(std::make_unique<TempDir>()) {
    if (!jx_map_drive(letter_, backing_->path().c_str(),
                      kind == network ? DRIVE_REMOTE : DRIVE_FIXED))
        return;
    const std::string name = unique_folder_name();
    native_dir_ = backing_->file(name);
    dir_ = root() + name;
    std::error_code error;
    ok_ = std::filesystem::create_directory(native_dir_, error);
}

ScopedDriveMapping::~ScopedDriveMapping() {
    jx_map_drive(letter_, nullptr, 0);
}

} // namespace jx::test
