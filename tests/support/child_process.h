// Another process that holds a file open, for tests of sharing across
// processes. The child is this same test program, started again; its main
// sees the request and does nothing but hold the file.
#pragma once

#include "platform/win32.h"

#include <string>

namespace jx::test {

class ScopedDriveMapping;

class FileHolder {
public:
    // Starts the child, which opens `path` through jxfileio with the given
    // access and share mode, and waits until it has tried.
    FileHolder(const std::string& path, DWORD access, DWORD share_mode);
    // Lets the child close the file and waits for it to end.
    ~FileHolder();
    FileHolder(const FileHolder&) = delete;
    FileHolder& operator=(const FileHolder&) = delete;

    // Whether the child has the file open.
    bool holding() const { return started_ && child_error_ == 0; }
    // The Windows error code of the child's failed open (0 when holding).
    DWORD child_error() const { return child_error_; }

private:
    bool started_ = false;
    DWORD child_error_ = 0;
    std::string signal_;
    void* process_ = nullptr;
};

// Another instance of the application, run by another user, that has a data
// file open: the child takes the file's lock under the logon name `user` and
// keeps it until the holder is destroyed, when it closes the file as the
// application does (flck_reset).
class LockHolder {
public:
    // `name` is a file in `drive`'s folder; the child sees the same drive.
    LockHolder(const ScopedDriveMapping& drive, const std::string& name, const std::string& user);
    ~LockHolder();
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    // The child's lock state after opening (-1 when the child did not run).
    int state() const { return state_; }

private:
    int state_ = -1;
    std::string signal_;
    void* process_ = nullptr;
};

// Called first by the test programs' main: when this process is a file or
// lock holder, holds it and returns its exit status; otherwise returns -1.
int run_file_holder_if_requested();

namespace detail {
// Starts this program again with the environment variable set; returns a
// process token, or null on failure.
void* start_self(const char* variable, const std::string& value);
// Waits for the process to end and releases the token.
void wait_for(void* process);
// Whether the process has ended (the token stays valid for wait_for).
bool has_ended(void* process);
// Gives this process the drive `root` ("N:\\") as its parent has it, backed
// by `native_root` (where drive letters are the library's own).
void map_drive_as_parent(const std::string& root, const std::string& native_root, unsigned type);
} // namespace detail

} // namespace jx::test
