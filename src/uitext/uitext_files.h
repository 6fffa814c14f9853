// Helpers that the language and menu classes share: paths in the folder the
// host gives, last-write times and whole reads and writes through handles.
#pragma once

#include "platform/win32.h"

namespace jx::uitext {

// "directory\name", cut to the 260-character buffer as the classes have it.
struct FolderPath {
    char text[MAX_PATH];
    FolderPath(const char* directory, const char* name);
};

// Opens an existing file for reading with read sharing.
HANDLE open_for_reading(const char* path);
// The last-write time as one 64-bit count; false when it cannot be read.
bool last_write_time(HANDLE file, ULONGLONG& time);
// Whether `count` bytes were read or written in full.
bool read_all(HANDLE file, void* buffer, DWORD count);
bool write_all(HANDLE file, const void* buffer, DWORD count);
// Moves to an absolute position; false when that fails.
bool seek_to(HANDLE file, DWORD position);
void close_handle(HANDLE& file);

// Rounds a used size up to the 32-byte steps of the compiled files.
inline DWORD round_up_32(DWORD size) {
    return (size + 31u) & ~31u;
}

} // namespace jx::uitext
