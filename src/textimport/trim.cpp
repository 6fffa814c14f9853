// In-place trimmers.
#include "field_functions.h"

#include <cstring>

namespace {
// Codes 1 to 32 go at the end of a text. Characters of the upper half of the
// code page stay: a site named "Bogotá" keeps its last letter.
bool trailing_blank(char c) {
    const unsigned char code = static_cast<unsigned char>(c);
    return code >= 1 && code <= 32;
}
} // namespace

extern "C" JX_API void strip_space(char* text) {
    if (!text) return;
    size_t start = 0;
    while (text[start] == ' ' || text[start] == '\t') ++start;
    if (start) std::memmove(text, text + start, std::strlen(text + start) + 1);
    for (size_t end = std::strlen(text); end > 0 && trailing_blank(text[end - 1]); --end)
        text[end - 1] = '\0';
}
