// Character rules shared by the trimmers, the field readers and fixed-width
// field reading, so that all of them cut a text the same way.
#pragma once

#include <cstddef>

namespace jx::textimport {

inline bool leading_blank(char c) {
    return c == ' ' || c == '\t';
}

// Codes 1 to 32 go at the end of a text. Characters of the upper half of the
// code page stay: a site named "Bogotá" keeps its last letter.
inline bool trailing_blank(char c) {
    const unsigned char code = static_cast<unsigned char>(c);
    return code >= 1 && code <= 32;
}

// The range [begin, end) without leading blanks and tabs and without
// trailing codes 1 to 32.
inline void trim_range(const char*& begin, const char*& end) {
    while (begin < end && leading_blank(*begin)) ++begin;
    while (end > begin && trailing_blank(end[-1])) --end;
}

} // namespace jx::textimport
