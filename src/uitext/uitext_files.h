// Helpers that the language and menu classes share: paths in the folder the
// host gives, last-write times and whole reads and writes through handles.
#pragma once

#include "platform/win32.h"

#include <functional>

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

// The last-write time of a source file: 0, or the system's error for an
// open that fails, or ERROR_ACCESS_DENIED for a time that cannot be read.
DWORD source_time(const char* path, ULONGLONG& time);

// What opening a compiled file came to.
enum class Compiled {
    kReady,   // `file` is open and `index` loaded
    kRebuild, // missing, foreign, damaged or older than its sources
    kFailed,  // `error` holds the code; the file is closed
};

// Opens a compiled file and trusts it when its header is `usable` (which
// gives the number of index entries, or -1), it is no older than
// `source_time`, and its index of 12-byte entries is `sound`.
template <class Header, class Entry, class Usable, class Sound>
Compiled open_compiled(const char* path, ULONGLONG source_time, HANDLE& file, Header& header,
                       Entry*& index, Usable usable, Sound sound, DWORD& error);

// For the constructors: opens `system`'s compiled file into its handle,
// header and `index`; when the file is trusted, sets where its data starts;
// a failure is recorded as `system`'s error in `compiled_file`. Returns
// whether the file must be built anew.
template <class System, class Entry, class Usable, class Sound>
bool needs_rebuild(System& system, const char* path, ULONGLONG source_time, Entry*& index,
                   Usable usable, Sound sound, int compiled_file);

// Writes a compiled file anew: a zeroed header, the body, then the real
// header, so that a file cut short by a failed write never carries a
// signature a later construction would trust; after a failed write the file
// is deleted. Returns 0 with `file` open for reading, the system's error when
// the file cannot be created or reopened, or 29 when a write fails.
DWORD write_compiled(const char* path, const void* header, DWORD header_size,
                     const std::function<bool(HANDLE)>& body, HANDLE& file);

// The error codes of the compiled files that are not the system's.
constexpr DWORD kWriteFailed = 29;
constexpr DWORD kMalformed = 30;

// Rounds a used size up to the 32-byte steps of the compiled files.
inline DWORD round_up_32(DWORD size) {
    return (size + 31u) & ~31u;
}

template <class Header, class Entry, class Usable, class Sound>
Compiled open_compiled(const char* path, ULONGLONG source_time, HANDLE& file, Header& header,
                       Entry*& index, Usable usable, Sound sound, DWORD& error) {
    file = open_for_reading(path);
    if (file == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? Compiled::kRebuild : Compiled::kFailed;
    }
    const long entries = read_all(file, &header, sizeof header) ? usable(header) : -1;
    ULONGLONG compiled_time = 0;
    if (entries >= 0 && !last_write_time(file, compiled_time)) {
        error = ERROR_ACCESS_DENIED;
        close_handle(file);
        return Compiled::kFailed;
    }
    if (entries >= 0 && source_time <= compiled_time) {
        index = new Entry[static_cast<size_t>(entries) + 1];
        const DWORD bytes = static_cast<DWORD>(sizeof(Entry) * static_cast<size_t>(entries));
        if (read_all(file, index, bytes) && sound(index, static_cast<DWORD>(entries)))
            return Compiled::kReady;
        delete[] index;
        index = nullptr;
    }
    close_handle(file);
    return Compiled::kRebuild;
}

template <class System, class Entry, class Usable, class Sound>
bool needs_rebuild(System& system, const char* path, ULONGLONG source_time, Entry*& index,
                   Usable usable, Sound sound, int compiled_file) {
    DWORD error = 0;
    switch (open_compiled(path, source_time, system.hfile, system.header, index, usable, sound,
                          error)) {
    case Compiled::kReady:
        system.data_start =
            static_cast<DWORD>(sizeof system.header + sizeof(Entry) * usable(system.header));
        return false;
    case Compiled::kFailed:
        system.error_code = error;
        system.error_file = static_cast<decltype(system.error_file)>(compiled_file);
        return false;
    case Compiled::kRebuild:
        break;
    }
    return true;
}

} // namespace jx::uitext
