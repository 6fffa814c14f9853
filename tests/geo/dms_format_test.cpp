// Angles written as degree-minute-second texts, and coordinate rounding.
#include "geo/angles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

namespace {

double dms(double degrees, double minutes, double seconds) {
    return degrees + minutes / 60.0 + seconds / 3600.0;
}

struct FormatCase {
    ang_type type;
    int decimals;
    double angle;
    const char* text;
};

class DegDecStr : public ::testing::TestWithParam<FormatCase> {};

TEST_P(DegDecStr, WritesTheText) {
    const FormatCase& c = GetParam();
    char buffer[64];
    std::memset(buffer, '#', sizeof buffer);
    DegDec_Str(buffer, sizeof buffer, c.type, c.decimals, c.angle);
    EXPECT_STREQ(buffer, c.text) << "type " << c.type << ", decimals " << c.decimals << ", angle "
                                 << c.angle;
}

INSTANTIATE_TEST_SUITE_P(
    Hemispheres, DegDecStr,
    ::testing::Values(FormatCase{ang_latitude, 0, 45.5, "45 30 00 N"},
                      FormatCase{ang_latitude, 0, -0.5, "00 30 00 S"},
                      FormatCase{ang_longitude, 0, -0.0, "000 00 00  "},
                      FormatCase{ang_longitude, 2, -75.123456, "075 07 24.44 W"},
                      FormatCase{ang_latitude, 1, 45.123456, "45 07 24.4 N"},
                      FormatCase{ang_latitude, 0, 123.5, "123 30 00 N"},
                      FormatCase{ang_plain, 0, -12.5, "012 30 00"},
                      FormatCase{ang_plain, 0, 100000000.5, "100000000 30 00"},
                      // A kind outside the three is written as a plain angle.
                      FormatCase{static_cast<ang_type>(7), 0, -12.5, "012 30 00"}));

// Every carry at every number of decimals, with the angles just below each
// rounding edge beside those just above it.
INSTANTIATE_TEST_SUITE_P(
    Carries, DegDecStr,
    ::testing::Values(FormatCase{ang_latitude, 0, 10.999999, "11 00 00 N"},
                      FormatCase{ang_latitude, 1, 10.99999, "11 00 00.0 N"},
                      FormatCase{ang_latitude, 0, dms(10, 59, 59.5001), "11 00 00 N"},
                      FormatCase{ang_latitude, 0, dms(10, 59, 59.4999), "10 59 59 N"},
                      FormatCase{ang_latitude, 1, dms(10, 59, 59.9501), "11 00 00.0 N"},
                      FormatCase{ang_latitude, 1, dms(10, 59, 59.9499), "10 59 59.9 N"},
                      FormatCase{ang_latitude, 2, dms(10, 59, 59.9951), "11 00 00.00 N"},
                      FormatCase{ang_latitude, 2, dms(10, 59, 59.9949), "10 59 59.99 N"},
                      FormatCase{ang_latitude, 2, dms(12, 30, 59.9951), "12 31 00.00 N"},
                      FormatCase{ang_latitude, 2, dms(12, 30, 29.0051), "12 30 29.01 N"},
                      FormatCase{ang_latitude, 2, dms(12, 30, 29.0049), "12 30 29.00 N"},
                      FormatCase{ang_longitude, 0, -dms(179, 59, 59.6), "180 00 00 W"}));

// Decimals outside 0 to 2 take the nearest of them; the marker and numbers
// that are no angle give the empty text.
INSTANTIATE_TEST_SUITE_P(
    OddInput, DegDecStr,
    ::testing::Values(FormatCase{ang_latitude, -1, 45.123456, "45 07 24 N"},
                      FormatCase{ang_latitude, 1000, dms(10, 59, 59.9951), "11 00 00.00 N"},
                      FormatCase{ang_latitude, 0, 222.222, ""},
                      FormatCase{ang_latitude, 2, std::numeric_limits<double>::quiet_NaN(), ""},
                      FormatCase{ang_plain, 2, -std::numeric_limits<double>::infinity(), ""},
                      FormatCase{ang_longitude, 2, 1e9, ""}));

TEST(DegDecStrBuffer, TextsThatDoNotFitLeaveTheBufferEmpty) {
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    DegDec_Str(buffer, 15, ang_longitude, 2, -dms(999, 59, 59.99)); // the longest: 15 bytes
    EXPECT_STREQ(buffer, "999 59 59.99 W");
    std::memset(buffer, '#', sizeof buffer);
    DegDec_Str(buffer, 14, ang_longitude, 2, -75.123456);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(buffer[1], '#');
    DegDec_Str(buffer + 1, 0, ang_latitude, 0, 45.5);
    EXPECT_EQ(buffer[1], '#');
    DegDec_Str(nullptr, 16, ang_latitude, 0, 45.5);
}

// 1/128 of a degree is exactly 2812.5 hundredths of a second: the half goes
// upward for negative angles too, and its neighbours go their own ways.
TEST(RoundCoordinates, RoundsToAHundredthOfASecondHalvesUpward) {
    EXPECT_EQ(Round_Coordinates(1.0 / 128), 2813 / 360000.0);
    EXPECT_EQ(Round_Coordinates(1.0 / 128 - 1e-12), 2812 / 360000.0);
    EXPECT_EQ(Round_Coordinates(-1.0 / 128), -2812 / 360000.0);
    EXPECT_EQ(Round_Coordinates(-1.0 / 128 - 1e-12), -2813 / 360000.0);
    EXPECT_EQ(Round_Coordinates(222.222), 222.222); // the marker stays the marker
    for (double angle : {45.123456, -75.987654321, 179.9999999}) {
        const double once = Round_Coordinates(angle);
        EXPECT_EQ(Round_Coordinates(once), once) << angle;
    }
}

} // namespace
