// Angle, zone, meridian and number texts as users might type them.
#include "frame/startup.h"
#include "geo/angles.h"
#include "geo/numeric_entry.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace {
struct HostRecords {
    int32_t constants[46] = {};
    unsigned char settings[64] = {};
    HostRecords() {
        constants[4] = -9999;
        const double feet = 0.3048;
        std::memcpy(&constants[20], &feet, sizeof feet);
        settings[4] = 1;
        init_jx5_util(reinterpret_cast<Global_Constants*>(constants),
                      reinterpret_cast<Global_Settings*>(settings));
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static HostRecords records;
    if (size < 1) return 0;
    const unsigned char selector = data[0];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    for (int type = 0; type < 3; ++type) {
        for (bool flag : {false, true}) {
            std::string copy = text;
            double angle = 0;
            DegStr_Dec(copy.data(), static_cast<ang_type>(type), angle, flag);
            char written[32];
            DegDec_Str(written, sizeof written, static_cast<ang_type>(type), selector % 4, angle);
        }
    }
    std::string copy = text;
    char zone = 0, meridian = 0;
    string_to_utmzone(copy.data(), zone, selector & 1);
    copy = text;
    string_to_meridian(copy.data(), meridian, selector & 2);
    char out[16];
    utmzone_to_string(out, sizeof out, zone);
    meridian_to_string(out, sizeof out, meridian);
    copy = text;
    const double value = get_valid_double(copy.data(), selector);
    copy = text;
    get_valid_int32(copy.data(), selector);
    char frequency[24];
    set_frequency_str(frequency, sizeof frequency, value);
    double raw;
    if (text.size() >= sizeof raw) {
        std::memcpy(&raw, text.data(), sizeof raw);
        DegDec_Str(out, sizeof out, static_cast<ang_type>(selector % 3), selector % 3, raw);
        set_frequency_str(out, sizeof out, raw);
    }
    return 0;
}
