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

} // namespace

// A number without a letter takes the default hemisphere as a factor, so a
// typed minus sign reverses it: "-33" with the default south gives zone 33
// north. Numbers outside 1 to 60 give no zone.
void string_to_utmzone(char* text, char& zone, bool default_north) {
    zone = 0;
    if (!text) return;
    int n;
    if (!jx::geo::detail::read_leading_int32(text, n)) return;
    if (magnitude(n) < 1 || magnitude(n) > 60) return;
    const char letter = last_letter(text);
    int result;
    if (letter == 'N')
        result = magnitude(n);
    else if (letter == 'S')
        result = -magnitude(n);
    else
        result = default_north ? n : -n;
    zone = static_cast<char>(result);
}

// Numbers outside 1 to 180 leave the meridian as it was. So do 128 to 180:
// the meridian is a signed byte, which cannot hold them, and storing them
// wrapped would put the meridian in the other hemisphere.
void string_to_meridian(char* text, char& meridian, bool default_west) {
    if (!text) return;
    int n;
    if (!jx::geo::detail::read_leading_int32(text, n)) return;
    if (magnitude(n) < 1 || magnitude(n) > 180) return;
    const char letter = last_letter(text);
    int result;
    if (letter == 'E')
        result = magnitude(n);
    else if (letter == 'W')
        result = -magnitude(n);
    else
        result = default_west ? -n : n;
    if (result > 127 || result < -128) return;
    meridian = static_cast<char>(result);
}

void utmzone_to_string(char* buffer, unsigned int size, char zone) {
    const int value = static_cast<signed char>(zone);
    char text[8];
    char* p = text;
    if (value != 0) {
        p = put_padded(p, magnitude(value), 1);
        *p++ = value > 0 ? 'N' : 'S';
    }
    copy_whole(buffer, size, text, static_cast<size_t>(p - text));
}

void meridian_to_string(char* buffer, unsigned int size, char meridian) {
    const int value = static_cast<signed char>(meridian);
    char text[8];
    char* p = text;
    if (value != 0) {
        p = put_padded(p, magnitude(value), 1);
        *p++ = '\xB0'; // the degree sign of the ANSI code page
        *p++ = ' ';
        *p++ = value > 0 ? 'E' : 'W';
    }
    copy_whole(buffer, size, text, static_cast<size_t>(p - text));
}
