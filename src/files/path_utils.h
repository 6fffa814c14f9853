// Windows path strings split, joined and converted.
//
// Paths are 8-bit ANSI strings of at most 259 characters. The backslash
// separates folders and the colon of a drive letter ends a prefix; only
// get_filename_c and get_directory_c also take the forward slash.
//
// set_path, get_directory, rel_to_abs_path and abs_to_rel_path answer in a
// 260-character buffer of their own, shared by the whole process and valid
// until the next call of the same function. get_filename and get_extension
// answer with pointers into their argument.
//
//   get_filename("C:\data\net.dat")          "net.dat"
//   get_extension("C:\dir.old\readme")       ""
//   get_directory("C:\net.dat")              "C:"
//   get_directory_c("C:\net.dat")            "C:\"
//   set_path("C:\data", "a.txt", false)      "C:\data\a.txt"
//   set_rootdir of "C:\data\x"               "C:\"
//   set_rootdir of "\\srv\share\x"           "\\srv\share\"
//   rel_to_abs_path(".\maps\a.dem", "C:\proj")            "C:\proj\maps\a.dem"
//   abs_to_rel_path("C:\other\a.dem", "C:\proj\sub\n.dat") "..\..\other\a.dem"
#pragma once

#include "platform/win32.h"

#include <string>

// The file-name part: after the last backslash, else after the last colon,
// else the whole path. Null gives null.
JX_API char* get_filename(char* path);
// The extension of the file-name part from its last dot, or the empty text
// at the path's end. Null gives null.
JX_API char* get_extension(char* path);
// The folder part without its trailing backslash ("C:" for a file in a drive
// root, "" for a bare name).
JX_API char* get_directory(char* path);

// The file-name component and the parent path by the general rules of
// file-system paths: drive, device (\\?\, \\.\, \??\) and server prefixes,
// either separator. The results are the caller's. A name that the system code
// page cannot convert throws std::system_error with the Windows error code.
JX_API std::string get_filename_c(const char* path);
JX_API std::string get_directory_c(const char* path);

// The folder joined with the file name; null when the whole does not fit 259
// characters, or when `must_exist` is set and there is no such entry.
JX_API char* set_path(char* directory, char* file_name, bool must_exist);

// The root folder of a path ("C:\", "\\server\share\"), at most size - 1
// characters of it; the destination is cleared over its whole size.
JX_API void set_rootdir(char* destination, int size, char* path);

// Whether the root of the path lies on a network drive.
JX_API bool is_network_drive(char* path);

// A path relative to a folder made absolute, and an absolute path made
// relative to the folder of a file; null when that cannot be done.
JX_API char* rel_to_abs_path(char* relative, char* base_directory);
JX_API char* abs_to_rel_path(char* absolute, char* base_file);

// The same functions for read-only texts. The functions never write into
// their arguments; the pointers they return into them are the caller's.
inline const char* get_filename(const char* path) {
    return get_filename(const_cast<char*>(path));
}
inline const char* get_extension(const char* path) {
    return get_extension(const_cast<char*>(path));
}
inline char* get_directory(const char* path) {
    return get_directory(const_cast<char*>(path));
}
inline char* set_path(const char* directory, const char* file_name, bool must_exist) {
    return set_path(const_cast<char*>(directory), const_cast<char*>(file_name), must_exist);
}
inline void set_rootdir(char* destination, int size, const char* path) {
    set_rootdir(destination, size, const_cast<char*>(path));
}
inline bool is_network_drive(const char* path) {
    return is_network_drive(const_cast<char*>(path));
}
inline char* rel_to_abs_path(const char* relative, const char* base_directory) {
    return rel_to_abs_path(const_cast<char*>(relative), const_cast<char*>(base_directory));
}
inline char* abs_to_rel_path(const char* absolute, const char* base_file) {
    return abs_to_rel_path(const_cast<char*>(absolute), const_cast<char*>(base_file));
}
