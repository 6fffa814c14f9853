// txtimport_format: definition files, which keep a column layout for the
// next file of the same shape.
//
// Layout, little-endian, no trailer:
//   0   16     "IMPORT_TEXT_5.0" and a 0 byte
//   16  1      fixed_width (0 delimited, other fixed width)
//   17  1      use_quotes
//   18  1      merge_delimiters
//   19  1      delimiter_type
//   20  1      other_delimiter
//   21  3      padding, written as zeros and never read
//   24  4      first_line
//   28  4      num_field_kinds
//   32  4      N, the number of columns (num_col_fields)
//   36  4      definition_type
//   40  4N     col_fields
//   40+4N 4(N+1)  col_positions, only when byte 16 is not 0
// The first 40 bytes are the image of the format's first ten fields.
#include "txtimport_format.h"

#include "files/jxfileio.h"
#include "frame/catalog.h"
#include "frame/catalog_ids.h"
#include "platform/ui_hooks.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace {

constexpr char kSignature[16] = "IMPORT_TEXT_5.0";
constexpr DWORD kHeaderSize = 40;

void put32(unsigned char* p, int value) {
    const auto v = static_cast<unsigned>(value);
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}

int get32(const unsigned char* p) {
    const unsigned v = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<unsigned>(p[3]) << 24);
    return static_cast<int>(v);
}

// The refusals of a file that is not a definition of this import: no owner,
// the error icon, "File error" as the caption.
void show_refusal(int text_id) {
    char text[260];
    char caption[260];
    jx::frame::load_catalog_text(text_id, text, sizeof text);
    jx::frame::load_catalog_text(jx::catalog::kFileError, caption, sizeof caption);
    jx_message_box(nullptr, text, caption, MB_OK | MB_ICONERROR);
}

// A name that does not fit definition_file (259 characters) is refused
// before any file is touched, as Windows refuses a path that long.
bool name_fits(Error_Handler& record, const char* name) {
    if (!name || std::strlen(name) < MAX_PATH) return true;
    char shown[MAX_PATH];
    std::memcpy(shown, name, MAX_PATH - 1);
    shown[MAX_PATH - 1] = '\0';
    record.init_fileio(shown);
    record.set_last_error_code(ERROR_FILENAME_EXCED_RANGE);
    record.show_errormsg(nullptr, false);
    return false;
}

void copy_name(char* destination, const char* name) {
    const size_t length = std::min<size_t>(std::strlen(name), MAX_PATH - 1);
    std::memcpy(destination, name, length);
    destination[length] = '\0';
}

} // namespace

// The file always holds as many entries as its header promises, N column
// fields and, for fixed width, N + 1 boundaries, so that it reads back even
// when set_col_fields has not brought num_col_fields and num_columns in
// step: missing entries are written as 0 (fields) or as the last boundary.
void txtimport_format::save_definition_file(const char* file_name) {
    Error_Handler record;
    if (!name_fits(record, file_name)) return;

    std::memcpy(signature, kSignature, sizeof signature);
    const int n = std::max(num_col_fields, 0);
    unsigned char header[kHeaderSize] = {};
    std::memcpy(header, signature, sizeof signature);
    header[16] = fixed_width ? 1 : 0;
    header[17] = use_quotes ? 1 : 0;
    header[18] = merge_delimiters ? 1 : 0;
    header[19] = delimiter_type;
    header[20] = static_cast<unsigned char>(other_delimiter);
    put32(header + 24, first_line);
    put32(header + 28, num_field_kinds);
    put32(header + 32, n);
    put32(header + 36, definition_type);

    std::vector<unsigned char> fields(static_cast<size_t>(n) * 4);
    for (int i = 0; i < n; ++i)
        put32(&fields[static_cast<size_t>(i) * 4], col_fields ? col_fields[i] : 0);
    // The boundaries follow num_columns while the header states
    // num_col_fields: a host that saves before set_col_fields has caught up
    // gets a file that says what it holds, and only a consistent one loads
    // back as it was.
    std::vector<unsigned char> bounds;
    if (fixed_width) {
        const int columns = std::max(num_columns, 0);
        bounds.resize((static_cast<size_t>(columns) + 1) * 4);
        for (int i = 0; i <= columns; ++i)
            put32(&bounds[static_cast<size_t>(i) * 4], col_positions ? col_positions[i] : 0);
    }

    try {
        jxfileio file(&record, file_name, GENERIC_WRITE, 0, nullptr);
        file.write(header, kHeaderSize);
        if (!fields.empty()) file.write(fields.data(), static_cast<DWORD>(fields.size()));
        if (!bounds.empty()) file.write(bounds.data(), static_cast<DWORD>(bounds.size()));
    } catch (Error_Handler* failed) {
        failed->show_errormsg(nullptr, false);
        return;
    }
    copy_name(definition_file, file_name);
}

// A definition is taken whole or not at all: the header is checked, the
// column count is held against the file's size before anything is
// allocated (a count the file cannot hold is a file cut short, reported as
// "Read error at end of file"; a negative count as "Wrong file format"),
// the arrays are read, and only then is the object changed.
void txtimport_format::load_definition_file(const char* file_name) {
    Error_Handler record;
    if (!name_fits(record, file_name)) return;

    unsigned char header[kHeaderSize];
    std::vector<unsigned char> fields;
    std::vector<unsigned char> bounds;
    try {
        jxfileio file(&record, file_name, GENERIC_READ, 0, nullptr);
        file.read(header, kHeaderSize);
        if (std::memcmp(header, kSignature, sizeof kSignature) != 0) {
            show_refusal(jx::catalog::kWrongFileFormat);
            return;
        }
        if (get32(header + 36) != definition_type) {
            show_refusal(jx::catalog::kWrongDefinitionType);
            return;
        }
        const int n = get32(header + 32);
        if (n < 0) {
            show_refusal(jx::catalog::kWrongFileFormat);
            return;
        }
        const bool fixed = header[16] != 0;
        const unsigned long long needed = kHeaderSize + 4ull * static_cast<unsigned>(n) +
                                          (fixed ? 4ull * (static_cast<unsigned>(n) + 1) : 0);
        if (file.get_file_size() < needed) file.throw_error_code(jx::catalog::kReadErrorAtEnd);

        fields.resize(static_cast<size_t>(n) * 4);
        if (!fields.empty()) file.read(fields.data(), static_cast<DWORD>(fields.size()));
        if (fixed) {
            bounds.resize((static_cast<size_t>(n) + 1) * 4);
            file.read(bounds.data(), static_cast<DWORD>(bounds.size()));
        }
    } catch (Error_Handler* failed) {
        failed->show_errormsg(nullptr, false);
        return;
    } catch (const std::bad_alloc&) {
        record.set_last_error_code(ERROR_NOT_ENOUGH_MEMORY);
        record.show_errormsg(nullptr, false);
        return;
    }

    std::memcpy(signature, header, sizeof signature);
    fixed_width = header[16] != 0;
    use_quotes = header[17] != 0;
    merge_delimiters = header[18] != 0;
    delimiter_type = header[19];
    other_delimiter = static_cast<char>(header[20]);
    first_line = get32(header + 24);
    num_field_kinds = get32(header + 28);
    definition_type = get32(header + 36);
    const int n = get32(header + 32);
    initialize_columns(n);
    for (int i = 0; i < n; ++i) col_fields[i] = get32(&fields[static_cast<size_t>(i) * 4]);
    if (fixed_width)
        for (int i = 0; i <= n; ++i) col_positions[i] = get32(&bounds[static_cast<size_t>(i) * 4]);
    copy_name(definition_file, file_name);
    set_delimiter();
}
