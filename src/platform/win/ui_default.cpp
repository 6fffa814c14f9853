// The default message box on Windows is the system's own.
#include "../ui_hooks.h"

namespace jx::detail {

int platform_message_box(HWND owner, const char* text, const char* caption, UINT style) {
    return MessageBoxA(owner, text, caption, style);
}

BOOL platform_choose_font(CHOOSEFONTA* dialog) {
    return ChooseFontA(dialog);
}

} // namespace jx::detail
