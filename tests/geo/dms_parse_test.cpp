// Degree-minute-second texts read as angles.
#include "geo/angles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr double kNoValue = 222.222;
const double k453015 = 45.0 + 30.0 / 60.0 + 15.0 / 3600.0;
const double k0753015 = 75.0 + 30.0 / 60.0 + 15.0 / 3600.0;

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
// hemisphere each reverse the sign.
INSTANTIATE_TEST_SUITE_P(LatitudeHemispheres, DegStrDec,
                         ::testing::Values(ParseCase{"45 30 15 N", ang_latitude, false, k453015},
                                           ParseCase{"45 30 15 N", ang_latitude, true, k453015},
                                           ParseCase{"45 30 15 S", ang_latitude, true, -k453015},
                                           ParseCase{"45 30 15 s", ang_latitude, true, -k453015},
                                           ParseCase{"45 30 15 n", ang_latitude, false, k453015},
                                           ParseCase{"-45 30 15 N", ang_latitude, false, k453015},
                                           ParseCase{"-45 30 15 S", ang_latitude, true, -k453015},
                                           ParseCase{"33 30", ang_latitude, false, -33.5},
                                           ParseCase{"33 30", ang_latitude, true, 33.5},
                                           ParseCase{"-33 30", ang_latitude, false, 33.5},
                                           ParseCase{"-33 30", ang_latitude, true, -33.5},
                                           ParseCase{" \t- \t33 30", ang_latitude, true, -33.5},
                                           ParseCase{"33 30 E", ang_latitude, true, 33.5},
                                           // Only the very last character can be the letter.
                                           ParseCase{"33 30 S ", ang_latitude, true, 33.5},
                                           ParseCase{"33 30 N ", ang_latitude, false, -33.5}));

INSTANTIATE_TEST_SUITE_P(LongitudeHemispheres, DegStrDec,
                         ::testing::Values(ParseCase{"75 30 15 E", ang_longitude, true, k0753015},
                                           ParseCase{"75 30 15 W", ang_longitude, false, -k0753015},
                                           ParseCase{"75 30 15 w", ang_longitude, false, -k0753015},
                                           ParseCase{"-75 30 15 E", ang_longitude, true, k0753015},
                                           ParseCase{"75 30", ang_longitude, false, 75.5},
                                           ParseCase{"75 30", ang_longitude, true, -75.5},
                                           ParseCase{"-75 30", ang_longitude, false, -75.5},
                                           ParseCase{"-75 30", ang_longitude, true, 75.5},
                                           ParseCase{"75 30 N", ang_longitude, false, 75.5}));

// Anything outside the number characters separates fields: degree signs,
// apostrophes, letters; a fourth field is never read.
INSTANTIATE_TEST_SUITE_P(
    Separators, DegStrDec,
    ::testing::Values(ParseCase{"45\xB0"
                                "30'15\"N",
                                ang_latitude, false, k453015},
                      ParseCase{"45d30m15sN", ang_latitude, false, k453015},
                      ParseCase{"45.5", ang_latitude, true, 45.5},
                      ParseCase{"45 30.5", ang_latitude, true, 45.0 + 30.5 / 60.0},
                      ParseCase{"45 30 15.25 N", ang_latitude, true, 45.0 + 0.5 + 15.25 / 3600.0},
                      ParseCase{"45.5.9", ang_latitude, true, 45.5},
                      ParseCase{"45 30 15 59 N", ang_latitude, true, k453015},
                      ParseCase{"N45 30", ang_latitude, true, 0.75 + 30.0 / 3600.0},
                      ParseCase{"45,30,15", ang_latitude, true, k453015},
                      ParseCase{"N", ang_latitude, false, 0.0},
                      ParseCase{"-", ang_latitude, true, 0.0}));

// Latitudes below 90, longitudes up to 180 inclusive; plain angles unlimited.
INSTANTIATE_TEST_SUITE_P(Ranges, DegStrDec,
                         ::testing::Values(ParseCase{"90", ang_latitude, true, kNoValue},
                                           ParseCase{"90 00 00 S", ang_latitude, true, kNoValue},
                                           ParseCase{"89 60", ang_latitude, true, kNoValue},
                                           ParseCase{"89 59 59.99 S", ang_latitude, true,
                                                     -(89.0 + 59.0 / 60.0 + 59.99 / 3600.0)},
                                           ParseCase{"89.9999999", ang_latitude, true, 89.9999999},
                                           ParseCase{"180", ang_longitude, false, 180.0},
                                           ParseCase{"180 W", ang_longitude, false, -180.0},
                                           ParseCase{"180 00 00.01", ang_longitude, false,
                                                     kNoValue},
                                           ParseCase{"180.0000001", ang_longitude, false, kNoValue},
                                           ParseCase{"181", ang_longitude, false, kNoValue},
                                           ParseCase{"400 30", ang_plain, true, 400.5},
                                           ParseCase{"-12 30", ang_plain, false, -12.5},
                                           ParseCase{"-12 30", ang_plain, true, -12.5},
                                           ParseCase{"12 30 W", ang_plain, true, 12.5}));

// Compact forms: six digits for latitudes, seven for longitudes, with no
// range test; latitudes ignore the flag, longitudes take it as west.
INSTANTIATE_TEST_SUITE_P(
    Compact, DegStrDec,
    ::testing::Values(ParseCase{"453015", ang_latitude, false, k453015},
                      ParseCase{"453015", ang_latitude, true, k453015},
                      ParseCase{"995959", ang_latitude, true, 99.0 + 59.0 / 60 + 59.0 / 3600},
                      ParseCase{"0753015", ang_longitude, false, k0753015},
                      ParseCase{"0753015", ang_longitude, true, -k0753015},
                      ParseCase{"9995959", ang_longitude, false, 999.0 + 59.0 / 60 + 59.0 / 3600},
                      // The other kind's length is read in the general form.
                      ParseCase{"0753015", ang_latitude, true, kNoValue},
                      ParseCase{"453015", ang_longitude, false, kNoValue},
                      ParseCase{"453015", ang_plain, false, 453015.0},
                      ParseCase{"45301a", ang_latitude, true, kNoValue}));

INSTANTIATE_TEST_SUITE_P(
    Refused, DegStrDec,
    ::testing::Values(ParseCase{"", ang_latitude, true, kNoValue},
                      ParseCase{"   ", ang_longitude, true, kNoValue},
                      ParseCase{" \t ", ang_plain, true, kNoValue},
                      // 23 characters make a field; 24 are refused.
                      ParseCase{"00000000000000000000045", ang_latitude, true, 45.0},
                      ParseCase{"000000000000000000000045", ang_latitude, true, kNoValue},
                      ParseCase{"45 30 000000000000000000000015", ang_latitude, true, kNoValue},
                      ParseCase{"45 30 15 000000000000000000000015", ang_latitude, true, k453015}));

TEST(DegStrDecText, CompactLatitudeIsCutAfterDegreesAndMinutes) {
    char text[] = "453015";
    double angle = 0;
    DegStr_Dec(text, ang_latitude, angle, false);
    EXPECT_STREQ(text, "45");
    EXPECT_EQ(text[2], '\0');
    EXPECT_EQ(text[4], '\0');
    EXPECT_EQ(text[5], '5');
}

TEST(DegStrDecText, CompactLongitudeIsCutAfterDegreesAndMinutes) {
    char text[] = "0753015";
    double angle = 0;
    DegStr_Dec(text, ang_longitude, angle, false);
    EXPECT_STREQ(text, "075");
    EXPECT_EQ(text[3], '\0');
    EXPECT_EQ(text[5], '\0');
}

TEST(DegStrDecText, GeneralFormLeavesTheTextAlone) {
    char text[] = "45 30 15 N";
    double angle = 0;
    DegStr_Dec(text, ang_latitude, angle, false);
    EXPECT_STREQ(text, "45 30 15 N");
}

TEST(DegStrDecText, LongTextsAreReadOrRefusedWithoutOverrun) {
    // 300 characters: blanks between fields are no field.
    std::string padded = "45 30 15" + std::string(291, ' ') + "N";
    ASSERT_EQ(padded.size(), 300u);
    EXPECT_DOUBLE_EQ(read(padded, ang_latitude, false), k453015);
    EXPECT_EQ(read(std::string(300, '4'), ang_plain, true), kNoValue);
    EXPECT_EQ(read(std::string(300, ' '), ang_latitude, true), kNoValue);
    EXPECT_EQ(read(std::string(300, '.'), ang_plain, true), kNoValue);
}

TEST(DegStrDecText, NullTextGivesNoValue) {
    double angle = 1.0;
    DegStr_Dec(nullptr, ang_latitude, angle, true);
    EXPECT_EQ(angle, kNoValue);
}

// Texts written at two decimals read back to the same text.
TEST(DegStrDecText, WrittenTextsReadBack) {
    const double angles[] = {45.123456, -33.987654, 0.0001, 89.9, -0.5, 12.0};
    for (ang_type type : {ang_latitude, ang_longitude}) {
        for (double angle : angles) {
            for (bool flag : {false, true}) {
                char text[32];
                DegDec_Str(text, sizeof text, type, 2, angle);
                double back = 0;
                std::string copy = text;
                DegStr_Dec(text, type, back, flag);
                char again[32];
                DegDec_Str(again, sizeof again, type, 2, back);
                if (angle == 0.0) continue;
                EXPECT_STREQ(again, copy.c_str()) << angle << " flag " << flag;
            }
        }
    }
}

} // namespace
