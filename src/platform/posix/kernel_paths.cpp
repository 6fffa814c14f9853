// Windows paths at the POSIX file-system boundary: Windows-1252 to UTF-8,
// backslashes to slashes, drive letters through the drive map; drive types;
// and the C runtime calls that take file names.
#include "layer.h"
#include "../drive_map.h"

#include <cerrno>
#include <mutex>
#include <sys/statfs.h>
#include <unistd.h>

namespace {

struct Drive {
    bool mapped = false;
    std::string directory;
    UINT type = DRIVE_NO_ROOT_DIR;
};

std::mutex g_drives_mutex;
Drive g_drives[26];

int drive_index(char letter) {
    if (letter >= 'A' && letter <= 'Z') return letter - 'A';
    if (letter >= 'a' && letter <= 'z') return letter - 'a';
    return -1;
}

bool is_separator(char c) {
    return c == '\\' || c == '/';
}

// Characters that Windows refuses in a file or folder name.
bool is_invalid_name_char(unsigned char c) {
    return c < 32 || c == '<' || c == '>' || c == ':' || c == '"' || c == '|' || c == '?' ||
           c == '*';
}

// Appends the components of a relative Windows path, each separated by one
// slash. Windows drops trailing dots and blanks of every component ("a.txt."
// names "a.txt"), except for the components "." and "..".
DWORD append_components(std::string& out, const char* rest) {
    const char* p = rest;
    while (*p) {
        while (is_separator(*p)) ++p;
        if (!*p) break;
        const char* start = p;
        while (*p && !is_separator(*p)) {
            if (is_invalid_name_char(static_cast<unsigned char>(*p))) return ERROR_INVALID_NAME;
            ++p;
        }
        std::string component(start, p);
        if (component != "." && component != "..") {
            while (!component.empty() && (component.back() == '.' || component.back() == ' '))
                component.pop_back();
            if (component.empty()) continue;
        }
        if (!out.empty() && out.back() != '/') out += '/';
        out += jx::posix::ansi_to_utf8(component.c_str());
    }
    // A trailing separator keeps its meaning (the path names a folder).
    if (p != rest && is_separator(p[-1]) && !out.empty() && out.back() != '/') out += '/';
    return 0;
}

} // namespace

namespace jx::posix {

bool mapped_drive(char letter, std::string& directory, UINT& type) {
    const int index = drive_index(letter);
    if (index < 0) return false;
    std::lock_guard<std::mutex> lock(g_drives_mutex);
    if (!g_drives[index].mapped) return false;
    directory = g_drives[index].directory;
    type = g_drives[index].type;
    return true;
}

DWORD to_native_path(const char* ansi, std::string& native) {
    native.clear();
    if (!ansi || !*ansi) return ERROR_PATH_NOT_FOUND;
    const char* rest = ansi;
    if (drive_index(ansi[0]) >= 0 && ansi[1] == ':') {
        // A drive letter: its mapped folder stands for the root (and for the
        // drive's current folder, which a path such as C:name refers to).
        UINT type;
        if (!mapped_drive(ansi[0], native, type)) return ERROR_PATH_NOT_FOUND;
        rest = ansi + 2;
    } else if (is_separator(ansi[0]) && is_separator(ansi[1])) {
        // \\?\ and \\.\ prefixes: the first names a plain path, the second a
        // device, which this layer does not have.
        if ((ansi[2] == '?' || ansi[2] == '.') && is_separator(ansi[3])) {
            if (ansi[2] == '.') return ERROR_FILE_NOT_FOUND;
            return to_native_path(ansi + 4, native);
        }
        return ERROR_BAD_NETPATH; // no network shares here; map a drive instead
    } else if (is_separator(ansi[0])) {
        native = "/"; // a plain POSIX path, or the root of the current drive
    }
    return append_components(native, rest);
}

} // namespace jx::posix

using jx::posix::fail;

extern "C" {

JX_API bool jx_map_drive(char letter, const char* directory, UINT drive_type) {
    const int index = drive_index(letter);
    if (index < 0) return false;
    if (directory && (drive_type < DRIVE_REMOVABLE || drive_type > DRIVE_RAMDISK)) return false;
    std::lock_guard<std::mutex> lock(g_drives_mutex);
    Drive& drive = g_drives[index];
    if (!directory) {
        drive = Drive{};
        return true;
    }
    drive.mapped = true;
    drive.directory = directory;
    while (drive.directory.size() > 1 && drive.directory.back() == '/') drive.directory.pop_back();
    drive.type = drive_type;
    return true;
}

// A mapped drive answers with its mapped type, for its root and for any
// folder on it that exists; other letters have no root. Any other path is
// asked of the file system that holds it: network file systems count as
// remote, everything else as fixed.
UINT WINAPI GetDriveTypeA(LPCSTR root) {
    std::string native = ".";
    if (root && *root && jx::posix::to_native_path(root, native) != 0) return DRIVE_NO_ROOT_DIR;
    struct stat entry;
    if (root && drive_index(root[0]) >= 0 && root[1] == ':') {
        std::string directory;
        UINT type;
        if (!jx::posix::mapped_drive(root[0], directory, type)) return DRIVE_NO_ROOT_DIR;
        return ::stat(native.c_str(), &entry) == 0 && S_ISDIR(entry.st_mode) ? type
                                                                             : DRIVE_NO_ROOT_DIR;
    }
    struct statfs info;
    if (::statfs(native.c_str(), &info) != 0) return DRIVE_NO_ROOT_DIR;
    switch (static_cast<unsigned long>(info.f_type)) {
    case 0x6969:     // NFS
    case 0x517B:     // SMB
    case 0xFE534D42: // SMB2
    case 0xFF534D42: // CIFS
    case 0x564C:     // NCP
    case 0x65735546: // FUSE (sshfs and the like)
    case 0x47504653: // GPFS
    case 0x00C36400: // Ceph
        return DRIVE_REMOTE;
    case 0x9660:     // ISO 9660
    case 0x15013346: // UDF
        return DRIVE_CDROM;
    default:
        return DRIVE_FIXED;
    }
}

int _access(const char* name, int mode) {
    std::string native;
    const DWORD error = jx::posix::to_native_path(name, native);
    if (error) {
        errno = ENOENT;
        return -1;
    }
    int how = F_OK;
    if (mode & 2) how |= W_OK;
    if (mode & 4) how |= R_OK;
    return jx::posix::sys::access(native.c_str(), how);
}

FILE* jx_fopen(const char* name, const char* mode) {
    std::string native;
    if (jx::posix::to_native_path(name, native) != 0) {
        errno = ENOENT;
        return nullptr;
    }
    // POSIX has no text mode: "t" is dropped and "b" is harmless.
    std::string posix_mode;
    for (const char* m = mode; *m; ++m)
        if (*m != 't') posix_mode += *m;
    return std::fopen(native.c_str(), posix_mode.c_str());
}

int jx_remove(const char* name) {
    std::string native;
    if (jx::posix::to_native_path(name, native) != 0) {
        errno = ENOENT;
        return -1;
    }
    return std::remove(native.c_str());
}
}
