// Report page metrics: the printable area from a template, the report font
// and the page measured on the printer's (or the screen's) device context.
#include "report_metrics.h"

#include "files/jxfileio.h"
#include "font_rules.h"
#include "frame/catalog_ids.h"
#include "rtf_page.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

using jx::report::detail::ceiling_to_long;
using jx::report::detail::truncate_to_long;

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kMmPerInch = 25.4;
constexpr double kFallbackWidth = 6.5; // inches, when the template fails
constexpr double kFallbackHeight = 4.0;

char kTemplateNames[10][24] = {
    "J5transcalc_summ.rtf", "J5transcalc_detl.rtf",  "J5profile_disp.rtf",    "J5default_rept.rtf",
    "J5batch_print.rtf",    "J5interf_casedetl.rtf", "J5interf_crossref.rtf", "J5perform_summ.rtf",
    "J5network_port.rtf",   "J5network_ldsc.rtf",
};
char kNoTemplate[1] = "";

// Page size in millimetres from a printable size in inches or a host-filled
// size in inches or centimetres.
double page_mm(bool from_template, double printable_inches, bool use_inches, double page) {
    if (from_template) return printable_inches * kMmPerInch;
    return use_inches ? page * kMmPerInch : page * 10.0;
}

} // namespace

Report_Metrics::Report_Metrics()
    : page_width(0), page_height(0), use_inches(false), width_from_template(false),
      height_from_template(false), point_size(0), font_color(0), log_font(), template_index(0),
      owner_window(nullptr), printer(nullptr), hdc(nullptr), portrait(false), emf_frame(),
      logpixels_x(0), logpixels_y(0), pixels_per_mm_x(0), pixels_per_mm_y(0), char_width(0),
      line_height(0), printable_width(kFallbackWidth), printable_height(kFallbackHeight),
      page_width_px(0), page_height_px(0), font(nullptr), previous_font(nullptr) {}

Report_Metrics::~Report_Metrics() {
    reset_metrics();
}

char* Report_Metrics::get_template_name(int index) {
    if (index < 0 || index > 9) return kNoTemplate;
    return kTemplateNames[index];
}

void Report_Metrics::set_font(HWND owner) {
    jx::report::detail::choose_font(owner, log_font, point_size, font_color);
}

void Report_Metrics::get_printerpage_size(char* template_dir) {
    Error_Handler record;
    std::unique_ptr<char, decltype(&std::free)> text(nullptr, &std::free);
    try {
        // An index the host should never give, or a path that does not fit
        // its 260 characters, is shown as a file error naming what was
        // asked for rather than opening some other file.
        char path[MAX_PATH];
        const char* dir = template_dir ? template_dir : "";
        const int n =
            std::snprintf(path, sizeof path, "%s\\%s", dir, get_template_name(template_index));
        if (template_index > 9 || n < 0 || n >= static_cast<int>(sizeof path)) {
            record.init_fileio(path);
            record.set_last_error_code(template_index > 9 ? ERROR_INVALID_PARAMETER
                                                          : ERROR_FILENAME_EXCED_RANGE);
            throw &record;
        }
        jxfileio file(&record, path, GENERIC_READ, FILE_SHARE_READ, nullptr);
        const DWORD size = file.get_file_size();
        text.reset(static_cast<char*>(std::malloc(size_t{size} + 1)));
        if (!text) {
            record.set_last_error_code(ERROR_NOT_ENOUGH_MEMORY);
            throw &record;
        }
        file.read(text.get(), size);
        text.get()[size] = '\0';
        get_margins_page_size(&record, text.get());
    } catch (Error_Handler* failed) {
        failed->show_errormsg(nullptr, false);
        printable_width = kFallbackWidth;
        printable_height = kFallbackHeight;
    }
}

void Report_Metrics::get_margins_page_size(Error_Handler* err, char* rtf_text) {
    err->set_error_code(jx::catalog::kRtfTemplateIncompatible);
    jx::report::detail::RtfPage page;
    if (!jx::report::detail::read_rtf_page(rtf_text, page)) throw err;
    printable_width = (page.page_width - page.margin_left - page.margin_right) / kTwipsPerInch;
    printable_height = (page.page_height - page.margin_top - page.margin_bottom) / kTwipsPerInch;
}

HDC Report_Metrics::init_metrics(HWND owner, HINSTANCE instance, bool use_template) {
    // A second call without reset_metrics would otherwise lose the earlier
    // context and font; they are released first, which is what the pairing
    // of the two calls does anyway.
    if (hdc || font) reset_metrics();
    owner_window = owner;
    delete printer;
    printer = new defaultJ5printer(owner_window, instance);
    hdc = printer->no_printer ? GetDC(owner_window) : printer->get_printdc(portrait);

    logpixels_x = GetDeviceCaps(hdc, LOGPIXELSX);
    logpixels_y = GetDeviceCaps(hdc, LOGPIXELSY);

    log_font.lfHeight = jx::report::detail::font_height(point_size, static_cast<int>(logpixels_y));
    log_font.lfWidth = 0;
    font = CreateFontIndirectA(&log_font);
    previous_font = SelectObject(hdc, font);

    TEXTMETRICA metrics;
    std::memset(&metrics, 0, sizeof metrics);
    GetTextMetricsA(hdc, &metrics);
    char_width = metrics.tmAveCharWidth;
    line_height = metrics.tmHeight + 3;

    const double width_mm =
        page_mm(width_from_template || use_template, printable_width, use_inches, page_width);
    const double height_mm =
        page_mm(height_from_template || use_template, printable_height, use_inches, page_height);
    // A context that reports no physical size gives 0 pixels per millimetre
    // rather than a division by zero.
    const int horz_size = GetDeviceCaps(hdc, HORZSIZE);
    const int vert_size = GetDeviceCaps(hdc, VERTSIZE);
    pixels_per_mm_x = horz_size ? static_cast<double>(GetDeviceCaps(hdc, HORZRES)) / horz_size : 0;
    pixels_per_mm_y = vert_size ? static_cast<double>(GetDeviceCaps(hdc, VERTRES)) / vert_size : 0;

    emf_frame.left = 0;
    emf_frame.top = 0;
    emf_frame.right = truncate_to_long(width_mm * 100.0);
    emf_frame.bottom = truncate_to_long(height_mm * 100.0);
    page_width_px = ceiling_to_long(width_mm * pixels_per_mm_x);
    page_height_px = ceiling_to_long(height_mm * pixels_per_mm_y);
    return hdc;
}

void Report_Metrics::reset_metrics() {
    if (hdc && previous_font) SelectObject(hdc, previous_font);
    if (font) DeleteObject(font);
    font = nullptr;
    previous_font = nullptr;
    if (hdc) {
        // The screen context belongs to the window and goes back to it; a
        // printer context was made for this record and is deleted.
        if (!printer || printer->no_printer)
            ReleaseDC(owner_window, hdc);
        else
            DeleteDC(hdc);
        hdc = nullptr;
    }
    delete printer;
    printer = nullptr;
}

double Report_Metrics::get_width_mm() {
    return page_mm(width_from_template, printable_width, use_inches, page_width);
}

double Report_Metrics::get_height_mm() {
    return page_mm(height_from_template, printable_height, use_inches, page_height);
}

void Report_Metrics::get_emf_rectlandscp(RECT* frame, int* height_px, int* width_px) {
    if (frame) {
        frame->left = 0;
        frame->top = 0;
        frame->right = truncate_to_long(printable_width * 2540.0);
        frame->bottom = truncate_to_long(printable_height * 2540.0);
    }
    if (height_px) *height_px = truncate_to_long(logpixels_y * printable_height);
    if (width_px) *width_px = truncate_to_long(logpixels_x * printable_width);
}
