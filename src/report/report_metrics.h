// Page geometry for printed reports and for the metafiles the host draws
// them into: the default printer, the printable area of a report template,
// the report font measured on the printer (or on the screen without one).
#pragma once

#include "frame/error_handler.h"

// The default printer, asked for without showing a dialog.
class JX_API defaultJ5printer {
public:
    PRINTDLGA print_dlg;
    PAGESETUPDLGA page_setup; // paper and margins in thousandths of an inch
    char* driver_name;        // null when there is no printer
    char* device_name;
    char* output_name;
    bool no_printer;

    defaultJ5printer(HWND owner, HINSTANCE instance);
    ~defaultJ5printer();
    // A copy would free the same device blocks and names twice.
    defaultJ5printer(const defaultJ5printer&) = delete;
    defaultJ5printer& operator=(const defaultJ5printer&) = delete;

    // A new printer context in the requested orientation, for the caller to
    // delete; null without a printer.
    HDC get_printdc(bool portrait);

private:
    void set_devnames();
};

class JX_API Report_Metrics {
public:
    // Filled by the host.
    double page_width; // centimetres, or inches with use_inches
    double page_height;
    bool use_inches;
    bool width_from_template;
    bool height_from_template;
    int point_size; // tenths of a point
    COLORREF font_color;
    LOGFONTA log_font;
    BYTE template_index; // 0 to 9

    // Set by the operations.
    HWND owner_window;
    defaultJ5printer* printer;
    HDC hdc;
    bool portrait;  // filled by the host
    RECT emf_frame; // hundredths of a millimetre
    double logpixels_x;
    double logpixels_y;
    double pixels_per_mm_x;
    double pixels_per_mm_y;
    int char_width;
    int line_height;
    double printable_width; // inches
    double printable_height;
    int page_width_px;
    int page_height_px;
    HFONT font;
    HGDIOBJ previous_font;

    Report_Metrics();
    ~Report_Metrics();
    // The record owns a printer object, a device context and a font, which
    // no copy could share safely.
    Report_Metrics(const Report_Metrics&) = delete;
    Report_Metrics& operator=(const Report_Metrics&) = delete;

    // The template file name for 0 to 9; "" for any other index.
    static char* get_template_name(int index);
    void set_font(HWND owner);
    // Never throws: a template that can't be read is shown to the user and
    // leaves a printable area of 6.5 by 4.0 inches.
    void get_printerpage_size(char* template_dir);
    HDC init_metrics(HWND owner, HINSTANCE instance, bool use_template);
    void reset_metrics();
    double get_width_mm();
    double get_height_mm();
    void get_emf_rectlandscp(RECT* frame, int* height_px, int* width_px);

private:
    void get_margins_page_size(Error_Handler* err, char* rtf_text);
};
