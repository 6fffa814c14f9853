// Angles, UTM zones and meridians to and from their texts, and the rounding
// of stored coordinates.
#include "geo/angles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <tuple>

constexpr double kNoValue = 222.222;
constexpr ang_type lat = ang_latitude, lon = ang_longitude, plain = ang_plain;

static double dms(double degrees, double minutes, double seconds) {
    return degrees + minutes / 60.0 + seconds / 3600.0;
}

static std::string written(ang_type type, int decimals, double angle) {
    char buffer[64];
    std::memset(buffer, '#', sizeof buffer);
    DegDec_Str(buffer, sizeof buffer, type, decimals, angle);
    return buffer;
}

// The texts at 0, 1 and 2 decimals; other counts take the nearest of these.
// Zero has a blank hemisphere and plain angles show no sign. Each rounding
// edge is tried from both sides; from above, the carry runs through the
// seconds and minutes into the degrees. The marker and numbers that are no
// angle give no text.
TEST(DegDecStr, WritesTheTextAtEveryNumberOfDecimals) {
    const std::tuple<ang_type, double, const char*, const char*, const char*> cases[] = {
        {lat, -0.5, "00 30 00 S", "00 30 00.0 S", "00 30 00.00 S"},
        {lon, -0.0, "000 00 00  ", "000 00 00.0  ", "000 00 00.00  "},
        {plain, -dms(10, 59, 59.4999), "010 59 59", "010 59 59.5", "010 59 59.50"},
        {plain, -dms(10, 59, 59.5001), "011 00 00", "010 59 59.5", "010 59 59.50"},
        {lon, -dms(10, 59, 59.9499), "011 00 00 W", "010 59 59.9 W", "010 59 59.95 W"},
        {lon, -dms(10, 59, 59.9501), "011 00 00 W", "011 00 00.0 W", "010 59 59.95 W"},
        {lat, dms(10, 59, 59.9949), "11 00 00 N", "11 00 00.0 N", "10 59 59.99 N"},
        {lat, dms(10, 59, 59.9951), "11 00 00 N", "11 00 00.0 N", "11 00 00.00 N"},
        {lon, kNoValue, "", "", ""},
        {lon, std::nan(""), "", "", ""},
        {lon, 1e9, "", "", ""}};
    for (const auto& [type, angle, d0, d1, d2] : cases) {
        EXPECT_EQ(written(type, 0, angle), d0) << angle;
        EXPECT_EQ(written(type, 1, angle), d1) << angle;
        EXPECT_EQ(written(type, 2, angle), d2) << angle;
        EXPECT_EQ(written(type, -1, angle), d0) << angle;
        EXPECT_EQ(written(type, 1000, angle), d2) << angle;
    }
    char buffer[16]; // a text that does not fit leaves the buffer empty
    DegDec_Str(buffer, 15, lon, 2, -dms(999, 59, 59.99)); // the longest text: 15 bytes
    EXPECT_STREQ(buffer, "999 59 59.99 W");
    DegDec_Str(buffer, 14, lon, 2, -75.123456);
    EXPECT_STREQ(buffer, "");
    DegDec_Str(nullptr, 16, lat, 0, 45.5);
}

// 1/128 of a degree is exactly 2812.5 hundredths of a second.
TEST(RoundCoordinates, HalvesGoUpwardForNegativeAnglesToo) {
    EXPECT_EQ(Round_Coordinates(1.0 / 128), 2813 / 360000.0);
    EXPECT_EQ(Round_Coordinates(-1.0 / 128), -2812 / 360000.0);
}

static double read(std::string text, ang_type type, bool flag) {
    double angle = -1.0;
    DegStr_Dec(&text[0], type, angle, flag);
    return angle;
}

// The angles read with the default hemisphere south or east, then north or
// west. A letter decides alone, and only as the very last character; without
// one, a typed minus and the default each reverse the sign. Anything but
// digits and points separates fields, and a fourth field is never read.
// Latitudes stay below 90, longitudes up to 180; plain angles take neither
// letters nor limits. The compact forms have no range test, and latitudes
// ignore the flag there. Empty texts, and fields of 24 characters or more,
// are refused.
TEST(DegStrDec, ReadsTheAngleUnderEitherDefaultHemisphere) {
    const double k45 = dms(45, 30, 15), k75 = dms(75, 30, 15), k99 = dms(99, 59, 59);
    const double no = kNoValue;
    const std::tuple<const char*, ang_type, double, double> cases[] = {
        {"33 30", lat, -33.5, 33.5},      {"45\xB0 30' 15\" N", lat, k45, k45},
        {"\t- 33 30", lat, 33.5, -33.5},  {"-45 30 15 s", lat, -k45, -k45},
        {"33 30 S ", lat, -33.5, 33.5},   {"45 30 15 999999999999999999999999", lat, -k45, k45},
        {"-75 30", lon, -75.5, 75.5},     {"75 30 15 E", lon, k75, k75},
        {"45.5.9", lat, -45.5, 45.5},     {"-400 30 W", plain, -400.5, -400.5},
        {"90 00 00 S", lat, no, no},      {" \t ", lat, no, no},
        {"180 W", lon, -180.0, -180.0},   {"180 00 00.01", lon, no, no},
        {"0753015", lon, k75, -k75},      {"0753015", lat, no, no},
        {"453015", lon, no, no},          {"00000000000000000000045", lat, -45.0, 45.0},
        {"995959", lat, k99, k99},        {"000000000000000000000045", lat, no, no},
        {"-75 30 15 w", lon, -k75, -k75}, {"45 30 000000000000000000000015", lat, no, no}};
    for (const auto& [text, type, south_east, north_west] : cases) {
        EXPECT_DOUBLE_EQ(read(text, type, false), south_east) << "\"" << text << "\" " << type;
        EXPECT_DOUBLE_EQ(read(text, type, true), north_west) << "\"" << text << "\" " << type;
    }
    // Hosts see a compact text cut after the degree and the minute digits.
    char latitude[] = "453015", longitude[] = "0753015";
    double angle = 0;
    DegStr_Dec(latitude, lat, angle, false);
    DegStr_Dec(longitude, lon, angle, false);
    EXPECT_EQ(std::string(latitude, 6) + std::string(longitude, 7),
              std::string("45\0000\0005075\0000\0005", 13));
    EXPECT_DOUBLE_EQ(read("45 30 15" + std::string(291, ' ') + "N", lat, false), dms(45, 30, 15));
    DegStr_Dec(nullptr, lat, angle, true);
    EXPECT_EQ(angle, kNoValue);
}

// Read with the default hemisphere south or east, then north or west, into
// a value of 99 before. Zones out of range give 0. A signed byte holds no
// meridian from 128 east on: those keep the old value like every text out of
// range, and no number wraps into range.
TEST(ZonesAndMeridians, ReadAndWritten) {
    const auto zone = string_to_utmzone, meridian = string_to_meridian;
    const std::tuple<void (*)(char*, char&, bool), const char*, int, int> cases[] = {
        {zone, "33", -33, 33},   {meridian, "15", 15, -15},      {zone, "", 0, 0},
        {zone, "33s", -33, -33}, {meridian, "15\xB0 E", 15, 15}, {meridian, "-15", -15, 15},
        {zone, "-33N", 33, 33},  {meridian, "-15 w", -15, -15},  {meridian, "181", 99, 99},
        {zone, "-60", 60, -60},  {meridian, "127", 127, -127},   {meridian, "0", 99, 99},
        {zone, "61", 0, 0},      {meridian, "128", 99, -128},    {meridian, "4294967311", 99, 99}};
    for (const auto& [read_text, text, south_east, north_west] : cases) {
        for (bool flag : {false, true}) {
            char value = 99;
            read_text(&std::string(text)[0], value, flag);
            EXPECT_EQ(static_cast<signed char>(value), flag ? north_west : south_east) << text;
        }
    }
    // Written whole or not at all.
    const auto zone_text = utmzone_to_string, meridian_text = meridian_to_string;
    const std::tuple<void (*)(char*, unsigned, char), unsigned, int, const char*> texts[] = {
        {zone_text, 16, 0, ""}, {zone_text, 4, -33, "33S"},   {meridian_text, 7, 127, "127\xB0 E"},
        {zone_text, 3, 33, ""}, {meridian_text, 0, -15, "#"}, {meridian_text, 6, -128, ""}};
    for (const auto& [write, size, value, text] : texts) {
        char buffer[16] = "#";
        write(buffer, size, static_cast<char>(value));
        EXPECT_STREQ(buffer, text) << value << " in " << size;
    }
}
