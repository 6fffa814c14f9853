// The screen for hosts and tests on systems without one. On Windows the
// screen is the system's own and this header declares nothing.
#pragma once

#include "win32.h"

#if !defined(_WIN32)
extern "C" {
// What GetDC(NULL) and GetDeviceCaps report for the screen.
struct jx_screen {
    int width;          // pixels (HORZRES)
    int height;         // pixels (VERTRES)
    int bits_per_pixel; // 1, 4, 8, 16, 24 or 32 (BITSPIXEL); 8 or fewer is a palette device
    int dpi_x;          // LOGPIXELSX
    int dpi_y;          // LOGPIXELSY
    int width_mm;       // HORZSIZE; 0: from the width and dpi_x
    int height_mm;      // VERTSIZE; 0: from the height and dpi_y
};

// Describes the screen; a null description restores the default of
// 1920 x 1080 pixels, 32 bits per pixel at 96 dots per inch. Returns false,
// changing nothing, for a size or resolution that is not positive or a depth
// that no display has.
JX_API bool jx_set_screen(const jx_screen* screen);

// The screen as it is described now.
JX_API void jx_get_screen(jx_screen* screen);
}
#endif
