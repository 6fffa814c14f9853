// The C runtime's calendar time and its ctime form, as the Windows runtime
// gives them: English names whatever the locale, and the day of the month
// zero-padded ("Fri Dec 04"), where the POSIX asctime pads with a blank. The
// clock stands behind a test seam so that a stamped line can be checked at a
// fixed time.
#include "layer.h"
#include "../testing.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <ctime>

namespace {

std::atomic<bool> g_clock_fixed{false};
std::atomic<int64_t> g_clock_value{0};

constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

} // namespace

extern "C" {

__time64_t _time64(__time64_t* out) {
    const __time64_t now =
        g_clock_fixed.load() ? g_clock_value.load() : static_cast<__time64_t>(std::time(nullptr));
    if (out) *out = now;
    return now;
}

// Times before 1970 or after the last second of the year 3000 (UTC) are
// refused as the Windows runtime refuses them, and so is a buffer that cannot
// hold the 26 characters of the form.
errno_t _ctime64_s(char* buffer, size_t size, const __time64_t* time) {
    if (!buffer || size == 0) return EINVAL;
    buffer[0] = '\0';
    constexpr __time64_t kLastSecond = 32535215999; // 3000-12-31 23:59:59 UTC
    if (size < 26 || !time || *time < 0 || *time > kLastSecond) return EINVAL;
    const time_t value = static_cast<time_t>(*time);
    struct tm local;
    if (!localtime_r(&value, &local)) return EINVAL;
    std::snprintf(buffer, size, "%s %s %02d %02d:%02d:%02d %4d\n", kDays[local.tm_wday % 7],
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
