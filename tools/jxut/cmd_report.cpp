// jxut report / font: the page a report template gives, the metrics a
// report is laid out with on the printer (or the screen), and the text
// metrics of a font, for support engineers checking a customer's template
// and font from the command line; and the demo step of the report services.
#include "command.h"
#include "helpers.h"

#include "jx6ut.h"

#include <cmath>
#include <cstring>
#include <string>

namespace jxut {
namespace {

int run_report(const Call& call);
int run_font(const Call& call);

const Command kReport = {
    "report",
    "report page TEMPLATE_DIR INDEX\n"
    "report metrics [--template-dir DIR --index N] [--font FACE] [--size TENTHS] [--landscape]",
    "the printable area of a report template; the page and font metrics of a report",
    "page reads template INDEX (0 to 9) of TEMPLATE_DIR as the application does and\n"
    "prints its printable area, or the error and the 6.5 x 4 inch area used\n"
    "instead.\n\n"
    "metrics measures a report on the default printer, or on the screen when\n"
    "there is none: dots per inch, the font's character width and line height,\n"
    "the page in device pixels and the metafile frame in hundredths of a\n"
    "millimetre. The page is the template's printable area (6.5 x 4 inches\n"
    "without a template); the font's height counts whole points only.",
    {
        {"--template-dir", "DIR", "the folder of the report templates"},
        {"--index", "N", "the template, 0 to 9"},
        {"--font", "FACE", "the report font (default Liberation Sans)"},
        {"--size", "TENTHS", "its size in tenths of a point (default 100)"},
        {"--landscape", nullptr, "the printer context turned to landscape"},
    },
    "jxut report page samples/templates 3\n"
    "jxut report metrics --template-dir samples/templates --index 2 --landscape\n"
    "jxut report metrics --font 'Liberation Serif' --size 105",
    run_report,
};

const Command kFont = {
    "font",
    "font FACE SIZE_TENTHS [--dpi N]",
    "the text metrics of a font at a size in tenths of a point",
    "The height is the application's: whole points at N dots per inch (96\n"
    "unless given), as a negative character height. A face that is not\n"
    "installed is measured as the default face.",
    {
        {"--dpi", "N", "dots per inch the height is computed for (default 96)"},
    },
    "jxut font 'Liberation Sans' 100\n"
    "jxut font 'Liberation Mono' 85 --dpi 120",
    run_font,
};

void print_area(const char* what, double width, double height) {
    out("%s: %.2f x %.2f in (%.1f x %.1f mm)\n", what, width, height, width * 25.4, height * 25.4);
}

// Reads the template into `metrics`; prints the area, or the error (through
// `print_error`) and the area used instead. False on an error.
bool read_template(Report_Metrics& metrics, const std::string& dir, int index,
                   void (*print_error)(const char*, ...) = err) {
    metrics.template_index = static_cast<BYTE>(index);
    BoxCollector boxes;
    std::string folder = dir;
    metrics.get_printerpage_size(&folder[0]);
    out("template: %s\n", Report_Metrics::get_template_name(index));
    if (boxes.any()) {
        boxes.report(print_error, "");
        print_area("printable area (default, the template could not be used)",
                   metrics.printable_width, metrics.printable_height);
        return false;
    }
    print_area("printable area", metrics.printable_width, metrics.printable_height);
    return true;
}

bool template_index(const std::string& text, long& index) {
    return parse_int(text, 0, 9, index);
}

int report_page(const Call& call) {
    const Args& args = call.operands();
    if (call.has("--template-dir") || call.has("--index") || call.has("--font") ||
        call.has("--size") || call.has("--landscape"))
        return call.usage_error("page takes no options; they go with metrics");
    if (args.size() != 3) return call.usage_error("page takes TEMPLATE_DIR INDEX");
    long index = 0;
    if (!template_index(args[2], index))
        return call.usage_error("INDEX is a template number from 0 to 9, not '" + echo(args[2]) +
                                "'");
    Report_Metrics metrics;
    return read_template(metrics, args[1], static_cast<int>(index)) ? kOk : kFailed;
}

void set_face(LOGFONTA& font, const std::string& face) {
    std::memset(&font, 0, sizeof font);
    std::memcpy(font.lfFaceName, face.data(), face.size()); // checked: at most 31
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
}

int report_metrics(const Call& call) {
    if (call.operands().size() != 1) return call.usage_error("metrics takes only options");
    const std::string dir = call.value("--template-dir");
    const std::string face = call.value("--font", "Liberation Sans");
    long index = -1, size = 100;
    if (call.has("--index") && !template_index(call.value("--index"), index))
        return call.usage_error("--index takes a template number from 0 to 9");
    if (call.has("--size") && !parse_int(call.value("--size"), 10, 10000, size))
        return call.usage_error("--size takes tenths of a point from 10 to 10000");
    if (call.has("--template-dir") != call.has("--index"))
        return call.usage_error("--template-dir and --index go together");
    if (face.size() >= LF_FACESIZE)
        return call.usage_error("a face name has at most 31 characters");

    Report_Metrics metrics;
    set_face(metrics.log_font, face);
    metrics.point_size = static_cast<int>(size);
    metrics.portrait = !call.has("--landscape");
    int status = kOk;
    if (call.has("--template-dir")) {
        if (!read_template(metrics, dir, static_cast<int>(index))) status = kFailed;
    } else {
        print_area("printable area (default, no template given)", metrics.printable_width,
                   metrics.printable_height);
    }
    if (!metrics.init_metrics(nullptr, nullptr, true)) return call.fail("no device to measure on");
    if (metrics.printer && !metrics.printer->no_printer)
        out("device: printer %s, %s\n", metrics.printer->device_name,
            metrics.portrait ? "portrait" : "landscape");
    else
        out("device: screen (no printer)\n");
    out("dots per inch: %.0f x %.0f\n", metrics.logpixels_x, metrics.logpixels_y);
    out("font: %s, %.1f pt, height %ld\n", face.c_str(), size / 10.0,
        static_cast<long>(metrics.log_font.lfHeight));
    out("character width: %d px\nline height: %d px\n", metrics.char_width, metrics.line_height);
    out("page: %d x %d px\n", metrics.page_width_px, metrics.page_height_px);
    out("metafile frame: %ld x %ld (0.01 mm)\n", static_cast<long>(metrics.emf_frame.right),
        static_cast<long>(metrics.emf_frame.bottom));
    metrics.reset_metrics();
    return status;
}

int run_report(const Call& call) {
    const Args& args = call.operands();
    if (args.empty()) return call.usage_error("give page or metrics");
    if (args[0] == "page") return report_page(call);
    if (args[0] == "metrics") return report_metrics(call);
    return call.usage_error("unknown report command '" + echo(args[0]) + "'");
}

// The text metrics of `face` at `tenths` of a point on `dpi` dots per inch,
// one field a line, measured on the screen.
bool print_font(const std::string& face, long tenths, long dpi) {
    LOGFONTA font;
    set_face(font, face);
    const long whole_points = tenths / 10;
    font.lfHeight = -static_cast<LONG>(std::floor(whole_points * dpi / 72.0 + 0.5));
    HDC screen = GetDC(nullptr);
    HFONT handle = CreateFontIndirectA(&font);
    HGDIOBJ previous = SelectObject(screen, handle);
    TEXTMETRICA tm;
    const BOOL ok = GetTextMetricsA(screen, &tm);
    SelectObject(screen, previous);
    DeleteObject(handle);
    ReleaseDC(nullptr, screen);
    if (!ok) return false;
    out("font: %s, %.1f pt at %ld dpi (height %ld)\n", face.c_str(), tenths / 10.0, dpi,
        static_cast<long>(font.lfHeight));
    out("height: %ld\nascent: %ld\ndescent: %ld\n", static_cast<long>(tm.tmHeight),
        static_cast<long>(tm.tmAscent), static_cast<long>(tm.tmDescent));
    out("internal leading: %ld\nexternal leading: %ld\n", static_cast<long>(tm.tmInternalLeading),
        static_cast<long>(tm.tmExternalLeading));
    out("average width: %ld\nmaximum width: %ld\nweight: %ld\n",
        static_cast<long>(tm.tmAveCharWidth), static_cast<long>(tm.tmMaxCharWidth),
        static_cast<long>(tm.tmWeight));
    out("italic: %s\npitch and family: 0x%02x\ncharacter set: %d\n", tm.tmItalic ? "yes" : "no",
        tm.tmPitchAndFamily, tm.tmCharSet);
    return true;
}

int run_font(const Call& call) {
    const Args& args = call.operands();
    long dpi = 96;
    if (call.has("--dpi") && !parse_int(call.value("--dpi"), 1, 10000, dpi))
        return call.usage_error("--dpi takes dots per inch from 1 to 10000");
    if (args.size() != 2) return call.usage_error("give FACE and SIZE_TENTHS");
    if (args[0].size() >= LF_FACESIZE)
        return call.usage_error("a face name has at most 31 characters");
    long tenths = 0;
    if (!parse_int(args[1], 10, 10000, tenths))
        return call.usage_error("SIZE_TENTHS is tenths of a point from 10 to 10000, not '" +
                                echo(args[1]) + "'");
    if (!print_font(args[0], tenths, dpi))
        return call.fail("no font could be measured for '" + echo(args[0]) + "'");
    return kOk;
}

int demo_report(const std::string& samples) {
    Report_Metrics metrics;
    const bool page = read_template(metrics, samples + "/templates", 3);
    out("\n");
    Report_Metrics fallback;
    expected("a template without its bottom margin, shown, and the default area used");
    read_template(fallback, samples + "/templates", 9, out);
    out("\n");
    const bool font = print_font("Liberation Sans", 100, 96);
    return page && font ? kOk : kFailed;
}

const Registrar kReportRegistrar(kReport);
const Registrar kFontRegistrar(kFont);
const Registrar kDemoRegistrar(DemoStep{60, "Report page and font", demo_report});

} // namespace
} // namespace jxut
