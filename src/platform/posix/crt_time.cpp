// The C runtime's time functions over POSIX, with the clock behind a test
// seam so that a stamped line can be checked at a fixed time.
#include "layer.h"
#include "../testing.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <ctime>

namespace {

std::atomic<bool> g_clock_fixed{false};
std::atomic<int64_t> g_clock_value{0};

// The runtime writes English names whatever the locale says.
constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

} // namespace

extern "C" {

__time64_t _time64(__time64_t* result) {
    const __time64_t now =
        g_clock_fixed.load() ? g_clock_value.load() : static_cast<__time64_t>(std::time(nullptr));
    if (result) *result = now;
    return now;
}

// The Windows form: the day of the month with a leading zero, not a blank,
// and 26 bytes needed with the line feed and the terminator.
int _ctime64_s(char* buffer, size_t size, const __time64_t* time) {
    if (!buffer || size == 0) return EINVAL;
    buffer[0] = '\0';
    if (!time || *time < 0 || size < 26) return EINVAL;
    const time_t seconds = static_cast<time_t>(*time);
    struct tm local;
    if (!localtime_r(&seconds, &local) || local.tm_year + 1900 > 9999) return EINVAL;
    std::snprintf(buffer, size, "%s %s %02d %02d:%02d:%02d %04d\n", kDays[local.tm_wday % 7],
                  kMonths[local.tm_mon % 12], local.tm_mday, local.tm_hour, local.tm_min,
                  local.tm_sec, local.tm_year + 1900);
    return 0;
}
}

namespace jx::testing {

ScopedClock::ScopedClock(int64_t seconds) {
    g_clock_value = seconds;
    g_clock_fixed = true;
}

ScopedClock::~ScopedClock() {
    g_clock_fixed = false;
}

} // namespace jx::testing
