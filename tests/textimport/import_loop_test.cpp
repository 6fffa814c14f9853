// The import loop: which lines it visits and the field text of each column
// in both column modes.
#include "textimport_helpers.h"

namespace jx::test {
namespace {

// Fields 0 to 3 (columns or kinds) of every line: fields joined by '|', a
// missing field as '~', lines joined by '/'.
std::string import_all(txtimport_format& f) {
    std::string out;
    int index;
    if (!f.init_import()) return out;
    while (f.set_line_buffer(index)) {
        for (int c = 0; c < 4; ++c) {
            const char* field = f.get_field(c);
            out += std::string(c ? "|" : out.empty() ? "" : "/") + (field ? field : "~");
        }
    }
    return out;
}

class ImportLoop : public ImportFixture {};

// Whether the walk starts ('+' or '-'), then the index of each line it
// visits; past the end it stays at the end.
TEST_F(ImportLoop, VisitsTheLinesFromTheFirstLineOn) {
    std::string text;
    for (int i = 0; i < 10; ++i) text += "line" + std::to_string(i) + "\n\n";
    auto f = format_of(text);
    const auto visit = [&](int first_line) {
        f->first_line = first_line;
        std::string seen = f->init_import() ? "+" : "-";
        int index;
        while (f->set_line_buffer(index)) {
            seen += std::to_string(index);
            EXPECT_STREQ(f->line_buffer, f->lines.strings[index]);
        }
        EXPECT_FALSE(f->set_line_buffer(index));
        return seen;
    };
    EXPECT_EQ(visit(1), "+0123456789");
    EXPECT_EQ(visit(0), "+0123456789"); // below 1 reads as 1
    EXPECT_EQ(visit(9), "+89");
    EXPECT_EQ(visit(11), "+");
    EXPECT_EQ(visit(12), "-");
}

// The last column runs to the end of the line whatever its end says; every
// field is trimmed and cut to 79 characters.
TEST_F(ImportLoop, FixedWidthColumns) {
    auto f = laid_out("ab  cdefg  x\nab\n\r\n  \t    q\x1F Bogot\xE1  \n" + std::string(100, 'w'),
                      0, false, false, {4, 9});
    f->col_positions[3] = 12;
    EXPECT_EQ(import_all(*f), "ab|cdefg|x|~/ab|~|~|~/~|~|~|~/~|q|Bogot\xE1|~/wwww|wwwww|" +
                                  std::string(79, 'w') + "|~");
}

// Delimited fields keep their blanks and quotes; each line starts outside
// quotes, whatever the one before left open.
TEST_F(ImportLoop, DelimitedColumns) {
    const struct {
        std::string text;
        BYTE type;
        bool quotes, merge;
        std::string fields;
    } cases[] = {
        {"a,,b\n", 0, false, false, "a||b|~"},
        {"a,,b\n", 0, false, true, "a|b|~|~"},
        {"\"x,y\",z\n", 0, true, false, "\"x,y\"|z|~|~"},
        {" a ; b \n", 1, false, false, " a | b |~|~"},
        {"1\t2\t\t4\n\r\n", 3, false, false, "1|2||4/|~|~|~"},
        {"\"a,b\nc,d\",e\n", 0, true, false, "\"a,b|~|~|~/c|d\",e|~|~"},
        {std::string(200, 'z') + ",after", 0, false, false, std::string(79, 'z') + "|after|~|~"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(import_all(*laid_out(c.text, c.type, c.quotes, c.merge)), c.fields) << c.text;
}

// Lines are split once and kept for 64 fields; the fields after them, long
// quotes and long runs of delimiters are found as well, and the options in
// force when a field is asked for are the ones that count.
TEST_F(ImportLoop, ManyColumnsAndChangedOptions) {
    std::string wide;
    for (int i = 0; i < 100; ++i) wide += (i ? "," : "") + std::to_string(i * 7);
    auto f = laid_out(wide + "\n\"a,b,c,d,e,f,g,h,i,j,k\",x\nleft" + std::string(21, ';') +
                          "right;;end\n",
                      0, true);
    int index;
    ASSERT_TRUE(f->init_import() && f->set_line_buffer(index));
    for (int c : {99, 0, 63, 64, 65, 98})
        EXPECT_STREQ(f->get_field(c), std::to_string(c * 7).c_str()) << c;
    EXPECT_EQ(f->get_field(100), nullptr);
    ASSERT_TRUE(f->set_line_buffer(index));
    EXPECT_STREQ(f->get_field(1), "x");
    f->use_quotes = false;
    EXPECT_STREQ(f->get_field(1), "b");
    ASSERT_TRUE(f->set_line_buffer(index));
    f->delimiter = ';';
    EXPECT_STREQ(f->get_field(1), "");
    f->merge_delimiters = true;
    EXPECT_STREQ(f->get_field(1), "right");

    // One field buffer serves every format.
    auto other = laid_out("c,d\n", 0);
    ASSERT_TRUE(other->init_import() && other->set_line_buffer(index));
    const char* field = f->get_field(2);
    EXPECT_STREQ(field, "end");
    EXPECT_EQ(other->get_field(0), field);
    EXPECT_STREQ(field, "c");
}

// In kind mode the host asks for a kind, and the column that supplies it
// answers; no kind is numbered below 0.
TEST_F(ImportLoop, KindModeFindsTheColumnOfAKind) {
    for (const auto& starts : std::vector<std::vector<unsigned>>{{}, {4, 8}}) {
        auto f = laid_out("c0  c1  c2\n", 2, false, true, starts, 3);
        ASSERT_EQ(f->num_columns, 3);
        f->col_fields[1] = 2;
        f->col_fields[2] = 1;
        EXPECT_EQ(import_all(*f), "c2|c1|~|~");
        EXPECT_EQ(f->get_field(-1), nullptr);
    }
}

} // namespace
} // namespace jx::test
