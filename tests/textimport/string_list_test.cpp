// The lines of a text file and the small text tools: which bytes a text
// file may hold, how it is cut into lines and what each failure leaves; the
// trimmers, both readers of field n and the tokenizer.
#include "jx6ut.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace jx::test {
namespace {

using namespace std::string_literals;

// The stored lines joined by '/'; each knows its ordinal.
std::string joined(const string_list& list) {
    std::string out;
    for (int i = 0; i < list.count; ++i) {
        EXPECT_EQ(list.line_index[i], i);
        out += (i ? "/" : "") + std::string(list.strings[i]);
    }
    return out;
}

class StringList : public ::testing::Test {
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
            return "error " + std::to_string(record.error_code);
        }
        return joined(list);
    }
};

TEST_F(StringList, CutsLinesByTheLineRules) {
    string_list list;
    EXPECT_EQ(load(list, "x\n\ny\n"), "x/y");      // empty lines store nothing
    EXPECT_EQ(load(list, "x\r\n\r\ny"), "x//y");   // a blank line with its CR is kept
    EXPECT_EQ(load(list, "a\r\nb\r"), "a/b\r");    // a CR goes only before a feed
    EXPECT_EQ(load(list, "ab\0cd\nef"s), "ab/ef"); // a line ends at its first 0 byte
    EXPECT_EQ(load(list, "\x1A\n\x1E\x1F\x80\xFF"), "\x1A/\x1E\x1F\x80\xFF");
    EXPECT_EQ(load(list, "a\nabcd\r\nab"), "a/abcd/ab");
    EXPECT_EQ(list.get_maxstrlen(), 4u);
    // A failure keeps the lines, but a file that is not text empties them.
    EXPECT_EQ(load(list, ""), "error 155");
    EXPECT_EQ(joined(list), "a/abcd/ab");
    EXPECT_EQ(load(list, "one\x07two\n"), "error 342");
    EXPECT_EQ(record.error_type, 2);
    EXPECT_EQ(list.strings, nullptr);
    EXPECT_EQ(load(list, "\n\n\n"), ""); // no lines, and no error
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.get_maxstrlen(), 0u);
}

// Every byte value inside a line, where bytes are checked one at a time (a
// short file) and where they are checked sixteen at a time.
TEST_F(StringList, AcceptsExactlyTheTextBytes) {
    for (int byte = 0; byte < 256; ++byte) {
        const bool text =
            byte == 0 || byte == 9 || byte == 10 || byte == 13 || byte == 26 || byte >= 30;
        for (const std::string pad : {"", "0123456789abcdefghij"}) {
            string_list list;
            EXPECT_EQ(load(list, "a"s + char(byte) + pad + "\n") == "error 342", !text) << byte;
            EXPECT_EQ(list.count > 0, text) << byte;
        }
    }
}

// Files are read in pieces of 256 KiB; a CR LF pair or a run of empty lines
// that straddles two pieces is cut as anywhere else, and a bad byte in the
// last piece still refuses the whole file.
TEST_F(StringList, LinesAcrossTheReadingPieces) {
    const size_t piece = 256 * 1024;
    string_list list;
    for (size_t shift : {1, 2, 3}) {
        const std::string pad(piece - shift, 'p');
        EXPECT_EQ(load(list, pad + "\r\n\n\r\ntail"), pad + "//tail") << shift;
    }
    EXPECT_EQ(load(list, std::string(3 * piece, 'a') + "\n\x02"), "error 342");
}

// strip_space takes blanks and tabs in front and codes 1 to 32 behind, so
// letters of the upper half stay; strip_space_quotes takes any mix of blanks,
// tabs, line ends and double quotes at either end, and nothing else.
TEST(Trimmers, TrimInPlace) {
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

TEST(FieldReaders, EveryFieldOfALine) {
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

TEST(GetDelimitedFields, ReportsEmptyFieldsButNotAFinalOne) {
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
}

} // namespace
} // namespace jx::test
