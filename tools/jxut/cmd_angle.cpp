// jxut angle / parse-angle: decimal degrees to the texts users read, and the
// texts users type back to decimal degrees.
#include "command.h"

#include "jx6ut.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace jxut {
namespace {

int run_angle(const Args& args);
int run_parse_angle(const Args& args);

const Command kAngle = {"angle", "angle --lat|--lon|--plain [--decimals N] VALUE...",
                        "decimal degrees to degree-minute-second texts", run_angle};
const Command kParseAngle = {
    "parse-angle", "parse-angle --lat|--lon|--plain [--default-north|--default-west] TEXT...",
    "degree-minute-second texts to decimal degrees", run_parse_angle};

// The kind option, or false when none or more than one is given.
bool take_kind(const std::string& arg, int& kinds, ang_type& type) {
    if (arg == "--lat")
        type = ang_latitude;
    else if (arg == "--lon")
        type = ang_longitude;
    else if (arg == "--plain")
        type = ang_plain;
    else
        return false;
    ++kinds;
    return true;
}

bool parse_number(const std::string& text, double& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return *end == '\0' && errno != ERANGE;
}

int run_angle(const Args& args) {
    int kinds = 0;
    ang_type type = ang_latitude;
    int decimals = 0;
    Args values;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (take_kind(arg, kinds, type)) continue;
        if (arg == "--decimals") {
            if (i + 1 >= args.size()) return usage_error(kAngle, "--decimals needs a number");
            const std::string& n = args[++i];
            if (n != "0" && n != "1" && n != "2")
                return usage_error(kAngle, "--decimals takes 0, 1 or 2");
            decimals = n[0] - '0';
        } else if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            return usage_error(kAngle, "unknown option " + arg);
        } else {
            values.push_back(arg);
        }
    }
    if (kinds != 1) return usage_error(kAngle, "give one of --lat, --lon, --plain");
    if (values.empty()) return usage_error(kAngle, "no value given");
    for (const std::string& text : values) {
        double value;
        if (!parse_number(text, value)) return usage_error(kAngle, "not a number: " + text);
    }
    // 222.222 and values that are no angle print as an empty line, as the
    // host shows them.
    for (const std::string& text : values) {
        double value = 0;
        parse_number(text, value);
        char buffer[32];
        DegDec_Str(buffer, sizeof buffer, type, decimals, value);
        std::printf("%s\n", buffer);
    }
    return kOk;
}

int run_parse_angle(const Args& args) {
    int kinds = 0;
    ang_type type = ang_latitude;
    bool default_north = false;
    bool default_west = false;
    Args texts;
    for (const std::string& arg : args) {
        if (take_kind(arg, kinds, type)) continue;
        if (arg == "--default-north")
            default_north = true;
        else if (arg == "--default-west")
            default_west = true;
        else if (arg.size() > 2 && arg.compare(0, 2, "--") == 0)
            return usage_error(kParseAngle, "unknown option " + arg);
        else
            texts.push_back(arg);
    }
    if (kinds != 1) return usage_error(kParseAngle, "give one of --lat, --lon, --plain");
    if (texts.empty()) return usage_error(kParseAngle, "no text given");
    if ((default_north && type != ang_latitude) || (default_west && type != ang_longitude))
        return usage_error(kParseAngle,
                           "--default-north goes with --lat, --default-west with --lon");
    const bool flag = type == ang_latitude ? default_north : default_west;
    int status = kOk;
    for (const std::string& text : texts) {
        std::string copy = text; // the compact forms are cut in place
        double value = 0;
        DegStr_Dec(&copy[0], type, value, flag);
        if (value == jx::geo::kNoValue) {
            std::printf("no value\n");
            status = kFailed;
        } else {
            std::printf("%.8f\n", value);
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
        std::printf("cannot open %s\n", name.c_str());
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
        std::printf("%-14s \"%s\" \"%s\"\n", site, typed_lat.c_str(), typed_lon.c_str());
        if (lat == jx::geo::kNoValue || lon == jx::geo::kNoValue) {
            std::printf("%-14s not a coordinate (refused)\n", "");
            continue;
        }
        std::printf("%-14s %.6f %.6f  ->  %s  %s\n", "", lat, lon, lat_text, lon_text);
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
    std::printf("zone \"18n\" -> %s, meridian \"75 W\" -> %d, frequency 7.125 GHz -> %s\n",
                zone_text, static_cast<signed char>(meridian), frequency);

    dPOINT area[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    std::printf("point (5,5) in the square: %d; (15,5): %d; colour 11: 0x%06lX\n",
                pointInPoly(5, 5, area, 4), pointInPoly(15, 5, area, 4), get_40_clrref(11));
    return status;
}

const Registrar kAngleRegistrar(kAngle);
const Registrar kParseAngleRegistrar(kParseAngle);
const Registrar kDemoRegistrar(DemoStep{50, "Angle and coordinate texts", demo_angles});

} // namespace
} // namespace jxut
