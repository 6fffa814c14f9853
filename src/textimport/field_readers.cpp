// Readers of field n of a line, and the single-character tokenizer.
//
// Neither reader changes the line: both find the field's bounds in place and
// copy only the result, so the destination is written once, and only when
// the whole field fits.
#include "field_functions.h"

#include "detail/text_scan.h"

#include <cstring>

namespace {

// The next `c` at or after `p`, or null. A terminator is never a match, so a
// delimiter or quote character of 0 simply never occurs in a line.
const char* find_char(const char* p, char c) {
    if (c == '\0') return nullptr;
    return std::strchr(p, c);
}

const char* line_end(const char* p) {
    return p + std::strlen(p);
}

const char* skip_blanks(const char* p) {
    while (*p == ' ') ++p;
    return p;
}

// The destination receives [begin, end) only when it fits with its
// terminator; on false it is left as it was.
bool deliver(const char* begin, const char* end, char* destination, int size) {
    if (!destination || size <= 0) return false;
    const size_t length = static_cast<size_t>(end - begin);
    if (length >= static_cast<size_t>(size)) return false;
    std::memcpy(destination, begin, length);
    destination[length] = '\0';
    return true;
}

// Where a field that may begin with a quote stops protecting delimiters: at
// its closing quote, or at the end of the line when there is none.
const char* past_quoted_part(const char* p, char quote) {
    if (quote == '\0' || *p != quote) return p;
    const char* closing = find_char(p + 1, quote);
    return closing ? closing : line_end(p);
}

} // namespace

extern "C" JX_API bool get_field_data(const char* line, int n, char* destination, int size,
                                      char delimiter) {
    if (!line) return false;
    const char* p = line;
    const char* end;
    if (delimiter == ' ') {
        p = skip_blanks(p);
        for (int i = 0; i < n; ++i) {
            while (*p && *p != ' ') ++p;
            if (!*p) return false;
            p = skip_blanks(p);
            if (!*p) return false;
        }
        end = find_char(p, ' ');
    } else {
        for (int i = 0; i < n; ++i) {
            const char* next = find_char(p, delimiter);
            if (!next) return false;
            p = next + 1;
        }
        end = find_char(p, delimiter);
    }
    if (!end) end = line_end(p);

    jx::textimport::trim_range(p, end);
    if (p < end && *p == '"') ++p;
    if (end > p && end[-1] == '"') --end;
    return deliver(p, end, destination, size);
}

extern "C" JX_API bool GetFieldData(const char* line, int n, char* destination, int size,
                                    char delimiter, char quote) {
    if (!line) return false;
    const char* p = line;
    const char* end;
    if (delimiter == ' ') {
        p = skip_blanks(p);
        for (int i = 0; i < n; ++i) {
            p = find_char(past_quoted_part(p, quote), ' ');
            if (!p) return false;
            p = skip_blanks(p);
            if (!*p) return false;
        }
        end = find_char(past_quoted_part(p, quote), ' ');
    } else {
        for (int i = 0; i < n; ++i) {
            p = skip_blanks(p);
            if (!*p) return false;
            if (quote != '\0' && *p == quote) {
                p = find_char(p + 1, quote);
                if (!p) return false;
            }
            p = find_char(p, delimiter);
            if (!p) return false;
            ++p;
        }
        p = skip_blanks(p);
        end = find_char(past_quoted_part(p, quote), delimiter);
    }
    if (!end) end = line_end(p);

    // Whatever the quote character, double quotes are what the clean-up
    // removes: every leading one (with the blanks among them) and one at the
    // end.
    while (p < end && (*p == ' ' || *p == '"')) ++p;
    if (end > p && end[-1] == '"') --end;
    return deliver(p, end, destination, size);
}

namespace {
// Where the next token of the current splitting starts.
char* g_token_cursor = nullptr;
} // namespace

JX_API char* get_delimited_fields(char* text, char delimiter) {
    char* start = text;
    if (!start) {
        // Once used up, the cursor lets go of the string, so that later calls
        // answer null without reading memory the caller may have freed.
        if (!g_token_cursor || !*g_token_cursor) {
            g_token_cursor = nullptr;
            return nullptr;
        }
        start = g_token_cursor;
    }
    char* p = start;
    while (*p && *p != delimiter) ++p;
    if (*p) {
        *p = '\0';
        g_token_cursor = p + 1;
    } else {
        g_token_cursor = p;
    }
    return start;
}
