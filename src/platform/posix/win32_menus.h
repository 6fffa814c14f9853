// Menus of the Win32 subset: handles, item flags and the calls that build a
// menu from an in-memory template and let a host look at it. Included from
// win32_posix.h.
//
// A host on POSIX receives menus from the library, so it must be able to
// inspect and release them: those calls are exported under their Win32
// names; LoadMenuIndirectA stays internal.
#pragma once

#include "../jx_export.h"

struct HMENU__ {
    int unused;
};
typedef HMENU__* HMENU;

// The standard menu template is opaque to its users: a header of two words,
// then the items.
typedef void MENUTEMPLATEA;

#define MF_BYCOMMAND 0x00000000u
#define MF_BYPOSITION 0x00000400u
#define MF_STRING 0x00000000u
#define MF_GRAYED 0x00000001u
#define MF_DISABLED 0x00000002u
#define MF_CHECKED 0x00000008u
#define MF_POPUP 0x00000010u
#define MF_MENUBARBREAK 0x00000020u
#define MF_MENUBREAK 0x00000040u
#define MF_HILITE 0x00000080u
#define MF_END 0x00000080u
#define MF_OWNERDRAW 0x00000100u
#define MF_SEPARATOR 0x00000800u
#define MF_DEFAULT 0x00001000u
#define MF_HELP 0x00004000u

#define ERROR_INVALID_MENU_HANDLE 1401L

extern "C" {
// user32: menus
HMENU WINAPI LoadMenuIndirectA(const MENUTEMPLATEA* menu_template);
JX_API int WINAPI GetMenuItemCount(HMENU menu);
JX_API UINT WINAPI GetMenuItemID(HMENU menu, int position);
JX_API HMENU WINAPI GetSubMenu(HMENU menu, int position);
JX_API int WINAPI GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int size, UINT flags);
JX_API UINT WINAPI GetMenuState(HMENU menu, UINT item, UINT flags);
JX_API BOOL WINAPI DestroyMenu(HMENU menu);
}
