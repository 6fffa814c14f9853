// Frequencies written under the system's decimal separator, which the test
// seam of the POSIX layer sets.
#include "geo/numeric_entry.h"
#include "platform/testing.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string frequency(double value) {
    char buffer[64];
    std::memset(buffer, '#', sizeof buffer);
    set_frequency_str(buffer, sizeof buffer, value);
    return buffer;
}

struct FrequencyCase {
    double value;
    const char* text;
};

TEST(SetFrequencyStrPoint, KeepsAtLeastTwoDecimals) {
    jx::testing::ScopedDecimalSeparator point(".");
    const FrequencyCase cases[] = {{7.125, "7.125"},
                                   {100.0, "100.00"},
                                   {2.4, "2.40"},
                                   {0.0, "0.00"},
                                   {-0.0, "-0.00"},
                                   {1e-9, "0.00"},
                                   {0.00000001, "0.00000001"},
                                   {12.00000001, "12.00000001"},
                                   {-3.5, "-3.50"},
                                   {1e15, "1000000000000000.00"},
                                   {222.222, ""},
                                   {222.2220001, "222.2220001"}};
    for (const FrequencyCase& c : cases) EXPECT_EQ(frequency(c.value), c.text) << c.value;
}

// The C runtime still formats with a point; the comma is not found in the
// text and every trailing zero goes, down to the point itself.
TEST(SetFrequencyStrComma, EveryTrailingZeroGoes) {
    jx::testing::ScopedDecimalSeparator comma(",");
    const FrequencyCase cases[] = {
        {7.125, "7.125"}, {100.0, "100."}, {2.4, "2.4"},  {0.0, "0."},
        {10.0, "10."},    {-3.5, "-3.5"},  {222.222, ""}, {0.00000001, "0.00000001"}};
    for (const FrequencyCase& c : cases) EXPECT_EQ(frequency(c.value), c.text) << c.value;
}

TEST(SetFrequencyStrComma, OnlyTheFirstCharacterOfTheSeparatorCounts) {
    jx::testing::ScopedDecimalSeparator two(".,");
    EXPECT_EQ(frequency(100.0), "100.00");
    jx::testing::ScopedDecimalSeparator other(",.");
    EXPECT_EQ(frequency(100.0), "100.");
}

TEST(SetFrequencyStrComma, EntryTextsStillTakeThePoint) {
    jx::testing::ScopedDecimalSeparator comma(",");
    char point[] = "12.5";
    EXPECT_EQ(get_valid_double(point, 4), 12.5);
    char decimal_comma[] = "12,5";
    EXPECT_EQ(get_valid_double(decimal_comma, 4), 222.222);
}

} // namespace
