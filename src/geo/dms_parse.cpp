// Degree-minute-second texts to angles.
#include "angles.h"
#include "decimal_text.h"

#include <cstring>

namespace {

using jx::geo::kNoValue;

// The characters of a number field; everything else separates fields.
bool is_field_char(char c) {
    return (c >= '0' && c <= '9') || c == '.';
}
bool is_digit(char c) {
    return c >= '0' && c <= '9';
}
bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

// A field this long cannot be a degree, minute or second count; refusing it
// keeps every field within the 24 bytes that this form always allowed it.
constexpr size_t kLongestField = 23;

bool all_digits(const char* text, size_t length) {
    for (size_t i = 0; i < length; ++i)
        if (!is_digit(text[i])) return false;
    return true;
}

double two_digits(const char* p) {
    return (p[0] - '0') * 10.0 + (p[1] - '0');
}

double dms_total(double degrees, double minutes, double seconds) {
    return degrees + minutes / 60.0 + seconds / 3600.0;
}

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

// The compact forms are cut in place: a NUL goes after the minute digits and
// another after the degree digits, so the caller's text afterwards reads as
// the degree digits alone. Hosts have always seen their text this way after
// a compact entry, and some use it.
void DegStr_Dec(char* text, ang_type type, double& angle, bool default_hemisphere) {
    angle = kNoValue;
    if (!text) return;
    const size_t length = std::strlen(text);

    if (type == ang_latitude && length == 6 && all_digits(text, 6)) {
        const double seconds = two_digits(text + 4);
        const double minutes = two_digits(text + 2);
        const double degrees = two_digits(text);
        text[4] = '\0';
        text[2] = '\0';
        angle = dms_total(degrees, minutes, seconds);
        return;
    }
    if (type == ang_longitude && length == 7 && all_digits(text, 7)) {
        const double seconds = two_digits(text + 5);
        const double minutes = two_digits(text + 3);
        const double degrees = (text[0] - '0') * 100.0 + two_digits(text + 1);
        text[5] = '\0';
        text[3] = '\0';
        const double total = dms_total(degrees, minutes, seconds);
        angle = default_hemisphere ? -total : total;
        return;
    }

    const char* p = text;
    while (is_blank(*p)) ++p;
    if (!*p) return;
    // Only the very last character can be a hemisphere letter: "45 30 N "
    // has none and falls under the default hemisphere.
    const char letter = upper(text[length - 1]);
    bool negative = false;
    if (*p == '-') {
        negative = true;
        ++p;
        while (is_blank(*p)) ++p;
    }

    double fields[3] = {0.0, 0.0, 0.0};
    for (int i = 0; i < 3 && *p; ++i) {
        const char* start = p;
        while (is_field_char(*p)) ++p;
        if (static_cast<size_t>(p - start) > kLongestField) return;
        fields[i] = jx::geo::detail::read_unsigned_decimal(start, p);
        while (*p && !is_field_char(*p)) ++p;
    }
    double total = dms_total(fields[0], fields[1], fields[2]);

    if (type == ang_latitude) {
        if (total >= 90.0) return; // the poles are no site latitudes
        if (letter == 'N') {
            angle = total;
        } else if (letter == 'S') {
            angle = -total;
        } else {
            if (negative) total = -total;
            angle = default_hemisphere ? total : -total;
        }
    } else if (type == ang_longitude) {
        if (total > 180.0) return;
        if (letter == 'W') {
            angle = -total;
        } else if (letter == 'E') {
            angle = total;
        } else {
            if (negative) total = -total;
            angle = default_hemisphere ? -total : total;
        }
    } else {
        // Plain angles, and kinds the host should not pass, take no letter
        // and no range test.
        angle = negative ? -total : total;
    }
}
