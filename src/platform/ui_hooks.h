// User interaction goes through handlers that a host or a test installs.
//
// The library never calls MessageBoxA directly: it calls jx_message_box, which
// hands the box to the installed handler. The default handler shows a real
// box on Windows; elsewhere it writes the box to stderr and answers at once
// with the choice that changes nothing, so nothing ever blocks.
#pragma once

#include "win32.h"

extern "C" {

typedef int (*jx_message_box_fn)(void* context, HWND owner, const char* text, const char* caption,
                                 UINT style);

// Installs a message-box handler; a null function restores the default.
JX_API void jx_set_message_box_handler(jx_message_box_fn fn, void* context);

// The folder dialog. `show` receives the request as SHBrowseForFolderA does
// (owner, title, flags, a 260-character display-name buffer and the library's
// own callback with its data) and answers with the chosen item, made with
// ILCreateFromPathA or the like, or null for "cancelled"; the library
// releases the item with ILFree. While the dialog is open, the handler calls
// the callback as the shell would, with BFFM_INITIALIZED and BFFM_SELCHANGED;
// the callback's messages to the dialog (BFFM_SETSELECTIONA,
// BFFM_SETSTATUSTEXTA) then go to `send`, with the dialog handle the handler
// gave the callback.
typedef LPITEMIDLIST (*jx_folder_dialog_fn)(void* context, BROWSEINFOA* request);
typedef LRESULT (*jx_dialog_message_fn)(void* context, HWND dialog, UINT message, WPARAM wparam,
                                        LPARAM lparam);

// Installs a folder-dialog handler; a null `show` restores the default (the
// shell's dialog on Windows, "cancelled" elsewhere). A null `send` drops the
// callback's messages.
JX_API void jx_set_folder_dialog_handler(jx_folder_dialog_fn show, jx_dialog_message_fn send,
                                         void* context);
// The font dialog: the handler edits the record as the system's dialog
// would (the LOGFONTA it points to, iPointSize in tenths of a point,
// rgbColors) and returns TRUE for OK, FALSE for cancelled. The default shows
// the real dialog on Windows; elsewhere it answers "cancelled" at once.
typedef BOOL (*jx_font_dialog_fn)(void* context, CHOOSEFONTA* dialog);

// Installs a font-dialog handler; a null function restores the default.
JX_API void jx_set_font_dialog_handler(jx_font_dialog_fn fn, void* context);
}

// Shows a message box through the installed handler and returns its answer
// (IDOK, IDCANCEL, IDYES, IDNO, ...).
int jx_message_box(HWND owner, const char* text, const char* caption, UINT style);

// Shows the folder dialog through the installed handler; null when cancelled.
LPITEMIDLIST jx_browse_for_folder(BROWSEINFOA* request);
// Sends a message to the open folder dialog: to the installed handler's
// `send`, else to the platform's dialog.
LRESULT jx_dialog_message(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
// Runs the font dialog through the installed handler.
BOOL jx_choose_font(CHOOSEFONTA* dialog);

namespace jx::detail {
// The answer that leaves everything as it was: OK for an OK box, Cancel where
// Cancel is offered, otherwise No.
int harmless_answer(UINT style);
// The platform's own box: MessageBoxA on Windows, stderr elsewhere.
int platform_message_box(HWND owner, const char* text, const char* caption, UINT style);
// The platform's folder dialog and its messages: the shell on Windows,
// "cancelled" elsewhere.
LPITEMIDLIST platform_browse_for_folder(BROWSEINFOA* request);
LRESULT platform_dialog_message(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
// The platform's own font dialog: ChooseFontA on Windows, "cancelled"
// elsewhere.
BOOL platform_choose_font(CHOOSEFONTA* dialog);
} // namespace jx::detail
