// txtimport_format: construction, display lines, the preview layout in both
// modes, labels and the check of the column assignments.
#include "textimport_helpers.h"

namespace jx::test {
namespace {

class Columns : public ImportFixture {};

TEST_F(Columns, ConstructionReadsTheFile) {
    auto f = format_of("name,height\nA,10\n", 3, 7);
    EXPECT_EQ(f->line_buffer_size, 13u); // the longest line and 2
    EXPECT_EQ(f->num_header_items, 3);
    EXPECT_EQ(std::string(f->data_file), dir.file("data.txt"));

    // Without lines it stops after reading; what follows must still be safe.
    auto empty = format_of("\n\n", 3, 7);
    EXPECT_EQ(empty->line_buffer, nullptr);
    empty->read_disp_lines();
    empty->set_col_widths();
    EXPECT_EQ(empty->num_columns, 0);
    int index;
    EXPECT_FALSE(empty->init_import() && empty->set_line_buffer(index));
}

// The display starts one line before the first line to import (the column
// titles, usually) and shows at most 100 lines.
TEST_F(Columns, DisplayLines) {
    std::string text;
    for (int i = 0; i < 150; ++i) text += "line " + std::to_string(i) + "\n";
    auto f = format_of(text);
    // First display line, index of the first data line, lines shown, width.
    const auto display = [&](int first_line) {
        f->first_line = first_line;
        f->read_disp_lines();
        const std::string first = f->num_disp_lines ? f->disp_lines[0] : "-";
        return first + ' ' + std::to_string(f->first_disp_data_line) + ' ' +
               std::to_string(f->num_disp_lines) + ' ' + std::to_string(f->disp_width);
    };
    EXPECT_EQ(display(1), "line 0 0 100 7");
    EXPECT_EQ(display(-7), "line 0 0 100 7"); // below 1 reads as 1
    EXPECT_EQ(display(2), "line 0 1 100 7");
    EXPECT_EQ(display(5), "line 3 1 100 8");
    EXPECT_EQ(display(140), "line 138 1 12 8");
    EXPECT_EQ(display(152), "- 1 0 0");
}

// Quotes count in the width, and a quote left open at the end of a display
// line keeps the next line's delimiters hidden until it closes.
TEST_F(Columns, DelimitedPreviewLayouts) {
    EXPECT_EQ(positions_of(*laid_out("a,b,c\n1,2\n", 0)), (Ints{0, 2, 4, 6}));
    EXPECT_EQ(positions_of(*laid_out("a   b\n", 2, false, true)), (Ints{0, 2, 4}));
    EXPECT_EQ(positions_of(*laid_out("a   b\n", 2)), (Ints{0, 2, 3, 4, 6}));
    EXPECT_EQ(positions_of(*laid_out("\"x,y\",z\n", 0, true)), (Ints{0, 6, 8}));
    EXPECT_EQ(positions_of(*laid_out("\"x,y\",z\n", 0)), (Ints{0, 3, 6, 8}));
    EXPECT_EQ(positions_of(*laid_out("\r\n", 0)), (Ints{0, 1}));
    EXPECT_EQ(positions_of(*laid_out("\"a,b\nc,d\",e\n", 0, true)), (Ints{0, 5, 7}));
}

// A label wider than its column moves every later boundary; in kind mode the
// label is the name of the kind the column supplies.
TEST_F(Columns, LabelsWidenTheGrid) {
    auto f = laid_out("a,bbbbbbbb,c\n", 0);
    f->set_header_item(0, "Label");
    f->set_header_item(1, "Short");
    f->reset_delim_columns();
    EXPECT_EQ(positions_of(*f), (Ints{0, 6, 15, 17}));

    auto k = laid_out("a,b\n", 0, false, false, {}, 2);
    k->set_header_item(1, "Frequency");
    k->col_fields[0] = 9; // a kind without a name is passed over
    k->col_fields[1] = 2;
    k->reset_delim_columns();
    EXPECT_EQ(positions_of(*k), (Ints{0, 2, 12}));
}

// A boundary is inserted in order or, when there already, removed; one at
// or past the preview's width is refused.
TEST_F(Columns, FixedWidthBoundaries) {
    auto f = laid_out("01234567890123456789\nshort\n", 0, false, false, {8});
    const struct {
        unsigned position;
        bool changed;
        Ints positions;
    } steps[] = {{8, true, {0, 20}},        {20, false, {0, 20}},   {15, true, {0, 15, 20}},
                 {5, true, {0, 5, 15, 20}}, {15, true, {0, 5, 20}}, {0, true, {5, 20}}};
    for (const auto& s : steps) {
        EXPECT_EQ(f->set_fixed_column(s.position), s.changed) << s.position;
        EXPECT_EQ(positions_of(*f), s.positions) << s.position;
    }
    f->set_col_widths(); // laying out again starts from one column
    EXPECT_EQ(positions_of(*f), (Ints{0, 20}));
}

// The catalog's conversions are filled by the library, not by printf: a kind
// named "100%s %d" is shown as it is.
TEST_F(Columns, DuplicateChecks) {
    const struct {
        int kinds;
        Ints fields;
        const char* message;
    } cases[] = {
        {5, {0, 0, 0, 0, 0}, "Column definitions are incomplete"},
        {5, {0, 4, 1, 0, 4}, "Columns 2 and 5 are both defined as Height"},
        {5, {7, 0, 0, 7, 0}, "Columns 1 and 4 are both defined as "},
        {5, {5, 0, 0, 5, 0}, "Columns 1 and 4 are both defined as 100%s %d"},
        {5, {1, 2, 3, 4, 0}, nullptr},
        {0, {0, 0, 0, 0, 0}, "Column definitions are incomplete"},
        {0, {3, 9, 3, 9, 0}, "Columns 1 and 3 have the same definition"},
        {0, {3, 9, 0, 1, 2}, nullptr},
    };
    for (const auto& c : cases) {
        auto f = laid_out("a,b,c,d,e\n", 0, false, false, {}, c.kinds);
        const char* names[] = {"Site", "Name", "Latitude", "Height", "100%s %d"};
        for (int i = 0; i < c.kinds; ++i) f->set_header_item(i, names[i]);
        std::copy(c.fields.begin(), c.fields.end(), f->col_fields);
        ScopedMessageBoxes boxes;
        EXPECT_EQ(f->check_duplicates(), !c.message);
        ASSERT_EQ(boxes.count(), c.message ? 1u : 0u);
        if (!c.message) continue;
        EXPECT_EQ(boxes.last().text, c.message);
        EXPECT_EQ(boxes.last().caption, "Data entry error");
        EXPECT_EQ(boxes.last().style, static_cast<UINT>(MB_OK | MB_ICONERROR));
        EXPECT_EQ(fields_of(*f), c.fields);
    }
}

// A copy owns all it holds; its display lines point into its own lines.
TEST_F(Columns, CopiesAreIndependent) {
    auto f = laid_out("t1,t2\na,b\nc,d\n", 0);
    f->first_line = 3;
    f->read_disp_lines();
    f->set_header_item(0, "first");
    txtimport_format copy(*f);
    auto other = format_of("x\n");
    *other = copy;
    f.reset();
    EXPECT_EQ(other->disp_lines[1], other->lines.strings[2]);
    EXPECT_STREQ(other->header_items[0], "first");
    int index;
    ASSERT_TRUE(other->init_import() && other->set_line_buffer(index));
    EXPECT_STREQ(other->get_field(1), "d");
}

} // namespace
} // namespace jx::test
