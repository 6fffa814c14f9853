// Printers from the print system: the default destination, its default
// paper with the margins the printer can't print on, and its resolution.
#include "printers.h"

#include "../testing.h"

#include <cups/cups.h>

#include <memory>
#include <mutex>

namespace jx::posix::printers {
namespace {

std::mutex g_mutex;
bool g_described = false; // a test describes the printer
bool g_have_described = false;
Printer g_printer;

constexpr int kDefaultDpi = 300; // when the printer names no resolution
// A4 with margins of 4.23 mm (a sixth of an inch): what a printer that
// names no default paper is assumed to take.
constexpr cups_size_t kFallbackPaper = {"", 21000, 29700, 423, 423, 423, 423};

// The printer's default resolution in dots per inch.
void read_resolution(cups_dest_t* dest, cups_dinfo_t* info, Printer& printer) {
    printer.dpi_x = printer.dpi_y = kDefaultDpi;
    ipp_attribute_t* attribute =
        info ? cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, "printer-resolution") : nullptr;
    if (!attribute || ippGetValueTag(attribute) != IPP_TAG_RESOLUTION) return;
    int y = 0;
    ipp_res_t units = IPP_RES_PER_INCH;
    int x = ippGetResolution(attribute, 0, &y, &units);
    if (units == IPP_RES_PER_CM) {
        x = static_cast<int>(x * 2.54 + 0.5);
        y = static_cast<int>(y * 2.54 + 0.5);
    }
    if (x > 0 && x <= 10000 && y > 0 && y <= 10000) {
        printer.dpi_x = x;
        printer.dpi_y = y;
    }
}

bool ask_print_system(const std::string& name, Printer& printer) {
    cups_dest_t* dest =
        cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.empty() ? nullptr : name.c_str(), nullptr);
    if (!dest) return false;
    cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest);
    cups_size_t size = kFallbackPaper;
    if (info) {
        cups_size_t found;
        if (cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest, info, 0, &found) && found.width > 0 &&
            found.length > 0)
            size = found;
    }
    printer.name = dest->name ? dest->name : "";
    printer.paper_width = size.width;
    printer.paper_length = size.length;
    printer.margin_left = size.left;
    printer.margin_right = size.right;
    printer.margin_top = size.top;
    printer.margin_bottom = size.bottom;
    read_resolution(dest, info, printer);
    if (info) cupsFreeDestInfo(info);
    cupsFreeDests(1, dest);
    return !printer.name.empty();
}

} // namespace

bool find(const std::string& name, Printer& printer) {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_described) {
        if (!g_have_described) return false;
        if (!name.empty() && name != g_printer.name) return false;
        printer = g_printer;
        return true;
    }
    return ask_print_system(name, printer);
}

} // namespace jx::posix::printers

namespace jx::testing {

ScopedPrinter::ScopedPrinter(const PrinterDescription* printer) {
    using namespace jx::posix::printers;
    std::lock_guard<std::mutex> lock(g_mutex);
    g_described = true;
    g_have_described = printer != nullptr;
    g_printer = Printer();
    if (!printer) return;
    g_printer.name = printer->name ? printer->name : "";
    g_printer.paper_width = printer->paper_width;
    g_printer.paper_length = printer->paper_length;
    g_printer.margin_left = printer->margin_left;
    g_printer.margin_right = printer->margin_right;
    g_printer.margin_top = printer->margin_top;
    g_printer.margin_bottom = printer->margin_bottom;
    g_printer.dpi_x = g_printer.dpi_y = printer->dpi;
}

ScopedPrinter::~ScopedPrinter() {
    using namespace jx::posix::printers;
    std::lock_guard<std::mutex> lock(g_mutex);
    g_described = false;
    g_have_described = false;
}

} // namespace jx::testing
