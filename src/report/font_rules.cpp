// Font height, safe conversions and the font dialog shared by the report
// and screen records.
#include "font_rules.h"

#include "platform/ui_hooks.h"

#include <cstdint>
#include <cmath>
#include <cstring>

namespace jx::report::detail {

LONG font_height(int point_size_tenths, int dpi) {
    const int64_t whole_points = point_size_tenths / 10;
    // The product is formed in 64 bits: a size of 200 million points at
    // 144 dpi must not wrap around.
    return -truncate_to_long(std::floor(static_cast<double>(whole_points * dpi) / 72.0 + 0.5));
}

LONG truncate_to_long(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(INT32_MAX)) return INT32_MAX;
    if (value <= static_cast<double>(INT32_MIN)) return INT32_MIN;
    return static_cast<LONG>(value);
}

LONG ceiling_to_long(double value) {
    return truncate_to_long(std::ceil(value));
}

bool choose_font(HWND owner, LOGFONTA& log_font, int& point_size, COLORREF& color) {
    HDC dc = GetDC(owner);
    CHOOSEFONTA dialog;
    std::memset(&dialog, 0, sizeof dialog);
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.hDC = dc;
    dialog.lpLogFont = &log_font;
    dialog.iPointSize = point_size;
    dialog.rgbColors = color;
    dialog.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_FORCEFONTEXIST;
    const bool ok = jx_choose_font(&dialog) == 1;
    if (ok) {
        point_size = dialog.iPointSize;
        color = dialog.rgbColors;
    }
    if (dc) ReleaseDC(owner, dc);
    return ok;
}

} // namespace jx::report::detail
