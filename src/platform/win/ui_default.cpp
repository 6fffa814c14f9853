// The default message box on Windows is the system's own.
#include "../ui_hooks.h"

namespace jx::detail {

int platform_message_box(HWND owner, const char* text, const char* caption, UINT style) {
    return MessageBoxA(owner, text, caption, style);
}

} // namespace jx::detail
