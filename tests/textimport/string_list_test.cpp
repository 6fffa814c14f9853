// string_list: which bytes a text file may hold, how it is cut into lines,
// and what each failure leaves in the record and in the list.
#include "textimport_helpers.h"

#include <algorithm>

namespace jx::test {
namespace {

using namespace std::string_literals;

class StringList : public ImportFixture {
protected:
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
        Strings lines;
    } cases[] = {
        {"x\n\ny\n", {"x", "y"}},       // empty lines store nothing
        {"x\r\n\r\ny", {"x", "", "y"}}, // a blank line with its CR is kept
        {"a\r\nb\r", {"a", "b\r"}},     // a CR goes only before a feed
        {"a\rb\n", {"a\rb"}},
        {"ab\0cd\nef"s, {"ab", "ef"}}, // a line ends at its first 0 byte
        {"data\r\n\x1A", {"data", "\x1A"}},
        {"\x1E\x1F\x80\xFF\n", {"\x1E\x1F\x80\xFF"}},
        {"\n\n\n", {}}, // a list without lines, and no error
    };
    for (const auto& c : cases) {
        string_list list;
        ASSERT_EQ(load(list, c.bytes), nullptr) << c.bytes;
        EXPECT_EQ(lines_of(list), c.lines) << c.bytes;
        size_t longest = 0;
        for (int i = 0; i < list.count; ++i) {
            EXPECT_EQ(list.line_index[i], i);
            longest = std::max(longest, c.lines[i].size());
        }
        EXPECT_EQ(list.get_maxstrlen(), longest) << c.bytes;
    }
}

// Every byte value inside a line, where bytes are checked one at a time (a
// short file) and where they are checked sixteen at a time.
TEST_F(StringList, AcceptsExactlyTheTextBytes) {
    for (int byte = 0; byte < 256; ++byte) {
        const bool text =
            byte == 0 || byte == 9 || byte == 10 || byte == 13 || byte == 26 || byte >= 30;
        for (const std::string pad : {"", "0123456789abcdefghij"}) {
            string_list list;
            Error_Handler* thrown = load(list, "a"s + char(byte) + pad + "\n");
            EXPECT_EQ(thrown ? record.error_code : 0, text ? 0 : 342) << byte << ' ' << pad.size();
            EXPECT_EQ(list.count > 0, text) << byte;
        }
    }
}

TEST_F(StringList, FailuresKeepTheLinesButANonTextFileEmptiesThem) {
    string_list list;
    ASSERT_EQ(load(list, "kept\n"), nullptr);
    ASSERT_EQ(load(list, ""), &record);
    EXPECT_EQ(record.error_code, 155);
    const std::string missing = dir.file("missing.txt");
    EXPECT_THROW(list.init_string_list(&record, missing.c_str()), Error_Handler*);
    EXPECT_EQ(record.last_error_code, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(lines_of(list), Strings{"kept"});

    ASSERT_EQ(load(list, "one\x07two\n"), &record);
    EXPECT_EQ(record.error_type, 2);
    EXPECT_EQ(list.strings, nullptr);
    EXPECT_NE(std::string(record.get_errormsg()).find("must be an ascii text file"),
              std::string::npos);
}

// Files are read in pieces of 256 KiB; a CR LF pair or a run of empty lines
// that straddles two pieces is cut as anywhere else, and a bad byte in the
// last piece still refuses the whole file.
TEST_F(StringList, LinesAcrossTheReadingPieces) {
    const size_t piece = 256 * 1024;
    for (size_t shift : {1, 2, 3}) {
        const std::string pad(piece - shift, 'p');
        string_list list;
        ASSERT_EQ(load(list, pad + "\r\n\n\r\ntail"), nullptr) << shift;
        EXPECT_EQ(lines_of(list), (Strings{pad, "", "tail"})) << shift;
    }
    string_list list;
    ASSERT_EQ(load(list, std::string(3 * piece, 'a') + "\n\x02"), &record);
    EXPECT_EQ(record.error_code, 342);
}

} // namespace
} // namespace jx::test
