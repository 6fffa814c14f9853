// Definition files: the bytes written, the round trip, and every refusal
// leaving the format as it was.
#include "textimport_helpers.h"

#include "support/message_boxes.h"

#include <cstring>

namespace jx::test {
namespace {

using namespace std::string_literals;
using Ints = std::vector<int>;

std::string le32(int value) {
    const auto v = static_cast<unsigned>(value);
    return {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
}

// The header of a definition file, as a host on another machine wrote it.
std::string header(int columns, int type, bool fixed = false, int first_line = 1) {
    return "IMPORT_TEXT_5.0\0"s + char(fixed) + '\1' + '\0' + '\4' + '|' + "\0\0\0"s +
           le32(first_line) + le32(0) + le32(columns) + le32(type);
}

// What a load may change, to compare before and after a refusal.
std::string state_of(const txtimport_format& f) {
    std::string s(f.signature, sizeof f.signature);
    s += std::to_string(f.fixed_width) + std::to_string(f.use_quotes) +
         std::to_string(f.merge_delimiters) + std::to_string(f.delimiter_type) + f.other_delimiter +
         f.delimiter;
    for (int v :
         {f.first_line, f.num_field_kinds, f.num_col_fields, f.definition_type, f.num_columns})
        s += ' ' + std::to_string(v);
    for (int v : fields_of(f)) s += " f" + std::to_string(v);
    for (int v : positions_of(f)) s += " p" + std::to_string(v);
    return s + f.definition_file;
}

class DefinitionFile : public ImportFixture {
protected:
    // A delimited format of three columns with all options set.
    std::unique_ptr<txtimport_format> sample(int type = 5) {
        auto f = format_of("a;b;c\n1;2;3\n", 0, type, true);
        f->delimiter_type = 1;
        f->use_quotes = true;
        f->other_delimiter = '|';
        f->first_line = 2;
        f->set_delimiter();
        f->read_disp_lines();
        f->set_col_widths();
        f->set_col_fields();
        f->col_fields[0] = 3;
        f->col_fields[2] = 7;
        return f;
    }
};

TEST_F(DefinitionFile, DelimitedLayoutIsFortyBytesAndFourAColumn) {
    auto f = sample();
    const std::string path = dir.file("sites.def");
    ScopedMessageBoxes boxes;
    f->save_definition_file(path.c_str());
    EXPECT_EQ(boxes.count(), 0u);
    const std::string expected = "IMPORT_TEXT_5.0\0"s + "\0\1\0\1|\0\0\0"s + le32(2) + le32(0) +
                                 le32(3) + le32(5) + le32(3) + le32(0) + le32(7);
    EXPECT_EQ(TempDir::read(path), expected);
    EXPECT_EQ(std::string(f->definition_file), path);
    EXPECT_STREQ(f->signature, "IMPORT_TEXT_5.0");
}

TEST_F(DefinitionFile, FixedWidthAddsTheBoundaries) {
    auto f = fixed("Mont Blanc    4808  45.8326 N\n", {0, 14, 20});
    ASSERT_EQ(positions_of(*f), (Ints{0, 14, 20, 29}));
    const std::string path = dir.file("fixed.def");
    f->save_definition_file(path.c_str());
    const std::string bytes = TempDir::read(path);
    ASSERT_EQ(bytes.size(), 40u + 12u + 16u);
    EXPECT_EQ(bytes[16], '\1');
    EXPECT_EQ(bytes.substr(52), le32(0) + le32(14) + le32(20) + le32(29));
}

// The file always carries the boundaries its count promises, even when the
// host saved before bringing col_fields in step with the columns.
TEST_F(DefinitionFile, CountsInTheFileAgree) {
    auto f = fixed("0123456789\n", {0, 5});
    f->set_fixed_column(8); // three columns, col_fields still sized for two
    const std::string path = dir.file("step.def");
    f->save_definition_file(path.c_str());
    EXPECT_EQ(TempDir::read(path).size(), 40u + 8u + 12u);
}

TEST_F(DefinitionFile, RoundTripInBothModes) {
    for (bool fixed_width : {false, true}) {
        auto source =
            fixed_width ? fixed("Mont Blanc    4808  45.8326 N\n", {0, 14, 20}) : sample(1);
        source->definition_type = 1;
        source->merge_delimiters = true;
        source->set_delimiter();
        source->col_fields[1] = 11;
        const std::string path = dir.file("round.def");
        source->save_definition_file(path.c_str());

        // The target has other options, another column count and labels.
        auto target = format_of("x,y,z,w,v\n", 0, 1, true);
        target->set_delimiter();
        target->read_disp_lines();
        target->set_col_widths();
        target->set_col_fields();
        target->set_header_item(4, "kept");
        ScopedMessageBoxes boxes;
        target->load_definition_file(path.c_str());
        EXPECT_EQ(boxes.count(), 0u);
        EXPECT_EQ(target->fixed_width, fixed_width);
        EXPECT_EQ(target->use_quotes, source->use_quotes);
        EXPECT_TRUE(target->merge_delimiters);
        EXPECT_EQ(target->delimiter_type, source->delimiter_type);
        EXPECT_EQ(target->first_line, source->first_line);
        EXPECT_EQ(target->num_columns, source->num_col_fields);
        EXPECT_EQ(fields_of(*target), fields_of(*source));
        if (fixed_width) {
            EXPECT_EQ(positions_of(*target), positions_of(*source));
        }
        EXPECT_EQ(target->delimiter, source->delimiter);
        EXPECT_EQ(std::string(target->definition_file), path);
        EXPECT_STREQ(target->header_items[4], "kept");
    }
}

TEST_F(DefinitionFile, RefusalsLeaveTheFormatAsItWas) {
    const struct {
        const char* name;
        std::string bytes;
        const char* caption;
        const char* text;
    } cases[] = {
        {"older signature", "IMPORT_TEXT_4.0\0"s + header(0, 5).substr(16), "File error",
         "Wrong file format"},
        {"unterminated", "IMPORT_TEXT_5.0X" + header(0, 5).substr(16), "File error",
         "Wrong file format"},
        {"other import", header(0, 2), "File error", "Wrong type of text import definition file"},
        {"negative count", header(-1, 5), "File error", "Wrong file format"},
        {"39 bytes", header(0, 5).substr(0, 39), "File error", "Read error at end of file"},
        {"empty", "", "File error", "Read error at end of file"},
        {"columns cut", header(3, 5) + le32(1) + le32(2), "File error",
         "Read error at end of file"},
        {"boundaries cut", header(2, 5, true) + le32(1) + le32(2) + le32(0) + le32(5), "File error",
         "Read error at end of file"},
        {"huge count", header(0x7FFFFFFF, 5) + le32(1), "File error", "Read error at end of file"},
        {"count past 4 GiB", header(0x40000000, 5, true), "File error",
         "Read error at end of file"},
    };
    for (const auto& c : cases) {
        auto f = sample();
        const std::string before = state_of(*f);
        const std::string path = dir.write("refused.def", c.bytes);
        ScopedMessageBoxes boxes;
        f->load_definition_file(path.c_str());
        ASSERT_EQ(boxes.count(), 1u) << c.name;
        EXPECT_EQ(boxes.last().caption, c.caption) << c.name;
        EXPECT_NE(boxes.last().text.find(c.text), std::string::npos)
            << c.name << ": " << boxes.last().text;
        EXPECT_EQ(boxes.last().style, static_cast<UINT>(MB_OK | MB_ICONERROR)) << c.name;
        EXPECT_EQ(boxes.last().owner, nullptr) << c.name;
        EXPECT_EQ(state_of(*f), before) << c.name;
    }
}

TEST_F(DefinitionFile, LargerFileIsReadForWhatItHolds) {
    auto f = sample();
    const std::string path =
        dir.write("long.def", header(2, 5) + le32(4) + le32(1) + "trailing bytes");
    ScopedMessageBoxes boxes;
    f->load_definition_file(path.c_str());
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_EQ(fields_of(*f), (Ints{4, 1}));
    EXPECT_EQ(f->delimiter, '|'); // type 4 in the header
}

TEST_F(DefinitionFile, FileFailuresAreShownThroughTheRecord) {
    auto f = sample();
    const std::string before = state_of(*f);
    const std::string missing = dir.file("missing.def");
    const std::string no_folder = dir.file("no such folder/out.def");
    const std::string too_long = dir.file(std::string(300, 'n') + ".def");
    ScopedMessageBoxes boxes;

    f->load_definition_file(missing.c_str());
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().caption, "File error");
    EXPECT_EQ(boxes.last().text.rfind(missing + "\r\n", 0), 0u) << boxes.last().text;

    f->save_definition_file(no_folder.c_str());
    ASSERT_EQ(boxes.count(), 2u);
    EXPECT_EQ(boxes.last().caption, "File error");
    EXPECT_NE(boxes.last().text.find(no_folder), std::string::npos);

    for (const std::string& name : {too_long}) {
        f->save_definition_file(name.c_str());
        f->load_definition_file(name.c_str());
    }
    ASSERT_EQ(boxes.count(), 4u);
    EXPECT_NE(boxes.last().text.find("too long"), std::string::npos) << boxes.last().text;
    EXPECT_FALSE(TempDir::exists(too_long));

    // Saving set the signature before the failed writes; nothing else moved.
    std::memset(f->signature, 0, sizeof f->signature);
    EXPECT_EQ(state_of(*f), before);
}

} // namespace
} // namespace jx::test
