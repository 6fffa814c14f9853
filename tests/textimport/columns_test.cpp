// txtimport_format: construction, display lines, the preview layout in both
// modes, header items and the check of the column assignments.
#include "textimport_helpers.h"

#include "support/message_boxes.h"

namespace jx::test {
namespace {

using Ints = std::vector<int>;

class Columns : public ImportFixture {};

TEST_F(Columns, ConstructionReadsTheFileAndSetsTheDefaults) {
    auto f = format_of("name,height\nA,10\nBB,200\n", 3, 7, false);
    EXPECT_EQ(f->lines.count, 3);
    EXPECT_EQ(f->line_buffer_size, 13u); // "name,height" + 2
    EXPECT_EQ(f->first_line, 1);
    EXPECT_EQ(f->display_colour, 0x7B7BBEu);
    EXPECT_EQ(f->definition_type, 7);
    EXPECT_FALSE(f->column_headers);
    EXPECT_EQ(f->num_field_kinds, 3);
    EXPECT_EQ(f->num_header_items, 3);
    EXPECT_EQ(f->header_items[2], nullptr);
    EXPECT_EQ(std::string(f->data_file), dir.file("data.txt"));
    EXPECT_STREQ(f->definition_file, "");
}

TEST_F(Columns, FileWithoutLinesStopsAfterReading) {
    auto f = format_of("\n\n\n", 3, 7, false);
    EXPECT_EQ(f->lines.count, 0);
    EXPECT_EQ(f->line_buffer, nullptr);
    EXPECT_EQ(f->header_items, nullptr);
    EXPECT_STREQ(f->data_file, "");
    f->read_disp_lines();
    f->set_col_widths();
    EXPECT_EQ(f->num_columns, 0);
    int index = -1;
    EXPECT_FALSE(f->init_import() && f->set_line_buffer(index));
}

TEST_F(Columns, ConstructionThrowsTheReadersRecord) {
    const std::string path = dir.write("binary.dat", std::string("\x01\x02\x03", 3));
    EXPECT_THROW(txtimport_format(&record, path.c_str(), 0, 1, true), Error_Handler*);
    EXPECT_EQ(record.error_code, 342);
    const std::string missing = dir.file("none.txt");
    EXPECT_THROW(txtimport_format(&record, missing.c_str(), 0, 1, true), Error_Handler*);
    EXPECT_EQ(record.last_error_code, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(Columns, DisplayLinesStartOneBeforeTheFirstLine) {
    std::string text;
    for (int i = 0; i < 150; ++i) text += "line " + std::to_string(i) + "\n";
    auto f = format_of(text);
    const struct {
        int first_line;
        int start;
        int first_data;
        int shown;
        DWORD width;
    } cases[] = {
        {1, 0, 0, 100, 7},    {2, 0, 1, 100, 7},   {5, 3, 1, 100, 8},
        {0, 0, 0, 100, 7},    {-7, 0, 0, 100, 7}, // below 1 reads as 1
        {140, 138, 1, 12, 8}, {152, 150, 1, 0, 0}, {400, 398, 1, 0, 0},
    };
    for (const auto& c : cases) {
        f->first_line = c.first_line;
        f->read_disp_lines();
        EXPECT_EQ(f->num_disp_lines, c.shown) << c.first_line;
        EXPECT_EQ(f->first_disp_data_line, c.first_data) << c.first_line;
        EXPECT_EQ(f->disp_width, c.width) << c.first_line;
        if (c.shown > 0) {
            EXPECT_EQ(f->disp_lines[0], f->lines.strings[c.start]) << c.first_line;
        }
    }
}

TEST_F(Columns, DelimitedPreviewLayouts) {
    const struct {
        const char* text;
        BYTE type;
        bool quotes;
        bool merge;
        Ints positions;
    } cases[] = {
        {"a,b,c\n1,2\n", 0, false, false, {0, 2, 4, 6}},
        {"a   b\n", 2, false, true, {0, 2, 4}},
        {"a   b\n", 2, false, false, {0, 2, 3, 4, 6}},
        {"\"x,y\",z\n", 0, true, false, {0, 6, 8}}, // quotes count in the width
        {"\"x,y\",z\n", 0, false, false, {0, 3, 6, 8}},
        {"name;height\nMont Blanc;4808\n", 1, false, false, {0, 11, 18}},
        {"\r\n", 0, false, false, {0, 1}}, // an empty line has one column
        // A quote left open at the end of a display line keeps the next
        // line's delimiters hidden until it closes.
        {"\"a,b\nc,d\",e\n", 0, true, false, {0, 5, 7}},
        {"\"a,b\nc,d\",e\n", 0, false, false, {0, 3, 6, 8}},
    };
    for (const auto& c : cases) {
        auto f = delimited(c.text, c.type, c.quotes, c.merge);
        EXPECT_EQ(positions_of(*f), c.positions) << c.text;
        EXPECT_EQ(f->num_col_fields, f->num_columns) << c.text;
    }
}

TEST_F(Columns, LabelsWidenTheGrid) {
    // Per-column mode: a label of 5 on a column 2 wide moves every later
    // boundary up by 4; a column wide enough or without a label stays.
    auto f = delimited("a,bbbbbbbb,c\n", 0);
    ASSERT_EQ(positions_of(*f), (Ints{0, 2, 11, 13}));
    f->set_header_item(0, "Label");
    f->set_header_item(1, "Short");
    f->set_header_item(7, "out of range");
    f->reset_delim_columns();
    EXPECT_EQ(positions_of(*f), (Ints{0, 6, 15, 17}));

    // Kind mode: the label is the name of the kind the column supplies.
    auto k = format_of("a,b\n", 2, 1, false);
    k->set_delimiter();
    k->read_disp_lines();
    k->set_col_widths();
    k->set_col_fields();
    k->set_header_item(0, "Site");
    k->set_header_item(1, "Frequency");
    k->col_fields[1] = 2;
    k->col_fields[0] = 9; // a kind without a name is passed over
    k->reset_delim_columns();
    EXPECT_EQ(positions_of(*k), (Ints{0, 2, 12}));
}

TEST_F(Columns, FixedWidthBoundaries) {
    auto f = format_of("01234567890123456789\nshort\n");
    f->fixed_width = true;
    f->read_disp_lines();
    ASSERT_EQ(f->disp_width, 20u);
    f->set_col_widths();
    EXPECT_EQ(positions_of(*f), (Ints{0, 20}));

    const struct {
        unsigned position;
        bool changed;
        Ints positions;
    } steps[] = {
        {8, true, {0, 8, 20}},   {8, true, {0, 20}},        {20, false, {0, 20}},
        {15, true, {0, 15, 20}}, {5, true, {0, 5, 15, 20}}, {99, false, {0, 5, 15, 20}},
        {15, true, {0, 5, 20}},  {0, true, {5, 20}},        {0, true, {0, 5, 20}},
    };
    for (const auto& s : steps) {
        EXPECT_EQ(f->set_fixed_column(s.position), s.changed) << s.position;
        EXPECT_EQ(positions_of(*f), s.positions) << s.position;
    }
    // col_fields follows only when set_col_fields is called.
    EXPECT_EQ(f->num_col_fields, 0);
    f->set_col_fields();
    EXPECT_EQ(fields_of(*f), (Ints{0, 0}));

    // Laying out again starts over from one column across the preview.
    f->set_col_widths();
    EXPECT_EQ(positions_of(*f), (Ints{0, 20}));
}

TEST_F(Columns, ColumnArraysFollowTheColumnCount) {
    auto per_column = delimited("a,b,c\n", 0);
    per_column->set_header_item(1, "label");
    per_column->col_fields[1] = 4;
    per_column->set_col_fields(); // same count: nothing changes
    EXPECT_STREQ(per_column->header_items[1], "label");
    per_column->reset_selcolumn_header(1);
    EXPECT_EQ(per_column->header_items[1], nullptr);
    EXPECT_EQ(fields_of(*per_column), (Ints{0, 0, 0}));
    per_column->initialize_columns(5);
    EXPECT_EQ(fields_of(*per_column), (Ints{0, 0, 0, 0, 0}));
    EXPECT_EQ(positions_of(*per_column).size(), 6u);

    // Kind mode keeps its kind names when the columns change.
    auto kinds = format_of("a,b\n", 2, 1, false);
    kinds->set_header_item(0, "Site");
    kinds->num_columns = 4;
    kinds->set_col_fields();
    kinds->init_header_list(); // only per-column mode has a label list
    EXPECT_EQ(kinds->num_header_items, 2);
    EXPECT_STREQ(kinds->header_items[0], "Site");
    EXPECT_EQ(fields_of(*kinds), (Ints{0, 0, 0, 0}));
}

TEST_F(Columns, DuplicateChecks) {
    const struct {
        bool per_column;
        Ints fields;
        bool ok;
        const char* message;
    } cases[] = {
        {false, {0, 0, 0, 0, 0}, false, "Column definitions are incomplete"},
        {false, {0, 4, 1, 0, 4}, false, "Columns 2 and 5 are both defined as Height"},
        {false, {2, 2, 4, 4, 0}, false, "Columns 1 and 2 are both defined as Name"},
        {false, {7, 0, 0, 7, 0}, false, "Columns 1 and 4 are both defined as "},
        {false, {5, 0, 0, 5, 0}, false, "Columns 1 and 4 are both defined as 100%s %d"},
        {false, {1, 2, 3, 4, 0}, true, nullptr},
        {true, {0, 0, 0, 0, 0}, false, "Column definitions are incomplete"},
        {true, {3, 9, 3, 9, 0}, false, "Columns 1 and 3 have the same definition"},
        {true, {3, 9, 0, 1, 2}, true, nullptr},
    };
    for (const auto& c : cases) {
        auto f = c.per_column ? format_of("a,b,c,d,e\n", 0, 1, true)
                              : format_of("a,b,c,d,e\n", 5, 1, false);
        f->set_delimiter();
        f->read_disp_lines();
        f->set_col_widths();
        f->set_col_fields();
        if (!c.per_column) {
            const char* names[] = {"Site", "Name", "Latitude", "Height", "100%s %d"};
            for (int i = 0; i < 5; ++i) f->set_header_item(i, names[i]);
        }
        std::copy(c.fields.begin(), c.fields.end(), f->col_fields);
        ScopedMessageBoxes boxes;
        EXPECT_EQ(f->check_duplicates(), c.ok);
        if (c.ok) {
            EXPECT_EQ(boxes.count(), 0u);
            continue;
        }
        ASSERT_EQ(boxes.count(), 1u);
        EXPECT_EQ(boxes.last().text, c.message);
        EXPECT_EQ(boxes.last().caption, "Data entry error");
        EXPECT_EQ(boxes.last().style, static_cast<UINT>(MB_OK | MB_ICONERROR));
        EXPECT_EQ(boxes.last().owner, nullptr);
        EXPECT_EQ(fields_of(*f), c.fields); // nothing changes
    }
}

// A copy owns all it holds; its display lines point into its own lines.
TEST_F(Columns, CopiesAreIndependent) {
    auto f = delimited("t1,t2\na,b\nc,d\n", 0);
    f->first_line = 3;
    f->read_disp_lines();
    f->set_header_item(0, "first");
    f->col_fields[1] = 2;
    txtimport_format copy(*f);
    EXPECT_EQ(copy.num_disp_lines, 2);
    EXPECT_EQ(copy.disp_lines[0], copy.lines.strings[1]);
    EXPECT_STREQ(copy.disp_lines[1], "c,d");
    EXPECT_NE(copy.header_items[0], f->header_items[0]);
    EXPECT_STREQ(copy.header_items[0], "first");
    EXPECT_EQ(fields_of(copy), fields_of(*f));
    EXPECT_EQ(positions_of(copy), positions_of(*f));

    auto other = format_of("x\n");
    *other = copy;
    f.reset();
    EXPECT_STREQ(other->disp_lines[0], "a,b");
    EXPECT_STREQ(other->header_items[0], "first");
    int index;
    ASSERT_TRUE(other->init_import());
    ASSERT_TRUE(other->set_line_buffer(index));
    EXPECT_STREQ(other->get_field(1), "d");
}

} // namespace
} // namespace jx::test
