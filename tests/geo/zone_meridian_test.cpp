// UTM zones and meridians to and from their texts.
#include "geo/angles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

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

TEST(StringToUtmzone, ReadsZonesAndRefusesTheRest) {
    const struct {
        const char* text;
        bool north;
        int zone;
    } cases[] = {{"33", true, 33},       {"33", false, -33},  {"33s", true, -33},
                 {"-33", false, 33},     {"-33N", false, 33}, {"  \t7 n", false, 7},
                 {"60", true, 60},       {"-60", true, -60},  {"61", true, 0},
                 {"0", true, 0},         {"", true, 0},       {"zone 33", true, 0},
                 {"4294967329", true, 0}}; // 2^32 + 33 must not wrap to 33
    for (const auto& c : cases) EXPECT_EQ(zone_of(c.text, c.north), c.zone) << c.text;
}

// A signed byte holds no meridian from 128 east on: those keep the old value
// like every text out of range.
TEST(StringToMeridian, ReadsMeridiansAndKeepsTheOldValueOtherwise) {
    const struct {
        const char* text;
        bool west;
        int meridian;
    } cases[] = {{"15", false, 15},
                 {"15", true, -15},
                 {"15E", true, 15},
                 {"15\xB0 w", false, -15},
                 {"-15", true, 15},
                 {"127", false, 127},
                 {"128 W", false, -128},
                 {"128", false, kUnchanged},
                 {"180 E", false, kUnchanged},
                 {"181", false, kUnchanged},
                 {"0", false, kUnchanged},
                 {"", false, kUnchanged},
                 {"4294967311", false, kUnchanged}};
    for (const auto& c : cases) EXPECT_EQ(meridian_of(c.text, c.west), c.meridian) << c.text;
}

TEST(ZoneAndMeridianTexts, WrittenTextsAndTheirBuffers) {
    char buffer[16];
    utmzone_to_string(buffer, sizeof buffer, 0);
    EXPECT_STREQ(buffer, "");
    utmzone_to_string(buffer, 4, -33);
    EXPECT_STREQ(buffer, "33S");
    utmzone_to_string(buffer, 3, 33); // "33N" needs 4 bytes
    EXPECT_STREQ(buffer, "");
    meridian_to_string(buffer, sizeof buffer, 0);
    EXPECT_STREQ(buffer, "");
    meridian_to_string(buffer, 7, 127);
    EXPECT_STREQ(buffer, "127\xB0 E");
    meridian_to_string(buffer, 6, -128);
    EXPECT_STREQ(buffer, "");
    buffer[0] = '#';
    meridian_to_string(buffer, 0, -15);
    EXPECT_EQ(buffer[0], '#');
}

TEST(ZoneAndMeridianTexts, WrittenTextsReadBack) {
    for (int zone = -60; zone <= 60; ++zone) {
        char text[8];
        utmzone_to_string(text, sizeof text, static_cast<char>(zone));
        EXPECT_EQ(zone_of(text, zone % 2 == 0), zone) << text;
    }
    for (int meridian = -128; meridian <= 127; ++meridian) {
        if (meridian == 0 || meridian == kBefore) continue;
        char text[8];
        meridian_to_string(text, sizeof text, static_cast<char>(meridian));
        EXPECT_EQ(meridian_of(text, meridian % 2 == 0), meridian) << text;
    }
}

} // namespace
