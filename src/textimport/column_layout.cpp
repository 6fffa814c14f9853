// txtimport_format: the column layout of the preview (delimited grid or
// fixed-width boundaries), room for labels, and the check of the column
// assignments.
#include "txtimport_format.h"

#include "frame/catalog.h"
#include "frame/catalog_ids.h"
#include "platform/ui_hooks.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

int saturate(long long value) {
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// Fills a catalog format with two numbers and a text, in the order their %d
// and %s appear; %% is a percent sign and anything else after % is copied as
// it stands. The catalog is translated text, so its conversions are not
// handed to printf, where one %s too many would read a missing argument.
void format_message(char* out, size_t size, const char* format, int first, int second,
                    const char* text) {
    std::string result;
    const int numbers[2] = {first, second};
    int next_number = 0;
    for (const char* p = format; *p; ++p) {
        if (*p != '%' || !p[1]) {
            result += *p;
            continue;
        }
        const char conversion = *++p;
        if (conversion == 'd' && next_number < 2) {
            char digits[16];
            std::snprintf(digits, sizeof digits, "%d", numbers[next_number++]);
            result += digits;
        } else if (conversion == 's') {
            result += text ? text : "";
        } else if (conversion == '%') {
            result += '%';
        } else {
            result += '%';
            result += conversion;
        }
    }
    const size_t length = std::min(result.size(), size - 1);
    std::memcpy(out, result.data(), length);
    out[length] = '\0';
}

// The caption is loaded into as much room as the message it goes with: 259
// bytes for the incomplete columns, 80 for a duplicate.
void show_data_entry_error(const char* text, int caption_room) {
    char caption[259];
    jx::frame::load_catalog_text(jx::catalog::kDataEntryError, caption,
                                 std::min<int>(caption_room, sizeof caption));
    jx_message_box(nullptr, text, caption, MB_OK | MB_ICONERROR);
}

// Walks one display line as the preview reads it and calls `field_end` at
// each delimiter that ends a field and `character` for every other
// character. The inside-quotes flag belongs to the caller, because it
// carries over from one display line to the next.
template <class FieldEnd, class Character>
void walk_preview_line(const char* line, char delimiter, bool use_quotes, bool merge,
                       bool& inside_quotes, FieldEnd field_end, Character character) {
    for (const char* p = line; *p; ++p) {
        if (*p == delimiter && !inside_quotes) {
            field_end();
            if (merge)
                while (p[1] == delimiter) ++p;
            continue;
        }
        character();
        if (use_quotes && *p == '"') inside_quotes = !inside_quotes;
    }
}

} // namespace

// In fixed-width mode the layout always starts again from one column across
// the preview. Boundaries left from an earlier layout (or a delimited grid,
// when the host switched modes) say nothing about this data; a host that
// loads fixed-width boundaries from a definition file keeps them by not
// calling this afterwards.
void txtimport_format::set_col_widths() {
    delete[] col_positions;
    col_positions = nullptr;
    if (fixed_width) {
        num_columns = 1;
        col_positions = new int[2]{0, saturate(disp_width)};
        return;
    }

    const int shown = std::clamp(num_disp_lines, 0, int{kMaxDisplayLines});
    long long columns = 0;
    bool inside = false;
    for (int i = 0; i < shown; ++i) {
        if (!disp_lines[i]) continue;
        long long fields = 1;
        walk_preview_line(
            disp_lines[i], delimiter, use_quotes, merge_delimiters, inside, [&] { ++fields; },
            [] {});
        columns = std::max(columns, fields);
    }
    // Only a line of two thousand million delimiters could pass this bound.
    num_columns = static_cast<int>(std::min<long long>(columns, INT_MAX - 1));

    // Widths of each column first, then turned into start positions.
    std::vector<long long> width(static_cast<size_t>(num_columns) + 1, 0);
    inside = false;
    for (int i = 0; i < shown; ++i) {
        if (!disp_lines[i]) continue;
        size_t column = 0;
        long long current = 0;
        const auto measure = [&] {
            if (column < width.size()) width[column] = std::max(width[column], current);
        };
        walk_preview_line(
            disp_lines[i], delimiter, use_quotes, merge_delimiters, inside,
            [&] {
                measure();
                ++column;
                current = 0;
            },
            [&] { ++current; });
        measure();
    }
    col_positions = new int[static_cast<size_t>(num_columns) + 1]();
    long long start = 0;
    for (int c = 0; c <= num_columns; ++c) {
        col_positions[c] = saturate(start);
        start += width[static_cast<size_t>(c)] + 1;
    }
}

// Widens the preview grid so that every column's label fits. In kind mode a
// column whose kind has no name is passed over like an unassigned one.
void txtimport_format::reset_delim_columns() {
    if (!col_fields || !col_positions || fixed_width) return;
    for (int c = 0; c < num_columns; ++c) {
        const char* label = nullptr;
        if (column_headers) {
            if (header_items && c < num_header_items) label = header_items[c];
        } else if (c < num_col_fields) {
            const int kind = col_fields[c];
            if (header_items && kind >= 1 && kind <= num_header_items)
                label = header_items[kind - 1];
        }
        if (!label) continue;
        const long long needed = static_cast<long long>(std::strlen(label)) + 1;
        const long long width = static_cast<long long>(col_positions[c + 1]) - col_positions[c];
        if (width >= needed) continue;
        const long long grow = needed - width;
        for (int e = c + 1; e <= num_columns; ++e)
            col_positions[e] = saturate(col_positions[e] + grow);
    }
}

// Adds a boundary at `position`, or removes the one that is there. Without
// a layout (set_col_widths not yet called) there is nothing to edit.
bool txtimport_format::set_fixed_column(unsigned position) {
    if (position >= disp_width || position > static_cast<unsigned>(INT_MAX)) return false;
    if (!col_positions || num_columns < 0) return false;
    const int p = static_cast<int>(position);
    const size_t old_entries = static_cast<size_t>(num_columns) + 1;

    int* found = std::find(col_positions, col_positions + num_columns, p);
    int* updated;
    if (found != col_positions + num_columns) {
        updated = new int[old_entries - 1];
        std::copy(col_positions, found, updated);
        std::copy(found + 1, col_positions + old_entries, updated + (found - col_positions));
        --num_columns;
    } else {
        updated = new int[old_entries + 1];
        size_t out = 0;
        size_t in = 0;
        while (in < old_entries && col_positions[in] < p) updated[out++] = col_positions[in++];
        updated[out++] = p;
        while (in < old_entries) updated[out++] = col_positions[in++];
        ++num_columns;
    }
    delete[] col_positions;
    col_positions = updated;
    return true;
}

bool txtimport_format::check_duplicates() {
    const int assigned = col_fields ? std::min(num_columns, num_col_fields) : 0;
    const bool any = std::any_of(col_fields, col_fields + std::max(assigned, 0),
                                 [](int entry) { return entry != 0; });
    if (!any) {
        char text[259];
        jx::frame::load_catalog_text(jx::catalog::kColumnsIncomplete, text, sizeof text);
        show_data_entry_error(text, sizeof text);
        return false;
    }
    for (int i = 0; i < assigned; ++i) {
        if (col_fields[i] == 0) continue;
        for (int j = i + 1; j < assigned; ++j) {
            if (col_fields[j] != col_fields[i]) continue;
            char format[80];
            char text[256];
            if (column_headers) {
                jx::frame::load_catalog_text(jx::catalog::kColumnsSameDefinition, format,
                                             sizeof format);
                format_message(text, sizeof text, format, i + 1, j + 1, nullptr);
            } else {
                // A kind without a name (a definition made for a longer
                // list of kinds) is named by an empty text.
                const int kind = col_fields[i];
                const char* name = "";
                if (header_items && kind >= 1 && kind <= num_header_items && header_items[kind - 1])
                    name = header_items[kind - 1];
                jx::frame::load_catalog_text(jx::catalog::kColumnsSameKind, format, sizeof format);
                format_message(text, sizeof text, format, i + 1, j + 1, name);
            }
            show_data_entry_error(text, 80);
            return false;
        }
    }
    return true;
}
