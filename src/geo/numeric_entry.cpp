// Typed numbers checked against their entry type, and frequency texts.
#include "numeric_entry.h"
#include "angles.h"
#include "decimal_text.h"

#include "frame/startup.h"
#include "textimport/field_functions.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

using jx::geo::kNoValue;

constexpr unsigned kEntryTypes = 20;

const char* const kAccepted[kEntryTypes] = {
    "",                    // 0
    "",                    // 1
    "+-.1234567890eE",     // 2
    "+.1234567890",        // 3
    "+-.1234567890",       // 4
    "+.1234567890xX",      // 5
    "+-.1234567890xX",     // 6
    "+1234567890",         // 7
    "+-1234567890",        // 8
    "+-.1234567890 nNsS",  // 9
    "+-.1234567890 eEwW",  // 10
    "+-1234567890nNsS",    // 11
    "+.1234567890fFmM",    // 12
    "+.1234567890xXfFmM",  // 13
    "+-.1234567890xXfFmM", // 14
    "+-.1234567890 ",      // 15
    "+.1234567890",        // 16
    "+.1234567890xX",      // 17
    "+.1234567890fFmM",    // 18
    "+.1234567890xXfFmM",  // 19
};

// Types from here on take a value of zero as no value.
constexpr unsigned kFirstZeroIsNoValue = 16;

// Every character of the text is in the entry type's set. A type outside
// the table has no set, so nothing passes it.
bool passes(const char* text, unsigned char entry_type) {
    if (entry_type >= kEntryTypes) return false;
    const char* accepted = kAccepted[entry_type];
    for (const char* p = text; *p; ++p)
        if (!std::strchr(accepted, *p)) return false;
    return true;
}

} // namespace

// A length typed with "f" is in feet and one typed with "m" in metres; the
// value is brought to the application's unit with the host's factor. Without
// a usable factor (the host has not called init_jx5_util, or gave zero) such
// a conversion cannot be made, and the text gets no value rather than an
// infinite one. So does a number too large for a double.
extern "C" JX_API double get_valid_double(char* text, unsigned char entry_type) {
    if (!text) return kNoValue;
    strip_space(text);
    if (!*text || *text == 'x' || *text == 'X') return kNoValue;
    if (!passes(text, entry_type)) return kNoValue;
    double value;
    if (!jx::geo::detail::read_leading_double(text, value)) return kNoValue;
    if (value == 0 && entry_type >= kFirstZeroIsNoValue) return kNoValue;

    const char unit = text[std::strlen(text) - 1];
    const bool feet = unit == 'f' || unit == 'F';
    const bool metres = unit == 'm' || unit == 'M';
    const bool metric = (feet || metres) && jx::frame::metric_units();
    if ((feet && metric) || (metres && !metric)) {
        const double factor = jx::frame::length_unit_factor();
        if (!(factor > 0) || !std::isfinite(factor)) return kNoValue;
        value = feet ? value * factor : value / factor;
        if (!std::isfinite(value)) return kNoValue;
    }
    return value;
}

// The letter x means nothing here, and a number outside the 32-bit range is
// refused rather than cut to the nearest int.
extern "C" JX_API int get_valid_int32(char* text, unsigned char entry_type) {
    const int no_value = jx::frame::int_no_value();
    if (!text) return no_value;
    strip_space(text);
    if (!*text || !passes(text, entry_type)) return no_value;
    int value;
    if (!jx::geo::detail::read_leading_int32(text, value)) return no_value;
    return value;
}

// The trailing zeros are cut relative to the system's decimal separator, but
// the text is formatted by the C runtime, whose decimal point is the point
// unless the host changed the C locale. When the two differ the separator is
// not found and every trailing zero goes ("100." for 100 under a comma
// separator); hosts have always shown frequencies that way on such systems.
//
// NaN and infinities are written as an empty text like the no-value marker,
// and a text that does not fit the buffer leaves it empty rather than cut
// into another number.
extern "C" JX_API void set_frequency_str(char* buffer, unsigned int size, double value) {
    if (!buffer || size == 0) return;
    buffer[0] = '\0';
    if (value == kNoValue || !std::isfinite(value)) return;
    // The longest finite double with eight decimals takes 318 characters.
    char text[400];
    const int written = std::snprintf(text, sizeof text, "%.8f", value);
    if (written <= 0 || static_cast<size_t>(written) >= sizeof text) return;
    size_t length = static_cast<size_t>(written);

    const char separator = jx::frame::decimal_separator()[0];
    const char* found = separator ? std::strchr(text, separator) : nullptr;
    const size_t keep = found ? static_cast<size_t>(found - text) + 3 : 0;
    while (length > keep && text[length - 1] == '0') text[--length] = '\0';
    jx::geo::detail::copy_whole(buffer, size, text, length);
}
