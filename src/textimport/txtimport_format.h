// The column model of a text table being imported: the data file's lines,
// the preview, the columns (delimited or fixed-width) and what each column
// holds, the definition file that keeps a layout, and the import loop.
#pragma once

#include "frame/error_handler.h"
#include "textimport/string_list.h"

#include <cstddef>

// What a column holds is named in one of two ways, chosen at construction:
// - kind mode (column_headers false): header_items names the application's
//   field kinds, and col_fields[c] is k + 1 when column c supplies kind k,
//   0 when it is not imported; get_field asks for a kind;
// - per-column mode (column_headers true): header_items labels each column,
//   col_fields[c] is the code of the definition the user gave column c (0 for
//   none); get_field asks for a column.
//
// The members keep these sizes in step, and the host must not change the
// counts behind their backs: col_fields has num_col_fields entries,
// col_positions has num_columns + 1, header_items has num_header_items.
// line_buffer is the format's own; a host may read it and even write a line
// into it: get_field always answers from the text the buffer holds.
class JX_API txtimport_format {
public:
    // The first ten fields are the 40-byte block of a definition file.
    char signature[16];       // "IMPORT_TEXT_5.0" once saved or loaded
    bool fixed_width;         // columns are character ranges, not delimited fields
    bool use_quotes;          // a double quote hides delimiters until the next one
    bool merge_delimiters;    // a run of delimiters separates only two fields
    BYTE delimiter_type;      // 0 comma, 1 semicolon, 2 blank, 3 tab, 4 other_delimiter
    char other_delimiter;     // the delimiter of type 4
    int first_line;           // 1-based first line to import, among the stored lines
    int num_field_kinds;      // kind mode: number of kinds; 0 in per-column mode
    int num_col_fields;       // entries in col_fields
    int definition_type;      // which import this format belongs to
    char* line_buffer;        // copy of the line being imported
    DWORD line_buffer_size;   // longest stored line + 2
    int current_line;         // index in lines of the line in line_buffer
    bool column_headers;      // per-column mode (true) or kind mode (false)
    int num_columns;          // number of columns
    string_list lines;        // the stored lines of the data file
    int num_disp_lines;       // entries used in disp_lines
    int first_disp_data_line; // index in disp_lines of the first line to import
    COLORREF display_colour;  // for the host's preview; never read here
    DWORD disp_width;         // length of the longest display line
    char delimiter;           // the delimiter in effect, from set_delimiter
    char data_file[MAX_PATH];
    char definition_file[MAX_PATH]; // last loaded or saved; "" until then
    char** header_items;            // kind names or column labels; entries may be null
    int num_header_items;
    int* col_positions;    // fixed width: character offsets where the columns
                           // start (the last column runs to the end of the line);
                           // delimited: the preview grid's column starts, then
                           // its total width
    int* col_fields;       // per column: kind + 1, or definition code; 0 for none
    char* disp_lines[100]; // the display lines; they point into `lines`

    static constexpr int kMaxDisplayLines = 100;
    // The field buffer shared by every format: a field holds at most 79
    // characters.
    static constexpr int kFieldBufferSize = 80;

    // Reads the data file; throws the record as string_list does. When the
    // file has no stored line the construction stops after reading: check
    // lines.count before going on.
    txtimport_format(Error_Handler* record, const char* data_file_name, int field_kinds,
                     int definition_type, bool column_headers);
    ~txtimport_format();
    // Copies duplicate everything the format owns; the copy's display lines
    // point into its own lines.
    txtimport_format(const txtimport_format& other);
    txtimport_format& operator=(const txtimport_format& other);

    // Header items.
    void init_header_list();
    void set_header_item(int index, const char* text);
    void reset_selcolumn_header(int column);
    void reset_allcolumn_header();

    // Columns and preview.
    void set_col_fields();
    void initialize_columns(int count);
    void read_disp_lines();
    bool set_delimiter();
    void set_col_widths();
    void reset_delim_columns();
    bool set_fixed_column(unsigned position);
    bool check_duplicates();

    // The import loop.
    bool init_import();
    bool set_line_buffer(int& index);
    char* get_field(int n);

    // Definition files.
    void load_definition_file(const char* file_name);
    void save_definition_file(const char* file_name);

private:
    char* parse_fixed(int column, char* destination, int size);
    char* parse_delim(int column, char* destination);
};

// The definition file's 40-byte block is the image of the first ten fields.
static_assert(offsetof(txtimport_format, signature) == 0, "signature at 0");
static_assert(offsetof(txtimport_format, fixed_width) == 16, "fixed_width at 16");
static_assert(offsetof(txtimport_format, use_quotes) == 17, "use_quotes at 17");
static_assert(offsetof(txtimport_format, merge_delimiters) == 18, "merge_delimiters at 18");
static_assert(offsetof(txtimport_format, delimiter_type) == 19, "delimiter_type at 19");
static_assert(offsetof(txtimport_format, other_delimiter) == 20, "other_delimiter at 20");
static_assert(offsetof(txtimport_format, first_line) == 24, "first_line at 24");
static_assert(offsetof(txtimport_format, num_field_kinds) == 28, "num_field_kinds at 28");
static_assert(offsetof(txtimport_format, num_col_fields) == 32, "num_col_fields at 32");
static_assert(offsetof(txtimport_format, definition_type) == 36, "definition_type at 36");
static_assert(offsetof(txtimport_format, line_buffer) == 40, "the block is 40 bytes");
static_assert(sizeof(bool) == 1, "the options are single bytes");
