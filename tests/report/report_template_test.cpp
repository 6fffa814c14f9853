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

std::string catalog_text(int id) {
    char text[260] = "";
    get_error_string(id, text, sizeof text);
    return text;
}

const std::string kLetter = "{\\rtf1\\ansi\\paperw12240\\paperh15840"
                            "\\sectd\\pgwsxn12240\\pghsxn15840\\marglsxn1800\\margrsxn1800"
                            "\\margtsxn1440\\margbsxn1440 text}";

class Template : public ::testing::Test {
protected:
    TempDir dir;
    Report_Metrics metrics;

    // Writes `text` as the template of `index` and reads it back.
    void read(int index, const std::string& text) {
        metrics.template_index = static_cast<BYTE>(index);
        dir.write(Report_Metrics::get_template_name(index), text);
        metrics.get_printerpage_size(const_cast<char*>(dir.path().c_str()));
    }
};

TEST_F(Template, NamesFollowTheIndex) {
    EXPECT_STREQ(Report_Metrics::get_template_name(0), "J5transcalc_summ.rtf");
    EXPECT_STREQ(Report_Metrics::get_template_name(4), "J5batch_print.rtf");
    EXPECT_STREQ(Report_Metrics::get_template_name(9), "J5network_ldsc.rtf");
    EXPECT_STREQ(Report_Metrics::get_template_name(10), "");
    EXPECT_STREQ(Report_Metrics::get_template_name(-1), "");
}

TEST_F(Template, PrintableAreaIsThePageLessItsMargins) {
    const struct {
        const char* what;
        std::string text;
        double width, height; // inches
    } cases[] = {
        {"letter with 1.25 and 1 inch margins", kLetter, 6.0, 9.0},
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
        {"NaN is no number", "\\pgwsxnNaN\\pghsxn1440\\marglsxn0\\margrsxn0\\margtsxn0\\margbsxn0",
         0.0, 1.0},
        {"only the first occurrence counts",
         "\\pgwsxn2880\\pgwsxn9999\\pghsxn1440\\marglsxn0\\margrsxn0\\margtsxn0\\margbsxn0", 2.0,
         1.0},
    };
    for (const auto& c : cases) {
        ScopedMessageBoxes boxes;
        read(3, c.text);
        EXPECT_EQ(boxes.count(), 0u) << c.what;
        EXPECT_DOUBLE_EQ(metrics.printable_width, c.width) << c.what;
        EXPECT_DOUBLE_EQ(metrics.printable_height, c.height) << c.what;
    }
}

TEST_F(Template, UnusableTemplatesAreShownAndFallBackToTheDefaultArea) {
    const std::string incompatible = catalog_text(392);
    const std::string missing_word =
        "\\pgwsxn12240\\pghsxn15840\\marglsxn1800\\margrsxn1800\\margtsxn1440";
    const struct {
        const char* what;
        std::string text;
        std::string shown; // part of the box text
    } cases[] = {
        {"no bottom margin", missing_word, incompatible},
        {"an empty template", "", incompatible},
        {"words after a NUL are not seen", std::string("\\pgwsxn1\0", 9) + kLetter, incompatible},
        {"page words spelled in capitals",
         "\\PGWSXN12240\\pghsxn15840\\marglsxn1800\\margrsxn1800\\margtsxn1440\\margbsxn1440",
         incompatible},
    };
    for (const auto& c : cases) {
        metrics.printable_width = 1;
        metrics.printable_height = 1;
        ScopedMessageBoxes boxes;
        read(7, c.text);
        ASSERT_EQ(boxes.count(), 1u) << c.what;
        EXPECT_EQ(boxes.last().caption, "File error") << c.what;
        EXPECT_NE(boxes.last().text.find(dir.path() + "\\J5perform_summ.rtf"), std::string::npos)
            << boxes.last().text;
        EXPECT_NE(boxes.last().text.find(c.shown), std::string::npos) << boxes.last().text;
        EXPECT_DOUBLE_EQ(metrics.printable_width, 6.5) << c.what;
        EXPECT_DOUBLE_EQ(metrics.printable_height, 4.0) << c.what;
    }
}

TEST_F(Template, MissingTemplateIsAFileErrorNamingIt) {
    metrics.template_index = 5;
    ScopedMessageBoxes boxes;
    metrics.get_printerpage_size(const_cast<char*>(dir.path().c_str()));
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().caption, "File error");
    EXPECT_EQ(boxes.last().text.rfind(dir.path() + "\\J5interf_casedetl.rtf\r\n", 0), 0u)
        << boxes.last().text;
    EXPECT_DOUBLE_EQ(metrics.printable_width, 6.5);
    EXPECT_DOUBLE_EQ(metrics.printable_height, 4.0);
}

TEST_F(Template, IndexAndPathBeyondTheirLimitsFailSafely) {
    dir.write("J5transcalc_summ.rtf", kLetter);
    const std::string long_dir = dir.path() + "\\" + std::string(300, 'd');
    const struct {
        const char* what;
        int index;
        std::string folder;
    } cases[] = {
        {"index 10", 10, dir.path()},
        {"index 255", 255, dir.path()},
        {"a path of more than 259 characters", 0, long_dir},
    };
    for (const auto& c : cases) {
        metrics.template_index = static_cast<BYTE>(c.index);
        metrics.printable_width = 1;
        ScopedMessageBoxes boxes;
        metrics.get_printerpage_size(const_cast<char*>(c.folder.c_str()));
        ASSERT_EQ(boxes.count(), 1u) << c.what;
        EXPECT_EQ(boxes.last().caption, "File error") << c.what;
        EXPECT_DOUBLE_EQ(metrics.printable_width, 6.5) << c.what;
    }
}

TEST_F(Template, FiftyMegabytesWithTheWordsAtTheEnd) {
    ScopedMessageBoxes boxes;
    read(2, std::string(50u << 20, 'x') + kLetter);
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_DOUBLE_EQ(metrics.printable_width, 6.0);
    EXPECT_DOUBLE_EQ(metrics.printable_height, 9.0);
}

TEST_F(Template, HugeAndOddNumbersGiveAClearResult) {
    const std::string rest = "\\pghsxn1440\\marglsxn0\\margrsxn0\\margtsxn0\\margbsxn0";
    const struct {
        const char* what;
        std::string width_number;
        double width;
    } cases[] = {
        {"400 digits", std::string(400, '9'), HUGE_VAL},
        {"400 digits after a point", "0." + std::string(400, '0') + "1", 0.0},
        {"an exponent of a million", "1e1000000", HUGE_VAL},
        {"a lone sign", "-", 0.0},
        {"a point without digits", ".", 0.0},
        {"an exponent without digits", "2880e", 2.0},
    };
    for (const auto& c : cases) {
        ScopedMessageBoxes boxes;
        read(1, "\\pgwsxn" + c.width_number + rest);
        EXPECT_EQ(boxes.count(), 0u) << c.what;
        EXPECT_EQ(metrics.printable_width, c.width) << c.what;
    }
}

} // namespace
