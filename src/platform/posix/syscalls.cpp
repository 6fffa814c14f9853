// The POSIX layer's system calls, each through one slot, and the fault seam
// that the fault tests use to make the Nth call fail.
#include "layer.h"
#include "../testing.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

namespace jx::posix {
namespace {

struct FaultPlan {
    std::atomic<int> calls{0};
    std::atomic<int> nth{0}; // 0: no fault planned
    std::atomic<int> error{0};
    std::atomic<bool> fired{false};
};
FaultPlan g_plan;

enum class Fault { none, fail, short_transfer };

// Counts one system call and says whether the planned fault strikes it.
Fault next_call() {
    if (g_plan.nth.load() == 0) return Fault::none;
    const int call = ++g_plan.calls;
    if (call != g_plan.nth.load()) return Fault::none;
    g_plan.fired = true;
    if (g_plan.error.load() == 0) return Fault::short_transfer;
    errno = g_plan.error.load();
    return Fault::fail;
}

} // namespace

namespace sys {

int open(const char* path, int flags, mode_t mode) {
    if (next_call() == Fault::fail) return -1;
    int fd;
    do fd = ::open(path, flags | O_CLOEXEC, mode);
    while (fd < 0 && errno == EINTR);
    return fd;
}

ssize_t read(int fd, void* buffer, size_t count) {
    switch (next_call()) {
    case Fault::fail:
        return -1;
    case Fault::short_transfer:
        count /= 2;
        break;
    case Fault::none:
        break;
    }
    ssize_t n;
    do n = ::read(fd, buffer, count);
    while (n < 0 && errno == EINTR);
    return n;
}

ssize_t write(int fd, const void* buffer, size_t count) {
    switch (next_call()) {
    case Fault::fail:
        return -1;
    case Fault::short_transfer:
        count /= 2;
        break;
    case Fault::none:
        break;
    }
    ssize_t n;
    do n = ::write(fd, buffer, count);
    while (n < 0 && errno == EINTR);
    return n;
}

off_t lseek(int fd, off_t offset, int whence) {
    if (next_call() == Fault::fail) return -1;
    return ::lseek(fd, offset, whence);
}

int fstat(int fd, struct stat* info) {
    if (next_call() == Fault::fail) return -1;
    return ::fstat(fd, info);
}

int stat(const char* path, struct stat* info) {
    if (next_call() == Fault::fail) return -1;
    return ::stat(path, info);
}

int ftruncate(int fd, off_t length) {
    if (next_call() == Fault::fail) return -1;
    return ::ftruncate(fd, length);
}

int unlink(const char* path) {
    if (next_call() == Fault::fail) return -1;
    return ::unlink(path);
}

int access(const char* path, int mode) {
    if (next_call() == Fault::fail) return -1;
    return ::access(path, mode);
}

int getpwuid_r(uid_t user, struct passwd* entry, char* scratch, size_t size,
               struct passwd** found) {
    *found = nullptr;
    if (next_call() == Fault::fail) return errno;
    return ::getpwuid_r(user, entry, scratch, size, found);
}

int close(int fd) {
    return ::close(fd);
}

void* realloc(void* block, size_t size) {
    if (next_call() == Fault::fail) return nullptr;
    return std::realloc(block, size);
}

} // namespace sys
} // namespace jx::posix

namespace jx::testing {

using jx::posix::g_plan;

ScopedSyscallFault::ScopedSyscallFault(int nth, int error) {
    g_plan.calls = 0;
    g_plan.fired = false;
    g_plan.error = error;
    g_plan.nth = nth;
}

ScopedSyscallFault::~ScopedSyscallFault() {
    g_plan.nth = 0;
    g_plan.error = 0;
}

bool ScopedSyscallFault::fired() const {
    return g_plan.fired;
}
int ScopedSyscallFault::calls() const {
    return g_plan.calls;
}

} // namespace jx::testing
