// What the library keeps from its load and from the host's start-up call.
#pragma once

#include "platform/win32.h"

// The host's records. The library copies the constants whole (184 bytes) and
// keeps a pointer to the settings; it reads only the fields named below.
//
// Global_Constants, as 46 consecutive 32-bit words:
//   word 4        int32   the integer no-value marker
//   words 20..21  double  metres in a foot (the length-unit factor)
// Global_Settings:
//   byte 4        uint8   nonzero when the application works in metric units
struct Global_Constants;
struct Global_Settings;

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
