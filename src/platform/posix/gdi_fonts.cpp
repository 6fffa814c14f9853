// Fonts as GDI objects, their text metrics, and printer device contexts.
#include "font_faces.h"
#include "graphics_layer.h"
#include "layer.h"
#include "printers.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

using jx::posix::fail;

namespace jx::posix::gdi {
namespace {

class Font : public Object {
public:
    explicit Font(const LOGFONTA& description) : Object(OBJ_FONT), log_font(description) {}
    int describe(int size, void* buffer) const override {
        if (!buffer) return sizeof log_font;
        const int n = std::clamp(size, 0, static_cast<int>(sizeof log_font));
        std::memcpy(buffer, &log_font, static_cast<size_t>(n));
        return n;
    }
    Object* select_into(DeviceContext& dc) override { return dc.select(Slot::font, this); }
    LOGFONTA log_font;
};

// Pixels of `hundredths` of a millimetre at `dpi`, to the nearest pixel.
int pixels(int hundredths, int dpi) {
    return static_cast<int>(std::lround(hundredths / 2540.0 * dpi));
}

// A printer's context: its page, in the orientation it was made for, less
// the margins the printer can't print on.
class PrinterContext : public DeviceContext {
public:
    PrinterContext(const printers::Printer& printer, bool landscape)
        : dpi_x_(printer.dpi_x), dpi_y_(printer.dpi_y) {
        int width = printer.paper_width, length = printer.paper_length;
        int left = printer.margin_left, right = printer.margin_right;
        int top = printer.margin_top, bottom = printer.margin_bottom;
        // Turned a quarter to the left: the paper's top edge becomes the
        // page's left edge.
        if (landscape) {
            std::swap(width, length);
            const int old_left = left;
            left = top;
            top = right;
            right = bottom;
            bottom = old_left;
        }
        paper_w_ = width;
        paper_h_ = length;
        printable_w_ = std::max(0, width - left - right);
        printable_h_ = std::max(0, length - top - bottom);
        offset_x_ = left;
        offset_y_ = top;
    }

    int caps(int index) const override {
        switch (index) {
        case TECHNOLOGY:
            return DT_RASPRINTER;
        case HORZSIZE:
            return static_cast<int>(std::lround(printable_w_ / 100.0));
        case VERTSIZE:
            return static_cast<int>(std::lround(printable_h_ / 100.0));
        case HORZRES:
            return pixels(printable_w_, dpi_x_);
        case VERTRES:
            return pixels(printable_h_, dpi_y_);
        case BITSPIXEL:
            return 24;
        case PLANES:
            return 1;
        case NUMCOLORS:
            return -1;
        case LOGPIXELSX:
            return dpi_x_;
        case LOGPIXELSY:
            return dpi_y_;
        case PHYSICALWIDTH:
            return pixels(paper_w_, dpi_x_);
        case PHYSICALHEIGHT:
            return pixels(paper_h_, dpi_y_);
        case PHYSICALOFFSETX:
            return pixels(offset_x_, dpi_x_);
        case PHYSICALOFFSETY:
            return pixels(offset_y_, dpi_y_);
        default:
            return 0;
        }
    }

private:
    int dpi_x_, dpi_y_;
    int paper_w_ = 0, paper_h_ = 0, printable_w_ = 0, printable_h_ = 0;
    int offset_x_ = 0, offset_y_ = 0;
};

} // namespace

// The system's default font is a bold face of 16 pixels a cell; here it is
// the default face at that size.
std::unique_ptr<Object> make_system_font() {
    LOGFONTA description;
    std::memset(&description, 0, sizeof description);
    description.lfHeight = 16;
    description.lfWeight = FW_BOLD;
    std::memcpy(description.lfFaceName, "System", sizeof "System");
    return std::make_unique<Font>(description);
}

} // namespace jx::posix::gdi

extern "C" {

HFONT WINAPI CreateFontIndirectA(const LOGFONTA* font) {
    using namespace jx::posix::gdi;
    if (!font) return fail<HFONT>(ERROR_INVALID_PARAMETER, nullptr);
    return static_cast<HFONT>(add(std::make_unique<Font>(*font)));
}

BOOL WINAPI GetTextMetricsA(HDC dc, LPTEXTMETRICA metrics) {
    using namespace jx::posix::gdi;
    DeviceContext* context = find_as<DeviceContext>(dc);
    if (!context || !metrics) return fail(ERROR_INVALID_HANDLE, FALSE);
    const Font* font = dynamic_cast<const Font*>(context->selected(Slot::font));
    if (!font) return fail(ERROR_INVALID_HANDLE, FALSE);
    if (!jx::posix::fonts::measure(font->log_font, context->caps(LOGPIXELSX),
                                   context->caps(LOGPIXELSY), *metrics))
        return fail(ERROR_INVALID_PARAMETER, FALSE);
    return TRUE;
}

// The device is the printer's name (the driver and output are taken as they
// come); an unknown printer gives no context.
HDC WINAPI CreateDCA(LPCSTR, LPCSTR device, LPCSTR, const DEVMODEA* mode) {
    using namespace jx::posix;
    printers::Printer printer;
    if (!device || !printers::find(device, printer))
        return fail<HDC>(ERROR_INVALID_PRINTER_NAME, nullptr);
    const bool landscape =
        mode && (mode->dmFields & DM_ORIENTATION) && mode->dmOrientation == DMORIENT_LANDSCAPE;
    return static_cast<HDC>(gdi::add(std::make_unique<gdi::PrinterContext>(printer, landscape)));
}

BOOL WINAPI DeleteDC(HDC dc) {
    using namespace jx::posix::gdi;
    DeviceContext* context = find_as<DeviceContext>(dc);
    if (!context || context->released_by_release_dc()) return fail(ERROR_INVALID_HANDLE, FALSE);
    remove(dc);
    return TRUE;
}
}
