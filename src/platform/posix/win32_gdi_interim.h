// INTERIM: the shared graphics base (device contexts, objects, global
// memory), declared here only until the shared base is merged.
#pragma once

#include "../jx_export.h"

struct HDC__ {
    int unused;
};
typedef HDC__* HDC;
typedef void* HGDIOBJ;
struct HFONT__ {
    int unused;
};
typedef HFONT__* HFONT;

#define RGB(r, g, b)                                                                               \
    ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))

#define GMEM_FIXED 0x0000u
#define GMEM_MOVEABLE 0x0002u
#define GMEM_ZEROINIT 0x0040u
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)

#define OBJ_FONT 6
#define TECHNOLOGY 2
#define DT_RASPRINTER 2
#define PHYSICALWIDTH 110
#define PHYSICALHEIGHT 111
#define PHYSICALOFFSETX 112
#define PHYSICALOFFSETY 113
#define HORZSIZE 4
#define VERTSIZE 6
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define NUMCOLORS 24
#define LOGPIXELSX 88
#define LOGPIXELSY 90

extern "C" {
HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes);
JX_API LPVOID WINAPI GlobalLock(HGLOBAL memory);
JX_API BOOL WINAPI GlobalUnlock(HGLOBAL memory);
JX_API HGLOBAL WINAPI GlobalFree(HGLOBAL memory);
JX_API SIZE_T WINAPI GlobalSize(HGLOBAL memory);
JX_API HDC WINAPI GetDC(HWND window);
JX_API int WINAPI ReleaseDC(HWND window, HDC dc);
int WINAPI GetDeviceCaps(HDC dc, int index);
JX_API HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object);
JX_API BOOL WINAPI DeleteObject(HGDIOBJ object);
}
