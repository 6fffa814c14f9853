// jxut report / font: the page a report template gives, the metrics a
// report is laid out with on the printer (or the screen), and the text
// metrics of a font, for support engineers checking a customer's template
// and font from the command line; and the demo step of the report services.
#include "command.h"

#include "jx6ut.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace jxut {
namespace {

int run_report(const Args& args);
int run_font(const Args& args);

const Command kReport = {
    "report",
    "report page TEMPLATE_DIR INDEX | report metrics [--template-dir DIR --index N] "
    "[--font FACE --size TENTHS] [--landscape]",
    "the printable area of a report template; the report's page and font metrics", run_report};
const Command kFont = {"font", "font FACE SIZE_TENTHS [--dpi N]",
                       "the text metrics of a font at a size in tenths of a point", run_font};

const char kReportExamples[] = "examples:\n"
                               "  jxut report page samples/templates 3\n"
                               "  jxut report metrics --template-dir samples/templates --index 2 "
                               "--font \"Liberation Serif\" --size 105 --landscape\n";
const char kFontExamples[] = "examples:\n"
                             "  jxut font \"Liberation Sans\" 100\n"
                             "  jxut font \"Liberation Mono\" 85 --dpi 120\n";

bool wants_help(const Args& args) {
    for (const std::string& arg : args)
        if (arg == "--help" || arg == "-h") return true;
    return false;
}

int help(const Command& command, const char* examples) {
    std::printf("usage: jxut %s\n%s\n\n%s", command.usage, command.summary, examples);
    return kOk;
}

bool parse_int(const std::string& text, long low, long high, long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text.c_str(), &end, 10);
    return *end == '\0' && errno != ERANGE && value >= low && value <= high;
}

// The boxes the library shows, printed as the command's error.
class ErrorBoxes {
public:
    ErrorBoxes() { jx_set_message_box_handler(&ErrorBoxes::handle, this); }
    ~ErrorBoxes() { jx_set_message_box_handler(nullptr, nullptr); }
    ErrorBoxes(const ErrorBoxes&) = delete;
    ErrorBoxes& operator=(const ErrorBoxes&) = delete;
    bool any() const { return !shown_.empty(); }
    void print(FILE* out) const {
        for (const std::string& box : shown_) std::fprintf(out, "%s\n", box.c_str());
    }

private:
    static int handle(void* context, HWND, const char* text, const char* caption, UINT) {
        std::string line = std::string(caption) + ": ";
        for (const char* p = text; *p; ++p)
            if (*p != '\r') line += *p == '\n' ? ' ' : *p;
        while (!line.empty() && line.back() == ' ') line.pop_back();
        static_cast<ErrorBoxes*>(context)->shown_.push_back(line);
        return IDOK;
    }
    std::vector<std::string> shown_;
};

void print_area(const char* what, double width, double height) {
    std::printf("%s: %.2f x %.2f in (%.1f x %.1f mm)\n", what, width, height, width * 25.4,
                height * 25.4);
}

// Reads the template into `metrics`; prints the area, or the error and the
// area used instead. False on an error.
bool read_template(Report_Metrics& metrics, const std::string& dir, int index) {
    metrics.template_index = static_cast<BYTE>(index);
    ErrorBoxes boxes;
    std::string folder = dir;
    metrics.get_printerpage_size(&folder[0]);
    std::printf("template: %s\n", Report_Metrics::get_template_name(index));
    if (boxes.any()) {
        boxes.print(stderr);
        print_area("printable area (default, the template could not be used)",
                   metrics.printable_width, metrics.printable_height);
        return false;
    }
    print_area("printable area", metrics.printable_width, metrics.printable_height);
    return true;
}

int report_page(const Args& args) {
    if (args.size() != 2) return usage_error(kReport, "report page takes TEMPLATE_DIR INDEX");
    long index = 0;
    if (!parse_int(args[1], 0, 9, index))
        return usage_error(kReport,
                           "INDEX is a template number from 0 to 9, not '" + args[1] + "'");
    Report_Metrics metrics;
    return read_template(metrics, args[0], static_cast<int>(index)) ? kOk : kFailed;
}

void set_face(LOGFONTA& font, const std::string& face) {
    std::memset(&font, 0, sizeof font);
    std::snprintf(font.lfFaceName, sizeof font.lfFaceName, "%s", face.c_str());
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
}

int report_metrics(const Args& args) {
    std::string dir, face = "Liberation Sans";
    long index = -1, size = 100;
    bool landscape = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool has_value = i + 1 < args.size();
        if (arg == "--landscape") {
            landscape = true;
        } else if (arg == "--template-dir" && has_value) {
            dir = args[++i];
        } else if (arg == "--index" && has_value) {
            if (!parse_int(args[++i], 0, 9, index))
                return usage_error(kReport, "--index takes a template number from 0 to 9");
        } else if (arg == "--font" && has_value) {
            face = args[++i];
        } else if (arg == "--size" && has_value) {
            if (!parse_int(args[++i], 10, 10000, size))
                return usage_error(kReport, "--size takes tenths of a point from 10 to 10000");
        } else {
            return usage_error(kReport, "unknown or incomplete option " + arg);
        }
    }
    if (dir.empty() != (index < 0))
        return usage_error(kReport, "--template-dir and --index go together");
    if (face.size() >= LF_FACESIZE)
        return usage_error(kReport, "a face name has at most 31 characters");

    Report_Metrics metrics;
    set_face(metrics.log_font, face);
    metrics.point_size = static_cast<int>(size);
    metrics.portrait = !landscape;
    int status = kOk;
    if (!dir.empty()) {
        if (!read_template(metrics, dir, static_cast<int>(index))) status = kFailed;
    } else {
        print_area("printable area (default, no template given)", metrics.printable_width,
                   metrics.printable_height);
    }
    if (!metrics.init_metrics(nullptr, nullptr, true)) {
        std::fprintf(stderr, "jxut report: no device context to measure on\n");
        return kFailed;
    }
    if (metrics.printer && !metrics.printer->no_printer)
        std::printf("device: printer %s, %s\n", metrics.printer->device_name,
                    landscape ? "landscape" : "portrait");
    else
        std::printf("device: screen (no printer)\n");
    std::printf("dots per inch: %.0f x %.0f\n", metrics.logpixels_x, metrics.logpixels_y);
    std::printf("font: %s, %.1f pt, height %ld\n", face.c_str(), size / 10.0,
                static_cast<long>(metrics.log_font.lfHeight));
    std::printf("character width: %d px\nline height: %d px\n", metrics.char_width,
                metrics.line_height);
    std::printf("page: %d x %d px\n", metrics.page_width_px, metrics.page_height_px);
    std::printf("metafile frame: %ld x %ld (0.01 mm)\n", static_cast<long>(metrics.emf_frame.right),
                static_cast<long>(metrics.emf_frame.bottom));
    metrics.reset_metrics();
    return status;
}

int run_report(const Args& args) {
    if (wants_help(args)) return help(kReport, kReportExamples);
    if (args.empty()) return usage_error(kReport, "give page or metrics");
    const Args rest(args.begin() + 1, args.end());
    if (args[0] == "page") return report_page(rest);
    if (args[0] == "metrics") return report_metrics(rest);
    return usage_error(kReport, "unknown report command '" + args[0] + "'");
}

// The text metrics of `face` at `tenths` of a point on `dpi` dots per inch,
// printed one field a line. The height follows the library's rule: whole
// points only.
int print_font(const std::string& face, long tenths, long dpi) {
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
    if (!ok) {
        std::fprintf(stderr, "jxut font: no font could be measured for '%s'\n", face.c_str());
        return kFailed;
    }
    std::printf("font: %s, %.1f pt at %ld dpi (height %ld)\n", face.c_str(), tenths / 10.0, dpi,
                static_cast<long>(font.lfHeight));
    std::printf("height: %ld\nascent: %ld\ndescent: %ld\n", static_cast<long>(tm.tmHeight),
                static_cast<long>(tm.tmAscent), static_cast<long>(tm.tmDescent));
    std::printf("internal leading: %ld\nexternal leading: %ld\n",
                static_cast<long>(tm.tmInternalLeading), static_cast<long>(tm.tmExternalLeading));
    std::printf("average width: %ld\nmaximum width: %ld\nweight: %ld\n",
                static_cast<long>(tm.tmAveCharWidth), static_cast<long>(tm.tmMaxCharWidth),
                static_cast<long>(tm.tmWeight));
    std::printf("italic: %s\npitch and family: 0x%02x\ncharacter set: %d\n",
                tm.tmItalic ? "yes" : "no", tm.tmPitchAndFamily, tm.tmCharSet);
    return kOk;
}

int run_font(const Args& args) {
    if (wants_help(args)) return help(kFont, kFontExamples);
    Args plain;
    long dpi = 96;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--dpi") {
            if (i + 1 >= args.size() || !parse_int(args[++i], 1, 10000, dpi))
                return usage_error(kFont, "--dpi takes dots per inch from 1 to 10000");
        } else {
            plain.push_back(args[i]);
        }
    }
    if (plain.size() != 2) return usage_error(kFont, "give FACE and SIZE_TENTHS");
    if (plain[0].size() >= LF_FACESIZE)
        return usage_error(kFont, "a face name has at most 31 characters");
    long tenths = 0;
    if (!parse_int(plain[1], 10, 10000, tenths))
        return usage_error(kFont, "SIZE_TENTHS is tenths of a point from 10 to 10000, not '" +
                                      plain[1] + "'");
    return print_font(plain[0], tenths, dpi);
}

int demo_report(const std::string& samples) {
    Report_Metrics metrics;
    const bool ok = read_template(metrics, samples + "/templates", 3);
    std::printf("\n");
    return print_font("Liberation Sans", 100, 96) == kOk && ok ? kOk : kFailed;
}

const Registrar kReportRegistrar(kReport);
const Registrar kFontRegistrar(kFont);
const Registrar kDemoRegistrar(DemoStep{60, "Report page and font", demo_report});

} // namespace
} // namespace jxut
