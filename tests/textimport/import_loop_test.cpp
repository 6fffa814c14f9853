// The import loop: which lines it visits and the field text of each column
// in both column modes.
#include "textimport_helpers.h"

namespace jx::test {
namespace {

using Rows = std::vector<Strings>;
const std::string kNull = "(null)";

// Fields 0 to 3 (columns or kinds) of every line.
Rows import_all(txtimport_format& f) {
    Rows rows;
    int index;
    if (!f.init_import()) return rows;
    while (f.set_line_buffer(index)) {
        rows.emplace_back();
        for (int c = 0; c < 4; ++c) {
            const char* field = f.get_field(c);
            rows.back().push_back(field ? field : kNull);
        }
    }
    return rows;
}

class ImportLoop : public ImportFixture {};

TEST_F(ImportLoop, VisitsTheLinesFromTheFirstLineOn) {
    std::string text;
    for (int i = 0; i < 10; ++i) text += "line" + std::to_string(i) + "\n\n";
    auto f = format_of(text);
    const struct {
        int first_line;
        bool starts;
        Ints indexes;
    } cases[] = {
        {1, true, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {0, true, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}}, // below 1 reads as 1
        {9, true, {8, 9}},
        {11, true, {}},
        {12, false, {}},
    };
    for (const auto& c : cases) {
        f->first_line = c.first_line;
        EXPECT_EQ(f->init_import(), c.starts) << c.first_line;
        Ints seen;
        int index;
        while (f->set_line_buffer(index)) {
            seen.push_back(index);
            EXPECT_STREQ(f->line_buffer, f->lines.strings[index]);
        }
        EXPECT_FALSE(f->set_line_buffer(index)); // and it stays at the end
        EXPECT_EQ(seen, c.indexes) << c.first_line;
    }
}

// The last column runs to the end of the line whatever its end says; every
// field is trimmed and cut to 79 characters.
TEST_F(ImportLoop, FixedWidthColumns) {
    auto f = laid_out("ab  cdefg  x\nab\n\r\n  \t    q\x1F Bogot\xE1  \n" + std::string(100, 'w'),
                      0, false, false, {4, 9});
    f->col_positions[3] = 12;
    EXPECT_EQ(import_all(*f), (Rows{
                                  {"ab", "cdefg", "x", kNull},
                                  {"ab", kNull, kNull, kNull},
                                  {kNull, kNull, kNull, kNull},
                                  {kNull, "q", "Bogot\xE1", kNull},
                                  {"wwww", "wwwww", std::string(79, 'w'), kNull},
                              }));
}

// Delimited fields keep their blanks and quotes; each line starts outside
// quotes, whatever the one before left open.
TEST_F(ImportLoop, DelimitedColumns) {
    const struct {
        std::string text;
        BYTE type;
        bool quotes, merge;
        Rows rows;
    } cases[] = {
        {"a,,b\n", 0, false, false, {{"a", "", "b", kNull}}},
        {"a,,b\n", 0, false, true, {{"a", "b", kNull, kNull}}},
        {"\"x,y\",z\n", 0, true, false, {{"\"x,y\"", "z", kNull, kNull}}},
        {" a ; b \n", 1, false, false, {{" a ", " b ", kNull, kNull}}},
        {"1\t2\t\t4\n\r\n", 3, false, false, {{"1", "2", "", "4"}, {"", kNull, kNull, kNull}}},
        {"\"a,b\nc,d\",e\n",
         0,
         true,
         false,
         {{"\"a,b", kNull, kNull, kNull}, {"c", "d\",e", kNull, kNull}}},
        {std::string(200, 'z') + ",after",
         0,
         false,
         false,
         {{std::string(79, 'z'), "after", kNull, kNull}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(import_all(*laid_out(c.text, c.type, c.quotes, c.merge)), c.rows) << c.text;
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
        EXPECT_EQ(import_all(*f), (Rows{{"c2", "c1", kNull, kNull}}));
        EXPECT_EQ(f->get_field(-1), nullptr);
    }
}

} // namespace
} // namespace jx::test
