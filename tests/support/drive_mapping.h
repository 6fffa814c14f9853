// A drive for the length of a test, fixed or network, on every platform.
//
// On POSIX the library's drive map gives the letter a fresh temporary folder.
// Under Wine the build's prefix has M: (fixed) and N: (network) linked to
// folders of the build (see cmake/wine-drives.sh); each mapping then works in
// a fresh folder of its own on that drive. Tests use dir() for the library
// and native_dir() for the test's own file handling.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace jx::test {

class TempDir;

class ScopedDriveMapping {
public:
    enum Kind { fixed, network };
    explicit ScopedDriveMapping(Kind kind);
    ~ScopedDriveMapping(); // no copies: the backing folder is owned

    // Whether the drive is there (tests skip themselves when not).
    bool ok() const { return ok_; }
    // "M:\" or "N:\".
    std::string root() const { return std::string(1, letter_) + ":\\"; }
    // A fresh folder on the drive, as the library names it ("N:\jx-...").
    const std::string& dir() const { return dir_; }
    // The same folder as the test program's own file functions name it.
    const std::string& native_dir() const { return native_dir_; }
    // `name` in dir() (native_dir() takes "/" on every platform).
    std::string file(const std::string& name) const { return dir_ + "\\" + name; }

private:
    char letter_;
    bool ok_ = false;
    std::string dir_;
    std::string native_dir_;
    std::unique_ptr<TempDir> backing_;
};

// A name for a fresh folder: unique within and across processes.
std::string unique_folder_name();

} // namespace jx::test
