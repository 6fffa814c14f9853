// Another process that holds a file open, for tests of sharing across
// processes. The child is this same test program, started again; its main
// sees the request and does nothing but hold the file.
#pragma once

#include "platform/win32.h"

#include <string>

namespace jx::test {

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
    bool holding() const { return child_error_ == 0; }
    // The Windows error code of the child's failed open (0 when holding).
    DWORD child_error() const { return child_error_; }

private:
    DWORD child_error_ = ERROR_INVALID_FUNCTION; // until the child reports
    std::string signal_;
    void* process_ = nullptr;
};

// Called first by the test programs' main: when this process is a file
// holder, holds the file and returns its exit status; otherwise returns -1.
int run_file_holder_if_requested();

// The system's halves (child_process_posix.cpp, child_process_win.cpp):
// starting this program again with `request` in the environment variable
// (a null token when it could not start), and waiting for it.
namespace detail {
void* start_self(const char* variable, const std::string& request);
bool has_ended(void* process);
void wait_for(void* process);
} // namespace detail

} // namespace jx::test
