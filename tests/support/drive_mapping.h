// Maps a drive letter to a folder for the length of a test, as a fixed or as
// a network drive, on every platform: through the library's drive map on
// POSIX, through Wine's drive configuration under Wine.
#pragma once

#include <string>

namespace jx::test {

class ScopedDriveMapping {
public:
    enum Kind { fixed, network };
    ScopedDriveMapping(char letter, const std::string& folder, Kind kind);
    ~ScopedDriveMapping();
    ScopedDriveMapping(const ScopedDriveMapping&) = delete;
    ScopedDriveMapping& operator=(const ScopedDriveMapping&) = delete;

    // Whether the mapping took effect (tests skip themselves when not).
    bool ok() const { return ok_; }
    // "X:\" for the mapped letter.
    std::string root() const;

private:
    char letter_;
    bool ok_ = false;
};

} // namespace jx::test
