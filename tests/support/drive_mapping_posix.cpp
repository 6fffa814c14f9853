#include "support/drive_mapping.h"

#include "platform/drive_map.h"

namespace jx::test {

ScopedDriveMapping::ScopedDriveMapping(char letter, const std::string& folder, Kind kind)
    : letter_(letter) {
    ok_ = jx_map_drive(letter, folder.c_str(), kind == network ? DRIVE_REMOTE : DRIVE_FIXED);
}

ScopedDriveMapping::~ScopedDriveMapping() {
    if (ok_) jx_map_drive(letter_, nullptr, 0);
}

std::string ScopedDriveMapping::root() const { return std::string(1, letter_) + ":\\"; }

} // namespace jx::test
