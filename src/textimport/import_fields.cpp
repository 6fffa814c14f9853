// txtimport_format: the import loop, one line after another and the fields
// of each.
#include "txtimport_format.h"

#include "detail/format_rules.h"
#include "detail/text_scan.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// The one field buffer of the process: get_field's text stays valid until
// the next get_field on any format.
char g_field_buffer[txtimport_format::kFieldBufferSize];

// The fields of the current line, found in one walk at the first get_field
// of the line: the import loop asks for the fields of a line one after
// another, and walking the columns before each again would cost a walk per
// field. Like the field buffer this exists once for the process.
//
// The walk is kept for a copy of the line's text and the options, never for
// an address: line_buffer is a public field, and a host may write a new line
// into it, or a copied format may get a new buffer at the old address, with
// no call that the library sees. Comparing the text costs far less than a
// walk, and the answer is always the fields of what line_buffer holds now.
// The walk runs over the copy, whose zeroed slack lets it load whole words
// past the terminator whatever buffer the host handed in.
//
// The first 64 fields are kept; a field after them is found by walking on
// from the end of the 64th.
constexpr int kKeptFields = 64;
constexpr size_t kWordSlack = 8;
struct LineFields {
    char* text;      // copy of the line last walked; null until the first walk
    size_t capacity; // bytes at text, slack included
    char delimiter;
    bool use_quotes;
    bool merge_delimiters;
    int count; // fields kept
    bool more; // the line has fields after the kept ones
    size_t starts[kKeptFields];
    size_t ends[kKeptFields];
};
LineFields g_fields;

// Takes a copy of `line` for the walk; false when no memory could be had.
bool remember_line(LineFields& f, const char* line) {
    const size_t length = std::strlen(line);
    if (length + 1 + kWordSlack > f.capacity) {
        const size_t capacity = std::max<size_t>(256, (length + 1 + kWordSlack) * 2);
        char* text = static_cast<char*>(std::realloc(f.text, capacity));
        if (!text) return false;
        f.text = text;
        f.capacity = capacity;
    }
    std::memcpy(f.text, line, length + 1);
    std::memset(f.text + length + 1, 0, kWordSlack);
    return true;
}

// The end of the field that starts at `p`: the first delimiter outside
// quotes, or the terminator. A field always starts outside quotes, and a
// quote hides everything up to the next one.
const char* field_end(const char* p, char delimiter, bool use_quotes) {
    for (;;) {
        const char c = *p;
        if (!c || c == delimiter) return p;
        ++p;
        if (use_quotes && c == '"') {
            while (*p && *p != '"') ++p;
            if (*p) ++p;
        }
    }
}

// Past a delimiter, and with merging past those that follow it directly.
const char* next_start(const char* delimiter_at, bool merge) {
    const char delimiter = *delimiter_at;
    const char* p = delimiter_at + 1;
    if (merge)
        while (*p == delimiter) ++p;
    return p;
}

// Ends the field that ends at `end`; false when no more fields are kept.
inline bool end_field(LineFields& f, size_t end) {
    f.ends[f.count++] = end;
    return f.count < kKeptFields;
}

// Byte by byte, for processors that load words the other way round.
void split_bytes(LineFields& f) {
    const char* const line = f.text;
    const char* p = line;
    for (;;) {
        const char* end = field_end(p, f.delimiter, f.use_quotes);
        f.starts[f.count] = static_cast<size_t>(p - line);
        if (!end_field(f, static_cast<size_t>(end - line))) {
            f.more = *end != '\0';
            return;
        }
        if (!*end) return;
        p = next_start(end, f.merge_delimiters);
    }
}

// Eight bytes at a time: a byte equal to c is a zero byte of the word XOR c
// repeated, and zero_bytes flags exactly the zero bytes of a word, in their
// high bits. Only the flagged bytes (terminator, delimiter, quote) are then
// looked at, in order. The copy's slack keeps every word that starts at or
// before the terminator inside it.
constexpr uint64_t kOnes = 0x0101010101010101ull;
constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;

inline uint64_t zero_bytes(uint64_t word) {
    return ~(((word & kLow7) + kLow7) | word | kLow7);
}

void split_words(LineFields& f) {
    const char* const line = f.text;
    const char delimiter = f.delimiter;
    const bool quotes = f.use_quotes;
    const uint64_t delimiters = kOnes * static_cast<unsigned char>(delimiter);
    const uint64_t quote_marks = kOnes * static_cast<unsigned char>(quotes ? '"' : '\0');
    bool inside = false;
    size_t next = 0; // bytes before this one are already taken
    f.starts[0] = 0;
    for (size_t base = 0;; base += 8) {
        uint64_t word;
        std::memcpy(&word, line + base, sizeof word);
        uint64_t hits =
            zero_bytes(word) | zero_bytes(word ^ delimiters) | zero_bytes(word ^ quote_marks);
        for (; hits; hits &= hits - 1) {
            const size_t at = base + (static_cast<unsigned>(__builtin_ctzll(hits)) >> 3);
            if (at < next) continue; // a delimiter merged into the one before
            const char c = line[at];
            if (c == '\0') {
                end_field(f, at);
                return;
            }
            if (c == delimiter && !inside) {
                if (!end_field(f, at)) {
                    f.more = true;
                    return;
                }
                next = at + 1;
                if (f.merge_delimiters)
                    while (line[next] == delimiter) ++next;
                f.starts[f.count] = next;
            } else if (quotes && c == '"') {
                inside = !inside;
            }
        }
    }
}

// Whether the first byte in memory is the low byte of a loaded word.
inline bool low_byte_first() {
    const uint16_t probe = 1;
    unsigned char first;
    std::memcpy(&first, &probe, 1);
    return first == 1;
}

void split_line(LineFields& f) {
    f.count = 0;
    f.more = false;
    if (low_byte_first())
        split_words(f);
    else
        split_bytes(f);
}

// Copies a field, cut to the field buffer's room. Fields are short: eight
// bytes at a time beats the block copy a compiler would make of a copy of
// unknown length, whose start-up costs more than the whole field.
char* copy_field(char* destination, const char* field, size_t length) {
    length = std::min<size_t>(length, txtimport_format::kFieldBufferSize - 1);
    size_t at = 0;
    for (; at + 8 <= length; at += 8) std::memcpy(destination + at, field + at, 8);
    for (; at < length; ++at) destination[at] = field[at];
    destination[length] = '\0';
    return destination;
}

} // namespace

bool txtimport_format::init_import() {
    const int first = jx::textimport::first_line_of(*this);
    current_line = first - 2;
    return first - 2 <= lines.count - 1;
}

// Past the end of the lines current_line stays at lines.count, so calling on
// after a false result keeps answering false.
bool txtimport_format::set_line_buffer(int& index) {
    if (current_line < lines.count) ++current_line;
    index = current_line;
    if (current_line < 0 || current_line >= lines.count) return false;
    if (!line_buffer || line_buffer_size == 0) return false;
    const char* line = lines.strings[current_line];
    const size_t length = std::min<size_t>(std::strlen(line), line_buffer_size - 1);
    std::memcpy(line_buffer, line, length);
    line_buffer[length] = '\0';
    return true;
}

char* txtimport_format::get_field(int n) {
    int column = n;
    if (!column_headers) {
        if (n < 0) return nullptr; // no kind is numbered below 0
        const int assigned = col_fields ? std::min(num_columns, num_col_fields) : 0;
        const long long wanted = static_cast<long long>(n) + 1;
        column = -1;
        for (int c = 0; c < assigned; ++c) {
            if (col_fields[c] == wanted) {
                column = c;
                break;
            }
        }
        if (column < 0) return nullptr;
    }
    if (fixed_width) return parse_fixed(column, g_field_buffer, kFieldBufferSize);
    return parse_delim(column, g_field_buffer);
}

// Column c of the line covers offsets col_positions[c] up to (not including)
// col_positions[c + 1], the last column up to the end of the line, and is
// trimmed as strip_space trims. A column wider than the destination is cut
// to what fits (size - 1 characters), then trimmed again at its new end.
char* txtimport_format::parse_fixed(int column, char* destination, int size) {
    if (!destination || size <= 0) return nullptr;
    destination[0] = '\0';
    if (!line_buffer || !col_positions || column < 0 || column >= num_columns) return nullptr;
    const size_t length = std::strlen(line_buffer);
    const auto clamp_offset = [length](long long offset) {
        return static_cast<size_t>(
            std::clamp<long long>(offset, 0, static_cast<long long>(length)));
    };
    const size_t from = clamp_offset(col_positions[column]);
    const size_t to = column == num_columns - 1 ? length : clamp_offset(col_positions[column + 1]);
    if (from >= to) return nullptr;

    const char* begin = line_buffer + from;
    const char* end = line_buffer + to;
    jx::textimport::trim_range(begin, end);
    if (end - begin > size - 1) {
        end = begin + (size - 1);
        jx::textimport::trim_range(begin, end);
    }
    if (begin == end) return nullptr;
    const size_t count = static_cast<size_t>(end - begin);
    std::memcpy(destination, begin, count);
    destination[count] = '\0';
    return destination;
}

// Delimited fields keep their blanks and their quote characters. A field
// longer than the field buffer is cut to its first 79 characters; the walk
// goes on to the field's real end, so the columns after it are found as
// they are.
char* txtimport_format::parse_delim(int column, char* destination) {
    if (!destination) return nullptr;
    destination[0] = '\0';
    if (!line_buffer || column < 0) return nullptr;
    const char* const line = line_buffer;
    if (!*line) return column == 0 ? destination : nullptr; // an empty line has one empty column

    LineFields& f = g_fields;
    if (!f.text || f.delimiter != delimiter || f.use_quotes != use_quotes ||
        f.merge_delimiters != merge_delimiters || std::strcmp(f.text, line) != 0) {
        if (!remember_line(f, line)) return nullptr;
        f.delimiter = delimiter;
        f.use_quotes = use_quotes;
        f.merge_delimiters = merge_delimiters;
        split_line(f);
    }
    if (column < f.count)
        return copy_field(destination, f.text + f.starts[column],
                          f.ends[column] - f.starts[column]);
    if (!f.more) return nullptr;

    const char* end = f.text + f.ends[kKeptFields - 1];
    for (int field = kKeptFields; field <= column; ++field) {
        if (!*end) return nullptr;
        const char* start = next_start(end, merge_delimiters);
        end = field_end(start, delimiter, use_quotes);
        if (field == column)
            return copy_field(destination, start, static_cast<size_t>(end - start));
    }
    return nullptr;
}
