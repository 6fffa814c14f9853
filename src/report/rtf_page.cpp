// Reading the page geometry out of a report template's text.
#include "rtf_page.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace jx::report::detail {
namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// Skips a run of digits; counts them and how many came before the first
// non-zero one.
const char* skip_digits(const char* p, long& count, long& leading_zeros, bool& nonzero) {
    for (; is_digit(*p); ++p) {
        ++count;
        if (*p != '0') nonzero = true;
        if (!nonzero) ++leading_zeros;
    }
    return p;
}

} // namespace

double read_decimal(const char* text) {
    const char* p = text;
    while (is_blank(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    const char* start = p;
    long int_digits = 0, int_zeros = 0, frac_digits = 0, frac_zeros = 0;
    bool nonzero = false;
    p = skip_digits(p, int_digits, int_zeros, nonzero);
    const bool int_nonzero = nonzero;
    if (*p == '.') p = skip_digits(p + 1, frac_digits, frac_zeros, nonzero);
    if (int_digits + frac_digits == 0) return 0; // no number at all
    // The exponent belongs to the number only when digits follow it.
    long exponent = 0;
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        bool exp_negative = false;
        if (*q == '+' || *q == '-') exp_negative = *q++ == '-';
        if (is_digit(*q)) {
            for (; is_digit(*q); ++q)
                if (exponent < 100000) exponent = exponent * 10 + (*q - '0');
            if (exp_negative) exponent = -exponent;
            p = q;
        }
    }
    double value = 0;
    const auto result = std::from_chars(start, p, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Overflow or underflow: the position of the first significant digit
        // tells which.
        const long magnitude = (int_nonzero ? int_digits - int_zeros : -frac_zeros) + exponent;
        value = magnitude > 0 ? HUGE_VAL : 0.0;
    } else if (result.ec != std::errc()) {
        value = 0;
    }
    return negative ? -value : value;
}

bool read_rtf_page(const char* text, RtfPage& page) {
    const struct {
        const char* word;
        double RtfPage::*value;
    } words[] = {
        {"\\pgwsxn", &RtfPage::page_width},    {"\\pghsxn", &RtfPage::page_height},
        {"\\marglsxn", &RtfPage::margin_left}, {"\\margrsxn", &RtfPage::margin_right},
        {"\\margtsxn", &RtfPage::margin_top},  {"\\margbsxn", &RtfPage::margin_bottom},
    };
    for (const auto& w : words) {
        const char* found = std::strstr(text, w.word);
        if (!found) return false;
        page.*w.value = read_decimal(found + std::strlen(w.word));
    }
    return true;
}

} // namespace jx::report::detail
