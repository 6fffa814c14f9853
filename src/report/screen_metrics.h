// The fonts the host draws with on screen, chosen through the font dialog.
#pragma once

#include "platform/win32.h"

class JX_API Screen_Metrics {
public:
    LOGFONTA log_font; // filled by the host; reset overwrites the height
    COLORREF font_color;
    COLORREF back_color;
    int point_size; // tenths of a point
    int logpixels_x;
    int logpixels_y;
    int char_width;
    int border_width;
    int margin_x;
    int margin_y;
    int row_height;
    int line_height;
    int bits_per_pixel;
    int planes;
    int num_colors;
    double aspect_ratio;
    double pixels_per_mm_x;
    double pixels_per_mm_y;
    HFONT font;

    Screen_Metrics();
    ~Screen_Metrics();
    // The record owns its font; a copy would delete it twice.
    Screen_Metrics(const Screen_Metrics&) = delete;
    Screen_Metrics& operator=(const Screen_Metrics&) = delete;

    void reset();
    void set_font(HWND owner);
    bool use_large_toolbar();
};

class JX_API Profile_Metrics {
public:
    DWORD reserved_0;
    LOGFONTA log_font_0;
    LOGFONTA log_font_1;
    DWORD reserved_1[20];
    COLORREF font_color_0;
    COLORREF font_color_1;
    int point_size_0;
    int point_size_1;

    Profile_Metrics();
    ~Profile_Metrics();

    // Font 0 when `which` is zero, font 1 for any other value.
    void set_font(HWND owner, BYTE which);
};
