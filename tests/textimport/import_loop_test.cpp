// The import loop: which lines it visits and the field text of each column
// in both column modes.
#include "textimport_helpers.h"

namespace jx::test {
namespace {

using Field = const char*;
using Row = std::vector<std::string>;
const std::string kNull = "(null)";

std::string text_of(const char* field) {
    return field ? std::string(field) : kNull;
}

// Every field of every line, columns 0 to `columns` - 1.
std::vector<Row> import_all(txtimport_format& f, int columns) {
    std::vector<Row> rows;
    int index = -1;
    if (!f.init_import()) return rows;
    while (f.set_line_buffer(index)) {
        Row row;
        for (int c = 0; c < columns; ++c) row.push_back(text_of(f.get_field(c)));
        rows.push_back(row);
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
        std::vector<int> indexes;
    } cases[] = {
        {1, true, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {9, true, {8, 9}},
        {11, true, {}},
        {12, false, {}},
        {0, true, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}}, // below 1 reads as 1
        {-5, true, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
    };
    for (const auto& c : cases) {
        f->first_line = c.first_line;
        EXPECT_EQ(f->init_import(), c.starts) << c.first_line;
        std::vector<int> seen;
        int index = -1;
        while (f->set_line_buffer(index)) {
            seen.push_back(index);
            EXPECT_STREQ(f->line_buffer, f->lines.strings[index]);
        }
        EXPECT_EQ(index, f->lines.count) << c.first_line;
        EXPECT_FALSE(f->set_line_buffer(index)); // and it stays at the end
        if (c.starts) {
            EXPECT_EQ(seen, c.indexes) << c.first_line;
        }
    }
}

TEST_F(ImportLoop, FixedWidthColumns) {
    const std::string long_name(100, 'w');
    auto f = fixed("ab  cdefg  x\n"
                   "ab\n"
                   "\r\n"
                   "  \t    q\x1F Bogot\xE1  \n" +
                       long_name + "\n",
                   {0, 4, 9});
    ASSERT_EQ(f->num_columns, 3);
    f->col_positions[3] = 12;
    EXPECT_EQ(import_all(*f, 4), (std::vector<Row>{
                                     {"ab", "cdefg", "x", kNull},
                                     {"ab", kNull, kNull, kNull},  // columns past a short line
                                     {kNull, kNull, kNull, kNull}, // an empty line
                                     {kNull, "q", "Bogot\xE1", kNull},
                                     {"wwww", "wwwww", std::string(79, 'w'), kNull},
                                 }));
}

TEST_F(ImportLoop, DelimitedColumns) {
    const std::string long_field(200, 'z');
    const struct {
        const char* name;
        std::string text;
        BYTE type;
        bool quotes;
        bool merge;
        std::vector<Row> rows;
    } cases[] = {
        {"plain", "a,,b\n", 0, false, false, {{"a", "", "b", kNull}}},
        {"merged", "a,,b\n", 0, false, true, {{"a", "b", kNull, kNull}}},
        {"quoted", "\"x,y\",z\n", 0, true, false, {{"\"x,y\"", "z", kNull, kNull}}},
        {"unquoted", "\"x,y\",z\n", 0, false, false, {{"\"x", "y\"", "z", kNull}}},
        {"blanks kept", " a ; b \n", 1, false, false, {{" a ", " b ", kNull, kNull}}},
        {"empty line",
         "a,b\n\r\n",
         0,
         false,
         false,
         {{"a", "b", kNull, kNull}, {"", kNull, kNull, kNull}}},
        // Each line starts outside quotes, whatever the one before left open.
        {"open quote",
         "\"a,b\nc,d\",e\n",
         0,
         true,
         false,
         {{"\"a,b", kNull, kNull, kNull}, {"c", "d\",e", kNull, kNull}}},
        {"long field",
         long_field + ",after\n",
         0,
         false,
         false,
         {{std::string(79, 'z'), "after", kNull, kNull}}},
        {"tab", "1\t2\t\t4\n", 3, false, false, {{"1", "2", "", "4"}}},
    };
    for (const auto& c : cases) {
        auto f = delimited(c.text, c.type, c.quotes, c.merge);
        EXPECT_EQ(import_all(*f, 4), c.rows) << c.name;
    }
}

// Long lines, long quoted fields, long runs of delimiters and many columns,
// read in and out of order.
TEST_F(ImportLoop, LongLinesAndManyColumns) {
    std::string wide;
    for (int i = 0; i < 100; ++i) wide += (i ? "," : "") + std::to_string(i * 7);
    const std::string quoted = "\"a,b,c,d,e,f,g,h,i,j,k\",x,\"y\"";
    const std::string run = "left" + std::string(21, ';') + "right;;end";
    auto f = delimited(wide + "\n" + quoted + "\n" + run + "\n", 0, true);
    int index;
    ASSERT_TRUE(f->init_import());

    ASSERT_TRUE(f->set_line_buffer(index));
    for (int c : {99, 0, 63, 64, 65, 1, 98})
        EXPECT_EQ(text_of(f->get_field(c)), std::to_string(c * 7)) << c;
    EXPECT_EQ(f->get_field(100), nullptr);
    EXPECT_EQ(f->get_field(64), std::string("448"));

    ASSERT_TRUE(f->set_line_buffer(index));
    EXPECT_STREQ(f->get_field(2), "\"y\"");
    EXPECT_STREQ(f->get_field(0), "\"a,b,c,d,e,f,g,h,i,j,k\"");
    EXPECT_STREQ(f->get_field(1), "x");
    f->use_quotes = false; // the options in force are the ones that count
    EXPECT_STREQ(f->get_field(1), "b");

    ASSERT_TRUE(f->set_line_buffer(index));
    f->delimiter = ';';
    EXPECT_STREQ(f->get_field(1), "");
    f->merge_delimiters = true;
    EXPECT_EQ(text_of(f->get_field(1)), "right");
    EXPECT_EQ(text_of(f->get_field(2)), "end");
    EXPECT_EQ(f->get_field(3), nullptr);
}

// In kind mode the host asks for a kind, and the column that supplies it
// answers.
TEST_F(ImportLoop, KindModeFindsTheColumnOfAKind) {
    for (bool fixed_width : {false, true}) {
        auto f = format_of("c0  c1  c2\n", 3, 1, false);
        f->delimiter_type = 2;
        f->merge_delimiters = true;
        f->fixed_width = fixed_width;
        f->set_delimiter();
        f->read_disp_lines();
        f->set_col_widths();
        if (fixed_width) {
            f->set_fixed_column(4);
            f->set_fixed_column(8);
        }
        f->set_col_fields();
        ASSERT_EQ(f->num_columns, 3);
        f->col_fields[0] = 0;
        f->col_fields[1] = 2;
        f->col_fields[2] = 1;
        int index;
        ASSERT_TRUE(f->init_import());
        ASSERT_TRUE(f->set_line_buffer(index));
        EXPECT_STREQ(f->get_field(0), "c2");
        EXPECT_STREQ(f->get_field(1), "c1");
        EXPECT_EQ(f->get_field(2), nullptr);
        EXPECT_EQ(f->get_field(-1), nullptr);
    }
}

TEST_F(ImportLoop, FieldsShareOneBuffer) {
    auto one = delimited("a,b\n", 0);
    auto two = delimited("c,d\n", 0);
    int index;
    ASSERT_TRUE(one->init_import() && one->set_line_buffer(index));
    ASSERT_TRUE(two->init_import() && two->set_line_buffer(index));
    const char* first = one->get_field(1);
    EXPECT_STREQ(first, "b");
    EXPECT_EQ(two->get_field(0), first);
    EXPECT_STREQ(first, "c");
}

TEST_F(ImportLoop, GuardsAgainstAWalkNeverStarted) {
    auto f = delimited("a,b\n", 0);
    EXPECT_STREQ(f->get_field(0), ""); // the line buffer is still empty
    f->current_line = -20;
    int index;
    EXPECT_FALSE(f->set_line_buffer(index));
    EXPECT_EQ(f->get_field(5), nullptr);
}

} // namespace
} // namespace jx::test
