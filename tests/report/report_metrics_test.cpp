// Page sizes from the host's fields and from report templates, the font
// dialogs of the three records, and the report text buffer. The measured
// metrics and the title line are in tests/fault, where the printer, the
// screen and the clock can be described.
#include "frame/catalog.h"
#include "platform/ui_hooks.h"
#include "report/report_metrics.h"
#include "report/report_string.h"
#include "report/screen_metrics.h"
#include "support/message_boxes.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using jx::test::ScopedMessageBoxes;
using jx::test::TempDir;

TEST(ReportMetrics, PageSizeFollowsTheFlagsAndLandscapeFrameTheArea) {
    const struct {
        const char* what;
        bool inches, width_template, height_template;
        double width, height; // host fields
        double width_mm, height_mm;
    } cases[] = {
        {"centimetres", false, false, false, 21.0, 29.7, 210.0, 297.0},
        {"inches", true, false, false, 8.5, 11.0, 215.9, 279.4},
        {"width from the template", true, true, false, 8.5, 11.0, 6.0 * 25.4, 279.4},
        {"height from the template", false, false, true, 21.0, 29.7, 210.0, 9.0 * 25.4},
    };
    for (const auto& c : cases) {
        Report_Metrics metrics;
        metrics.use_inches = c.inches;
        metrics.width_from_template = c.width_template;
        metrics.height_from_template = c.height_template;
        metrics.page_width = c.width, metrics.page_height = c.height;
        metrics.printable_width = 6.0, metrics.printable_height = 9.0;
        EXPECT_DOUBLE_EQ(metrics.get_width_mm(), c.width_mm) << c.what;
        EXPECT_DOUBLE_EQ(metrics.get_height_mm(), c.height_mm) << c.what;
    }
    // The landscape frame comes from the printable area alone.
    Report_Metrics metrics;
    metrics.printable_width = 9.0, metrics.printable_height = 6.5;
    metrics.logpixels_x = 300, metrics.logpixels_y = 600;
    RECT frame = {1, 1, 1, 1};
    int height = 0, width = 0;
    metrics.get_emf_rectlandscp(&frame, &height, &width);
    EXPECT_EQ((std::vector<long>{frame.left, frame.top, frame.right, frame.bottom, height, width}),
              (std::vector<long>{0, 0, 22860, 16510, 3900, 2700}));
}

// A scripted font dialog: records what it was given (all zero when it was
// not shown), then answers with Liberation Serif, 12.5 points and 0x00112233.
struct ScriptedFontDialog {
    BOOL answer = TRUE;
    CHOOSEFONTA seen{};

    ScriptedFontDialog() { jx_set_font_dialog_handler(&ScriptedFontDialog::handle, this); }
    ~ScriptedFontDialog() { jx_set_font_dialog_handler(nullptr, nullptr); }

    static BOOL handle(void* context, CHOOSEFONTA* dialog) {
        auto& self = *static_cast<ScriptedFontDialog*>(context);
        self.seen = *dialog;
        if (!self.answer) return FALSE;
        std::strcpy(dialog->lpLogFont->lfFaceName, "Liberation Serif");
        dialog->iPointSize = 125;
        dialog->rgbColors = 0x00112233;
        return TRUE;
    }
};

// The screen record is rebuilt only after OK: its height is the one field a
// reset recomputes from the point size.
TEST(FontDialog, OkStoresTheChoiceAndCancelChangesNothing) {
    for (const BOOL answer : {TRUE, FALSE}) {
        ScriptedFontDialog dialog;
        dialog.answer = answer;
        Screen_Metrics screen;
        std::strcpy(screen.log_font.lfFaceName, "Liberation Sans");
        screen.point_size = 100, screen.log_font.lfHeight = 1234;
        screen.set_font(nullptr);
        EXPECT_EQ(screen.log_font.lfHeight == 1234, !answer) << answer;
        Report_Metrics metrics;
        std::strcpy(metrics.log_font.lfFaceName, "Liberation Sans");
        metrics.point_size = 100;
        metrics.font_color = 0x0000FF;
        metrics.set_font(nullptr);
        const CHOOSEFONTA& seen = dialog.seen;
        EXPECT_EQ(std::make_tuple(seen.lStructSize, seen.Flags, seen.lpLogFont, seen.iPointSize,
                                  seen.rgbColors),
                  std::make_tuple(DWORD(sizeof(CHOOSEFONTA)), DWORD{0x10141}, &metrics.log_font,
                                  INT{100}, COLORREF{0x0000FF}));
        EXPECT_EQ(std::make_pair(metrics.point_size, metrics.font_color),
                  answer ? std::make_pair(125, COLORREF{0x00112233})
                         : std::make_pair(100, COLORREF{0x0000FF}));
        EXPECT_STREQ(metrics.log_font.lfFaceName, answer ? "Liberation Serif" : "Liberation Sans");
    }
}

// 0 chooses the first font, anything else the second.
TEST(FontDialog, ProfileFontsAreChosenByWhich) {
    for (const BYTE which : {0, 1, 2, 255}) {
        Profile_Metrics profile;
        profile.log_font_0 = profile.log_font_1 = LOGFONTA{};
        profile.font_color_0 = profile.font_color_1 = 0;
        profile.point_size_0 = 80, profile.point_size_1 = 90;
        ScriptedFontDialog dialog;
        profile.set_font(nullptr, which);
        EXPECT_EQ(
            std::make_tuple(dialog.seen.lpLogFont, profile.point_size_0, profile.point_size_1,
                            profile.font_color_0, profile.font_color_1),
            which == 0
                ? std::make_tuple(&profile.log_font_0, 125, 90, COLORREF{0x00112233}, COLORREF{0})
                : std::make_tuple(&profile.log_font_1, 80, 125, COLORREF{0}, COLORREF{0x00112233}))
            << int(which);
    }
}

const std::string kLetter = "{\\rtf1\\ansi\\paperw12240\\paperh15840"
                            "\\sectd\\pgwsxn12240\\pghsxn15840\\marglsxn1800\\margrsxn1800"
                            "\\margtsxn1440\\margbsxn1440 text}";
// The words after the page width that make a page one inch high.
const std::string kInchHigh = "\\pghsxn1440\\marglsxn0\\margrsxn0\\margtsxn0\\margbsxn0";

// The printable area is the page less its margins; every way a template
// can't be used is one file error box, and the page falls back to the
// default area of 6.5 x 4 inches. A template without its bottom margin is
// jxut's report-page-no-margin case.
TEST(Template, PrintableAreaOrAFileErrorAndTheDefaultArea) {
    // The names of indexes 4, 5 and 7 are checked below, those of 0, 3 and 9
    // by the jxut report cases.
    EXPECT_STREQ(Report_Metrics::get_template_name(10), "");
    EXPECT_STREQ(Report_Metrics::get_template_name(-1), "");
    char incompatible[260] = "";
    get_error_string(392, incompatible, sizeof incompatible);
    const std::string no_file = "<none>", too_long = "\\" + std::string(300, 'd');
    const struct {
        const char* what;
        std::string text;
        double width, height; // inches
        int index = 3;
        const char* shown = nullptr; // no box; else what its text starts with after the folder
        std::string folder = "";     // appended to the temporary folder
    } cases[] = {
        {"letter with 1.25 and 1 inch margins", kLetter, 6.0, 9.0},
        {"fifty megabytes before the words", std::string(50u << 20, 'x') + kLetter, 6.0, 9.0},
        {"words in another order, other words between",
         "\\margbsxn720{\\margtsxn720}\\pghsxn16838\\foo\\margrsxn1134\\marglsxn1134\\pgwsxn11906",
         (11906 - 2268) / 1440.0, (16838 - 1440) / 1440.0},
        {"blanks and signs before the numbers",
         "\\pgwsxn  +14400\\pghsxn\t7200\\marglsxn -720\\margrsxn0\\margtsxn0\\margbsxn0", 10.5,
         5.0},
        {"margins wider than the page give a negative area",
         "\\pgwsxn1440\\pghsxn1440\\marglsxn1440\\margrsxn1440\\margtsxn0\\margbsxn2880", -1.0,
         -1.0},
        {"a word at the very end reads as 0",
         "\\pgwsxn2880\\pghsxn2880\\marglsxn0\\margrsxn0\\margtsxn0\\margbsxn", 2.0, 2.0},
        {"decimals and an exponent",
         "\\pgwsxn1.44e3\\pghsxn2880.5\\marglsxn0\\margrsxn0\\margtsxn0.5\\margbsxn0", 1.0, 2.0},
        {"only the first occurrence counts", "\\pgwsxn2880\\pgwsxn9999" + kInchHigh, 2.0, 1.0},
        {"NaN is no number", "\\pgwsxnNaN" + kInchHigh, 0.0, 1.0},
        {"400 digits", "\\pgwsxn" + std::string(400, '9') + kInchHigh, HUGE_VAL, 1.0},
        {"400 digits after a point", "\\pgwsxn0." + std::string(400, '0') + "1" + kInchHigh, 0.0,
         1.0},
        {"an exponent of a million", "\\pgwsxn1e1000000" + kInchHigh, HUGE_VAL, 1.0},
        {"a lone sign", "\\pgwsxn-" + kInchHigh, 0.0, 1.0},
        {"a point without digits", "\\pgwsxn." + kInchHigh, 0.0, 1.0},
        {"an exponent without digits", "\\pgwsxn2880e" + kInchHigh, 2.0, 1.0},
        {"an empty template", "", 6.5, 4.0, 4, "\\J5batch_print.rtf"},
        {"words after a NUL are not seen", std::string("\\pgwsxn1\0", 9) + kLetter, 6.5, 4.0, 7,
         "\\J5perform_summ.rtf"},
        {"page words spelled in capitals",
         "\\PGWSXN12240" + kLetter.substr(kLetter.find("\\pghsxn")), 6.5, 4.0, 7,
         "\\J5perform_summ.rtf"},
        {"a missing template", no_file, 6.5, 4.0, 5, "\\J5interf_casedetl.rtf\r\n"},
        {"index 10", no_file, 6.5, 4.0, 10, ""},
        {"a path of more than 259 characters", no_file, 6.5, 4.0, 0, "", too_long},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const bool written = c.text != no_file;
        if (written) dir.write(Report_Metrics::get_template_name(c.index), c.text);
        dir.write(Report_Metrics::get_template_name(0), kLetter); // never read
        Report_Metrics metrics;
        metrics.template_index = static_cast<BYTE>(c.index);
        metrics.printable_width = metrics.printable_height = 1;
        ScopedMessageBoxes boxes;
        const std::string folder = dir.path() + c.folder;
        metrics.get_printerpage_size(const_cast<char*>(folder.c_str()));
        EXPECT_EQ(std::make_pair(metrics.printable_width, metrics.printable_height),
                  std::make_pair(c.width, c.height))
            << c.what;
        ASSERT_EQ(boxes.count(), c.shown ? 1u : 0u) << c.what;
        if (!c.shown) continue;
        const std::string& text = boxes.last().text;
        EXPECT_EQ(boxes.last().caption, "File error") << c.what;
        EXPECT_TRUE(!*c.shown || text.rfind(folder + c.shown, 0) == 0) << text;
        EXPECT_TRUE(!written || text.find(incompatible) != std::string::npos) << text;
    }
}

// Where the report buffer grows and what it holds.
TEST(ReportString, GrowsOnlyWhenTheTextNoLongerFitsAndCopiesOwnTheirText) {
    const struct {
        const char* what;
        size_t first, second; // characters appended in two pieces
        bool line;            // a line break after the first piece
        DWORD capacity;
    } cases[] = {
        {"nothing appended", 0, 0, false, 1024},
        {"1023 characters fill the first block", 1023, 0, false, 1024},
        {"one more grows by the minimum", 1023, 1, false, 2048},
        {"a line break at the edge grows by one block", 1022, 0, true, 2048},
        {"a long piece grows by itself plus one", 3000, 0, false, 1024 + 3001},
        {"a piece of exactly 1024 grows by 1025", 1024, 0, false, 1024 + 1025},
        {"a second growth adds to the first", 3000, 2000, false, 4025 + 2001},
    };
    for (const auto& c : cases) {
        report_string report;
        report.add_string(std::string(c.first, 'a').c_str());
        if (c.line) report.add_line();
        report.add_string(std::string(c.second, 'b').c_str());
        const std::string want =
            std::string(c.first, 'a') + (c.line ? "\r\n" : "") + std::string(c.second, 'b');
        EXPECT_EQ(std::make_tuple(report.capacity, report.get_buff_len(),
                                  std::string(report.get_rept_buff())),
                  std::make_tuple(c.capacity, unsigned(want.size()), want))
            << c.what;
    }
    // Copies own their text.
    report_string original;
    original.add_string("first");
    report_string copy(original);
    original.add_string(std::string(5000, 'z').c_str()); // moves the original's block
    EXPECT_STREQ(copy.get_rept_buff(), "first");
    copy = original;
    report_string& same = copy;
    copy = same; // assignment to itself keeps the text
    EXPECT_EQ(copy.get_buff_len(), 5005u);
    EXPECT_NE(copy.get_rept_buff(), original.get_rept_buff());
}

} // namespace
