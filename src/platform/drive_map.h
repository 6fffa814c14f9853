// Drive letters for hosts and tests on systems that have none. On Windows
// the drives are the system's own and this header declares nothing.
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
