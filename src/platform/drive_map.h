// Drive letters for hosts and tests on systems that have none. On Windows
// the drives are the system's own: only the portable helper at the end is
// declared there.
#pragma once

#include "win32.h"

#if !defined(_WIN32)
extern "C" {
// Maps drive `letter` (A to Z, either case) to `directory` with the given
// drive type (DRIVE_FIXED, DRIVE_REMOTE, ...); a null directory removes the
// mapping. Returns false for a letter outside A to Z or an unknown type.
JX_API bool jx_map_drive(char letter, const char* directory, UINT drive_type);
}
#endif

// Maps a drive letter where letters are the library's own, for programs that
// run on both systems; on Windows the drives are the system's and this
// answers false.
inline bool jx_map_drive_where_possible(char letter, const char* directory, UINT drive_type) {
#if defined(_WIN32)
    (void)letter;
    (void)directory;
    (void)drive_type;
    return false;
#else
    return jx_map_drive(letter, directory, drive_type);
#endif
}
