// In-place trimmers.
#include "field_functions.h"

#include "detail/text_scan.h"

#include <cstring>

namespace {

bool quote_start(char c) {
    return c == ' ' || c == '\t' || c == '"';
}
bool quote_end(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '"';
}
bool wide_quote_start(WCHAR c) {
    return c == u' ' || c == u'\t' || c == u'"';
}
bool wide_quote_end(WCHAR c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'"';
}

template <class Char> size_t length_of(const Char* text) {
    size_t n = 0;
    while (text[n]) ++n;
    return n;
}

// Removes a run of leading characters by moving the rest, terminator
// included, to the front; then writes terminators over the trailing run,
// never past the first character.
template <class Char, class Start, class End> void trim(Char* text, Start at_start, End at_end) {
    size_t start = 0;
    while (text[start] && at_start(text[start])) ++start;
    size_t length = length_of(text + start);
    if (start) std::memmove(text, text + start, (length + 1) * sizeof(Char));
    while (length > 0 && at_end(text[length - 1])) text[--length] = 0;
}

} // namespace

extern "C" JX_API void strip_space(char* text) {
    if (!text) return;
    trim(text, jx::textimport::leading_blank, jx::textimport::trailing_blank);
}

// Quotes are not paired: any mix of blanks and quotes goes at either end, so
// two quotes, abc and two more quotes give abc. A null pointer is accepted
// here too, although callers are not meant to pass one.
extern "C" JX_API void strip_space_quotes(char* text) {
    if (!text) return;
    trim(text, quote_start, quote_end);
}

extern "C" JX_API void strip_space_quotes_wide(WCHAR* text) {
    if (!text) return;
    trim(text, wide_quote_start, wide_quote_end);
}
