// txtimport_format: construction, copying, header items, the column arrays,
// the display lines and the delimiter.
#include "txtimport_format.h"

#include "detail/format_rules.h"

#include <algorithm>
#include <cstring>

namespace {

char* copy_text(const char* text) {
    if (!text) return nullptr;
    const size_t length = std::strlen(text) + 1;
    char* copy = new char[length];
    std::memcpy(copy, text, length);
    return copy;
}

// Copies at most size - 1 characters and always terminates.
void copy_bounded(char* destination, size_t size, const char* text) {
    if (!text) text = "";
    const size_t length = std::min(std::strlen(text), size - 1);
    std::memcpy(destination, text, length);
    destination[length] = '\0';
}

int* zeroed_ints(int n) {
    return new int[static_cast<size_t>(n > 0 ? n : 0)]();
}

int* copy_ints(const int* source, int n) {
    if (!source || n <= 0) return nullptr;
    int* copy = new int[static_cast<size_t>(n)];
    std::memcpy(copy, source, static_cast<size_t>(n) * sizeof(int));
    return copy;
}

void free_header_items(char**& items, int n) {
    if (items)
        for (int i = 0; i < n; ++i) delete[] items[i];
    delete[] items;
    items = nullptr;
}

void release_owned(txtimport_format& f) {
    free_header_items(f.header_items, f.num_header_items);
    f.num_header_items = 0;
    delete[] f.col_fields;
    delete[] f.col_positions;
    delete[] f.line_buffer;
    f.col_fields = f.col_positions = nullptr;
    f.line_buffer = nullptr;
}

// Everything a format owns but `lines`, which the caller has copied already.
void copy_owned(txtimport_format& f, const txtimport_format& other) {
    std::memcpy(f.signature, other.signature, sizeof f.signature);
    f.fixed_width = other.fixed_width;
    f.use_quotes = other.use_quotes;
    f.merge_delimiters = other.merge_delimiters;
    f.delimiter_type = other.delimiter_type;
    f.other_delimiter = other.other_delimiter;
    f.first_line = other.first_line;
    f.num_field_kinds = other.num_field_kinds;
    f.num_col_fields = other.num_col_fields;
    f.definition_type = other.definition_type;
    f.line_buffer_size = other.line_buffer_size;
    f.current_line = other.current_line;
    f.column_headers = other.column_headers;
    f.num_columns = other.num_columns;
    f.num_disp_lines = other.num_disp_lines;
    f.first_disp_data_line = other.first_disp_data_line;
    f.display_colour = other.display_colour;
    f.disp_width = other.disp_width;
    f.delimiter = other.delimiter;
    std::memcpy(f.data_file, other.data_file, sizeof f.data_file);
    std::memcpy(f.definition_file, other.definition_file, sizeof f.definition_file);

    if (other.line_buffer && other.line_buffer_size) {
        f.line_buffer = jx::textimport::allocate_line_buffer(other.line_buffer_size);
        std::memcpy(f.line_buffer, other.line_buffer, other.line_buffer_size);
    }
    if (other.header_items) {
        f.num_header_items = other.num_header_items;
        f.header_items = new char*[static_cast<size_t>(std::max(f.num_header_items, 0)) + 1]();
        for (int i = 0; i < f.num_header_items; ++i)
            f.header_items[i] = copy_text(other.header_items[i]);
    }
    f.col_fields = copy_ints(other.col_fields, other.num_col_fields);
    f.col_positions = copy_ints(other.col_positions, other.num_columns + 1);

    // The display lines are consecutive entries of `lines`: find where the
    // other's start, and point at the same lines of this copy.
    std::fill(f.disp_lines, f.disp_lines + txtimport_format::kMaxDisplayLines, nullptr);
    int at = 0;
    for (int i = 0; i < std::min(f.num_disp_lines, int{txtimport_format::kMaxDisplayLines}); ++i) {
        while (at < other.lines.count && other.lines.strings[at] != other.disp_lines[i]) ++at;
        if (at >= f.lines.count) break;
        f.disp_lines[i] = f.lines.strings[at++];
    }
}

} // namespace

txtimport_format::txtimport_format(Error_Handler* record, const char* data_file_name,
                                   int field_kinds, int definition, bool per_column) {
    // Every field starts at zero; construction then sets what it owns. The
    // options stay zero until the host sets them or loads a definition.
    std::memset(signature, 0, sizeof signature);
    fixed_width = use_quotes = merge_delimiters = false;
    delimiter_type = 0;
    other_delimiter = '\0';
    first_line = 1;
    num_field_kinds = num_col_fields = definition_type = 0;
    line_buffer = nullptr;
    line_buffer_size = 0;
    current_line = 0;
    column_headers = false;
    num_columns = 0;
    num_disp_lines = first_disp_data_line = 0;
    display_colour = 0x7B7BBE; // red 190, green 123, blue 123
    disp_width = 0;
    delimiter = '\0';
    data_file[0] = definition_file[0] = '\0';
    header_items = nullptr;
    num_header_items = 0;
    col_positions = col_fields = nullptr;
    std::fill(disp_lines, disp_lines + kMaxDisplayLines, nullptr);

    // A failure here leaves nothing allocated but `lines`, which unwinds.
    lines.init_string_list(record, data_file_name);
    if (lines.count == 0) return;

    line_buffer_size = static_cast<DWORD>(std::min<unsigned long long>(
        static_cast<unsigned long long>(lines.get_maxstrlen()) + 2, 0xFFFFFFFFull));
    line_buffer = jx::textimport::allocate_line_buffer(line_buffer_size);
    column_headers = per_column;
    definition_type = definition;
    if (!per_column) {
        num_field_kinds = num_header_items = std::max(field_kinds, 0);
        header_items = new char*[static_cast<size_t>(num_header_items) + 1]();
    }
    copy_bounded(data_file, sizeof data_file, data_file_name);
}

txtimport_format::~txtimport_format() {
    release_owned(*this);
}

txtimport_format::txtimport_format(const txtimport_format& other) : lines(other.lines) {
    header_items = nullptr;
    num_header_items = 0;
    col_fields = col_positions = nullptr;
    line_buffer = nullptr;
    copy_owned(*this, other);
}

txtimport_format& txtimport_format::operator=(const txtimport_format& other) {
    if (this != &other) {
        lines = other.lines;
        release_owned(*this);
        copy_owned(*this, other);
    }
    return *this;
}
// ---------------------------------------------------------------------------
// Header items.

void txtimport_format::set_header_item(int index, const char* text) {
    if (!header_items || index < 0 || index >= num_header_items) return;
    char* copy = copy_text(text);
    delete[] header_items[index];
    header_items[index] = copy;
}

void txtimport_format::init_header_list() {
    if (!column_headers) return;
    free_header_items(header_items, num_header_items);
    num_header_items = std::max(num_columns, 0);
    header_items = new char*[static_cast<size_t>(num_header_items) + 1]();
}

void txtimport_format::reset_selcolumn_header(int column) {
    if (column < 0) return;
    if (header_items && column < num_header_items) {
        delete[] header_items[column];
        header_items[column] = nullptr;
    }
    if (col_fields && column < num_col_fields) col_fields[column] = 0;
}

// Both resets belong to per-column mode, where there is one label a column;
// entries beyond either array are simply not there to reset.
void txtimport_format::reset_allcolumn_header() {
    for (int i = 0; i < num_header_items; ++i) reset_selcolumn_header(i);
}

// ---------------------------------------------------------------------------
// Column arrays.

void txtimport_format::set_col_fields() {
    if (col_fields && num_col_fields == num_columns) return;
    delete[] col_fields;
    col_fields = nullptr;
    const int n = std::max(num_columns, 0);
    if (column_headers) {
        free_header_items(header_items, num_header_items);
        header_items = new char*[static_cast<size_t>(n) + 1]();
        num_header_items = n;
    }
    col_fields = zeroed_ints(n);
    num_col_fields = n;
}

// The preview grid of a delimited layout is resized with the columns too,
// although it is worked out again by set_col_widths: an array that no longer
// matches num_columns would be read past its end.
void txtimport_format::initialize_columns(int count) {
    const int n = std::max(count, 0);
    if (!col_fields || n != num_columns || n != num_col_fields) {
        delete[] col_fields;
        col_fields = nullptr;
        col_fields = zeroed_ints(n);
    }
    if (!col_positions || n != num_columns) {
        delete[] col_positions;
        col_positions = nullptr;
        col_positions = zeroed_ints(n + 1);
    }
    num_col_fields = num_columns = n;
}

// ---------------------------------------------------------------------------
// Display lines and delimiter.

void txtimport_format::read_disp_lines() {
    const int first = jx::textimport::first_line_of(*this);
    // One line before the first to import: usually the column titles.
    const int start = std::max(first - 2, 0);
    std::fill(disp_lines, disp_lines + kMaxDisplayLines, nullptr);
    num_disp_lines = 0;
    disp_width = 0;
    for (int i = start; i < lines.count && num_disp_lines < kMaxDisplayLines; ++i) {
        disp_lines[num_disp_lines++] = lines.strings[i];
        const size_t width = std::strlen(lines.strings[i]);
        disp_width =
            std::max<DWORD>(disp_width, static_cast<DWORD>(std::min<size_t>(width, 0x7FFFFFFF)));
    }
    first_disp_data_line = std::min(first - 1, 1);
}

bool txtimport_format::set_delimiter() {
    switch (delimiter_type) {
    case 0:
        delimiter = ',';
        return true;
    case 1:
        delimiter = ';';
        return true;
    case 2:
        delimiter = ' ';
        return true;
    case 3:
        delimiter = '\t';
        return true;
    case 4:
        if (other_delimiter == '\0') return false;
        delimiter = other_delimiter;
        return true;
    default:
        return true;
    }
}
