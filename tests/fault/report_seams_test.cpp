// The report services against the layer's seams: a stopped clock, a
// described printer, a described screen, and template reads that fail.
#include "platform/screen.h"
#include "platform/testing.h"
#include "report/report_metrics.h"
#include "report/report_string.h"
#include "report/screen_metrics.h"
#include "support/message_boxes.h"
#include "support/syscall_faults.h"
#include "support/temp_dir.h"

#include <cups/cups.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

using jx::test::ScopedMessageBoxes;
using jx::testing::PrinterDescription;
using jx::testing::ScopedPrinter;

// The title is cut at 994 characters, so the line fits the 1024 bytes it is
// formatted in.
TEST(ReportTitle, TitleDashStampInEnglishWhateverTheLocale) {
    jx::testing::ScopedClock clock(1796392985); // Friday 4 December 2026, 14:03:05
    // Local time is UTC until the end, where the zone and locale come back.
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    const std::string zone = std::getenv("TZ") ? std::getenv("TZ") : "";
    setenv("TZ", "UTC0", 1);
    tzset();
    for (const char* locale : {"C", "de_DE.UTF-8", "fr_FR.UTF-8"}) {
        if (!std::setlocale(LC_ALL, locale)) continue; // not installed here
        for (const size_t length : {0, 994, 995, 5000}) {
            report_string report;
            report.add_string("before|");
            report.set_title(std::string(length, 'T').c_str());
            EXPECT_EQ(std::string(report.get_rept_buff()),
                      "before|" + std::string(std::min<size_t>(length, 994), 'T') +
                          " - Fri Dec 04 14:03:05 2026\r\n")
                << locale << " " << length;
        }
    }
    std::setlocale(LC_ALL, previous.c_str());
    zone.empty() ? unsetenv("TZ") : setenv("TZ", zone.c_str(), 1);
    tzset();
}

const PrinterDescription kOffice = {"Office", 21000, 29700, 423, 423, 635, 1270, 300};

// The default printer as the library sees it: names, then paper width and
// length and the margins left, top, right, bottom in thousandths of an inch;
// then for portrait and landscape the device mode's orientation and the new
// context's dots per inch, HORZRES, VERTRES, HORZSIZE and VERTSIZE.
std::string describe(defaultJ5printer& printer) {
    if (printer.no_printer) return "no printer";
    const PAGESETUPDLGA& s = printer.page_setup;
    std::string out = std::string(printer.device_name) + " " + printer.driver_name + " '" +
                      printer.output_name + "'";
    for (const long value : {s.ptPaperSize.x, s.ptPaperSize.y, s.rtMargin.left, s.rtMargin.top,
                             s.rtMargin.right, s.rtMargin.bottom})
        out += " " + std::to_string(value);
    for (const bool portrait : {true, false}) {
        HDC dc = printer.get_printdc(portrait);
        const auto* mode = static_cast<const DEVMODEA*>(GlobalLock(printer.print_dlg.hDevMode));
        out += (mode->dmFields & DM_ORIENTATION ? " | " : " | unset ") +
               std::to_string(mode->dmOrientation);
        GlobalUnlock(printer.print_dlg.hDevMode);
        for (const int index : {LOGPIXELSY, HORZRES, VERTRES, HORZSIZE, VERTSIZE})
            out += " " + std::to_string(GetDeviceCaps(dc, index));
        EXPECT_TRUE(DeleteDC(dc));
    }
    return out;
}

// A private print scheduler for one test: the system's cupsd in the
// foreground, with its own configuration in a temporary folder, its own port,
// and one printer `name`, the default, described by the PPD file `ppd`, that
// prints to nothing. The library's print-system queries go to it while it
// lives.
struct PrivatePrintServer {
    std::string why; // what failed; empty while the scheduler runs
    std::string folder;
    int process = 0;

    PrivatePrintServer(const std::string& name, const fs::path& ppd) {
        const std::string port = std::to_string(20000 + getpid() % 20000);
        const std::string address = "127.0.0.1:" + port, scheduler = "/usr/sbin/cupsd";
        const std::string r = folder =
            (fs::temp_directory_path() / ("jx6ut-cups-" + port)).string();
        std::error_code error;
        fs::remove_all(r, error);
        for (const char* sub : {"ppd", "cache", "spool", "log", "state"})
            fs::create_directories(r + "/" + sub, error);
        const std::pair<const char*, std::string> files[] = {
            {"cupsd.conf",
             "Listen " + address +
                 "\nLogLevel warn\nWebInterface No\nBrowsing No\nDefaultAuthType None\n"
                 "<Location />\nOrder allow,deny\nAllow all\n</Location>\n"},
            {"cups-files.conf", "ServerRoot " + r + "\nCacheDir " + r + "/cache\nStateDir " + r +
                                    "/state\nRequestRoot " + r + "/spool\nTempDir " + r +
                                    "/spool\nErrorLog " + r + "/log/error_log\nAccessLog " + r +
                                    "/log/access_log\nPageLog " + r +
                                    "/log/page_log\nFileDevice Yes\n"},
            {"printers.conf", "<DefaultPrinter " + name +
                                  ">\nDeviceURI file:///dev/null\nState Idle\nAccepting Yes\n"
                                  "Shared No\n</DefaultPrinter>\n"},
        };
        // A configuration that could not be written shows in the scheduler's log.
        fs::copy_file(ppd, r + "/ppd/" + name + ".ppd", error);
        for (const auto& [file, text] : files) std::ofstream(r + "/" + file) << text;

        const std::string conf = r + "/cupsd.conf", files_conf = r + "/cups-files.conf";
        const char* argv[] = {"cupsd", "-f", "-c", conf.c_str(), "-s", files_conf.c_str(), nullptr};
        if (posix_spawn(&process, scheduler.c_str(), nullptr, nullptr, const_cast<char**>(argv),
                        environ) != 0) {
            why = "cannot start " + scheduler + " (Debian's cups-daemon)";
            return;
        }
        cupsSetServer(address.c_str());
        // The scheduler is ready when it answers for the printer.
        for (int attempt = 0; attempt < 100; ++attempt) {
            if (cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.c_str(), nullptr)) {
                cupsFreeDests(1, dest);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        why = "the scheduler did not answer on " + address + " (see " + r + "/log/error_log)";
    }

    ~PrivatePrintServer() {
        cupsSetServer(nullptr);
        if (process > 0) {
            kill(process, SIGTERM);
            waitpid(process, nullptr, 0);
        }
        std::error_code error;
        fs::remove_all(folder, error);
    }
};

TEST(DefaultPrinter, NamePaperMarginsAndContextsComeFromThePrintSystem) {
    {
        // A4 less 201.54 x 278.05 mm of margins at 300 dpi, described.
        ScopedPrinter described(&kOffice);
        defaultJ5printer printer(nullptr, nullptr);
        EXPECT_EQ(describe(printer), "Office winspool '' 8268 11693 167 250 167 500"
                                     " | 1 300 2380 3283 202 278 | 2 300 3283 2380 278 202");
    }
    // A PPD beside this file: Letter by default with margins of a quarter and
    // half an inch, 600 dots per inch. The file's name is relative to the
    // build folder, the parent of the program's.
    PrivatePrintServer server("JXReport",
                              fs::read_symlink("/proc/self/exe").parent_path().parent_path() /
                                  fs::path(__FILE__).parent_path() / "report_printer.ppd");
    if (!server.why.empty()) GTEST_SKIP() << "private print scheduler: " << server.why;
    // Letter less 8 x 10 inches at 600 dpi, from the scheduler.
    defaultJ5printer printer(nullptr, nullptr);
    EXPECT_EQ(describe(printer), "JXReport winspool '' 8500 11000 250 500 250 500"
                                 " | 1 600 4800 6000 203 254 | 2 600 6000 4800 254 203");
}

// The record measures the default printer's context, or without a printer
// the owner window's screen context; the first is deleted when the record is
// reset, the second goes back with ReleaseDC.
TEST(ReportMetrics, PrinterOrScreenIsMeasuredAndGivenBack) {
    const struct {
        const PrinterDescription* printer;
        bool portrait;
        double per_mm_x; // 0: the screen's
        // Dots per inch across and down, the point size (a font dialog
        // without a handler is cancelled), font height (10.5 points count as
        // 10) and width, character width, line height, metafile frame.
        std::vector<long> want;
    } cases[] = {
        {&kOffice, true, 2380.0 / 202, {300, 300, 105, -42, 0, 24, 47 + 3, 15239, 22860}},
        {&kOffice, false, 3283.0 / 278, {300, 300, 105, -42, 0, 24, 47 + 3, 15239, 22860}},
        {nullptr, true, 0, {96, 96, 105, -13, 0, 8, 15 + 3, 15239, 22860}},
    };
    for (const auto& c : cases) {
        ScopedPrinter printer(c.printer);
        const size_t objects = jx::testing::live_gdi_objects();
        Report_Metrics metrics;
        std::strcpy(metrics.log_font.lfFaceName, "Liberation Sans");
        metrics.point_size = 105, metrics.log_font.lfWidth = 7;
        metrics.portrait = c.portrait;
        metrics.set_font(nullptr);
        // 6 x 25.4 x 100 falls just short of 15240
        metrics.printable_width = 6.0, metrics.printable_height = 9.0;
        HDC dc = metrics.init_metrics(nullptr, nullptr, true);
        const LOGFONTA& font = metrics.log_font;
        EXPECT_EQ((std::vector<long>{long(metrics.logpixels_x), long(metrics.logpixels_y),
                                     metrics.point_size, font.lfHeight, font.lfWidth,
                                     metrics.char_width, metrics.line_height,
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
        EXPECT_EQ(screen.bits_per_pixel * screen.planes, 32);
        EXPECT_DOUBLE_EQ(screen.aspect_ratio, 1.0);
    }
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
    report.add_line();
    EXPECT_EQ(report.capacity, 1024u);
    EXPECT_EQ(std::string(report.get_rept_buff()), std::string(1000, 'a') + "\r\n");
}

// Every failing call falls back to the default area with one file error box;
// a short transfer where only a whole one counts is no fault.
TEST(TemplateFaults, EveryFailingCallFallsBackAndShowsAFileError) {
    jx::test::TempDir dir;
    dir.write("J5default_rept.rtf",
              "\\pgwsxn12240\\pghsxn15840\\marglsxn1800\\margrsxn1800\\margtsxn1440\\margbsxn1440");
    for (const int error : {EIO, 0}) { // a failing call, and a short transfer
        SCOPED_TRACE(error);
        Report_Metrics metrics;
        metrics.template_index = 3;
        ScopedMessageBoxes boxes;
        const auto read = [&] {
            boxes.clear();
            metrics.printable_width = metrics.printable_height = 0;
            metrics.get_printerpage_size(const_cast<char*>(dir.path().c_str()));
        };
        jx::test::fail_each_call(error, read, [&] {
            const bool shown = error != 0 || boxes.count() > 0;
            EXPECT_EQ(std::make_pair(metrics.printable_width, metrics.printable_height),
                      shown ? std::make_pair(6.5, 4.0) : std::make_pair(6.0, 9.0));
            if (!shown) return;
            ASSERT_EQ(boxes.count(), 1u);
            EXPECT_EQ(boxes.last().caption, "File error");
            EXPECT_TRUE(error ||
                        boxes.last().text.find("Read error at end of file") != std::string::npos)
                << boxes.last().text;
        });
        EXPECT_EQ(boxes.count(), 0u);
        EXPECT_EQ(std::make_pair(metrics.printable_width, metrics.printable_height),
                  std::make_pair(6.0, 9.0));
    }
}

} // namespace
