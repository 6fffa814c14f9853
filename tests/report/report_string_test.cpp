// The report text buffer: where it grows, what it holds, the title line.
#include "report/report_string.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>

namespace {

TEST(ReportString, GrowsOnlyWhenTheTextNoLongerFits) {
    const struct {
        const char* what;
        size_t first, second; // characters appended in two pieces
        DWORD capacity;
    } cases[] = {
        {"nothing appended", 0, 0, 1024},
        {"1023 characters fill the first block", 1023, 0, 1024},
        {"one more grows by the minimum", 1023, 1, 2048},
        {"a long piece grows by itself plus one", 3000, 0, 1024 + 3001},
        {"a piece of exactly 1024 grows by 1025", 1024, 0, 1024 + 1025},
        {"a second growth adds to the first", 3000, 2000, 4025 + 2001},
    };
    for (const auto& c : cases) {
        report_string report;
        report.add_string(std::string(c.first, 'a').c_str());
        report.add_string(std::string(c.second, 'b').c_str());
        EXPECT_EQ(report.capacity, c.capacity) << c.what;
        EXPECT_EQ(report.get_buff_len(), c.first + c.second) << c.what;
        EXPECT_EQ(std::strlen(report.get_rept_buff()), c.first + c.second) << c.what;
        EXPECT_EQ(std::string(report.get_rept_buff()),
                  std::string(c.first, 'a') + std::string(c.second, 'b'))
            << c.what;
    }
}

TEST(ReportString, LineBreakAtTheEdgeGrowsByOneBlock) {
    report_string report;
    report.add_string(std::string(1022, 'x').c_str());
    ASSERT_EQ(report.capacity, 1024u);
    report.add_line();
    EXPECT_EQ(report.capacity, 2048u);
    EXPECT_EQ(report.get_buff_len(), 1024u);
    EXPECT_EQ(std::string(report.get_rept_buff() + 1022), "\r\n");
}

TEST(ReportString, CopiesOwnTheirText) {
    report_string original;
    original.add_string("first");
    report_string copy(original);
    original.add_string(std::string(5000, 'z').c_str()); // moves the original's block
    EXPECT_STREQ(copy.get_rept_buff(), "first");
    copy = original;
    EXPECT_EQ(copy.get_buff_len(), 5005u);
    report_string& same = copy;
    copy = same; // assignment to itself keeps the text
    EXPECT_EQ(copy.get_buff_len(), 5005u);
    EXPECT_NE(copy.get_rept_buff(), original.get_rept_buff());
}

bool is_one_of(const std::string& word, const char* const* list, int count) {
    for (int i = 0; i < count; ++i)
        if (word == list[i]) return true;
    return false;
}

// The stamp is checked for its form; its value at a fixed time is checked
// where the clock can be stopped (tests/fault).
TEST(ReportString, TitleLineIsTitleDashStampAndLineEnd) {
    static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const struct {
        size_t title_length;
        size_t kept;
    } cases[] = {{0, 0}, {11, 11}, {994, 994}, {995, 994}, {5000, 994}};
    for (const auto& c : cases) {
        report_string report;
        report.add_string("before|");
        report.set_title(std::string(c.title_length, 'T').c_str());
        const std::string text = report.get_rept_buff();
        ASSERT_EQ(text.size(), 7 + c.kept + 3 + 24 + 2) << c.title_length;
        EXPECT_EQ(text.substr(0, 7 + c.kept), "before|" + std::string(c.kept, 'T'));
        const std::string line = text.substr(7 + c.kept);
        EXPECT_EQ(line.substr(0, 3), " - ");
        const std::string stamp = line.substr(3, 24);
        EXPECT_TRUE(is_one_of(stamp.substr(0, 3), days, 7)) << stamp;
        EXPECT_TRUE(is_one_of(stamp.substr(4, 3), months, 12)) << stamp;
        // The day has a leading zero, never a blank.
        EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(stamp[8])) &&
                    std::isdigit(static_cast<unsigned char>(stamp[9])))
            << stamp;
        EXPECT_EQ(stamp[13], ':');
        EXPECT_EQ(stamp[16], ':');
        EXPECT_EQ(stamp[19], ' ');
        EXPECT_EQ(line.substr(27), "\r\n");
    }
}

} // namespace
