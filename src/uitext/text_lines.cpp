#include "text_lines.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace jx::uitext {
namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

bool is_line_end(char c) {
    return c == '\r' || c == '\n' || c == '\0';
}

// Reads one physical line with fgets and notes a line cut by the buffer.
bool read_piece(FILE* file, char* buffer, unsigned size, LineInfo* info) {
    if (size < 2 || !std::fgets(buffer, static_cast<int>(size), file)) return false;
    if (info) {
        ++info->lines;
        const size_t length = std::strlen(buffer);
        if (length + 1 == size && buffer[length - 1] != '\n') {
            const int next = std::fgetc(file);
            if (next != EOF) {
                info->too_long = true;
                std::ungetc(next, file);
            }
        }
    }
    return true;
}

void trim_right(char* text, const char* drop) {
    size_t length = std::strlen(text);
    while (length > 0 && std::strchr(drop, text[length - 1])) text[--length] = '\0';
}

// atoi's reading, without its undefined overflow: saturates instead.
int read_int(const char* text) {
    const long value = std::strtol(text, nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

const char* skip_blanks(const char* at) {
    while (is_blank(*at)) ++at;
    return at;
}

} // namespace

int read_text_line(FILE* file, char* buffer, unsigned size, LineInfo* info) {
    for (;;) {
        if (!read_piece(file, buffer, size, info)) return -1;
        const char* start = skip_blanks(buffer);
        if (is_line_end(*start)) continue;
        int id = -2;
        const char* text = start;
        if (const char* comma = std::strchr(start, ',')) {
            id = read_int(start);
            text = skip_blanks(comma + 1);
        }
        std::memmove(buffer, text, std::strlen(text) + 1);
        if (char* comment = std::strstr(buffer, "//")) *comment = '\0';
        trim_right(buffer, " \t\r\n");
        return id;
    }
}

MenuLine read_menu_line(FILE* file, char* buffer, unsigned size, unsigned& length,
                        unsigned short& number, const char*& name, LineInfo* info) {
    length = 0;
    number = 0;
    name = nullptr;
    const char* start;
    for (;;) {
        std::memset(buffer, 0, size);
        if (!read_piece(file, buffer, size, info)) return kMenuEnd;
        start = skip_blanks(buffer);
        if (std::strncmp(start, "MENU_DEF", 8) == 0 || std::strncmp(start, "//", 2) == 0 ||
            *start == '\r' || *start == '\n' || *start == '\0')
            continue;
        break;
    }
    if (*start == '#') {
        const char* digits = start + 1;
        number = 1;
        if (*digits >= '0' && *digits <= '9') {
            const unsigned long value = std::strtoul(digits, nullptr, 10);
            number = static_cast<unsigned short>(value > 0xFFFF ? 0xFFFF : value);
        }
        return kMenuSeparator;
    }
    std::memmove(buffer, start, std::strlen(start) + 1);
    MenuLine kind = kMenuPlain;
    for (char* at = buffer; *at; ++at) {
        if (*at == '~') *at = '\t';
        if (*at != '|') continue;
        *at = '\0';
        char* marker = at + 1;
        if (*marker >= '0' && *marker <= '9') {
            const unsigned long value = std::strtoul(marker, nullptr, 10);
            number = static_cast<unsigned short>(value > 0xFFFF ? 0xFFFF : value);
            kind = kMenuPopup;
        } else {
            trim_right(marker, " \t\r\n");
            name = marker;
            kind = kMenuCommand;
        }
        break;
    }
    trim_right(buffer, kind == kMenuPlain ? " \t\r\n" : " \t");
    length = static_cast<unsigned>(std::strlen(buffer));
    return kind;
}

HeaderLine read_header_line(FILE* file, char* name, unsigned short& value, LineInfo* info) {
    char line[80];
    for (;;) {
        if (!read_piece(file, line, sizeof line, info)) return kHeaderEnd;
        const char* start = skip_blanks(line);
        if (std::strncmp(start, "#endif", 6) == 0) return kHeaderEnd;
        if (std::strncmp(start, "#ifndef __", 10) == 0 ||
            std::strncmp(start, "#define __", 10) == 0 || std::strncmp(start, "//", 2) == 0 ||
            is_line_end(*start))
            continue;
        // "#define %s %hd": the word, a name, a number (what follows is free).
        if (std::strncmp(start, "#define", 7) != 0) return kHeaderNotDefinition;
        const char* at = start + 7;
        while (*at == ' ' || *at == '\t' || *at == '\r' || *at == '\n') ++at;
        size_t n = 0;
        while (at[n] && !std::strchr(" \t\r\n", at[n]) && n < 79) ++n;
        if (n == 0) return kHeaderNotDefinition;
        std::memcpy(name, at, n);
        name[n] = '\0';
        at += n;
        while (*at == ' ' || *at == '\t' || *at == '\r' || *at == '\n') ++at;
        const char* digits = (*at == '-' || *at == '+') ? at + 1 : at;
        if (*digits < '0' || *digits > '9') return kHeaderNotDefinition;
        value = static_cast<unsigned short>(std::strtol(at, nullptr, 10));
        return kHeaderDefinition;
    }
}

} // namespace jx::uitext
