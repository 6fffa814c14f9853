// The C runtime's time calls, the shell's folder items and the logon name's
// error code, declared for
// POSIX systems with the Windows names, values and layouts. Included only
// through win32_posix.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "../jx_export.h"

typedef int64_t __time64_t;
typedef int errno_t;
typedef uint16_t USHORT;
typedef int32_t HRESULT;
typedef intptr_t LPARAM;
typedef uintptr_t WPARAM;
typedef intptr_t LRESULT;

// advapi32: an account without a name.
#define ERROR_NONE_MAPPED 1332L

#define S_OK ((HRESULT)0)
#define E_INVALIDARG ((HRESULT)0x80070057L)
#define E_OUTOFMEMORY ((HRESULT)0x8007000EL)

// An item list is a run of items, each led by its size in bytes (the size
// field included), ended by a size of zero.
typedef struct _SHITEMID {
    USHORT cb;
    BYTE abID[1];
} SHITEMID;
typedef struct _ITEMIDLIST {
    SHITEMID mkid;
} ITEMIDLIST;
typedef ITEMIDLIST* LPITEMIDLIST;
typedef const ITEMIDLIST* LPCITEMIDLIST;
typedef ITEMIDLIST* PIDLIST_ABSOLUTE;
typedef const ITEMIDLIST* PCIDLIST_ABSOLUTE;
typedef ITEMIDLIST* PIDLIST_RELATIVE;

typedef int(CALLBACK* BFFCALLBACK)(HWND dialog, UINT message, LPARAM lparam, LPARAM data);

typedef struct _browseinfoA {
    HWND hwndOwner;
    PCIDLIST_ABSOLUTE pidlRoot;
    LPSTR pszDisplayName;
    LPCSTR lpszTitle;
    UINT ulFlags;
    BFFCALLBACK lpfn;
    LPARAM lParam;
    int iImage;
} BROWSEINFOA, *LPBROWSEINFOA;

#define BIF_RETURNONLYFSDIRS 0x00000001u
#define BIF_STATUSTEXT 0x00000004u
#define BIF_BROWSEINCLUDEFILES 0x00004000u

#define WM_USER 0x0400
#define BFFM_INITIALIZED 1
#define BFFM_SELCHANGED 2
#define BFFM_SETSTATUSTEXTA (WM_USER + 100)
#define BFFM_SETSELECTIONA (WM_USER + 102)

#define CSIDL_DRIVES 0x0011

extern "C" {

// msvcrt: calendar time in seconds since 1970-01-01 00:00 UTC, and its local
// date in the form "Www Mmm dd hh:mm:ss yyyy\n" (the day zero-padded).
__time64_t _time64(__time64_t* out);
errno_t _ctime64_s(char* buffer, size_t size, const __time64_t* time);

// shell32: folder items. Only file-system paths and "this computer" (which
// has no path) are known here. A host that installs its own folder dialog
// makes and reads items with the three exported calls.
JX_API BOOL WINAPI SHGetPathFromIDListA(PCIDLIST_ABSOLUTE item, LPSTR path);
JX_API PIDLIST_ABSOLUTE WINAPI ILCreateFromPathA(LPCSTR path);
JX_API void WINAPI ILFree(PIDLIST_RELATIVE item);
HRESULT WINAPI SHGetSpecialFolderLocation(HWND owner, int folder, PIDLIST_ABSOLUTE* item);
}
