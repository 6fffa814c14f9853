// Angles written as degree-minute-second texts, and coordinate rounding.
#include "geo/angles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

double dms(double degrees, double minutes, double seconds) {
    return degrees + minutes / 60.0 + seconds / 3600.0;
}

std::string written(ang_type type, int decimals, double angle) {
    char buffer[64];
    std::memset(buffer, '#', sizeof buffer);
    DegDec_Str(buffer, sizeof buffer, type, decimals, angle);
    return buffer;
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
    EXPECT_EQ(written(c.type, c.decimals, c.angle), c.text)
        << "type " << c.type << ", decimals " << c.decimals << ", angle " << c.angle;
}

INSTANTIATE_TEST_SUITE_P(
    Hemispheres, DegDecStr,
    ::testing::Values(FormatCase{ang_latitude, 0, 45.5, "45 30 00 N"},
                      FormatCase{ang_latitude, 0, -0.5, "00 30 00 S"},
                      FormatCase{ang_longitude, 0, 0.0, "000 00 00  "},
                      FormatCase{ang_longitude, 0, -0.0, "000 00 00  "},
                      FormatCase{ang_latitude, 2, 0.0, "00 00 00.00  "},
                      FormatCase{ang_longitude, 2, -75.123456, "075 07 24.44 W"},
                      FormatCase{ang_longitude, 1, 75.123456, "075 07 24.4 E"},
                      FormatCase{ang_latitude, 1, 45.123456, "45 07 24.4 N"},
                      FormatCase{ang_latitude, 0, 123.5, "123 30 00 N"},
                      FormatCase{ang_plain, 0, -12.5, "012 30 00"},
                      FormatCase{ang_plain, 0, 12.5, "012 30 00"},
                      FormatCase{ang_plain, 2, 0.0, "000 00 00.00"},
                      FormatCase{ang_plain, 2, 999.5, "999 30 00.00"},
                      FormatCase{ang_plain, 0, 100000000.5, "100000000 30 00"},
                      // A kind outside the enumeration is written as a plain angle.
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
                      FormatCase{ang_latitude, 0, dms(12, 30, 29.5001), "12 30 30 N"},
                      FormatCase{ang_latitude, 0, dms(12, 30, 29.4999), "12 30 29 N"},
                      FormatCase{ang_latitude, 1, dms(12, 30, 29.9501), "12 30 30.0 N"},
                      FormatCase{ang_latitude, 2, dms(12, 30, 29.0051), "12 30 29.01 N"},
                      FormatCase{ang_latitude, 2, dms(12, 30, 29.0049), "12 30 29.00 N"},
                      FormatCase{ang_latitude, 0, 89.99999, "90 00 00 N"},
                      FormatCase{ang_longitude, 0, -dms(179, 59, 59.6), "180 00 00 W"},
                      FormatCase{ang_longitude, 2, dms(179, 59, 59.996), "180 00 00.00 E"},
                      FormatCase{ang_plain, 1, dms(359, 59, 59.97), "360 00 00.0"}));

// Decimals outside 0 to 2 take the nearest of them.
INSTANTIATE_TEST_SUITE_P(DecimalsOutOfRange, DegDecStr,
                         ::testing::Values(FormatCase{ang_latitude, -1, 45.123456, "45 07 24 N"},
                                           FormatCase{ang_latitude, 3, 45.123456, "45 07 24.44 N"},
                                           FormatCase{ang_latitude, 1000, dms(10, 59, 59.9951),
                                                      "11 00 00.00 N"}));

// The no-value marker, and numbers that are no angle, give the empty text.
INSTANTIATE_TEST_SUITE_P(
    NoValue, DegDecStr,
    ::testing::Values(FormatCase{ang_latitude, 0, 222.222, ""},
                      FormatCase{ang_plain, 2, 222.222, ""},
                      FormatCase{ang_latitude, 2, std::numeric_limits<double>::quiet_NaN(), ""},
                      FormatCase{ang_longitude, 2, std::numeric_limits<double>::infinity(), ""},
                      FormatCase{ang_plain, 2, -std::numeric_limits<double>::infinity(), ""},
                      FormatCase{ang_plain, 2, 1e9, ""}, FormatCase{ang_longitude, 2, -1e300, ""},
                      FormatCase{ang_latitude, 2, std::numeric_limits<double>::max(), ""}));

TEST(DegDecStrBuffer, TextsThatDoNotFitLeaveTheBufferEmpty) {
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    DegDec_Str(buffer, 15, ang_longitude, 2, -75.123456);
    EXPECT_STREQ(buffer, "075 07 24.44 W"); // 14 characters and the terminator
    std::memset(buffer, '#', sizeof buffer);
    DegDec_Str(buffer, 14, ang_longitude, 2, -75.123456);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(buffer[1], '#'); // nothing written past what was needed
    std::memset(buffer, '#', sizeof buffer);
    DegDec_Str(buffer, 1, ang_latitude, 0, 45.5);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(buffer[1], '#');
}

TEST(DegDecStrBuffer, ZeroSizeOrNullBufferIsLeftAlone) {
    char buffer[4] = {'#', '#', '#', '#'};
    DegDec_Str(buffer, 0, ang_latitude, 0, 45.5);
    EXPECT_EQ(buffer[0], '#');
    DegDec_Str(nullptr, 16, ang_latitude, 0, 45.5); // must not crash
}

TEST(DegDecStrBuffer, TheLongestAngleOfUpTo999DegreesFits15Bytes) {
    char buffer[15];
    DegDec_Str(buffer, sizeof buffer, ang_longitude, 2, -dms(999, 59, 59.99));
    EXPECT_STREQ(buffer, "999 59 59.99 W");
}

struct RoundCase {
    double angle;
    double rounded;
};

class RoundCoordinates : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundCoordinates, RoundsToAHundredthOfASecond) {
    EXPECT_EQ(Round_Coordinates(GetParam().angle), GetParam().rounded)
        << "angle " << GetParam().angle;
}

// 1/128 of a degree is exactly 2812.5 hundredths of a second: the half goes
// upward, for negative angles too, and the neighbours on either side of the
// half go their own ways.
INSTANTIATE_TEST_SUITE_P(
    Halves, RoundCoordinates,
    ::testing::Values(RoundCase{1.0 / 128, 2813 / 360000.0},
                      RoundCase{1.0 / 128 - 1e-12, 2812 / 360000.0},
                      RoundCase{-1.0 / 128, -2812 / 360000.0},
                      RoundCase{-1.0 / 128 - 1e-12, -2813 / 360000.0},
                      RoundCase{45.123456, 16244444 / 360000.0}, RoundCase{0.0, 0.0},
                      RoundCase{222.222, 222.222})); // the marker stays the marker

TEST(RoundCoordinatesTest, RoundingTwiceChangesNothing) {
    for (double angle : {45.123456, -75.987654321, 0.000001, 179.9999999, -89.12345678}) {
        const double once = Round_Coordinates(angle);
        EXPECT_EQ(Round_Coordinates(once), once) << angle;
    }
}

TEST(RoundCoordinatesTest, RoundedAnglesWriteAsTheySay) {
    // An angle rounded to the hundredth of a second shows that hundredth.
    EXPECT_EQ(written(ang_latitude, 2, Round_Coordinates(dms(45, 7, 24.4449))), "45 07 24.44 N");
    EXPECT_EQ(written(ang_latitude, 2, Round_Coordinates(dms(45, 7, 24.4451))), "45 07 24.45 N");
}

TEST(RoundCoordinatesTest, NonFiniteAnglesStayNonFinite) {
    EXPECT_TRUE(std::isnan(Round_Coordinates(std::numeric_limits<double>::quiet_NaN())));
    EXPECT_EQ(Round_Coordinates(std::numeric_limits<double>::infinity()),
              std::numeric_limits<double>::infinity());
}

} // namespace
