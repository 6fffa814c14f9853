// Screen and profile fonts.
#include "screen_metrics.h"

#include "font_rules.h"

#include <cstring>

Screen_Metrics::Screen_Metrics()
    : log_font(), font_color(0), back_color(0), point_size(0), logpixels_x(0), logpixels_y(0),
      char_width(0), border_width(0), margin_x(0), margin_y(0), row_height(0), line_height(0),
      bits_per_pixel(0), planes(0), num_colors(0), aspect_ratio(0), pixels_per_mm_x(0),
      pixels_per_mm_y(0), font(nullptr) {}

Screen_Metrics::~Screen_Metrics() {
    if (font) DeleteObject(font);
}

void Screen_Metrics::reset() {
    if (font) DeleteObject(font);
    font = nullptr;
    HDC screen = GetDC(nullptr);
    const int horz_size = GetDeviceCaps(screen, HORZSIZE);
    const int vert_size = GetDeviceCaps(screen, VERTSIZE);
    pixels_per_mm_y =
        vert_size ? static_cast<double>(GetDeviceCaps(screen, VERTRES)) / vert_size : 0;
    pixels_per_mm_x =
        horz_size ? static_cast<double>(GetDeviceCaps(screen, HORZRES)) / horz_size : 0;
    logpixels_x = GetDeviceCaps(screen, LOGPIXELSX);
    logpixels_y = GetDeviceCaps(screen, LOGPIXELSY);
    aspect_ratio = logpixels_x ? static_cast<double>(logpixels_y) / logpixels_x : 0;
    bits_per_pixel = GetDeviceCaps(screen, BITSPIXEL);
    planes = GetDeviceCaps(screen, PLANES);
    num_colors = GetDeviceCaps(screen, NUMCOLORS);

    log_font.lfHeight = jx::report::detail::font_height(point_size, logpixels_y);
    font = CreateFontIndirectA(&log_font);
    TEXTMETRICA metrics;
    std::memset(&metrics, 0, sizeof metrics);
    if (screen) {
        HGDIOBJ previous = SelectObject(screen, font);
        GetTextMetricsA(screen, &metrics);
        if (previous) SelectObject(screen, previous);
        ReleaseDC(nullptr, screen);
    }
    char_width = metrics.tmAveCharWidth;
    border_width = 1;
    line_height = metrics.tmHeight + 3;
    margin_y = 3;
    margin_x = 3;
    row_height = metrics.tmHeight + 6;
    back_color = RGB(255, 255, 255);
}

void Screen_Metrics::set_font(HWND owner) {
    if (jx::report::detail::choose_font(owner, log_font, point_size, font_color)) reset();
}

bool Screen_Metrics::use_large_toolbar() {
    return logpixels_x > 130;
}

Profile_Metrics::Profile_Metrics() {}

Profile_Metrics::~Profile_Metrics() {}

void Profile_Metrics::set_font(HWND owner, BYTE which) {
    if (which == 0)
        jx::report::detail::choose_font(owner, log_font_0, point_size_0, font_color_0);
    else
        jx::report::detail::choose_font(owner, log_font_1, point_size_1, font_color_1);
}
