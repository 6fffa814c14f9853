// Number reading and writing shared by the angle texts and the numeric entry
// checks. Internal to the library.
//
// The readers take the point as the decimal point whatever C locale the host
// may have set: every entry type and angle text of the library spells its
// decimals with a point, so a host that switched the C runtime to a comma
// locale must not see "12.5" read as 12.
#pragma once

#include <cstddef>

namespace jx::geo::detail {

// Reads a run of digits and points the way the C runtime's atof reads it:
// digits, at most one point, digits; reading stops at a second point. An
// empty run, or one without digits, reads as 0.
double read_unsigned_decimal(const char* first, const char* last);

// The leading decimal number of a text as atof reads it: an optional sign,
// digits with an optional point, an optional exponent. No leading white space
// is skipped (the callers have stripped it) and hexadecimal, "inf" and "nan"
// are not numbers here. A text without a number reads as 0. Returns false
// only when the number is too large for a double; a number too small for one
// reads as 0.
bool read_leading_double(const char* text, double& value);

// The leading whole number of a text as atoi reads it: white space, an
// optional sign, digits. A text without one reads as 0. Returns false when
// the number lies outside the 32-bit range.
bool read_leading_int32(const char* text, int& value);

// Writes `value` (not negative) with at least `width` digits, zero-padded,
// and returns the end of what it wrote. `out` must have room for 20 bytes.
char* put_padded(char* out, long long value, int width);

// Copies a finished text into a caller's buffer of `size` bytes. A text that
// does not fit is not cut into a different number: the buffer then receives
// an empty text. Returns whether the text fitted.
bool copy_whole(char* buffer, unsigned int size, const char* text, std::size_t length);

} // namespace jx::geo::detail
