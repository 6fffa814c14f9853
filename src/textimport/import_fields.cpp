// txtimport_format: the import loop, one line after another and the fields
// of each.
#include "txtimport_format.h"

#include "detail/format_rules.h"
#include "detail/text_scan.h"

#include <algorithm>
#include <cstring>

namespace {
// The one field buffer of the process: get_field's text stays valid until
// the next get_field on any format.
char g_field_buffer[txtimport_format::kFieldBufferSize];
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
    const char* p = line_buffer;
    if (!*p) return column == 0 ? destination : nullptr; // an empty line has one empty column

    constexpr size_t kRoom = kFieldBufferSize - 1;
    int field = 0;
    size_t length = 0;
    bool inside = false;
    for (; *p; ++p) {
        const char c = *p;
        if (c == delimiter && !inside) {
            if (field == column) break;
            ++field;
            if (merge_delimiters)
                while (p[1] == delimiter) ++p;
            continue;
        }
        if (field == column && length < kRoom) destination[length++] = c;
        if (use_quotes && c == '"') inside = !inside;
    }
    destination[length] = '\0';
    if (field != column) {
        destination[0] = '\0';
        return nullptr;
    }
    return destination;
}
