// Degree-minute-second texts read as angles.
#include "geo/angles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr double kNoValue = 222.222;
const double k453015 = 45.0 + 30.0 / 60.0 + 15.0 / 3600.0;
const double k753015 = 75.0 + 30.0 / 60.0 + 15.0 / 3600.0;

double read(std::string text, ang_type type, bool flag) {
    double angle = -1.0;
    DegStr_Dec(&text[0], type, angle, flag);
    return angle;
}

struct ParseCase {
    const char* text;
    ang_type type;
    bool flag;
    double angle;
};

class DegStrDec : public ::testing::TestWithParam<ParseCase> {};

TEST_P(DegStrDec, ReadsTheAngle) {
    const ParseCase& c = GetParam();
    EXPECT_DOUBLE_EQ(read(c.text, c.type, c.flag), c.angle)
        << "\"" << c.text << "\", type " << c.type << ", flag " << c.flag;
}

// A letter decides alone; without one, a typed minus and the default
// hemisphere each reverse the sign. Only the very last character can be the
// letter.
INSTANTIATE_TEST_SUITE_P(Hemispheres, DegStrDec,
                         ::testing::Values(ParseCase{"45 30 15 N", ang_latitude, false, k453015},
                                           ParseCase{"-45 30 15 s", ang_latitude, false, -k453015},
                                           ParseCase{"33 30", ang_latitude, false, -33.5},
                                           ParseCase{"33 30", ang_latitude, true, 33.5},
                                           ParseCase{"-33 30", ang_latitude, false, 33.5},
                                           ParseCase{" \t- \t33 30", ang_latitude, true, -33.5},
                                           ParseCase{"33 30 S ", ang_latitude, true, 33.5},
                                           ParseCase{"75 30 15 w", ang_longitude, false, -k753015},
                                           ParseCase{"-75 30 15 E", ang_longitude, true, k753015},
                                           ParseCase{"75 30", ang_longitude, true, -75.5},
                                           ParseCase{"-75 30", ang_longitude, true, 75.5},
                                           ParseCase{"75 30 N", ang_longitude, false, 75.5},
                                           ParseCase{"12 30 W", ang_plain, true, 12.5},
                                           ParseCase{"-12 30", ang_plain, true, -12.5}));

// Anything outside the number characters separates fields; a fourth field
// is never read; an empty field reads as 0.
INSTANTIATE_TEST_SUITE_P(
    Fields, DegStrDec,
    ::testing::Values(ParseCase{"45\xB0"
                                "30'15\"N",
                                ang_latitude, false, k453015},
                      ParseCase{"45 30 15.25 N", ang_latitude, true, 45.5 + 15.25 / 3600.0},
                      ParseCase{"45.5.9", ang_latitude, true, 45.5},
                      ParseCase{"45 30 15 999999999999999999999999 N", ang_latitude, true, k453015},
                      ParseCase{"N45 30", ang_latitude, true, 0.75 + 30.0 / 3600.0},
                      ParseCase{"-", ang_latitude, true, 0.0}));

// Latitudes below 90, longitudes up to 180 inclusive, plain angles unlimited.
INSTANTIATE_TEST_SUITE_P(Ranges, DegStrDec,
                         ::testing::Values(ParseCase{"90", ang_latitude, true, kNoValue},
                                           ParseCase{"90 00 00 S", ang_latitude, true, kNoValue},
                                           ParseCase{"89.9999999", ang_latitude, true, 89.9999999},
                                           ParseCase{"180 W", ang_longitude, false, -180.0},
                                           ParseCase{"180 00 00.01", ang_longitude, false,
                                                     kNoValue},
                                           ParseCase{"400 30", ang_plain, true, 400.5}));

// Compact forms: six digits for latitudes, seven for longitudes, with no
// range test; latitudes ignore the flag, longitudes take it as west.
INSTANTIATE_TEST_SUITE_P(Compact, DegStrDec,
                         ::testing::Values(ParseCase{"453015", ang_latitude, false, k453015},
                                           ParseCase{"995959", ang_latitude, true,
                                                     99.0 + 59.0 / 60 + 59.0 / 3600},
                                           ParseCase{"0753015", ang_longitude, false, k753015},
                                           ParseCase{"0753015", ang_longitude, true, -k753015},
                                           ParseCase{"0753015", ang_latitude, true, kNoValue},
                                           ParseCase{"453015", ang_longitude, false, kNoValue},
                                           ParseCase{"45301a", ang_latitude, true, kNoValue}));

// Empty texts, and fields of 24 characters or more, are refused.
INSTANTIATE_TEST_SUITE_P(
    Refused, DegStrDec,
    ::testing::Values(ParseCase{"", ang_latitude, true, kNoValue},
                      ParseCase{" \t ", ang_plain, true, kNoValue},
                      ParseCase{"00000000000000000000045", ang_latitude, true, 45.0},
                      ParseCase{"000000000000000000000045", ang_latitude, true, kNoValue},
                      ParseCase{"45 30 000000000000000000000015", ang_latitude, true, kNoValue}));

TEST(DegStrDecText, CompactFormsAreCutAfterDegreesAndMinutes) {
    char latitude[] = "453015";
    char longitude[] = "0753015";
    char general[] = "45 30 15 N";
    double angle = 0;
    DegStr_Dec(latitude, ang_latitude, angle, false);
    DegStr_Dec(longitude, ang_longitude, angle, false);
    DegStr_Dec(general, ang_latitude, angle, false);
    EXPECT_EQ(std::string(latitude, 7), std::string("45\0"
                                                    "0\0"
                                                    "5",
                                                    7));
    EXPECT_EQ(std::string(longitude, 8), std::string("075\0"
                                                     "0\0"
                                                     "5",
                                                     8));
    EXPECT_STREQ(general, "45 30 15 N");
}

TEST(DegStrDecText, LongTextsAreReadOrRefusedWithoutOverrun) {
    EXPECT_DOUBLE_EQ(read("45 30 15" + std::string(291, ' ') + "N", ang_latitude, false), k453015);
    EXPECT_EQ(read(std::string(300, '4'), ang_plain, true), kNoValue);
    EXPECT_EQ(read(std::string(300, ' '), ang_latitude, true), kNoValue);
    double angle = 1.0;
    DegStr_Dec(nullptr, ang_latitude, angle, true);
    EXPECT_EQ(angle, kNoValue);
}

// Texts written at two decimals read back to the same text.
TEST(DegStrDecText, WrittenTextsReadBack) {
    for (ang_type type : {ang_latitude, ang_longitude}) {
        for (double angle : {45.123456, -33.987654, 0.0001, -0.5}) {
            for (bool flag : {false, true}) {
                char text[32], again[32];
                DegDec_Str(text, sizeof text, type, 2, angle);
                const std::string written = text;
                double back = 0;
                DegStr_Dec(text, type, back, flag);
                DegDec_Str(again, sizeof again, type, 2, back);
                EXPECT_EQ(again, written) << angle << " flag " << flag;
            }
        }
    }
}

} // namespace
