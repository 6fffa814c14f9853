// Frequencies written under the system's decimal separator, which the test
// seam of the POSIX layer sets.
#include "geo/numeric_entry.h"
#include "platform/testing.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

static std::string frequency(const char* separator, double value) {
    jx::testing::ScopedDecimalSeparator scoped(separator);
    char buffer[64] = "#";
    set_frequency_str(buffer, sizeof buffer, value);
    return buffer;
}

// Under the point at least two decimals stay. The C runtime still formats
// with a point, so under the comma the separator is not found and every
// trailing zero goes, down to the point itself. Only the first character of
// the separator counts.
TEST(DecimalSeparator, FrequencyTextsFollowItAndTypedNumbersDoNot) {
    const std::tuple<double, const char*, const char*> cases[] = {
        {7.125, "7.125", "7.125"}, {100.0, "100.00", "100."}, {222.2221, "222.2221", "222.2221"},
        {2.4, "2.40", "2.4"},      {-0.0, "-0.00", "-0."},    {222.222, "", ""}};
    for (const auto& [value, point, comma] : cases) {
        EXPECT_EQ(frequency(".", value), point) << value;
        EXPECT_EQ(frequency(",", value), comma) << value;
    }
    EXPECT_EQ(frequency(",.", 100.0), "100.");
    jx::testing::ScopedDecimalSeparator comma(","); // typed numbers still take the point
    char point[] = "12.5", decimal_comma[] = "12,5";
    EXPECT_EQ(get_valid_double(point, 4), 12.5);
    EXPECT_EQ(get_valid_double(decimal_comma, 4), 222.222);
}
