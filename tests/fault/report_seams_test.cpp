// The report services against the layer's seams: a stopped clock, a
// described printer, a described screen, and template reads that fail.
#include "platform/screen.h"
#include "platform/testing.h"
#include "report/report_metrics.h"
#include "report/report_string.h"
#include "report/screen_metrics.h"
#include "support/message_boxes.h"
#include "support/print_server.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

using jx::test::ScopedMessageBoxes;
using jx::testing::PrinterDescription;
using jx::testing::ScopedPrinter;

// Local time is UTC while it lives.
struct ScopedUtc {
    const std::string old = std::getenv("TZ") ? std::getenv("TZ") : "";
    ScopedUtc() { set("UTC0"); }
    ~ScopedUtc() { set(old.c_str()); }
    static void set(const char* zone) {
        if (*zone)
            setenv("TZ", zone, 1);
        else
            unsetenv("TZ");
        tzset();
    }
};

TEST(ReportTitle, StampedWithTheClockInEnglishWhateverTheLocale) {
    ScopedUtc utc;
    jx::testing::ScopedClock clock(1796392985); // Friday 4 December 2026, 14:03:05
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    for (const char* locale : {"C", "de_DE.UTF-8", "fr_FR.UTF-8"}) {
        if (!std::setlocale(LC_ALL, locale)) continue; // not installed here
        report_string report;
        report.set_title("Link report");
        EXPECT_STREQ(report.get_rept_buff(), "Link report - Fri Dec 04 14:03:05 2026\r\n")
            << locale;
    }
    std::setlocale(LC_ALL, previous.c_str());
}

// Paper width and length, then the margins left, top, right, bottom, in
// thousandths of an inch.
std::vector<long> page_setup(const defaultJ5printer& printer) {
    const PAGESETUPDLGA& p = printer.page_setup;
    return {p.ptPaperSize.x, p.ptPaperSize.y,  p.rtMargin.left,
            p.rtMargin.top,  p.rtMargin.right, p.rtMargin.bottom};
}

// Dots per inch, then HORZRES, VERTRES, HORZSIZE and VERTSIZE of a new
// context; the orientation stays in the printer's device mode.
std::vector<long> context_caps(defaultJ5printer& printer, bool portrait) {
    HDC dc = printer.get_printdc(portrait);
    std::vector<long> caps;
    for (const int index : {LOGPIXELSY, HORZRES, VERTRES, HORZSIZE, VERTSIZE})
        caps.push_back(GetDeviceCaps(dc, index));
    EXPECT_TRUE(DeleteDC(dc));
    const auto* mode = static_cast<const DEVMODEA*>(GlobalLock(printer.print_dlg.hDevMode));
    EXPECT_EQ(mode->dmOrientation, portrait ? DMORIENT_PORTRAIT : DMORIENT_LANDSCAPE);
    EXPECT_TRUE(mode->dmFields & DM_ORIENTATION);
    GlobalUnlock(printer.print_dlg.hDevMode);
    return caps;
}

const PrinterDescription kOffice = {"Office", 21000, 29700, 423, 423, 635, 1270, 300};

// A PPD beside this file: Letter by default with margins of a quarter and
// half an inch, 600 dots per inch.
std::string printer_description() {
    const std::string here = __FILE__;
    return here.substr(0, here.find_last_of('/') + 1) + "report_printer.ppd";
}

TEST(DefaultPrinter, NamePaperMarginsAndContextsComeFromThePrintSystem) {
    const struct {
        const char* name;
        std::vector<long> setup, portrait, landscape;
    } cases[] = {
        // A4 less 201.54 x 278.05 mm of margins at 300 dpi, described.
        {"Office",
         {8268, 11693, 167, 250, 167, 500},
         {300, 2380, 3283, 202, 278},
         {300, 3283, 2380, 278, 202}},
        // Letter less 8 x 10 inches at 600 dpi, from the scheduler.
        {"JXReport",
         {8500, 11000, 250, 500, 250, 500},
         {600, 4800, 6000, 203, 254},
         {600, 6000, 4800, 254, 203}},
    };
    for (const auto& c : cases) {
        std::unique_ptr<ScopedPrinter> described;
        std::unique_ptr<jx::test::PrivatePrintServer> server;
        if (std::string(c.name) == "Office") {
            described = std::make_unique<ScopedPrinter>(&kOffice);
        } else {
            server = std::make_unique<jx::test::PrivatePrintServer>(c.name, printer_description());
            if (!server->running()) {
                std::printf("private print scheduler skipped: %s\n", server->why().c_str());
                continue;
            }
        }
        defaultJ5printer printer(nullptr, nullptr);
        ASSERT_FALSE(printer.no_printer) << c.name;
        EXPECT_STREQ(printer.device_name, c.name);
        EXPECT_STREQ(printer.driver_name, "winspool");
        EXPECT_STREQ(printer.output_name, "");
        EXPECT_EQ(page_setup(printer), c.setup) << c.name;
        EXPECT_EQ(context_caps(printer, true), c.portrait) << c.name;
        EXPECT_EQ(context_caps(printer, false), c.landscape) << c.name;
    }
}

// The record measures the default printer's context, or without a printer
// the owner window's screen context; the first is deleted when the record is
// reset, the second goes back with ReleaseDC.
TEST(ReportMetrics, PrinterOrScreenIsMeasuredAndGivenBack) {
    const struct {
        const PrinterDescription* printer;
        bool portrait;
        double per_mm_x; // 0: the screen's
        // Dots per inch across and down, font height (10.5 points count as
        // 10) and width, character width, line height, metafile frame.
        std::vector<long> want;
    } cases[] = {
        {&kOffice, true, 2380.0 / 202, {300, 300, -42, 0, 24, 47 + 3, 15239, 22860}},
        {&kOffice, false, 3283.0 / 278, {300, 300, -42, 0, 24, 47 + 3, 15239, 22860}},
        {nullptr, true, 0, {96, 96, -13, 0, 8, 15 + 3, 15239, 22860}},
    };
    for (const auto& c : cases) {
        ScopedPrinter printer(c.printer);
        const size_t objects = jx::testing::live_gdi_objects();
        Report_Metrics metrics;
        std::strcpy(metrics.log_font.lfFaceName, "Liberation Sans");
        metrics.point_size = 105;
        metrics.portrait = c.portrait;
        // 6 x 25.4 x 100 falls just short of 15240
        metrics.printable_width = 6.0, metrics.printable_height = 9.0;
        HDC dc = metrics.init_metrics(nullptr, nullptr, true);
        ASSERT_NE(dc, nullptr);
        EXPECT_EQ(dc, metrics.hdc);
        EXPECT_EQ(metrics.printer->no_printer, !c.printer);
        EXPECT_TRUE(c.printer || !metrics.printer->get_printdc(true));
        const LOGFONTA& font = metrics.log_font;
        EXPECT_EQ(
            (std::vector<long>{long(metrics.logpixels_x), long(metrics.logpixels_y), font.lfHeight,
                               font.lfWidth, metrics.char_width, metrics.line_height,
                               metrics.emf_frame.right, metrics.emf_frame.bottom}),
            c.want);
        EXPECT_TRUE(!c.per_mm_x || metrics.pixels_per_mm_x == c.per_mm_x)
            << metrics.pixels_per_mm_x;
        EXPECT_EQ(metrics.page_width_px, std::ceil(152.4 * metrics.pixels_per_mm_x));
        metrics.reset_metrics();
        EXPECT_EQ((std::vector<const void*>{metrics.hdc, metrics.font, metrics.previous_font,
                                            metrics.printer}),
                  std::vector<const void*>(4, nullptr));
        EXPECT_TRUE(!c.printer || !DeleteDC(dc)); // deleted, not released
        EXPECT_EQ(jx::testing::live_gdi_objects(), objects);
    }
}

TEST(ScreenMetrics, FontHeightFromWholePointsAtTheScreensResolution) {
    const struct {
        int dpi, point_size;
        LONG height;
        bool large_toolbar;
    } cases[] = {
        {96, 100, -13, false}, {96, 105, -13, false},  {96, 5, 0, false},
        {120, 85, -13, false}, {120, 100, -17, false}, {144, 120, -24, true},
        {144, 95, -18, true},  {131, 100, -18, true},  {130, 100, -18, false},
    };
    for (const auto& c : cases) {
        jx::testing::ScopedScreen described({1920, 1080, 32, c.dpi, c.dpi, 0, 0});
        Screen_Metrics screen;
        std::strcpy(screen.log_font.lfFaceName, "Liberation Sans");
        screen.point_size = c.point_size;
        screen.reset();
        EXPECT_EQ(screen.log_font.lfHeight, c.height) << c.dpi << " " << c.point_size;
        EXPECT_EQ(screen.use_large_toolbar(), c.large_toolbar) << c.dpi;
        EXPECT_EQ(screen.logpixels_x, c.dpi);
        EXPECT_EQ(screen.bits_per_pixel * screen.planes, 32);
        EXPECT_DOUBLE_EQ(screen.aspect_ratio, 1.0);
    }
}

TEST(FontDialog, WithoutAHandlerTheAnswerIsCancelled) {
    Report_Metrics metrics;
    metrics.point_size = 80;
    metrics.set_font(nullptr);
    EXPECT_EQ(metrics.point_size, 80);
}

// A buffer that can't grow drops the piece and keeps what it holds.
TEST(ReportStringFaults, FailedGrowthKeepsTheText) {
    report_string report;
    report.add_string(std::string(1000, 'a').c_str());
    {
        jx::testing::ScopedSyscallFault fault(1, ENOMEM);
        report.add_string(std::string(100, 'b').c_str());
        ASSERT_TRUE(fault.fired());
    }
    EXPECT_EQ(report.capacity, 1024u);
    EXPECT_EQ(report.get_buff_len(), 1000u);
    EXPECT_EQ(std::string(report.get_rept_buff()), std::string(1000, 'a'));
    report.add_line();
    EXPECT_EQ(report.get_buff_len(), 1002u);
}

TEST(TemplateFaults, EveryFailingCallFallsBackAndShowsAFileError) {
    jx::test::TempDir dir;
    dir.write("J5default_rept.rtf",
              "\\pgwsxn12240\\pghsxn15840\\marglsxn1800\\margrsxn1800\\margtsxn1440\\margbsxn1440");
    for (const int error : {EIO, 0}) { // a failing call, and a short transfer
        bool succeeded = false;
        for (int nth = 1; nth < 50 && !succeeded; ++nth) {
            Report_Metrics metrics;
            metrics.template_index = 3;
            ScopedMessageBoxes boxes;
            bool fired;
            {
                jx::testing::ScopedSyscallFault fault(nth, error);
                metrics.get_printerpage_size(const_cast<char*>(dir.path().c_str()));
                fired = fault.fired();
            }
            succeeded = !fired;
            // A short transfer where only a whole one counts is no fault.
            if (!fired || boxes.count() == 0) {
                EXPECT_TRUE(!fired || error == 0) << "call " << nth;
                EXPECT_EQ(boxes.count(), 0u);
                EXPECT_DOUBLE_EQ(metrics.printable_width, 6.0);
                continue;
            }
            ASSERT_EQ(boxes.count(), 1u) << "call " << nth;
            EXPECT_EQ(boxes.last().caption, "File error") << "call " << nth;
            EXPECT_TRUE(error ||
                        boxes.last().text.find("Read error at end of file") != std::string::npos)
                << boxes.last().text;
            EXPECT_DOUBLE_EQ(metrics.printable_width, 6.5);
            EXPECT_DOUBLE_EQ(metrics.printable_height, 4.0);
        }
        EXPECT_TRUE(succeeded);
    }
}

} // namespace
