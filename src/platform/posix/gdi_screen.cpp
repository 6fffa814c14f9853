// The virtual screen: its description, its device contexts (GetDC,
// ReleaseDC) and what GetDeviceCaps reports for them.
#include "graphics_layer.h"
#include "layer.h"
#include "../testing.h"

#include <mutex>

using jx::posix::fail;

namespace jx::posix::gdi {
namespace {

constexpr jx_screen kDefaultScreen = {1920, 1080, 32, 96, 96, 0, 0};

std::mutex g_screen_mutex;
jx_screen g_screen = kDefaultScreen;

bool valid_depth(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Millimetres from pixels and dots per inch, rounded to the nearest.
int millimetres(int pixels, int dpi) {
    return static_cast<int>((static_cast<long long>(pixels) * 254 + dpi * 5) / (dpi * 10));
}

// What the display reports under Wine (0xBE99); a palette device adds
// RC_PALETTE.
constexpr int kDisplayRasterCaps = RC_BITBLT | RC_BITMAP64 | 0x0010 /* RC_GDI20_OUTPUT */ |
                                   RC_DI_BITMAP | RC_DIBTODEV | RC_BIGFONT | RC_STRETCHBLT |
                                   0x1000 /* RC_FLOODFILL */ | RC_STRETCHDIB | RC_DEVBITS;

class ScreenContext : public DeviceContext {
public:
    int caps(int index) const override {
        const jx_screen s = screen();
        const bool palette = s.bits_per_pixel <= 8;
        switch (index) {
        case DRIVERVERSION:
            return 0x4001;
        case TECHNOLOGY:
            return DT_RASDISPLAY;
        case HORZSIZE:
            return s.width_mm ? s.width_mm : millimetres(s.width, s.dpi_x);
        case VERTSIZE:
            return s.height_mm ? s.height_mm : millimetres(s.height, s.dpi_y);
        case HORZRES:
        case DESKTOPHORZRES:
            return s.width;
        case VERTRES:
        case DESKTOPVERTRES:
            return s.height;
        case BITSPIXEL:
            return s.bits_per_pixel;
        case PLANES:
            return 1;
        case NUMCOLORS:
            // A palette device counts its static colours; deeper ones say -1.
            return palette ? (s.bits_per_pixel == 8 ? 20 : 1 << s.bits_per_pixel) : -1;
        case RASTERCAPS:
            return kDisplayRasterCaps | (palette ? RC_PALETTE : 0);
        case ASPECTX:
        case ASPECTY:
            return 36;
        case ASPECTXY:
            return 51;
        case LOGPIXELSX:
            return s.dpi_x;
        case LOGPIXELSY:
            return s.dpi_y;
        case SIZEPALETTE:
            return palette ? 1 << s.bits_per_pixel : 0;
        case NUMRESERVED:
            return 20;
        case COLORRES:
            return palette ? 18 : 24;
        default:
            return 0;
        }
    }
    bool released_by_release_dc() const override { return true; }
};

} // namespace

jx_screen screen() {
    std::lock_guard<std::mutex> lock(g_screen_mutex);
    return g_screen;
}

bool screen_has_palette() {
    return screen().bits_per_pixel <= 8;
}

std::unique_ptr<DeviceContext> make_screen_context() {
    return std::make_unique<ScreenContext>();
}

} // namespace jx::posix::gdi

namespace gdi = jx::posix::gdi;

extern "C" {

bool jx_set_screen(const jx_screen* described) {
    jx_screen next = described ? *described : gdi::kDefaultScreen;
    if (next.width <= 0 || next.height <= 0 || next.dpi_x <= 0 || next.dpi_y <= 0 ||
        next.width_mm < 0 || next.height_mm < 0 || !gdi::valid_depth(next.bits_per_pixel))
        return false;
    std::lock_guard<std::mutex> lock(gdi::g_screen_mutex);
    gdi::g_screen = next;
    return true;
}

void jx_get_screen(jx_screen* described) {
    if (!described) return;
    std::lock_guard<std::mutex> lock(gdi::g_screen_mutex);
    *described = gdi::g_screen;
}

// Every window draws on the one screen, so a window's context is a screen
// context too.
HDC WINAPI GetDC(HWND) {
    return static_cast<HDC>(gdi::add(gdi::make_screen_context()));
}

int WINAPI ReleaseDC(HWND, HDC dc) {
    const gdi::DeviceContext* context = gdi::find_as<gdi::DeviceContext>(dc);
    if (!context || !context->released_by_release_dc()) return 0;
    return gdi::remove(dc) ? 1 : 0;
}
}

namespace jx::testing {

size_t live_gdi_objects() {
    return jx::posix::gdi::live_objects();
}

size_t live_global_blocks() {
    return jx::posix::live_global_blocks();
}

ScopedScreen::ScopedScreen(const jx_screen& screen) {
    jx_get_screen(&previous_);
    jx_set_screen(&screen);
}

ScopedScreen::~ScopedScreen() {
    jx_set_screen(&previous_);
}

} // namespace jx::testing
