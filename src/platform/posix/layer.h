// Internals shared by the files of the POSIX layer. Nothing here is seen by
// library code above src/platform/.
#pragma once

#include "../win32.h"

#include <string>
#include <sys/stat.h>
#include <sys/types.h>

struct passwd;

namespace jx::posix {

// The one failure helper: records the Win32 error code and hands back the
// value the function reports failure with.
template <class T> T fail(DWORD code, T result) {
    SetLastError(code);
    return result;
}

// The one errno-to-Win32 table.
DWORD win32_error_from_errno(int error);

// The Win32 code for a missing entry: ERROR_FILE_NOT_FOUND when the folder
// that should hold it exists, ERROR_PATH_NOT_FOUND when the folder does not.
DWORD missing_entry_error(const std::string& native_path);

// Converts an ANSI (Windows-1252) path to the native form: UTF-8, forward
// slashes, drive letters resolved through the drive map, trailing dots and
// blanks of each component removed as Windows does. Returns 0 or the Win32
// error code that Windows gives for such a name.
DWORD to_native_path(const char* ansi, std::string& native);

// Windows-1252 to UTF-8 and back (characters without an equivalent become
// '?' on the way back).
std::string ansi_to_utf8(const char* ansi);
std::string utf8_to_ansi(const char* utf8);

// Drive map lookups: the directory of a mapped drive letter and its type.
bool mapped_drive(char letter, std::string& directory, UINT& type);

// System calls, each through one named slot so that the fault tests can
// make the Nth of them fail (see testing.h). Each returns what the POSIX call
// returns and sets errno the same way.
namespace sys {
int open(const char* path, int flags, mode_t mode = 0);
ssize_t read(int fd, void* buffer, size_t count);
ssize_t write(int fd, const void* buffer, size_t count);
off_t lseek(int fd, off_t offset, int whence);
int fstat(int fd, struct stat* info);
int stat(const char* path, struct stat* info);
int ftruncate(int fd, off_t length);
int unlink(const char* path);
int access(const char* path, int mode);
// The password database entry of a user: 0 or an errno value, as
// getpwuid_r returns.
int getpwuid_r(uid_t user, struct passwd* entry, char* scratch, size_t size, struct passwd** found);
int close(int fd);                       // never fails by injection: a handle is always released
void* realloc(void* block, size_t size); // a planned failure leaves the block as it was
} // namespace sys

} // namespace jx::posix
