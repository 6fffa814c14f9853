// Page sizes from the host's fields and the font dialogs of the three
// records; the measured metrics are in tests/fault, where the printer and
// the screen can be described.
#include "platform/ui_hooks.h"
#include "report/report_metrics.h"
#include "report/screen_metrics.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <utility>
#include <vector>

namespace {

TEST(ReportMetrics, PageSizeInMillimetresFollowsTheFlags) {
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
}

TEST(ReportMetrics, LandscapeFrameComesFromThePrintableArea) {
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

TEST(FontDialog, OkStoresTheChoiceAndCancelChangesNothing) {
    for (const BOOL answer : {TRUE, FALSE}) {
        ScriptedFontDialog dialog;
        dialog.answer = answer;
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

// The height is the one field a reset recomputes from the point size.
TEST(FontDialog, ScreenFontIsRebuiltOnlyAfterOk) {
    Screen_Metrics screen;
    std::strcpy(screen.log_font.lfFaceName, "Liberation Sans");
    screen.point_size = 100;
    ScriptedFontDialog dialog;
    for (const BOOL answer : {FALSE, TRUE}) {
        screen.log_font.lfHeight = 1234;
        dialog.answer = answer;
        screen.set_font(nullptr);
        EXPECT_EQ(screen.log_font.lfHeight == 1234, !answer) << answer;
    }
}

TEST(FontDialog, ProfileFontsAreChosenByWhich) {
    const struct {
        BYTE which;
        bool first;
    } cases[] = {{0, true}, {1, false}, {2, false}, {255, false}};
    for (const auto& c : cases) {
        Profile_Metrics profile;
        profile.log_font_0 = profile.log_font_1 = LOGFONTA{};
        profile.font_color_0 = profile.font_color_1 = 0;
        profile.point_size_0 = 80, profile.point_size_1 = 90;
        ScriptedFontDialog dialog;
        profile.set_font(nullptr, c.which);
        EXPECT_EQ(
            std::make_tuple(dialog.seen.lpLogFont, profile.point_size_0, profile.point_size_1,
                            profile.font_color_0, profile.font_color_1),
            c.first
                ? std::make_tuple(&profile.log_font_0, 125, 90, COLORREF{0x00112233}, COLORREF{0})
                : std::make_tuple(&profile.log_font_1, 80, 125, COLORREF{0}, COLORREF{0x00112233}))
            << int(c.which);
    }
}

} // namespace
