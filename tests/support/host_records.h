// The host's start-up records as a host defines them, for tests.
#pragma once

#include "frame/startup.h"

#include <cstdint>
#include <cstring>

namespace jx::test {

// 46 words; the library reads word 4 (integer no-value marker) and words 20
// and 21 (metres per foot).
struct HostConstants {
    int32_t words[46] = {};
    void set_int_no_value(int32_t value) { words[4] = value; }
    void set_length_factor(double metres_per_foot) {
        std::memcpy(&words[20], &metres_per_foot, sizeof metres_per_foot);
    }
    Global_Constants* record() { return reinterpret_cast<Global_Constants*>(this); }
};
static_assert(sizeof(HostConstants) == 184, "the host's constants record is 184 bytes");

// The library reads the metric-units flag, the byte after the first word.
struct HostSettings {
    int32_t first_word = 0;
    uint8_t metric_units = 0;
    uint8_t rest[59] = {};
    Global_Settings* record() { return reinterpret_cast<Global_Settings*>(this); }
};

} // namespace jx::test
