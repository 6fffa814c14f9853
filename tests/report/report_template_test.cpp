// The printable area read from report templates, and what the host sees
// when a template can't be used.
#include "frame/catalog.h"
#include "report/report_metrics.h"
#include "support/message_boxes.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using jx::test::ScopedMessageBoxes;
using jx::test::TempDir;

const std::string kLetter = "{\\rtf1\\ansi\\paperw12240\\paperh15840"
                            "\\sectd\\pgwsxn12240\\pghsxn15840\\marglsxn1800\\margrsxn1800"
                            "\\margtsxn1440\\margbsxn1440 text}";
// The words after the page width that make a page one inch high.
const std::string kInchHigh = "\\pghsxn1440\\marglsxn0\\margrsxn0\\margtsxn0\\margbsxn0";

// The names of indexes 4, 5 and 7 are checked below, those of 0, 3 and 9 by
// the jxut report cases.
TEST(Template, IndexesOutsideTheTableHaveNoName) {
    EXPECT_STREQ(Report_Metrics::get_template_name(10), "");
    EXPECT_STREQ(Report_Metrics::get_template_name(-1), "");
}

TEST(Template, PrintableAreaIsThePageLessItsMargins) {
    const struct {
        const char* what;
        std::string text;
        double width, height; // inches
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
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.write(Report_Metrics::get_template_name(3), c.text);
        Report_Metrics metrics;
        metrics.template_index = 3;
        ScopedMessageBoxes boxes;
        metrics.get_printerpage_size(const_cast<char*>(dir.path().c_str()));
        EXPECT_EQ(boxes.count(), 0u) << c.what;
        EXPECT_DOUBLE_EQ(metrics.printable_width, c.width) << c.what;
        EXPECT_DOUBLE_EQ(metrics.printable_height, c.height) << c.what;
    }
}

// Every way a template can't be used is one file error box, and the page
// falls back to the default area.
TEST(Template, UnusableTemplatesAreShownAndFallBackToTheDefaultArea) {
    char incompatible[260] = "";
    get_error_string(392, incompatible, sizeof incompatible);
    const std::string bottomless =
        "\\pgwsxn12240\\pghsxn15840\\marglsxn1800\\margrsxn1800\\margtsxn1440";
    const std::string no_file = "<none>", here, too_long = "\\" + std::string(300, 'd');
    const struct {
        const char* what;
        int index;
        std::string text, folder; // folder: appended to the temporary folder
        const char* shown;        // what the box text starts with after that folder
    } cases[] = {
        {"no bottom margin", 7, bottomless, here, "\\J5perform_summ.rtf"},
        {"an empty template", 4, "", here, "\\J5batch_print.rtf"},
        {"words after a NUL are not seen", 7, std::string("\\pgwsxn1\0", 9) + kLetter, here,
         "\\J5perform_summ.rtf"},
        {"page words spelled in capitals", 7,
         "\\PGWSXN12240" + kLetter.substr(kLetter.find("\\pghsxn")), here, "\\J5perform_summ.rtf"},
        {"a missing template", 5, no_file, here, "\\J5interf_casedetl.rtf\r\n"},
        {"index 10", 10, no_file, here, nullptr},
        {"a path of more than 259 characters", 0, no_file, too_long, nullptr},
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
        ASSERT_EQ(boxes.count(), 1u) << c.what;
        const std::string& text = boxes.last().text;
        EXPECT_EQ(boxes.last().caption, "File error") << c.what;
        EXPECT_TRUE(!c.shown || text.rfind(folder + c.shown, 0) == 0) << text;
        EXPECT_TRUE(!written || text.find(incompatible) != std::string::npos) << text;
        EXPECT_DOUBLE_EQ(metrics.printable_width, 6.5) << c.what;
        EXPECT_DOUBLE_EQ(metrics.printable_height, 4.0) << c.what;
    }
}

} // namespace
