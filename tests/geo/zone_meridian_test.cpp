// UTM zones and meridians to and from their texts.
#include "geo/angles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct ReadCase {
    const char* text;
    bool flag;
    int value; // for meridians: kUnchanged when the meridian keeps its value
};

constexpr int kUnchanged = 1000;
constexpr signed char kBefore = 9;

int zone_of(std::string text, bool default_north) {
    char zone = kBefore;
    string_to_utmzone(&text[0], zone, default_north);
    return static_cast<signed char>(zone);
}

int meridian_of(std::string text, bool default_west) {
    char meridian = kBefore;
    string_to_meridian(&text[0], meridian, default_west);
    const int value = static_cast<signed char>(meridian);
    return value == kBefore ? kUnchanged : value;
}

class StringToUtmzone : public ::testing::TestWithParam<ReadCase> {};

TEST_P(StringToUtmzone, ReadsTheZone) {
    EXPECT_EQ(zone_of(GetParam().text, GetParam().flag), GetParam().value)
        << "\"" << GetParam().text << "\" flag " << GetParam().flag;
}

INSTANTIATE_TEST_SUITE_P(
    Zones, StringToUtmzone,
    ::testing::Values(ReadCase{"33", true, 33}, ReadCase{"33", false, -33},
                      ReadCase{"33N", false, 33}, ReadCase{"33s", true, -33},
                      ReadCase{"33 S", true, -33}, ReadCase{"-33", false, 33},
                      ReadCase{"-33", true, -33}, ReadCase{"-33N", false, 33},
                      ReadCase{"+33", true, 33}, ReadCase{"  \t7 n", false, 7},
                      ReadCase{"1", true, 1}, ReadCase{"60", true, 60}, ReadCase{"-60", true, -60},
                      ReadCase{"60S", true, -60},
                      // Out of range or unreadable: no zone, whatever was there.
                      ReadCase{"61", true, 0}, ReadCase{"-61", true, 0}, ReadCase{"0", true, 0},
                      ReadCase{"", true, 0}, ReadCase{"N", true, 0}, ReadCase{"zone 33", true, 0},
                      ReadCase{"4294967329", true, 0}, ReadCase{"99999999999999999999", true, 0}));

class StringToMeridian : public ::testing::TestWithParam<ReadCase> {};

TEST_P(StringToMeridian, ReadsTheMeridian) {
    EXPECT_EQ(meridian_of(GetParam().text, GetParam().flag), GetParam().value)
        << "\"" << GetParam().text << "\" flag " << GetParam().flag;
}

INSTANTIATE_TEST_SUITE_P(
    Meridians, StringToMeridian,
    ::testing::Values(ReadCase{"15", false, 15}, ReadCase{"15", true, -15},
                      ReadCase{"15E", true, 15}, ReadCase{"15 w", false, -15},
                      ReadCase{"15\xB0 W", false, -15}, ReadCase{"-15", false, -15},
                      ReadCase{"-15", true, 15}, ReadCase{"-15 E", true, 15},
                      ReadCase{"1", false, 1}, ReadCase{"127", false, 127},
                      ReadCase{"127 W", false, -127}, ReadCase{"128 W", false, -128},
                      ReadCase{"-128", false, -128},
                      // A signed byte holds no meridian from 128 east on.
                      ReadCase{"128", false, kUnchanged}, ReadCase{"128 E", true, kUnchanged},
                      ReadCase{"180 E", false, kUnchanged}, ReadCase{"129 W", false, kUnchanged},
                      // Out of range or unreadable: the meridian keeps its value.
                      ReadCase{"181", false, kUnchanged}, ReadCase{"0", false, kUnchanged},
                      ReadCase{"", false, kUnchanged}, ReadCase{"E", false, kUnchanged},
                      ReadCase{"4294967311", false, kUnchanged}));

TEST(UtmzoneToString, WritesNumberAndHemisphere) {
    const struct {
        int zone;
        const char* text;
    } cases[] = {{0, ""},    {33, "33N"}, {-33, "33S"}, {1, "1N"},
                 {-1, "1S"}, {60, "60N"}, {-60, "60S"}, {-128, "128S"}};
    for (const auto& c : cases) {
        char buffer[16];
        std::memset(buffer, '#', sizeof buffer);
        utmzone_to_string(buffer, sizeof buffer, static_cast<char>(c.zone));
        EXPECT_STREQ(buffer, c.text) << c.zone;
    }
}

TEST(MeridianToString, WritesDegreesSignAndHemisphere) {
    const struct {
        int meridian;
        const char* text;
    } cases[] = {
        {0, ""}, {15, "15\xB0 E"}, {-15, "15\xB0 W"}, {127, "127\xB0 E"}, {-128, "128\xB0 W"}};
    for (const auto& c : cases) {
        char buffer[16];
        std::memset(buffer, '#', sizeof buffer);
        meridian_to_string(buffer, sizeof buffer, static_cast<char>(c.meridian));
        EXPECT_STREQ(buffer, c.text) << c.meridian;
    }
}

TEST(ZoneAndMeridianBuffers, TextsThatDoNotFitLeaveTheBufferEmpty) {
    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    utmzone_to_string(buffer, 4, 33);
    EXPECT_STREQ(buffer, "33N");
    utmzone_to_string(buffer, 3, 33);
    EXPECT_STREQ(buffer, "");
    meridian_to_string(buffer, 6, -15);
    EXPECT_STREQ(buffer, "15\xB0 W");
    meridian_to_string(buffer, 5, -15);
    EXPECT_STREQ(buffer, "");
    std::memset(buffer, '#', sizeof buffer);
    meridian_to_string(buffer, 0, -15);
    EXPECT_EQ(buffer[0], '#');
}

TEST(ZoneAndMeridianTexts, WrittenTextsReadBack) {
    for (int zone = -60; zone <= 60; ++zone) {
        char text[8];
        utmzone_to_string(text, sizeof text, static_cast<char>(zone));
        EXPECT_EQ(zone_of(text, zone % 2 == 0), zone == 0 ? 0 : zone) << text;
    }
    for (int meridian = -128; meridian <= 127; ++meridian) {
        if (meridian == 0 || meridian == kBefore) continue;
        char text[8];
        meridian_to_string(text, sizeof text, static_cast<char>(meridian));
        EXPECT_EQ(meridian_of(text, meridian % 2 == 0), meridian) << text;
    }
}

} // namespace
