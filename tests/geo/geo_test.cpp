// Angles, UTM zones and meridians to and from their texts, the rounding of
// stored coordinates, typed numbers checked against their entry types,
// frequency texts, and the plane geometry: segments, rectangles, polygons
// and the colour table.
#include "geo/angles.h"
#include "frame/startup.h"
#include "geo/numeric_entry.h"
#include "geo/plane_geometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <string>
#include <tuple>

constexpr double kNoValue = 222.222;
constexpr ang_type lat = ang_latitude, lon = ang_longitude, plain = ang_plain;

static double dms(double degrees, double minutes, double seconds) {
    return degrees + minutes / 60.0 + seconds / 3600.0;
}

static double read(std::string text, ang_type type, bool flag) {
    double angle = -1.0;
    DegStr_Dec(&text[0], type, angle, flag);
    return angle;
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
// angle give no text. (The tool's angle case adds a southern latitude.)
TEST(AngleTexts, WrittenAndRead) {
    const std::tuple<ang_type, double, const char*, const char*, const char*> cases[] = {
        {lon, -0.0, "000 00 00  ", "000 00 00.0  ", "000 00 00.00  "},
        {plain, -dms(10, 59, 59.4999), "010 59 59", "010 59 59.5", "010 59 59.50"},
        {plain, -dms(10, 59, 59.5001), "011 00 00", "010 59 59.5", "010 59 59.50"},
        {lon, -dms(10, 59, 59.9499), "011 00 00 W", "010 59 59.9 W", "010 59 59.95 W"},
        {lon, -dms(10, 59, 59.9501), "011 00 00 W", "011 00 00.0 W", "010 59 59.95 W"},
        {lat, dms(10, 59, 59.9949), "11 00 00 N", "11 00 00.0 N", "10 59 59.99 N"},
        {lat, dms(10, 59, 59.9951), "11 00 00 N", "11 00 00.0 N", "11 00 00.00 N"}};
    for (const auto& [type, angle, d0, d1, d2] : cases) {
        const std::tuple<int, const char*> texts[] = {
            {0, d0}, {1, d1}, {2, d2}, {-1, d0}, {1000, d2}};
        for (const auto& [decimals, text] : texts)
            EXPECT_EQ(written(type, decimals, angle), text) << angle << " at " << decimals;
    }
    for (double angle : {kNoValue, std::nan(""), 1e9}) EXPECT_EQ(written(lon, 2, angle), "");
    DegDec_Str(nullptr, 16, lat, 0, 45.5);
    // Stored coordinates are rounded to the hundredths of a second that the
    // texts carry; 1/128 of a degree is exactly 2812.5 of them, and the half
    // goes upward for negative angles too.
    EXPECT_EQ(Round_Coordinates(1.0 / 128), 2813 / 360000.0);
    EXPECT_EQ(Round_Coordinates(-1.0 / 128), -2812 / 360000.0);

    // The angles read with the default hemisphere south or east, then north or
    // west. A letter decides alone, and only as the very last character; without
    // one, a typed minus and the default each reverse the sign. Anything but
    // digits and points separates fields, and a fourth field is never read.
    // Latitudes stay below 90, longitudes up to 180; plain angles take neither
    // letters nor limits. The compact forms have no range test, and latitudes
    // ignore the flag there. Empty texts, and fields of 24 characters or more,
    // are refused. (The tool's parse-angle cases add a plain "33 30" either way,
    // an east letter under the west default, and a latitude of 90.)
    const double k45 = dms(45, 30, 15), k75 = dms(75, 30, 15), k99 = dms(99, 59, 59);
    const double no = kNoValue;
    const std::tuple<const char*, ang_type, double, double> typed[] = {
        {"\t- 33 30", lat, 33.5, -33.5}, {"45\xB0 30' 15\" N", lat, k45, k45},
        {"33 30 S ", lat, -33.5, 33.5},  {"-45 30 15 s", lat, -k45, -k45},
        {"-75 30", lon, -75.5, 75.5},    {"45 30 15 999999999999999999999999", lat, -k45, k45},
        {"45.5.9", lat, -45.5, 45.5},    {"-400 30 W", plain, -400.5, -400.5},
        {" \t ", lat, no, no},           {"180 00 00.01", lon, no, no},
        {"180 W", lon, -180.0, -180.0},  {"0753015", lat, no, no},
        {"0753015", lon, k75, -k75},     {"00000000000000000000045", lat, -45.0, 45.0},
        {"453015", lon, no, no},         {"000000000000000000000045", lat, no, no},
        {"995959", lat, k99, k99},       {"-75 30 15 w", lon, -k75, -k75}};
    for (const auto& [text, type, south_east, north_west] : typed) {
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

    // Zones and meridians, read the same two ways into a value of 99 before.
    // Zones out of range give 0. A signed byte holds no meridian from 128
    // east on: those keep the old value like every text out of range, and no
    // number wraps into range.
    const auto zone = string_to_utmzone, meridian = string_to_meridian;
    const std::tuple<void (*)(char*, char&, bool), const char*, int, int> zone_cases[] = {
        {zone, "33", -33, 33},   {meridian, "15", 15, -15},      {zone, "", 0, 0},
        {zone, "33s", -33, -33}, {meridian, "15\xB0 E", 15, 15}, {meridian, "-15", -15, 15},
        {zone, "-33N", 33, 33},  {meridian, "-15 w", -15, -15},  {meridian, "181", 99, 99},
        {zone, "-60", 60, -60},  {meridian, "127", 127, -127},   {meridian, "0", 99, 99},
        {zone, "61", 0, 0},      {meridian, "128", 99, -128},    {meridian, "4294967311", 99, 99}};
    for (const auto& [read_text, text, south_east, north_west] : zone_cases) {
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

constexpr int kIntNoValue = -99999;
constexpr double kMetresPerFoot = 0.3048;

class NumericEntry : public ::testing::Test {
protected:
    void SetUp() override { start(kMetresPerFoot, kIntNoValue); }
    void start(double metres_per_foot, int int_no_value) {
        constants.int_no_value = int_no_value;
        constants.metres_per_foot = metres_per_foot;
        init_jx5_util(&constants, &settings);
    }
    double as_double(std::string t, unsigned char type) { return get_valid_double(&t[0], type); }
    int as_int(std::string t, unsigned char type) { return get_valid_int32(&t[0], type); }

    // The header's types, whose layout the library's header pins to the
    // host's records.
    Global_Constants constants = {};
    Global_Settings settings = {};
};

// "1c1" reads as a nonzero number whatever c is, so it has a value exactly
// when c is in the type's set: the sign + and the digits from type 2 on, and
// these characters besides. Types 0 and 1, and those from 20 on, take none.
TEST_F(NumericEntry, TypedNumbersAndFrequencies) {
    const char* const besides[20] = {nullptr,   nullptr, "-.eE",  ".",       "-.",
                                     ".xX",     "-.xX",  "",      "-",       "-. nNsS",
                                     "-. eEwW", "-nNsS", ".fFmM", ".xXfFmM", "-.xXfFmM",
                                     "-. ",     ".",     ".xX",   ".fFmM",   ".xXfFmM"};
    for (int type = 0; type < 256; ++type)
        for (int code = 1; code < 256; ++code) {
            const char c = static_cast<char>(code);
            const bool in_set = type < 20 && besides[type] && code < 128 &&
                                (std::strchr("+0123456789", c) || std::strchr(besides[type], c));
            const std::string text = std::string("1") + c + "1";
            EXPECT_EQ(as_double(text, type) != kNoValue, in_set) << type << " " << code;
            EXPECT_EQ(as_int(text, type) != kIntNoValue, in_set) << type << " " << code;
        }

    // Doubles and integers from the same texts. Both take the leading number
    // as the C runtime reads it (atof, atoi); the letter x means no value
    // only to doubles, as zero does from type 16 on; integers keep to 32
    // bits. Doubles of more than 15 digits are still correctly rounded.
    const double no = kNoValue;
    const int none = kIntNoValue;
    const std::tuple<const char*, int, double, int> cases[] = {
        {"-12.5", 4, -12.5, -12}, {"9007199254740993", 4, 9007199254740992.0, none},
        {"x12", 6, no, 0},        {"9.007199254740995", 4, 9.007199254740994, 9},
        {"0", 15, 0.0, 0},        {"2147483647", 8, 2147483647.0, INT_MAX},
        {"0.000", 16, no, 0},     {"2147483648", 8, 2147483648.0, none},
        {"  ", 15, no, none},     {"-2147483648", 8, -2147483648.0, INT_MIN},
        {"1.5e3", 2, 1500.0, 1},  {"-2147483649", 8, -2147483649.0, none},
        {"1e-400", 2, 0.0, 1},    {"1e9999999999999999999", 2, no, 1},
        {"X", 5, no, 0},          {"1e+", 2, 1.0, 1}};
    for (const auto& [text, type, value, whole] : cases) {
        EXPECT_EQ(as_double(text, type), value) << "\"" << text << "\" type " << type;
        EXPECT_EQ(as_int(text, type), whole) << "\"" << text << "\" type " << type;
    }
    char text[] = " \t 12.5 \t\r\n", whole[] = "\t 42  ";
    EXPECT_EQ(get_valid_double(text, 4), 12.5);
    EXPECT_EQ(get_valid_int32(whole, 8), 42);
    EXPECT_STREQ(text, "12.5"); // the caller sees the stripped text
    EXPECT_STREQ(whole, "42");
    EXPECT_EQ(get_valid_double(nullptr, 4), kNoValue);
    EXPECT_EQ(get_valid_int32(nullptr, 8), kIntNoValue);

    // The unit letter, the metric flag, the factor and the integer marker
    // all come from the host's records: the settings are read afresh at
    // every call, the constants were copied at start-up (and the copy fills
    // the record's exact size, which a longer copy would overrun).
    EXPECT_DOUBLE_EQ(as_double("100M", 13), 100 / kMetresPerFoot);
    EXPECT_EQ(as_double("100f", 12), 100.0);
    EXPECT_EQ(as_double("1" + std::string(308, '0') + "m", 12), kNoValue); // beyond the doubles
    settings.metric_units = 2; // any flag but 0 is metric
    EXPECT_DOUBLE_EQ(as_double("100F", 12), 100 * kMetresPerFoot);
    EXPECT_EQ(as_double("100m", 12), 100.0);
    start(0.0, -32768); // a host without a factor: nothing can be converted
    constants.int_no_value = 7;
    EXPECT_EQ(as_double("100f", 12), kNoValue);
    EXPECT_EQ(as_double("100m", 12), 100.0);
    EXPECT_EQ(as_int("abc", 8), -32768);

    // Frequency texts that read the same whatever the system's decimal
    // separator; the separator's own cases are in the fault suite, which can
    // set it.
    const std::tuple<double, unsigned, const char*> frequencies[] = {
        {7.125, 6, "7.125"},    {7.125, 5, ""},      {kNoValue, 32, ""},
        {std::nan(""), 32, ""}, {-HUGE_VAL, 32, ""}, {1e300, 16, ""}};
    for (const auto& [value, size, frequency] : frequencies) {
        char buffer[32];
        std::memset(buffer, '#', sizeof buffer);
        set_frequency_str(buffer, size, value);
        EXPECT_STREQ(buffer, frequency) << value << " in " << size;
    }
    char huge[400];
    set_frequency_str(huge, sizeof huge, -1.7976931348623157e308); // 309 digits before the point
    EXPECT_EQ(std::string(huge, 18), "-17976931348623157");
}

const double kNaN = std::nan("");

// COLORREF is 0x00BBGGRR, and the half intensity is 0x7F, not 0x80.
TEST(PlaneGeometry, ColoursSegmentsRectanglesAndPolygons) {
    const unsigned long colours[14] = {0x000000, 0x7F0000, 0x007F00, 0x7F7F00, 0x00007F,
                                       0x7F007F, 0x007F7F, 0x7F7F7F, 0xFF0000, 0x00FF00,
                                       0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF};
    for (int index : {INT_MIN, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, INT_MAX})
        EXPECT_EQ(get_40_clrref(index), index >= 0 && index < 14 ? colours[index] : 0) << index;

    // Segments U-V against (0,0)-(2,0): ends touching, parallel and
    // collinear segments and NaN give 0; crossings just inside both segments
    // still count.
    const std::tuple<double, double, double, double, double> cases[] = {
        {1, -1, 1, 1, 0.5}, {2, -1, 2, 1, 0}, {1, -1, 1, 0, 0},  {1.999, -1, 1.999, 0.001, 0.9995},
        {0, 1, 2, 1, 0},    {-1, 0, 3, 0, 0}, {1, kNaN, 1, 1, 0}};
    for (const auto& [ux, uy, vx, vy, fraction] : cases)
        EXPECT_DOUBLE_EQ(LineSegIntersect({0, 0}, {2, 0}, {ux, uy}, {vx, vy}), fraction) << ux;
    EXPECT_DOUBLE_EQ(LineSegIntersect({4, 0}, {0, 0}, {1, -1}, {1, 3}), 0.75);

    // Against the rectangle (0,0)-(10,10), its corners named either way
    // round, each segment in both directions: through both sides, an end on
    // a corner, along an edge, in through y = 0 and out through a corner,
    // meeting a corner only, just inside and just outside a corner, through
    // two opposite corners (no edge crossed strictly inside), NaN.
    const std::tuple<double, double, double, double, bool> rectangle_cases[] = {
        {-5, 5, 15, 5, true},          {10, 10, 20, 20, true},    {-5, 0, 15, 0, false},
        {7, -3, 13, 23, true},         {-1, 9, 1, 11, false},     {-1, 8.999, 1, 10.999, true},
        {-1, 9.001, 1, 11.001, false}, {-10, 20, 20, -10, false}, {kNaN, kNaN, kNaN, kNaN, false}};
    for (const auto& [x3, y3, x4, y4, touches] : rectangle_cases) {
        EXPECT_EQ(line_in_rect(10, 0, 0, 10, x3, y3, x4, y4), touches) << x3 << "," << y3;
        EXPECT_EQ(line_in_rect(0, 10, 10, 0, x4, y4, x3, y3), touches) << x3 << "," << y3;
    }

    // Points in polygons. On the border the bottom and left edges belong to
    // the square, the top and right edges do not, whichever way round the
    // square is listed. A vertex at the point's height counts once: the ray
    // from (0,0) through the diamond's vertex (5,0), the ray under a notch
    // whose tip (2,0) touches it, collinear vertices along the edges. A
    // polygon without vertices holds nothing.
    dPOINT square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    dPOINT clockwise[] = {{0, 10}, {10, 10}, {10, 0}, {0, 0}};
    const std::tuple<double, double, int> points[] = {
        {5, 5, 1},  {15, 5, 0}, {0, 5, 1},   {10, 5, 0}, {5, 0, 1},
        {5, 10, 0}, {0, 0, 1},  {10, 10, 0}, {-5, 0, 0}, {kNaN, kNaN, 0}};
    for (const auto& [x, y, inside] : points) {
        EXPECT_EQ(pointInPoly(x, y, square, 4), inside) << x << "," << y;
        EXPECT_EQ(pointInPoly(x, y, clockwise, 4), inside) << x << "," << y;
    }
    dPOINT diamond[] = {{0, -5}, {5, 0}, {0, 5}, {-5, 0}};
    dPOINT crown[] = {{-10, -10}, {10, -10}, {10, 5}, {4, 5}, {2, 0}, {0, 5}, {-10, 5}};
    dPOINT collinear[] = {{0, 0}, {5, 0}, {10, 0}, {10, 5}, {10, 10}, {0, 10}, {0, 5}};
    const std::tuple<dPOINT*, int, double, double, int> shapes[] = {
        {diamond, 4, 0, 0, 1},   {crown, 7, -5, 0, 1}, {collinear, 7, 5, 5, 1},
        {collinear, 7, 5, 0, 1}, {square, 0, 5, 5, 0}, {nullptr, 4, 5, 5, 0}};
    for (const auto& [polygon, vertices, x, y, inside] : shapes)
        EXPECT_EQ(pointInPoly(x, y, polygon, vertices), inside) << x << "," << y;
}
