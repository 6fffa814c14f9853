// Windows file handles over POSIX file descriptors, with Windows creation
// modes and share modes.
//
// Share modes are enforced within and across processes with open file
// description (OFD) locks, which belong to each open() rather than to the
// process. Every handle takes shared locks on marker bytes far beyond any
// real data: one for each access it holds (read, write) and one for each
// access it refuses to share. An open then conflicts exactly when another
// handle holds the marker that contradicts it: reading is refused while
// someone denies reading, denying reading is refused while someone reads,
// and so on. Markers are taken first and checked after, so two opens racing
// each other may both fail but never both succeed.
#include "layer.h"

#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>
#include <vector>

namespace {

using jx::posix::fail;
namespace sys = jx::posix::sys;

enum Marker : off_t {
    kHasRead = 0,
    kHasWrite,
    kDeniesRead,
    kDeniesWrite,
    kDeniesDelete,
    kMarkerCount
};
constexpr off_t kMarkerBase = off_t(1) << 62;

struct FileObject {
    int fd = -1;
    bool can_read = false;
    bool can_write = false;
};

std::mutex g_handles_mutex;
std::vector<FileObject> g_handles; // slot i is handle value (i + 1) * 4, as Windows counts

HANDLE make_handle(const FileObject& file) {
    std::lock_guard<std::mutex> lock(g_handles_mutex);
    size_t slot = 0;
    while (slot < g_handles.size() && g_handles[slot].fd >= 0) ++slot;
    if (slot == g_handles.size()) g_handles.emplace_back();
    g_handles[slot] = file;
    return reinterpret_cast<HANDLE>(static_cast<uintptr_t>((slot + 1) * 4));
}

// Looks a handle up; false (with ERROR_INVALID_HANDLE) when it is not open.
bool find_handle(HANDLE handle, FileObject& file) {
    const uintptr_t value = reinterpret_cast<uintptr_t>(handle);
    std::lock_guard<std::mutex> lock(g_handles_mutex);
    if (value == 0 || value % 4 != 0 || value / 4 > g_handles.size() ||
        g_handles[value / 4 - 1].fd < 0)
        return fail(ERROR_INVALID_HANDLE, false);
    file = g_handles[value / 4 - 1];
    return true;
}

bool lock_marker(int fd, Marker marker) {
    struct flock lock = {};
    lock.l_type = F_RDLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = kMarkerBase + marker;
    lock.l_len = 1;
    return fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

// Whether another open file holds the marker. A file system without locks
// reports nothing, so sharing is then not enforced.
bool marker_held_elsewhere(int fd, Marker marker) {
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = kMarkerBase + marker;
    lock.l_len = 1;
    if (fcntl(fd, F_OFD_GETLK, &lock) != 0) return false;
    return lock.l_type != F_UNLCK;
}

// Takes the handle's markers and reports whether it conflicts with any other
// open handle of the same file.
bool share_conflict(int fd, bool reads, bool writes, DWORD share) {
    // A handle without data access (attributes only) takes no part in sharing.
    if (!reads && !writes) return false;
    const bool denies_read = !(share & FILE_SHARE_READ);
    const bool denies_write = !(share & FILE_SHARE_WRITE);
    const bool denies_delete = !(share & FILE_SHARE_DELETE);
    const struct {
        bool take;
        Marker marker;
    } markers[] = {{reads, kHasRead},
                   {writes, kHasWrite},
                   {denies_read, kDeniesRead},
                   {denies_write, kDeniesWrite},
                   {denies_delete, kDeniesDelete}};
    for (const auto& m : markers)
        if (m.take && !lock_marker(fd, m.marker) && errno != EINVAL && errno != ENOLCK &&
            errno != EBADF)
            return true;
    return (reads && marker_held_elsewhere(fd, kDeniesRead)) ||
           (writes && marker_held_elsewhere(fd, kDeniesWrite)) ||
           (denies_read && marker_held_elsewhere(fd, kHasRead)) ||
           (denies_write && marker_held_elsewhere(fd, kHasWrite));
}

// The error for a failed open, with the missing-folder case told apart.
DWORD open_error(int error, const std::string& native) {
    if (error == ENOENT) return jx::posix::missing_entry_error(native);
    return jx::posix::win32_error_from_errno(error);
}

} // namespace

extern "C" {

HANDLE WINAPI CreateFileA(LPCSTR name, DWORD access, DWORD share_mode, LPSECURITY_ATTRIBUTES,
                          DWORD creation, DWORD, HANDLE) {
    if (!name) return fail(ERROR_PATH_NOT_FOUND, INVALID_HANDLE_VALUE);
    if (creation < CREATE_NEW || creation > TRUNCATE_EXISTING)
        return fail(ERROR_INVALID_PARAMETER, INVALID_HANDLE_VALUE);
    const bool reads = (access & (GENERIC_READ | GENERIC_ALL)) != 0;
    const bool writes = (access & (GENERIC_WRITE | GENERIC_ALL)) != 0;
    if (creation == TRUNCATE_EXISTING && !writes)
        return fail(ERROR_INVALID_PARAMETER, INVALID_HANDLE_VALUE);

    std::string native;
    if (const DWORD error = jx::posix::to_native_path(name, native))
        return fail(error, INVALID_HANDLE_VALUE);

    // A writer's descriptor is opened for reading too, because the share
    // markers are read locks, which POSIX grants only on readable files; the
    // handle's own access is checked by ReadFile and WriteFile.
    const int mode = writes ? O_RDWR : O_RDONLY;
    // Open an existing file first, so that nothing is created or emptied
    // before the share check; create it only when there was none.
    bool existed = true;
    int fd = creation == CREATE_NEW ? -1 : sys::open(native.c_str(), mode);
    if (fd < 0 && errno == EACCES && writes) fd = sys::open(native.c_str(), O_WRONLY);
    if (creation == CREATE_NEW ||
        (fd < 0 && errno == ENOENT && creation != OPEN_EXISTING && creation != TRUNCATE_EXISTING)) {
        existed = false;
        fd = sys::open(native.c_str(), mode | O_CREAT | O_EXCL, 0666);
    }
    if (fd < 0) return fail(open_error(errno, native), INVALID_HANDLE_VALUE);

    struct stat info;
    if (sys::fstat(fd, &info) != 0) {
        const DWORD error = jx::posix::win32_error_from_errno(errno);
        sys::close(fd);
        if (!existed) ::unlink(native.c_str());
        return fail(error, INVALID_HANDLE_VALUE);
    }
    if (S_ISDIR(info.st_mode)) {
        sys::close(fd);
        return fail(ERROR_ACCESS_DENIED, INVALID_HANDLE_VALUE);
    }
    if (share_conflict(fd, reads, writes, share_mode)) {
        sys::close(fd);
        if (!existed) ::unlink(native.c_str());
        return fail(ERROR_SHARING_VIOLATION, INVALID_HANDLE_VALUE);
    }
    const bool empties = creation == CREATE_ALWAYS || creation == TRUNCATE_EXISTING;
    if (existed && empties && S_ISREG(info.st_mode) && info.st_size != 0 &&
        sys::ftruncate(fd, 0) != 0) {
        const DWORD error = jx::posix::win32_error_from_errno(errno);
        sys::close(fd);
        return fail(error, INVALID_HANDLE_VALUE);
    }

    FileObject file;
    file.fd = fd;
    file.can_read = reads;
    file.can_write = writes;
    const HANDLE handle = make_handle(file);
    // Windows reports that an existing file was opened or replaced.
    const bool reports_existing = creation == CREATE_ALWAYS || creation == OPEN_ALWAYS;
    SetLastError(existed && reports_existing ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

BOOL WINAPI ReadFile(HANDLE handle, LPVOID buffer, DWORD count, LPDWORD read, LPOVERLAPPED) {
    if (read) *read = 0;
    FileObject file;
    if (!find_handle(handle, file)) return FALSE;
    if (!file.can_read) return fail(ERROR_ACCESS_DENIED, FALSE);
    if (!buffer && count) return fail(ERROR_NOACCESS, FALSE);
    DWORD done = 0;
    while (done < count) {
        const ssize_t n = sys::read(file.fd, static_cast<char*>(buffer) + done, count - done);
        if (n < 0) {
            if (read) *read = done;
            return fail(jx::posix::win32_error_from_errno(errno), FALSE);
        }
        if (n == 0) break; // end of file: a short read that succeeds
        done += static_cast<DWORD>(n);
    }
    if (read) *read = done;
    return TRUE;
}

BOOL WINAPI WriteFile(HANDLE handle, LPCVOID buffer, DWORD count, LPDWORD written, LPOVERLAPPED) {
    if (written) *written = 0;
    FileObject file;
    if (!find_handle(handle, file)) return FALSE;
    if (!file.can_write) return fail(ERROR_ACCESS_DENIED, FALSE);
    if (!buffer && count) return fail(ERROR_NOACCESS, FALSE);
    DWORD done = 0;
    while (done < count) {
        const ssize_t n =
            sys::write(file.fd, static_cast<const char*>(buffer) + done, count - done);
        if (n <= 0) {
            if (written) *written = done;
            return fail(n < 0 ? jx::posix::win32_error_from_errno(errno) : ERROR_DISK_FULL, FALSE);
        }
        done += static_cast<DWORD>(n);
    }
    if (written) *written = done;
    return TRUE;
}

// Without a high part the position must fit 32 bits. A successful result
// that happens to be 0xFFFFFFFF clears the last error, which is how a caller
// tells it from a failure.
DWORD WINAPI SetFilePointer(HANDLE handle, LONG distance, PLONG distance_high, DWORD method) {
    FileObject file;
    if (!find_handle(handle, file)) return INVALID_SET_FILE_POINTER;
    if (method > FILE_END) return fail(ERROR_INVALID_PARAMETER, INVALID_SET_FILE_POINTER);
    int64_t move = distance;
    if (distance_high)
        move = static_cast<int64_t>(
            (static_cast<uint64_t>(static_cast<uint32_t>(*distance_high)) << 32) |
            static_cast<uint32_t>(distance));
    int64_t base = 0;
    if (method != FILE_BEGIN) {
        struct stat info;
        const off_t here = sys::lseek(file.fd, 0, SEEK_CUR);
        if (here < 0)
            return fail(jx::posix::win32_error_from_errno(errno), INVALID_SET_FILE_POINTER);
        if (method == FILE_CURRENT) {
            base = here;
        } else {
            if (sys::fstat(file.fd, &info) != 0)
                return fail(jx::posix::win32_error_from_errno(errno), INVALID_SET_FILE_POINTER);
            base = info.st_size;
        }
    }
    const int64_t target = base + move;
    if (target < 0) return fail(ERROR_NEGATIVE_SEEK, INVALID_SET_FILE_POINTER);
    if (!distance_high && target > 0xFFFFFFFFll)
        return fail(ERROR_INVALID_PARAMETER, INVALID_SET_FILE_POINTER);
    if (sys::lseek(file.fd, static_cast<off_t>(target), SEEK_SET) < 0)
        return fail(jx::posix::win32_error_from_errno(errno), INVALID_SET_FILE_POINTER);
    if (distance_high) *distance_high = static_cast<LONG>(static_cast<uint64_t>(target) >> 32);
    const DWORD low = static_cast<DWORD>(target & 0xFFFFFFFFu);
    if (low == INVALID_SET_FILE_POINTER) SetLastError(ERROR_SUCCESS);
    return low;
}

DWORD WINAPI GetFileSize(HANDLE handle, LPDWORD size_high) {
    FileObject file;
    if (!find_handle(handle, file)) return INVALID_FILE_SIZE;
    struct stat info;
    if (sys::fstat(file.fd, &info) != 0)
        return fail(jx::posix::win32_error_from_errno(errno), INVALID_FILE_SIZE);
    const uint64_t size = static_cast<uint64_t>(info.st_size);
    if (size_high) *size_high = static_cast<DWORD>(size >> 32);
    const DWORD low = static_cast<DWORD>(size & 0xFFFFFFFFu);
    if (low == INVALID_FILE_SIZE) SetLastError(ERROR_SUCCESS);
    return low;
}

// FILETIME counts 100-nanosecond intervals since 1601-01-01 UTC. POSIX keeps
// no creation time, so the status-change time stands in for it.
BOOL WINAPI GetFileTime(HANDLE handle, LPFILETIME creation, LPFILETIME last_access,
                        LPFILETIME last_write) {
    FileObject file;
    if (!find_handle(handle, file)) return FALSE;
    struct stat info;
    if (sys::fstat(file.fd, &info) != 0)
        return fail(jx::posix::win32_error_from_errno(errno), FALSE);
    const auto to_filetime = [](const struct timespec& t, LPFILETIME out) {
        if (!out) return;
        constexpr int64_t kEpochDifference = 11644473600ll; // seconds from 1601 to 1970
        const uint64_t ticks =
            static_cast<uint64_t>((t.tv_sec + kEpochDifference) * 10000000ll + t.tv_nsec / 100);
        out->dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFFu);
        out->dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    };
    to_filetime(info.st_ctim, creation);
    to_filetime(info.st_atim, last_access);
    to_filetime(info.st_mtim, last_write);
    return TRUE;
}

BOOL WINAPI SetEndOfFile(HANDLE handle) {
    FileObject file;
    if (!find_handle(handle, file)) return FALSE;
    if (!file.can_write) return fail(ERROR_ACCESS_DENIED, FALSE);
    const off_t here = sys::lseek(file.fd, 0, SEEK_CUR);
    if (here < 0 || sys::ftruncate(file.fd, here) != 0)
        return fail(jx::posix::win32_error_from_errno(errno), FALSE);
    return TRUE;
}

BOOL WINAPI CloseHandle(HANDLE handle) {
    // INVALID_HANDLE_VALUE is also the current process's own pseudo-handle,
    // which closes successfully without doing anything.
    if (handle == INVALID_HANDLE_VALUE) return TRUE;
    const uintptr_t value = reinterpret_cast<uintptr_t>(handle);
    int fd = -1;
    {
        std::lock_guard<std::mutex> lock(g_handles_mutex);
        if (value != 0 && value % 4 == 0 && value / 4 <= g_handles.size()) {
            fd = g_handles[value / 4 - 1].fd;
            g_handles[value / 4 - 1] = FileObject{};
        }
    }
    if (fd < 0) return fail(ERROR_INVALID_HANDLE, FALSE);
    sys::close(fd); // releases the handle's share markers with it
    return TRUE;
}

// A file that an open handle does not share for deletion cannot be deleted.
BOOL WINAPI DeleteFileA(LPCSTR name) {
    if (!name) return fail(ERROR_PATH_NOT_FOUND, FALSE);
    std::string native;
    if (const DWORD error = jx::posix::to_native_path(name, native)) return fail(error, FALSE);
    struct stat info;
    if (sys::stat(native.c_str(), &info) != 0) return fail(open_error(errno, native), FALSE);
    if (S_ISDIR(info.st_mode)) return fail(ERROR_ACCESS_DENIED, FALSE);
    const int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd >= 0) {
        const bool in_use = marker_held_elsewhere(fd, kDeniesDelete);
        ::close(fd);
        if (in_use) return fail(ERROR_SHARING_VIOLATION, FALSE);
    }
    if (sys::unlink(native.c_str()) != 0) return fail(open_error(errno, native), FALSE);
    return TRUE;
}
}
