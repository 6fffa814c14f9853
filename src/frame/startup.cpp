// Process-wide state of the library: set by the load-time entry point and by
// the host's start-up call, read by the catalog and the numeric entry checks.
#include "startup.h"

#include <cstdint>
#include <cstring>

namespace {

HINSTANCE g_module = nullptr;
char g_decimal_separator[3] = ".";

// The host's constants, copied whole; all zero until init_jx5_util.
struct ConstantsCopy {
    uint32_t words[46];
};
static_assert(sizeof(ConstantsCopy) == jx::frame::kConstantsSize,
              "the constants copy is 184 bytes");

ConstantsCopy g_constants = {};
const unsigned char* g_settings = nullptr;
bool g_initialised = false;

constexpr size_t kIntNoValueWord = 4;
constexpr size_t kLengthFactorWord = 20;
constexpr size_t kMetricFlagOffset = 4; // the byte after the settings' first word

} // namespace

// Runs for every attach and detach, always storing the same values. A
// separator that does not fit leaves the buffer as it was: zero-terminated.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD, LPVOID) {
    g_module = instance;
    char separator[3] = {};
    if (GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator) > 0)
        std::memcpy(g_decimal_separator, separator, sizeof separator);
    return TRUE;
}

// A host that passes no constants record gets an all-zero copy, the state
// before the first call, rather than a read through a null pointer.
void init_jx5_util(Global_Constants* constants, Global_Settings* settings) {
    if (constants)
        std::memcpy(&g_constants, constants, sizeof g_constants);
    else
        g_constants = ConstantsCopy{};
    g_settings = reinterpret_cast<const unsigned char*>(settings);
    g_initialised = true;
}

namespace jx::frame {

HINSTANCE module_handle() {
    return g_module;
}
const char* decimal_separator() {
    return g_decimal_separator;
}

int int_no_value() {
    int32_t value;
    std::memcpy(&value, &g_constants.words[kIntNoValueWord], sizeof value);
    return value;
}

double length_unit_factor() {
    double value;
    std::memcpy(&value, &g_constants.words[kLengthFactorWord], sizeof value);
    return value;
}

bool metric_units() {
    return g_settings && g_settings[kMetricFlagOffset] != 0;
}

bool host_initialised() {
    return g_initialised;
}

} // namespace jx::frame
