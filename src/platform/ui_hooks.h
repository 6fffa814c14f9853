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

// Runs the font dialog through the installed handler.
BOOL jx_choose_font(CHOOSEFONTA* dialog);

namespace jx::detail {
// The answer that leaves everything as it was: OK for an OK box, Cancel where
// Cancel is offered, otherwise No.
int harmless_answer(UINT style);
// The platform's own box: MessageBoxA on Windows, stderr elsewhere.
int platform_message_box(HWND owner, const char* text, const char* caption, UINT style);
// The platform's own font dialog: ChooseFontA on Windows, "cancelled"
// elsewhere.
BOOL platform_choose_font(CHOOSEFONTA* dialog);
} // namespace jx::detail
