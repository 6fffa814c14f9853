// The default message box and folder dialog on Windows are the system's own.
#include "../ui_hooks.h"

namespace jx::detail {

int platform_message_box(HWND owner, const char* text, const char* caption, UINT style) {
    return MessageBoxA(owner, text, caption, style);
}

LPITEMIDLIST platform_browse_for_folder(BROWSEINFOA* request) {
    return SHBrowseForFolderA(request);
}

LRESULT platform_dialog_message(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    return SendMessageA(dialog, message, wparam, lparam);
}

BOOL platform_choose_font(CHOOSEFONTA* dialog) {
    return ChooseFontA(dialog);
}

} // namespace jx::detail
