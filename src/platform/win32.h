// The one way into the Win32 API for library code.
//
// On Windows this is the real <windows.h>; elsewhere the POSIX layer declares
// the same subset with the same names, values and sizes. Library code includes
// this header and nothing system-specific, so it reads like plain Win32 code.
#pragma once

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shlobj.h>
#include <commdlg.h>
#include <io.h>
#include <time.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

// The C runtime calls of the library, under one name on every platform. On
// Windows the runtime already takes ANSI names.
inline FILE* jx_fopen(const char* name, const char* mode) {
    return fopen(name, mode);
}
inline int jx_remove(const char* name) {
    return remove(name);
}
inline void* jx_realloc(void* block, size_t size) {
    return realloc(block, size);
}
#else
#include "posix/win32_posix.h"
#endif

#include "jx_export.h"

// Windows sizes that every record layout of the library relies on.
static_assert(sizeof(BYTE) == 1, "BYTE is 8 bits");
static_assert(sizeof(WORD) == 2, "WORD is 16 bits");
static_assert(sizeof(DWORD) == 4, "DWORD is 32 bits");
static_assert(sizeof(LONG) == 4, "LONG is 32 bits");
static_assert(sizeof(UINT) == 4, "UINT is 32 bits");
static_assert(sizeof(BOOL) == 4, "BOOL is 32 bits");
static_assert(sizeof(WCHAR) == 2, "WCHAR is 16 bits");
static_assert(sizeof(FILETIME) == 8, "FILETIME is two DWORDs");
