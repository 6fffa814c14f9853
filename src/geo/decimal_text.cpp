// Locale-independent readers and writers of the numbers in angle and entry
// texts.
#include "decimal_text.h"

#include <charconv>
#include <climits>
#include <cstring>

namespace jx::geo::detail {
namespace {

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// Powers of ten that a double holds exactly.
constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The digits of a number without exponent, at most 15 of them: the integer
// they form is exact in a double and so is the power of ten, and one IEEE
// division of two exact values is correctly rounded, as the runtime's own
// conversion is. Longer numbers go to std::from_chars.
bool fast_decimal(const char* first, const char* last, double& value) {
    unsigned long long mantissa = 0;
    int digits = 0;
    int decimals = 0;
    bool after_point = false;
    for (const char* p = first; p != last; ++p) {
        if (*p == '.') {
            after_point = true;
            continue;
        }
        if (++digits > 15) return false;
        mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
        if (after_point) ++decimals;
    }
    value = static_cast<double>(mantissa) / kExactPowers[decimals];
    return true;
}

// The end of "digits [. digits]" from `p`, and whether it holds a digit.
const char* scan_mantissa(const char* p, const char* last, bool& has_digit) {
    has_digit = false;
    while (p != last && is_digit(*p)) {
        ++p;
        has_digit = true;
    }
    if (p != last && *p == '.') {
        ++p;
        while (p != last && is_digit(*p)) {
            ++p;
            has_digit = true;
        }
    }
    return p;
}

// Where a number that std::from_chars found out of range lies: above the
// doubles (true) or below them. The decimal exponent of its first significant
// digit decides; the exponent part saturates so that a long one cannot wrap.
bool too_large(const char* first, const char* last) {
    long exponent = 0;
    const char* p = first;
    long integer_digits = 0;
    long leading_fraction_zeros = 0;
    bool significant = false;
    while (p != last && *p == '0') ++p;
    while (p != last && is_digit(*p)) {
        ++integer_digits;
        ++p;
        significant = true;
    }
    if (p != last && *p == '.') {
        ++p;
        if (!significant) {
            while (p != last && *p == '0') {
                ++leading_fraction_zeros;
                ++p;
            }
        }
        while (p != last && is_digit(*p)) ++p;
    }
    if (p != last && (*p == 'e' || *p == 'E')) {
        ++p;
        bool negative = false;
        if (p != last && (*p == '+' || *p == '-')) negative = *p++ == '-';
        for (; p != last && is_digit(*p); ++p)
            if (exponent < 100000) exponent = exponent * 10 + (*p - '0');
        if (negative) exponent = -exponent;
    }
    const long position = significant ? integer_digits : -leading_fraction_zeros;
    return exponent + position > 0;
}

} // namespace

double read_unsigned_decimal(const char* first, const char* last) {
    bool has_digit;
    const char* end = scan_mantissa(first, last, has_digit);
    if (!has_digit) return 0.0;
    double value = 0.0;
    if (!fast_decimal(first, end, value))
        std::from_chars(first, end, value, std::chars_format::fixed);
    return value;
}

bool read_leading_double(const char* text, double& value) {
    value = 0.0;
    const char* p = text;
    const char* last = text + std::strlen(text);
    bool negative = false;
    if (p != last && (*p == '+' || *p == '-')) negative = *p++ == '-';
    const char* first = p;
    bool has_digit;
    const char* end = scan_mantissa(p, last, has_digit);
    if (!has_digit) return true;
    bool exponent = false;
    if (end != last && (*end == 'e' || *end == 'E')) {
        const char* q = end + 1;
        if (q != last && (*q == '+' || *q == '-')) ++q;
        if (q != last && is_digit(*q)) {
            while (q != last && is_digit(*q)) ++q;
            end = q;
            exponent = true;
        }
    }
    double magnitude = 0.0;
    if (exponent || !fast_decimal(first, end, magnitude)) {
        const auto result = std::from_chars(first, end, magnitude, std::chars_format::general);
        if (result.ec != std::errc()) {
            if (too_large(first, end)) return false;
            magnitude = 0.0;
        }
    }
    value = negative ? -magnitude : magnitude;
    return true;
}

bool read_leading_int32(const char* text, int& value) {
    value = 0;
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    long long magnitude = 0;
    for (; is_digit(*p); ++p) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > static_cast<long long>(INT_MAX) + 1) return false;
    }
    const long long signed_value = negative ? -magnitude : magnitude;
    if (signed_value > INT_MAX || signed_value < INT_MIN) return false;
    value = static_cast<int>(signed_value);
    return true;
}

char* put_padded(char* out, long long value, int width) {
    char digits[20];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0);
    for (int i = count; i < width; ++i) *out++ = '0';
    while (count > 0) *out++ = digits[--count];
    return out;
}

bool copy_whole(char* buffer, unsigned int size, const char* text, std::size_t length) {
    if (!buffer || size == 0) return false;
    if (length >= size) {
        buffer[0] = '\0';
        return false;
    }
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
    return true;
}

} // namespace jx::geo::detail
