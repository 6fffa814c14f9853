// What the library keeps from its load and from the host's start-up call.
#pragma once

#include "platform/win32.h"

#include <cstddef>
#include <cstdint>

// The host's records, with the fields the library reads. The library copies
// the constants whole (184 bytes) and keeps a pointer to the settings, which
// it reads afresh at each use; the other words belong to the host.
struct Global_Constants {
    int32_t host_words_0[4];
    int32_t int_no_value; // word 4: the integer no-value marker
    int32_t host_words_5[15];
    double metres_per_foot; // words 20 and 21: the length-unit factor
    int32_t host_words_22[24];
};
static_assert(sizeof(Global_Constants) == 184, "Global_Constants is 46 words");
static_assert(offsetof(Global_Constants, int_no_value) == 16, "the marker is word 4");
static_assert(offsetof(Global_Constants, metres_per_foot) == 80, "the factor is word 20");

struct Global_Settings {
    int32_t host_word_0;
    uint8_t metric_units; // byte 4: nonzero when the application works in metric units
    // the host's further settings follow; the library reads none of them
};
static_assert(offsetof(Global_Settings, metric_units) == 4, "the flag follows the first word");

JX_API void init_jx5_util(Global_Constants* constants, Global_Settings* settings);

namespace jx::frame {

constexpr unsigned kConstantsSize = 184;

// The library's own module handle, through which the catalog is loaded.
HINSTANCE module_handle();
// The system's decimal separator: at most two characters, zero-terminated.
const char* decimal_separator();
// Fields of the constants copy.
int int_no_value();
double length_unit_factor();
// The settings' metric-units flag, read afresh through the host's pointer.
// The host must have called init_jx5_util.
bool metric_units();
// Whether init_jx5_util has been called.
bool host_initialised();

} // namespace jx::frame
