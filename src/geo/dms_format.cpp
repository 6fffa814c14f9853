// Angles to degree-minute-second texts, and the rounding of stored
// coordinates to what those texts carry.
#include "angles.h"
#include "decimal_text.h"

#include <cmath>

namespace {

using jx::geo::detail::put_padded;

// Angles beyond a billion degrees are no angles the application stores; the
// bound keeps every count of degrees, minutes and seconds exact in a double
// and the text within 20 characters.
constexpr double kLargestAngle = 1e9;

char hemisphere_of(ang_type type, double angle) {
    if (angle == 0) return ' ';
    if (type == ang_latitude) return angle < 0 ? 'S' : 'N';
    if (type == ang_longitude) return angle < 0 ? 'W' : 'E';
    return ' ';
}

} // namespace

double Round_Coordinates(double angle) {
    return std::floor(angle * 360000.0 + 0.5) / 360000.0;
}

// The seconds are cut, not rounded, out of the hundredths of an arc-second;
// their remaining fraction then rounds the last decimal shown, and a rounding
// that reaches 60 carries into the minutes and on into the degrees, so that
// 10.999999 shows as "11 00 00 N" and never as "10 59 60 N".
//
// Decimals outside 0 to 2 are taken as the nearest of them: below 0 as 0,
// above 2 as 2 (the hundredth of a second is what the texts carry). NaN,
// infinities and angles of a billion degrees or more give an empty text, as
// the no-value marker does, so that no such text reads back as an angle.
void DegDec_Str(char* buffer, unsigned int size, ang_type type, int decimals, double angle) {
    if (!buffer || size == 0) return;
    buffer[0] = '\0';
    if (angle == jx::geo::kNoValue || !(std::fabs(angle) < kLargestAngle)) return;
    if (decimals < 0) decimals = 0;
    if (decimals > 2) decimals = 2;

    double x = std::fabs(angle) * 360000.0;
    long long degrees = static_cast<long long>(x / 360000.0);
    x -= static_cast<double>(degrees) * 360000.0;
    long long minutes = static_cast<long long>(x / 6000.0);
    x -= static_cast<double>(minutes) * 6000.0;
    long long seconds = static_cast<long long>(x / 100.0);
    const double hundredths = std::fabs(x - static_cast<double>(seconds) * 100.0);

    long long fraction = 0;
    if (decimals == 0) {
        if (hundredths >= 50) ++seconds;
    } else if (decimals == 1) {
        fraction = static_cast<long long>(std::floor(hundredths / 10.0 + 0.5));
        if (fraction >= 10) {
            ++seconds;
            fraction -= 10;
        }
    } else {
        fraction = static_cast<long long>(std::floor(hundredths + 0.5));
        if (fraction >= 100) {
            ++seconds;
            fraction -= 100;
        }
    }
    if (seconds >= 60) {
        seconds -= 60;
        ++minutes;
    }
    if (minutes >= 60) {
        minutes -= 60;
        ++degrees;
    }

    char text[32];
    char* p = put_padded(text, degrees, type == ang_latitude ? 2 : 3);
    *p++ = ' ';
    p = put_padded(p, minutes, 2);
    *p++ = ' ';
    p = put_padded(p, seconds, 2);
    if (decimals > 0) {
        *p++ = '.';
        p = put_padded(p, fraction, decimals);
    }
    // A plain angle ends with its seconds; the others end with a blank and
    // the hemisphere character (itself a blank for zero).
    if (type == ang_latitude || type == ang_longitude) {
        *p++ = ' ';
        *p++ = hemisphere_of(type, angle);
    }
    jx::geo::detail::copy_whole(buffer, size, text, static_cast<size_t>(p - text));
}
