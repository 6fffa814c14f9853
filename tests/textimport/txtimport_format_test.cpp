// txtimport_format: construction, display lines, the preview layout in both
// modes, labels and the check of the column assignments; definition files;
// the import loop in both column modes. The lines of a text file: which
// bytes it may hold, how it is cut into lines and what each failure leaves.
// The small text tools: the trimmers, both readers of field n and the
// tokenizer.
#include "jx6ut.h"
#include "support/message_boxes.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace jx::test {
namespace {

using namespace std::string_literals;
using Ints = std::vector<int>;

// The column boundaries, as "0 2 4".
std::string grid(const txtimport_format& f) {
    std::string out;
    for (int i = 0; f.col_positions && i <= f.num_columns; ++i)
        out += (i ? " " : "") + std::to_string(f.col_positions[i]);
    return out;
}

// The stored lines joined by '/'; each knows its ordinal.
std::string joined(const string_list& list) {
    std::string out;
    for (int i = 0; i < list.count; ++i) {
        EXPECT_EQ(list.line_index[i], i);
        out += (i ? "/" : "") + std::string(list.strings[i]);
    }
    return out;
}

class TextImport : public ::testing::Test {
protected:
    TempDir dir;
    Error_Handler record;

    // Reads `bytes` from a file: the lines, or the error code thrown.
    std::string load(string_list& list, const std::string& bytes) {
        const std::string path = dir.write("lines.txt", bytes);
        try {
            list.init_string_list(&record, path.c_str());
        } catch (Error_Handler* thrown) {
            EXPECT_EQ(thrown, &record);
            return "error " + std::to_string(record.error_type) + ' ' +
                   std::to_string(record.error_code);
        }
        return joined(list);
    }

    // A format laid out as the host's dialog does it: delimited, or fixed
    // width with the given column starts besides 0; in kind mode when `kinds`
    // is given, per-column mode otherwise.
    std::unique_ptr<txtimport_format> laid_out(const std::string& text, BYTE type = 0,
                                               bool quotes = false, bool merge = false,
                                               const std::vector<unsigned>& starts = {},
                                               int kinds = 0) {
        const std::string path = dir.write("data.txt", text);
        auto f = std::make_unique<txtimport_format>(&record, path.c_str(), kinds, 1, kinds == 0);
        f->delimiter_type = type;
        f->use_quotes = quotes;
        f->merge_delimiters = merge;
        f->fixed_width = !starts.empty();
        f->set_delimiter();
        f->read_disp_lines();
        f->set_col_widths();
        for (unsigned p : starts) EXPECT_TRUE(f->set_fixed_column(p)) << p;
        f->set_col_fields();
        return f;
    }

    // Three columns, semicolon-delimited, with quotes, from the second line.
    std::unique_ptr<txtimport_format> sample(const std::vector<unsigned>& starts = {}) {
        auto f = laid_out("a;b;c\n1;2;3\n", 1, true, false, starts);
        f->other_delimiter = '|';
        f->first_line = 2;
        f->col_fields[0] = 3;
        f->col_fields[2] = 7;
        return f;
    }
};

// ---------------------------------------------------------------------------
// Columns and preview.

// The display starts one line before the first line to import (the column
// titles, usually) and shows at most 100 lines; the import walks from the
// first line on, and past the end it stays at the end.
TEST_F(TextImport, FirstLine) {
    std::string text;
    for (int i = 0; i < 150; ++i) text += "line " + std::to_string(i) + "\n\n";
    auto f = laid_out(text);
    // First display line, index of the first data line, lines shown, width;
    // whether the walk starts ('+' or '-') and the number of lines it visits.
    const auto at = [&](int first_line) {
        f->first_line = first_line;
        f->read_disp_lines();
        const std::string first = f->num_disp_lines ? f->disp_lines[0] : "-";
        std::string seen = first + ' ' + std::to_string(f->first_disp_data_line) + ' ' +
                           std::to_string(f->num_disp_lines) + ' ' + std::to_string(f->disp_width) +
                           (f->init_import() ? " +" : " -");
        int index, visited = 0;
        for (; f->set_line_buffer(index); ++visited)
            EXPECT_EQ(f->line_buffer, "line " + std::to_string(index));
        EXPECT_FALSE(f->set_line_buffer(index));
        return seen + std::to_string(visited);
    };
    EXPECT_EQ(at(1), "line 0 0 100 7 +150");
    EXPECT_EQ(at(-7), "line 0 0 100 7 +150"); // below 1 reads as 1
    EXPECT_EQ(at(5), "line 3 1 100 8 +146");
    EXPECT_EQ(at(140), "line 138 1 12 8 +11");
    EXPECT_EQ(at(151), "line 149 1 1 8 +0");
    EXPECT_EQ(at(152), "- 1 0 0 -0");
    // Without lines the construction stops after reading; what follows must
    // still be safe.
    f = laid_out("\n\n");
    EXPECT_EQ(at(1), "- 0 0 0 +0");
}

// Quotes count in the width (as jxut's import-preview case shows on a
// whole table), and a quote left open at the end of a display
// line keeps the next line's delimiters hidden until it closes. A label wider
// than its column moves every later boundary; in kind mode the label is the
// name of the kind the column supplies.
TEST_F(TextImport, PreviewLayouts) {
    EXPECT_EQ(grid(*laid_out("a   b\n", 2, false, true)), "0 2 4");
    EXPECT_EQ(grid(*laid_out("a   b\n", 2)), "0 2 3 4 6");
    EXPECT_EQ(grid(*laid_out("\r\n")), "0 1");
    EXPECT_EQ(grid(*laid_out("\"a,b\nc,d\",e\n", 0, true)), "0 5 7");

    auto f = laid_out("a,bbbbbbbb,c\n");
    f->set_header_item(0, "Label");
    f->set_header_item(1, "Short");
    f->reset_delim_columns();
    EXPECT_EQ(grid(*f), "0 6 15 17");

    auto k = laid_out("a,b\n", 0, false, false, {}, 2);
    k->set_header_item(1, "Frequency");
    k->col_fields[0] = 9; // a kind without a name is passed over
    k->col_fields[1] = 2;
    k->reset_delim_columns();
    EXPECT_EQ(grid(*k), "0 2 12");
    // A fixed-width boundary is inserted in order or, when there already,
    // removed; one at or past the preview's width is refused.
    f = laid_out("01234567890123456789\nshort\n", 0, false, false, {8});
    std::string seen; // after each step: '+' when it changed the grid, '-' if not; the grid
    for (unsigned p : {8, 20, 15, 5, 15, 0}) {
        seen += f->set_fixed_column(p) ? " +" : " -";
        seen += grid(*f);
    }
    EXPECT_EQ(seen, " +0 20 -0 20 +0 15 20 +0 5 15 20 +0 5 20 +5 20");
    f->set_col_widths(); // laying out again starts from one column
    EXPECT_EQ(grid(*f), "0 20");
}

// The text of the one box a refusal shows, or "ok" and the number of boxes.
// The catalog's conversions are filled by the library, not by printf: a kind
// named "100%s %d" is shown as it is. (A kind's name in the message is
// jxut's demo case; two columns of the same definition, with the box's
// caption, its import-duplicate case.)
TEST_F(TextImport, DuplicateChecks) {
    const auto check = [&](int kinds, Ints fields) -> std::string {
        auto f = laid_out("a,b,c,d,e\n", 0, false, false, {}, kinds);
        const char* names[] = {"Site", "Name", "Latitude", "Height", "100%s %d"};
        for (int i = 0; i < kinds; ++i) f->set_header_item(i, names[i]);
        std::copy(fields.begin(), fields.end(), f->col_fields);
        ScopedMessageBoxes boxes;
        const bool ok = f->check_duplicates();
        EXPECT_TRUE(std::equal(fields.begin(), fields.end(), f->col_fields)); // unchanged
        if (ok || boxes.count() != 1) return (ok ? "ok " : "no ") + std::to_string(boxes.count());
        EXPECT_EQ(boxes.last().style, static_cast<UINT>(MB_OK | MB_ICONERROR));
        return boxes.last().text;
    };
    EXPECT_EQ(check(5, {0, 0, 0, 0, 0}), "Column definitions are incomplete");
    EXPECT_EQ(check(5, {7, 0, 0, 7, 0}), "Columns 1 and 4 are both defined as ");
    EXPECT_EQ(check(5, {5, 0, 0, 5, 0}), "Columns 1 and 4 are both defined as 100%s %d");
    EXPECT_EQ(check(5, {1, 2, 3, 4, 0}), "ok 0");
    EXPECT_EQ(check(0, {3, 9, 0, 1, 2}), "ok 0");
}

// ---------------------------------------------------------------------------
// Definition files.

std::string le32(int v) {
    return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}

// A header as a host on another machine wrote it: options, then first line,
// kinds, column count and type.
std::string header(int columns, int type, bool fixed = false) {
    return "IMPORT_TEXT_5.0\0"s + char(fixed) + "\1\0\4|\0\0\0"s + le32(1) + le32(0) +
           le32(columns) + le32(type);
}

// 40 bytes, 4 a column and, for fixed width, 4 a boundary: one more than the
// columns, which the header does not state when the host saved before
// set_col_fields caught up. Loaded into a format with other options, columns
// and labels, and saved again, a layout gives the same bytes. (Fixed-width
// definitions are loaded by jxut's import-fixed case.) A save that fails
// shows its one box and keeps the name of the last file.
TEST_F(TextImport, BytesWrittenAndReadBack) {
    const std::string path = dir.file("sites.def"), again = dir.file("again.def");
    ScopedMessageBoxes boxes;
    sample()->save_definition_file(path.c_str());
    auto target = laid_out("x,y,z,w,v\n");
    target->set_header_item(4, "kept");
    target->load_definition_file(path.c_str());
    EXPECT_EQ(target->delimiter, ';');
    EXPECT_STREQ(target->header_items[4], "kept");
    target->save_definition_file((dir.file("none") + "\\x.def").c_str()); // fails: name kept
    EXPECT_STREQ(target->definition_file, path.c_str());
    target->save_definition_file(again.c_str());
    // What follows the fixed-width flag, up to the boundaries.
    const std::string rest =
        "\1\0\1|\0\0\0"s + le32(2) + le32(0) + le32(3) + le32(1) + le32(3) + le32(0) + le32(7);
    EXPECT_EQ(TempDir::read(again), "IMPORT_TEXT_5.0\0\0"s + rest);
    auto f = sample({2, 4});
    f->set_fixed_column(3); // four columns, col_fields still sized for three
    f->save_definition_file(path.c_str());
    EXPECT_EQ(TempDir::read(path),
              "IMPORT_TEXT_5.0\0\1"s + rest + le32(0) + le32(2) + le32(3) + le32(4) + le32(5));
    EXPECT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().caption, "File error");
}

// A count the file cannot hold (2^31 - 1 columns, boundaries past 4 GiB) is
// a file cut short, not a request for gigabytes; a negative one is no
// definition at all.
TEST_F(TextImport, RefusalsLeaveTheFormatAsItWas) {
    const std::pair<std::string, const char*> cases[] = {
        {"IMPORT_TEXT_4.0\0"s + header(0, 1).substr(16), "Wrong file format"},
        {"IMPORT_TEXT_5.0X" + header(0, 1).substr(16), "Wrong file format"},
        {header(0, 2), "Wrong type of text import definition file"},
        {header(-1, 1), "Wrong file format"},
        {header(0, 1).substr(0, 39), "Read error at end of file"},
        {header(3, 1) + le32(1) + le32(2), "Read error at end of file"},
        {header(2, 1, true) + le32(1) + le32(2) + le32(0) + le32(5), "Read error at end of file"},
        {header(0x7FFFFFFF, 1) + le32(1), "Read error at end of file"},
        {header(0x40000000, 1, true), "Read error at end of file"},
    };
    const std::string saved = dir.file("saved.def");
    for (const auto& [bytes, text] : cases) {
        auto f = sample();
        // What a load may change, as the format saves it and beyond.
        const auto state = [&] {
            f->save_definition_file(saved.c_str());
            return TempDir::read(saved) + f->delimiter + std::to_string(f->num_columns);
        };
        const std::string before = state();
        ScopedMessageBoxes boxes;
        f->load_definition_file(dir.write("refused.def", bytes).c_str());
        ASSERT_EQ(boxes.count(), 1u) << text;
        EXPECT_NE(boxes.last().text.find(text), std::string::npos) << boxes.last().text;
        EXPECT_STREQ(f->definition_file, saved.c_str());
        EXPECT_EQ(state(), before) << text;
    }
}

// ---------------------------------------------------------------------------
// The import loop.

// The given fields (columns or kinds) of the current line, joined by '|', a
// missing field as '~'; import_all gives fields 0 to 3 of every line, lines
// joined by '/'.
std::string line_fields(txtimport_format& f, std::vector<int> columns = {0, 1, 2, 3}) {
    std::string out;
    for (int c : columns) out += std::string(f.get_field(c) ? f.get_field(c) : "~") + '|';
    return out.substr(0, out.size() - 1);
}

std::string import_all(txtimport_format& f) {
    std::string out;
    int index;
    if (f.init_import())
        while (f.set_line_buffer(index)) out += (out.empty() ? "" : "/") + line_fields(f);
    return out;
}

// Fixed width: the last column runs to the end of the line whatever its end
// says, and every field is trimmed. Delimited: fields keep their blanks and
// quotes, and each line starts outside quotes, whatever the one before left
// open. Either way a field is cut to 79 characters, and the fields after it
// are found all the same. In kind mode the host asks for a kind, and the
// column that supplies it answers; no kind is numbered below 0.
TEST_F(TextImport, ImportedFields) {
    auto f = laid_out("ab  cdefg  x\nab\n\r\n  \t    q\x1F Bogot\xE1  \n" + std::string(100, 'w'),
                      0, false, false, {4, 9});
    f->col_positions[3] = 12;
    EXPECT_EQ(import_all(*f), "ab|cdefg|x|~/ab|~|~|~/~|~|~|~/~|q|Bogot\xE1|~/wwww|wwwww|" +
                                  std::string(79, 'w') + "|~");
    EXPECT_EQ(import_all(*laid_out("a,,b\n")), "a||b|~");
    EXPECT_EQ(import_all(*laid_out("a,,b\n", 0, false, true)), "a|b|~|~");
    EXPECT_EQ(import_all(*laid_out(" a ; b \n", 1)), " a | b |~|~");
    EXPECT_EQ(import_all(*laid_out("1\t2\t\t4\n\r\n", 3)), "1|2||4/|~|~|~");
    EXPECT_EQ(import_all(*laid_out("\"a,b\nc,d\",e\n", 0, true)), "\"a,b|~|~|~/c|d\",e|~|~");
    EXPECT_EQ(import_all(*laid_out(std::string(200, 'z') + ",after")),
              std::string(79, 'z') + "|after|~|~");
    for (const auto& starts : std::vector<std::vector<unsigned>>{{}, {4, 8}}) {
        auto k = laid_out("c0  c1  c2\n", 2, false, true, starts, 3);
        k->col_fields[1] = 2;
        k->col_fields[2] = 1;
        EXPECT_EQ(import_all(*k), "c2|c1|~|~");
        EXPECT_EQ(k->get_field(-1), nullptr);
    }
    // A line is split once and 64 of its fields kept; the fields after them,
    // long quotes and long runs of delimiters are found as well. The options
    // and the format in force when a field is asked for are the ones that
    // count.
    std::string wide;
    for (int i = 0; i < 100; ++i) wide += (i ? "," : "") + std::to_string(i);
    f = laid_out(wide + "\n\"a,b,c,d,e,f,g,h,i,j\",x\nleft" + std::string(21, ';') + "right;;end",
                 0, true);
    int index;
    ASSERT_TRUE(f->init_import() && f->set_line_buffer(index));
    EXPECT_EQ(line_fields(*f, {99, 0, 63, 64, 65, 100}), "99|0|63|64|65|~");
    ASSERT_TRUE(f->set_line_buffer(index));
    EXPECT_EQ(line_fields(*f, {1}), "x");
    f->use_quotes = false;
    EXPECT_EQ(line_fields(*f, {1}), "b");
    ASSERT_TRUE(f->set_line_buffer(index));
    EXPECT_EQ(line_fields(*f, {1}), "~");
    f->delimiter = ';';
    EXPECT_EQ(line_fields(*f, {1}), "");
    f->merge_delimiters = true;
    EXPECT_EQ(line_fields(*f, {1, 2}), "right|end");
}

// A copy owns all it holds; its display lines point into its own lines.
// The fields are those of the text that line_buffer holds when they are
// asked for: a host may write a line into the buffer without
// set_line_buffer, and an assigned format's new buffer may land at the
// address of the old one. One field buffer serves every format.
TEST_F(TextImport, CopiesAndTheLineBuffer) {
    // Lines long enough that no other block of the assignment takes the
    // freed buffer's place.
    const std::string tail(300, 't');
    auto f = laid_out("xy,zwvu\nt1,t2," + tail + "\n");
    f->set_header_item(0, "first");
    auto copy = laid_out("x\n"), other = laid_out("abcde,f," + tail + "\n");
    *copy = txtimport_format(*f);
    f.reset();
    EXPECT_EQ(copy->disp_lines[1], copy->lines.strings[1]);
    EXPECT_STREQ(copy->header_items[0], "first");
    int index;
    ASSERT_TRUE(copy->init_import() && copy->set_line_buffer(index));
    ASSERT_TRUE(other->init_import() && other->set_line_buffer(index));
    EXPECT_STREQ(copy->get_field(1), "zwvu");
    std::strcpy(copy->line_buffer, "a,b,c");
    EXPECT_EQ(line_fields(*copy, {1, 2}), "b|c");
    *copy = *other;
    EXPECT_EQ(line_fields(*copy, {0, 1}), "abcde|f");
    EXPECT_EQ(other->get_field(1), copy->get_field(1));
}

// ---------------------------------------------------------------------------
// The lines of a text file, and the small text tools.

// Files are read in pieces of 256 KiB; a CR LF pair or a run of empty lines
// that straddles two pieces is cut as anywhere else, and a bad byte in the
// last piece still refuses the whole file.
TEST_F(TextImport, LinesCutByTheLineRulesFromTextBytesOnly) {
    string_list list;
    EXPECT_EQ(load(list, "x\n\ny\n"), "x/y");      // empty lines store nothing
    EXPECT_EQ(load(list, "x\r\n\r\ny"), "x//y");   // a blank line with its CR is kept
    EXPECT_EQ(load(list, "a\r\nb\r"), "a/b\r");    // a CR goes only before a feed
    EXPECT_EQ(load(list, "ab\0cd\nef"s), "ab/ef"); // a line ends at its first 0 byte
    EXPECT_EQ(load(list, "\x1A\n\x1E\x1F\x80\xFF"), "\x1A/\x1E\x1F\x80\xFF");
    EXPECT_EQ(load(list, "a\nabcd\r\nab"), "a/abcd/ab");
    EXPECT_EQ(list.get_maxstrlen(), 4u);
    // A failure keeps the lines, but a file that is not text empties them.
    EXPECT_EQ(load(list, ""), "error 2 155");
    EXPECT_EQ(joined(list), "a/abcd/ab");
    EXPECT_EQ(load(list, "one\x07two\n"), "error 2 342");
    EXPECT_EQ(list.strings, nullptr);
    EXPECT_EQ(load(list, "\n\n\n"), ""); // no lines, and no error
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.get_maxstrlen(), 0u);
    const size_t piece = 256 * 1024;
    for (size_t shift : {1, 2, 3}) {
        const std::string pad(piece - shift, 'p');
        EXPECT_EQ(load(list, pad + "\r\n\n\r\ntail"), pad + "//tail") << shift;
    }
    EXPECT_EQ(load(list, std::string(3 * piece, 'a') + "\n\x02"), "error 2 342");
    // Every byte value inside a line, where bytes are checked one at a time
    // (a short file) and where they are checked sixteen at a time.
    for (int byte = 0; byte < 256; ++byte) {
        const bool text =
            byte == 0 || byte == 9 || byte == 10 || byte == 13 || byte == 26 || byte >= 30;
        for (const std::string pad : {"", "0123456789abcdefghij"})
            EXPECT_EQ(load(list, "a"s + char(byte) + pad + "\n") == "error 2 342", !text) << byte;
    }
}

constexpr int kPlain = -1; // get_field_data, which knows no quote character

// Every field of a line, each in brackets. Each field must fit a destination
// of its length and terminator, and not one byte less; a negative n reads
// field 0; a refusal leaves the destination untouched.
std::string fields(const char* line, char delimiter, int quote) {
    const auto read = [&](int n, size_t size) -> std::string {
        char out[80] = "untouched";
        const bool found = quote == kPlain
                               ? get_field_data(line, n, out, int(size), delimiter)
                               : GetFieldData(line, n, out, int(size), delimiter, char(quote));
        EXPECT_STREQ(out, found ? out : "untouched") << line;
        return found ? "[" + std::string(out) + "]" : "";
    };
    EXPECT_EQ(read(-2, 80), read(0, 80)) << line;
    std::string all;
    for (int n = 0; n < 9 && !read(n, 80).empty(); ++n) {
        const std::string field = read(n, 80);
        all += field;
        EXPECT_EQ(read(n, field.size() - 1), field) << line; // just the room it needs
        EXPECT_EQ(read(n, field.size() - 2), "") << line;
    }
    return all;
}

// strip_space takes blanks and tabs in front and codes 1 to 32 behind, so
// letters of the upper half stay; strip_space_quotes takes any mix of blanks,
// tabs, line ends and double quotes at either end, and nothing else. The
// field readers are checked on every field of a line.
TEST(TextTools, TrimmersTokenizerAndFieldReaders) {
    const auto trimmed = [](void (*trim)(char*), std::string text) {
        trim(text.data());
        return std::string(text.c_str());
    };
    EXPECT_EQ(trimmed(strip_space, " \t a\xE1 c\xE1 \t\r\n\x01\x1F"), "a\xE1 c\xE1");
    EXPECT_EQ(trimmed(strip_space, "\r x\x7F  "), "\r x\x7F");
    EXPECT_EQ(trimmed(strip_space, "     "), "");
    EXPECT_EQ(trimmed(strip_space_quotes, "\t\" \"name\" \r\n\""), "name");
    EXPECT_EQ(trimmed(strip_space_quotes, "\x1Fx\x1F"), "\x1Fx\x1F");
    strip_space(nullptr);
    WCHAR wide[] = {' ', '"', 'n', 0x00E9, ' ', 'x', '"', '\r', '\n', 0};
    const WCHAR name[] = {'n', 0x00E9, ' ', 'x', 0};
    strip_space_quotes_wide(wide);
    EXPECT_TRUE(std::equal(name, name + 5, wide));
    // The tokenizer reports empty fields, but not a final one.
    const auto tokens = [](std::string text) { // each token in brackets
        std::string out;
        for (char* t = get_delimited_fields(text.data(), ';'); t;
             t = get_delimited_fields(nullptr, ';'))
            out += "[" + std::string(t) + "]";
        return out;
    };
    EXPECT_EQ(tokens(""), "[]");
    EXPECT_EQ(tokens(";a"), "[][a]");
    EXPECT_EQ(tokens("a;b;"), "[a][b]");
    EXPECT_EQ(tokens("a;;0123456789abcd"), "[a][][0123456789abcd]");
    // That string, too long to live inside its std::string, is freed now: a
    // used-up splitting must not read it again.
    EXPECT_EQ(get_delimited_fields(nullptr, ';'), nullptr);
    // Blank mode: tabs are text, and blanks at the end hold no field.
    EXPECT_EQ(fields("  12  34 56", ' ', kPlain), "[12][34][56]");
    EXPECT_EQ(fields("a\tb c ", ' ', kPlain), "[a\tb][c]");
    EXPECT_EQ(fields("", ' ', kPlain), "[]");
    // The plain reader trims as strip_space does, then takes off one quote at
    // each end; its quotes protect nothing.
    EXPECT_EQ(fields(" a , b ,,\"c\"", ',', kPlain), "[a][b][][c]");
    EXPECT_EQ(fields(" Bogot\xE1 ;\"\"", ';', kPlain), "[Bogot\xE1][]");
    EXPECT_EQ(fields("\"x,y\",z", ',', kPlain), "[x][y][z]");
    // The other keeps blanks before a delimiter, runs to the end of the line
    // when a quote is left open, and cleans off double quotes only.
    EXPECT_EQ(fields("\"x,y\", z", ',', '"'), "[x,y][z]");
    EXPECT_EQ(fields("\"x,y\",z", ',', 0), "[x][y][z]");
    EXPECT_EQ(fields("a ,b,", ',', '"'), "[a ][b][]");
    EXPECT_EQ(fields("\"open,b", ',', '"'), "[open,b]");
    EXPECT_EQ(fields("'a,b',c", ',', '\''), "['a,b'][c]");
    EXPECT_EQ(fields("", ',', '"'), "[]");
    EXPECT_EQ(fields("\"New York\"  12 ", ' ', '"'), "[New York][12]");
    EXPECT_EQ(fields("\"New York", ' ', '"'), "[New York]");
}

} // namespace
} // namespace jx::test
