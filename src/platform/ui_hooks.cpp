#include "ui_hooks.h"

namespace {
jx_message_box_fn g_box_fn = nullptr;
void* g_box_context = nullptr;
jx_folder_dialog_fn g_folder_fn = nullptr;
jx_dialog_message_fn g_folder_send = nullptr;
void* g_folder_context = nullptr;
jx_font_dialog_fn g_font_fn = nullptr;
void* g_font_context = nullptr;
} // namespace

extern "C" JX_API void jx_set_message_box_handler(jx_message_box_fn fn, void* context) {
    g_box_fn = fn;
    g_box_context = fn ? context : nullptr;
}

extern "C" JX_API void jx_set_folder_dialog_handler(jx_folder_dialog_fn show,
                                                    jx_dialog_message_fn send, void* context) {
    g_folder_fn = show;
    g_folder_send = show ? send : nullptr;
    g_folder_context = show ? context : nullptr;
}

LPITEMIDLIST jx_browse_for_folder(BROWSEINFOA* request) {
    if (g_folder_fn) return g_folder_fn(g_folder_context, request);
    return jx::detail::platform_browse_for_folder(request);
}

LRESULT jx_dialog_message(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    if (g_folder_fn)
        return g_folder_send ? g_folder_send(g_folder_context, dialog, message, wparam, lparam) : 0;
    return jx::detail::platform_dialog_message(dialog, message, wparam, lparam);
}

extern "C" JX_API void jx_set_font_dialog_handler(jx_font_dialog_fn fn, void* context) {
    g_font_fn = fn;
    g_font_context = fn ? context : nullptr;
}

BOOL jx_choose_font(CHOOSEFONTA* dialog) {
    if (!dialog) return FALSE;
    if (g_font_fn) return g_font_fn(g_font_context, dialog);
    return jx::detail::platform_choose_font(dialog);
}

int jx_message_box(HWND owner, const char* text, const char* caption, UINT style) {
    if (!text) text = "";
    if (!caption) caption = "";
    if (g_box_fn) return g_box_fn(g_box_context, owner, text, caption, style);
    return jx::detail::platform_message_box(owner, text, caption, style);
}

namespace jx::detail {
int harmless_answer(UINT style) {
    switch (style & MB_TYPEMASK) {
    case MB_OK:
        return IDOK;
    case MB_OKCANCEL:
    case MB_YESNOCANCEL:
    case MB_RETRYCANCEL:
        return IDCANCEL;
    case MB_ABORTRETRYIGNORE:
        return IDABORT; // stops the operation, so nothing further happens
    default:
        return IDNO;
    }
}
} // namespace jx::detail
