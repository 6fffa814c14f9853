// jxut angle / parse-angle: decimal degrees to the texts users read, and the
// texts users type back to decimal degrees.
#include "command.h"

#include "jx6ut.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace jxut {
namespace {

int run_angle(const Call& call);
int run_parse_angle(const Call& call);

const std::vector<Option> kKinds = {
    {"--lat", nullptr, "latitudes (N/S)"},
    {"--lon", nullptr, "longitudes (E/W)"},
    {"--plain", nullptr, "angles without a hemisphere"},
};

std::vector<Option> with_kinds(std::vector<Option> more) {
    std::vector<Option> all = kKinds;
    all.insert(all.end(), more.begin(), more.end());
    return all;
}

const Command kAngle = {
    "angle",
    "angle --lat|--lon|--plain [--decimals N] DEGREES...",
    "decimal degrees to degree-minute-second texts",
    "Latitudes beyond 90 degrees, longitudes beyond 180, 222.222 (the library's\n"
    "\"no value\"), NaN and infinities are refused. Plain angles keep their sign.",
    with_kinds({{"--decimals", "N", "decimals of the seconds: 0 (the default), 1 or 2"}}),
    "jxut angle --lat 45.5 -0.5          # 45 30 00 N, 00 30 00 S\n"
    "jxut angle --lon --decimals 2 -75.123456\n"
    "jxut angle --plain -12.5            # -012 30 00",
    run_angle,
};

const Command kParseAngle = {
    "parse-angle",
    "parse-angle --lat|--lon|--plain [--default-south|--default-west] [--lenient] TEXT...",
    "degree-minute-second texts to decimal degrees",
    "A text without a hemisphere letter is north or east unless --default-south\n"
    "or --default-west says otherwise. A text is refused as not an angle (exit 1)\n"
    "when it has no digits, minutes or seconds of 60 or more, or characters other\n"
    "than digits, blanks, a point, a sign, degree signs, apostrophes, quotes and\n"
    "one hemisphere letter at the end; --lenient takes the library's own reading.",
    with_kinds({{"--default-south", nullptr, "latitudes without a letter are south"},
                {"--default-west", nullptr, "longitudes without a letter are west"},
                {"--lenient", nullptr, "no checks of the tool, only the library's reading"}}),
    "jxut parse-angle --lat \"45 30 15 N\" 453015\n"
    "jxut parse-angle --lon --default-west 0753015\n"
    "jxut parse-angle --lat \"45\xB0"
    "30'15\\\"N\"",
    run_parse_angle,
};

// The one kind option given; false after a usage message otherwise.
bool take_kind(const Call& call, ang_type& type, int& status) {
    int kinds = 0;
    if (call.has("--lat")) type = ang_latitude, ++kinds;
    if (call.has("--lon")) type = ang_longitude, ++kinds;
    if (call.has("--plain")) type = ang_plain, ++kinds;
    if (kinds == 1) return true;
    status = call.usage_error("give one of --lat, --lon, --plain");
    return false;
}

bool parse_number(const std::string& text, double& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return *end == '\0';
}

// Why a value has no text of its kind, or null when it has one.
const char* refusal(ang_type type, double value) {
    if (std::isnan(value)) return "NaN is not an angle";
    if (std::isinf(value)) return "an infinity is not an angle";
    if (value == jx::geo::kNoValue) return "222.222 is the library's \"no value\"";
    if (type == ang_latitude && std::fabs(value) > 90) return "a latitude lies within 90 degrees";
    if (type == ang_longitude && std::fabs(value) > 180)
        return "a longitude lies within 180 degrees";
    if (type == ang_plain && std::fabs(value) >= 1000) return "a plain angle is under 1000 degrees";
    return nullptr;
}

int run_angle(const Call& call) {
    int status = kOk;
    ang_type type = ang_latitude;
    if (!take_kind(call, type, status)) return status;
    const std::string decimals = call.value("--decimals", "0");
    if (decimals != "0" && decimals != "1" && decimals != "2")
        return call.usage_error("--decimals takes 0, 1 or 2");
    const Args& values = call.operands();
    if (values.empty()) return call.usage_error("no value given");
    std::vector<double> numbers;
    for (const std::string& text : values) {
        double value;
        if (!parse_number(text, value))
            return call.usage_error("not a number: '" + echo(text) + "'");
        numbers.push_back(value);
    }
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (const char* why = refusal(type, numbers[i])) {
            status = call.fail("'" + echo(values[i]) + "': " + why);
            continue;
        }
        char buffer[32];
        DegDec_Str(buffer, sizeof buffer, type, decimals[0] - '0', numbers[i]);
        // The plain text has no sign; the tool's reader needs one.
        const bool negative = type == ang_plain && Round_Coordinates(numbers[i]) < 0;
        out("%s%s\n", negative ? "-" : "", buffer);
    }
    return status;
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// Why the tool does not take a text as an angle, or null when it does. The
// library reads more than this (it skips what it does not know); a typing
// mistake should not become a coordinate.
const char* not_an_angle(const std::string& text, ang_type type) {
    if (std::none_of(text.begin(), text.end(), is_digit)) return "it has no digits";
    std::string body = text;
    while (!body.empty() && body.back() == ' ') body.pop_back();
    const std::string letters = type == ang_latitude ? "NSns" : type == ang_longitude ? "EWew" : "";
    if (!body.empty() && letters.find(body.back()) != std::string::npos) body.pop_back();
    std::vector<std::string> fields(1);
    for (size_t i = 0; i < body.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(body[i]);
        if (is_digit(body[i]) || c == '.') {
            fields.back() += body[i];
        } else if ((c == '-' || c == '+') && fields.size() == 1 && fields[0].empty() &&
                   body.find_first_not_of(' ') == i) {
            continue;
        } else if (c == ' ' || c == 0xB0 || c == 0xBA || c == '\'' || c == '"' || c == 0xB4 ||
                   (c >= 0x91 && c <= 0x94)) {
            // degree signs, apostrophes and quotes (the typographic ones too)
            if (!fields.back().empty()) fields.emplace_back();
        } else {
            return "it has characters other than digits, signs and marks";
        }
    }
    if (fields.back().empty()) fields.pop_back();
    if (fields.size() > 3) return "it has more than degrees, minutes and seconds";
    for (const std::string& f : fields) {
        if (f == ".") return "a point has no digits";
        if (std::count(f.begin(), f.end(), '.') > 1) return "a number has two points";
    }
    // The compact form: DDMMSS for latitudes, DDDMMSS otherwise.
    if (fields.size() == 1) {
        const size_t digits =
            fields[0].find('.') == std::string::npos ? fields[0].size() : fields[0].find('.');
        const size_t degree_digits = type == ang_latitude ? 2 : 3;
        if (digits == degree_digits + 4) {
            fields = {fields[0].substr(0, degree_digits), fields[0].substr(degree_digits, 2),
                      fields[0].substr(degree_digits + 2)};
        }
    }
    for (size_t i = 1; i < fields.size(); ++i)
        if (std::strtod(fields[i].c_str(), nullptr) >= 60)
            return i == 1 ? "its minutes are 60 or more" : "its seconds are 60 or more";
    return nullptr;
}

int run_parse_angle(const Call& call) {
    int status = kOk;
    ang_type type = ang_latitude;
    if (!take_kind(call, type, status)) return status;
    const Args& texts = call.operands();
    if (texts.empty()) return call.usage_error("no text given");
    if ((call.has("--default-south") && type != ang_latitude) ||
        (call.has("--default-west") && type != ang_longitude))
        return call.usage_error("--default-south goes with --lat, --default-west with --lon");
    // The library's flag means north for latitudes and west for longitudes.
    const bool flag =
        type == ang_latitude ? !call.has("--default-south") : call.has("--default-west");
    for (const std::string& text : texts) {
        const char* why = call.has("--lenient") ? nullptr : not_an_angle(text, type);
        double value = jx::geo::kNoValue;
        if (!why) {
            std::string copy = text; // the compact forms are cut in place
            DegStr_Dec(&copy[0], type, value, flag);
            if (value == jx::geo::kNoValue) why = "the library does not read it";
        }
        if (why) {
            out("not an angle\n");
            status = call.fail("'" + echo(text) + "' is not an angle: " + why);
        } else {
            out("%.8f\n", value);
        }
    }
    return status;
}

// The demo reads the site coordinates of the samples as users typed them and
// shows what the library reads and writes back.
int demo_angles(const std::string& samples_dir) {
    const std::string name = samples_dir + "/coordinates.txt";
    FILE* file = std::fopen(name.c_str(), "r");
    if (!file) {
        out("cannot open %s\n", name.c_str());
        return kFailed;
    }
    char line[512];
    int status = kOk;
    while (std::fgets(line, sizeof line, file)) {
        line[std::strcspn(line, "\r\n")] = '\0';
        if (line[0] == '#' || line[0] == '\0') continue;
        char* site = std::strtok(line, "\t");
        char* latitude = std::strtok(nullptr, "\t");
        char* longitude = std::strtok(nullptr, "\t");
        if (!site || !latitude || !longitude) continue;
        const std::string typed_lat = latitude, typed_lon = longitude;
        double lat = 0, lon = 0;
        DegStr_Dec(latitude, ang_latitude, lat, true);
        DegStr_Dec(longitude, ang_longitude, lon, true);
        char lat_text[32], lon_text[32];
        DegDec_Str(lat_text, sizeof lat_text, ang_latitude, 2, lat);
        DegDec_Str(lon_text, sizeof lon_text, ang_longitude, 2, lon);
        out("%-14s \"%s\" \"%s\"\n", site, typed_lat.c_str(), typed_lon.c_str());
        if (lat == jx::geo::kNoValue || lon == jx::geo::kNoValue) {
            out("%-14s ", "");
            expected("refused, not a coordinate");
            continue;
        }
        out("%-14s %.6f %.6f  ->  %s  %s\n", "", lat, lon, lat_text, lon_text);
    }
    std::fclose(file);

    char zone_text[8], meridian_text[16], frequency[32];
    char zone = 0, meridian = 0;
    char typed_zone[] = "18n";
    char typed_meridian[] = "75 W";
    string_to_utmzone(typed_zone, zone, true);
    string_to_meridian(typed_meridian, meridian, false);
    utmzone_to_string(zone_text, sizeof zone_text, zone);
    meridian_to_string(meridian_text, sizeof meridian_text, meridian);
    set_frequency_str(frequency, sizeof frequency, 7.125);
    out("zone \"18n\" -> %s, meridian \"75 W\" -> %d, frequency 7.125 GHz -> %s\n", zone_text,
        static_cast<signed char>(meridian), frequency);

    dPOINT area[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    out("point (5,5) in the square: %d; (15,5): %d; colour 11: 0x%06lX\n",
        pointInPoly(5, 5, area, 4), pointInPoly(15, 5, area, 4), get_40_clrref(11));
    return status;
}

const Registrar kAngleRegistrar(kAngle);
const Registrar kParseAngleRegistrar(kParseAngle);
const Registrar kDemoRegistrar(DemoStep{50, "Angle and coordinate texts", demo_angles});

} // namespace
} // namespace jxut
