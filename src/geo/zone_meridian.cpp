// UTM zones and meridians to and from their short texts ("33N", "15° E").
#include "angles.h"
#include "decimal_text.h"

#include <cstring>

namespace {

using jx::geo::detail::copy_whole;
using jx::geo::detail::put_padded;

// The last character of a text in upper case, or 0 for an empty text.
char last_letter(const char* text) {
    const size_t length = std::strlen(text);
    if (length == 0) return '\0';
    const char c = text[length - 1];
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

int magnitude(int n) {
    return n < 0 ? -n : n;
}

// Reads a whole number of 1 to `limit` whose hemisphere is the letter at
// the very end of the text. A number without one of the two letters takes
// the default hemisphere as a factor, so a typed minus sign reverses it.
// False when the text holds no number in range.
bool read_hemisphere_number(const char* text, int limit, char positive, char negative,
                            bool default_positive, int& result) {
    int n;
    if (!text || !jx::geo::detail::read_leading_int32(text, n)) return false;
    if (magnitude(n) < 1 || magnitude(n) > limit) return false;
    const char letter = last_letter(text);
    if (letter == positive)
        result = magnitude(n);
    else if (letter == negative)
        result = -magnitude(n);
    else
        result = default_positive ? n : -n;
    return true;
}

} // namespace

// "-33" with the default south gives zone 33 north; numbers outside 1 to 60
// give no zone.
void string_to_utmzone(char* text, char& zone, bool default_north) {
    int result;
    zone = read_hemisphere_number(text, 60, 'N', 'S', default_north, result)
               ? static_cast<char>(result)
               : 0;
}

// Numbers outside 1 to 180 leave the meridian as it was. So do 128 to 180:
// the meridian is a signed byte, which cannot hold them, and storing them
// wrapped would put the meridian in the other hemisphere.
void string_to_meridian(char* text, char& meridian, bool default_west) {
    int result;
    if (!read_hemisphere_number(text, 180, 'E', 'W', !default_west, result)) return;
    if (result > 127 || result < -128) return;
    meridian = static_cast<char>(result);
}

namespace {

// "<magnitude><between><letter>", or an empty text for 0; a text that does
// not fit the buffer is not written in part.
void write_hemisphere_number(char* buffer, unsigned int size, char number, const char* between,
                             char positive, char negative) {
    const int value = static_cast<signed char>(number);
    char text[8];
    char* p = text;
    if (value != 0) {
        p = put_padded(p, magnitude(value), 1);
        for (; *between; ++between) *p++ = *between;
        *p++ = value > 0 ? positive : negative;
    }
    copy_whole(buffer, size, text, static_cast<size_t>(p - text));
}

} // namespace

void utmzone_to_string(char* buffer, unsigned int size, char zone) {
    write_hemisphere_number(buffer, size, zone, "", 'N', 'S');
}

// The degree sign is the byte 0xB0 of the ANSI code page.
void meridian_to_string(char* buffer, unsigned int size, char meridian) {
    write_hemisphere_number(buffer, size, meridian, "\xB0 ", 'E', 'W');
}
