// The report text buffer: where it grows and what it holds. The title line
// is checked in tests/fault, where the clock can be stopped.
#include "report/report_string.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ReportString, GrowsOnlyWhenTheTextNoLongerFits) {
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
        EXPECT_EQ(report.capacity, c.capacity) << c.what;
        EXPECT_EQ(report.get_buff_len(), want.size()) << c.what;
        EXPECT_EQ(std::string(report.get_rept_buff()), want) << c.what;
    }
}

TEST(ReportString, CopiesOwnTheirText) {
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
