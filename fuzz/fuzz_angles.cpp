// Angle, zone, meridian and number texts as users might type them. The first
// byte chooses the kind of angle, the default hemispheres, the decimals and
// the entry type; the rest is the text.
#include "frame/startup.h"
#include "geo/angles.h"
#include "geo/numeric_entry.h"

#include <cstdint>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Global_Constants constants = {};
    static Global_Settings settings = {};
    static const bool started = [] {
        constants.int_no_value = -9999;
        constants.metres_per_foot = 0.3048;
        settings.metric_units = 1;
        init_jx5_util(&constants, &settings);
        return true;
    }();
    if (size < 1 || !started) return 0;
    const unsigned char selector = data[0];
    const auto type = static_cast<ang_type>((selector >> 3) % 3);
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    // Each reader gets its own copy: the readers strip and cut their text.
    auto copy = [&text] { return std::string(text); };
    double angle = 0;
    DegStr_Dec(copy().data(), type, angle, selector & 4);
    char written[32], zone = 0, meridian = 0, out[16];
    DegDec_Str(written, sizeof written, type, selector % 4, angle);
    string_to_utmzone(copy().data(), zone, selector & 1);
    string_to_meridian(copy().data(), meridian, selector & 2);
    utmzone_to_string(out, sizeof out, zone);
    meridian_to_string(out, sizeof out, meridian);
    const double value = get_valid_double(copy().data(), selector);
    get_valid_int32(copy().data(), selector);
    set_frequency_str(written, sizeof written, value);
    double raw;
    if (text.size() >= sizeof raw) {
        std::memcpy(&raw, text.data(), sizeof raw);
        DegDec_Str(out, sizeof out, type, selector % 3, raw);
        set_frequency_str(out, sizeof out, raw);
    }
    return 0;
}
