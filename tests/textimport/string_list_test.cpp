// string_list: which bytes a text file may hold, how it is cut into lines,
// and what each failure leaves in the record and in the list.
#include "textimport_helpers.h"

namespace jx::test {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

class StringList : public ::testing::Test {
protected:
    TempDir dir;
    Error_Handler record;

    // Reads `bytes` from a file; the thrown record, if any, is returned.
    Error_Handler* load(string_list& list, const std::string& bytes) {
        const std::string path = dir.write("lines.txt", bytes);
        try {
            list.init_string_list(&record, path.c_str());
        } catch (Error_Handler* thrown) {
            return thrown;
        }
        return nullptr;
    }
};

TEST_F(StringList, CutsLinesByTheLineRules) {
    const struct {
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"x\n\ny\n", {"x", "y"}},       // empty lines store nothing
        {"x\r\n\r\ny", {"x", "", "y"}}, // a blank line with its CR is kept
        {"\r\n", {""}},
        {"a\r\nb\r", {"a", "b\r"}}, // a CR ends only a line with a feed
        {"a\rb\n", {"a\rb"}},
        {"last", {"last"}},
        {"\t lead and trail \t\n", {"\t lead and trail \t"}},
        {"ab\0cd\nef"s, {"ab", "ef"}}, // a line ends at its first 0 byte
        {"\0\0\n"s, {""}},
        {"data\r\n\x1A", {"data", "\x1A"}}, // the end-of-file mark is text
        {"\x1E\x1F\n", {"\x1E\x1F"}},
        {"Bogot\xE1\n\xFF\x80\n", {"Bogot\xE1", "\xFF\x80"}},
    };
    for (const auto& c : cases) {
        string_list list;
        ASSERT_EQ(load(list, c.bytes), nullptr) << c.bytes;
        EXPECT_EQ(lines_of(list), c.lines) << c.bytes;
        for (int i = 0; i < list.count; ++i) EXPECT_EQ(list.line_index[i], i);
    }
}

TEST_F(StringList, FileOfLineFeedsIsAnEmptyListWithoutError) {
    for (const std::string bytes : {"\n", "\n\n\n\n"}) {
        string_list list;
        EXPECT_EQ(load(list, bytes), nullptr);
        EXPECT_EQ(list.count, 0);
        EXPECT_EQ(list.get_maxstrlen(), 0u);
    }
}

// Every byte value, once, inside a line: 0, 9, 10, 13, 26 and 30 to 255 are
// text; every other control character makes the file a non-text file.
TEST_F(StringList, AcceptsExactlyTheTextBytes) {
    for (int byte = 0; byte < 256; ++byte) {
        const bool text =
            byte == 0 || byte == 9 || byte == 10 || byte == 13 || byte == 26 || byte >= 30;
        string_list list;
        Error_Handler* thrown = load(list, std::string("a") + char(byte) + "b\n");
        if (text) {
            EXPECT_EQ(thrown, nullptr) << byte;
            EXPECT_GE(list.count, 1) << byte;
        } else {
            ASSERT_EQ(thrown, &record) << byte;
            EXPECT_EQ(record.error_code, 342) << byte;
            EXPECT_EQ(record.error_type, 2) << byte;
            EXPECT_EQ(list.count, 0) << byte;
        }
    }
}

TEST_F(StringList, NonTextFileEmptiesAFilledList) {
    string_list list;
    ASSERT_EQ(load(list, "one\ntwo\n"), nullptr);
    ASSERT_EQ(load(list, "one\x07two\n"), &record);
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.strings, nullptr);
    const std::string message = record.get_errormsg();
    EXPECT_NE(message.find("File error - "), std::string::npos);
    EXPECT_NE(message.find("The file must be an ascii text file."), std::string::npos);
}

TEST_F(StringList, EmptyOrMissingFileKeepsThePreviousLines) {
    string_list list;
    ASSERT_EQ(load(list, "kept\n"), nullptr);

    ASSERT_EQ(load(list, ""), &record);
    EXPECT_EQ(record.error_code, 155);
    EXPECT_EQ(lines_of(list), Lines{"kept"});

    const std::string missing = dir.file("missing.txt");
    EXPECT_THROW(list.init_string_list(&record, missing.c_str()), Error_Handler*);
    EXPECT_EQ(record.error_code, 101);
    EXPECT_EQ(record.last_error_code, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(std::string(record.file_name), missing);
    EXPECT_EQ(lines_of(list), Lines{"kept"});
}

TEST_F(StringList, LongestLine) {
    string_list list;
    EXPECT_EQ(list.get_maxstrlen(), 0u);
    ASSERT_EQ(load(list, "a\nabcd\r\nab\n"), nullptr);
    EXPECT_EQ(list.get_maxstrlen(), 4u);

    // One line of a megabyte, with no line feed at all.
    const std::string huge(1 << 20, 'x');
    ASSERT_EQ(load(list, huge), nullptr);
    ASSERT_EQ(list.count, 1);
    EXPECT_EQ(list.get_maxstrlen(), huge.size());
}

// Large files are read in pieces; a line, a CR LF pair or a run of empty
// lines that straddles two pieces is cut as anywhere else.
TEST_F(StringList, LinesAcrossTheReadingPieces) {
    const size_t piece = 256 * 1024;
    for (size_t shift : {0, 1, 2, 3}) {
        // Filler lines up to a few bytes before the boundary, then a line
        // whose CR LF (or empty lines) lands on it.
        std::string text;
        Lines expected;
        while (text.size() + 100 < piece - shift) {
            const std::string line = "line " + std::to_string(expected.size());
            text += line + "\r\n";
            expected.push_back(line);
        }
        const std::string pad(piece - shift - text.size() - 1, 'p');
        text += pad + "\r\n\n\r\ntail";
        expected.push_back(pad);
        expected.push_back("");
        expected.push_back("tail");
        string_list list;
        ASSERT_EQ(load(list, text), nullptr) << shift;
        EXPECT_EQ(lines_of(list), expected) << shift;
    }
    // A forbidden byte in the last piece still refuses the whole file.
    string_list list;
    ASSERT_EQ(load(list, std::string(3 * piece, 'a') + "\n\x02"), &record);
    EXPECT_EQ(record.error_code, 342);
}

// A copy owns its lines: it outlives a reload of the original, and both
// release their own memory (the sanitizer leg checks the releases).
TEST_F(StringList, CopiesAreIndependent) {
    string_list original;
    ASSERT_EQ(load(original, "one\n\ntwo\nthree"), nullptr);
    string_list copy(original);
    string_list assigned;
    assigned = original;
    string_list& same = assigned;
    assigned = same;
    ASSERT_EQ(load(original, "other\n"), nullptr);
    EXPECT_EQ(lines_of(copy), (Lines{"one", "two", "three"}));
    EXPECT_EQ(lines_of(assigned), (Lines{"one", "two", "three"}));
    EXPECT_EQ(copy.line_index[2], 2);
    assigned = string_list();
    EXPECT_EQ(assigned.count, 0);
}

} // namespace
} // namespace jx::test
