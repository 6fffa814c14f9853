// Definition files: the bytes written, the round trip, and every refusal
// leaving the format as it was.
#include "textimport_helpers.h"

namespace jx::test {
namespace {

using namespace std::string_literals;

std::string le32(int value) {
    const auto v = static_cast<unsigned>(value);
    return {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
}

// A header as a host on another machine wrote it: options, then first line,
// kinds, column count and type.
std::string header(int columns, int type, bool fixed = false) {
    return "IMPORT_TEXT_5.0\0"s + char(fixed) + "\1\0\4|\0\0\0"s + le32(1) + le32(0) +
           le32(columns) + le32(type);
}

class DefinitionFile : public ImportFixture {
protected:
    // Three columns, semicolon-delimited, with quotes, from the second line.
    std::unique_ptr<txtimport_format> sample(const std::vector<unsigned>& starts = {}) {
        auto f = laid_out("a;b;c\n1;2;3\n", 1, true, false, starts);
        f->definition_type = 5;
        f->other_delimiter = '|';
        f->first_line = 2;
        f->col_fields[0] = 3;
        f->col_fields[2] = 7;
        return f;
    }
};

// 40 bytes, 4 a column and, for fixed width, 4 a boundary (one more than
// the columns), even when the host saved before set_col_fields caught up.
TEST_F(DefinitionFile, BytesWritten) {
    const std::string path = dir.file("sites.def");
    ScopedMessageBoxes boxes;
    sample()->save_definition_file(path.c_str());
    EXPECT_EQ(TempDir::read(path), "IMPORT_TEXT_5.0\0"s + "\0\1\0\1|\0\0\0"s + le32(2) + le32(0) +
                                       le32(3) + le32(5) + le32(3) + le32(0) + le32(7));
    auto f = sample({2, 4});
    f->save_definition_file(path.c_str());
    EXPECT_EQ(TempDir::read(path).substr(16, 1) + TempDir::read(path).substr(40),
              "\1"s + le32(3) + le32(0) + le32(7) + le32(0) + le32(2) + le32(4) + le32(5));
    f->set_fixed_column(3); // four columns, col_fields still sized for three
    f->save_definition_file(path.c_str());
    EXPECT_EQ(TempDir::read(path).size(), 40u + 12u + 16u);
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_EQ(std::string(f->definition_file), path);
}

TEST_F(DefinitionFile, RoundTripInBothModes) {
    for (bool fixed_width : {false, true}) {
        auto source = sample(fixed_width ? std::vector<unsigned>{2, 4} : std::vector<unsigned>{});
        source->definition_type = 1;
        source->merge_delimiters = true;
        const std::string path = dir.file("round.def");
        source->save_definition_file(path.c_str());

        // The target has other options, another column count and a label.
        auto target = laid_out("x,y,z,w,v\n", 0);
        target->set_header_item(4, "kept");
        ScopedMessageBoxes boxes;
        target->load_definition_file(path.c_str());
        EXPECT_EQ(boxes.count(), 0u);
        EXPECT_EQ(target->num_columns, 3);
        EXPECT_EQ(target->delimiter, ';');
        EXPECT_STREQ(target->definition_file, path.c_str());
        // Saved again, it writes the very same bytes.
        const std::string again = dir.file("again.def");
        target->save_definition_file(again.c_str());
        EXPECT_EQ(TempDir::read(again), TempDir::read(path));
        EXPECT_STREQ(target->header_items[4], "kept");
    }
}

// Counts the file cannot hold are refused before anything is allocated for
// them: a count of 2^31 - 1 or one past 4 GiB of boundaries is a file cut
// short, not a request for gigabytes.
TEST_F(DefinitionFile, RefusalsLeaveTheFormatAsItWas) {
    const struct {
        std::string bytes;
        const char* text;
    } cases[] = {
        {"IMPORT_TEXT_4.0\0"s + header(0, 5).substr(16), "Wrong file format"},
        {"IMPORT_TEXT_5.0X" + header(0, 5).substr(16), "Wrong file format"},
        {header(0, 2), "Wrong type of text import definition file"},
        {header(-1, 5), "Wrong file format"},
        {header(0, 5).substr(0, 39), "Read error at end of file"},
        {header(3, 5) + le32(1) + le32(2), "Read error at end of file"},
        {header(2, 5, true) + le32(1) + le32(2) + le32(0) + le32(5), "Read error at end of file"},
        {header(0x7FFFFFFF, 5) + le32(1), "Read error at end of file"},
        {header(0x40000000, 5, true), "Read error at end of file"},
    };
    const std::string saved = dir.file("saved.def");
    for (const auto& c : cases) {
        auto f = sample();
        // What a load may change, as the format saves it and beyond.
        const auto state = [&] {
            f->save_definition_file(saved.c_str());
            return TempDir::read(saved) + f->delimiter + std::to_string(f->num_columns);
        };
        const std::string before = state();
        const std::string path = dir.write("refused.def", c.bytes);
        ScopedMessageBoxes boxes;
        f->load_definition_file(path.c_str());
        ASSERT_EQ(boxes.count(), 1u) << c.text;
        EXPECT_EQ(boxes.last().caption, "File error");
        EXPECT_NE(boxes.last().text.find(c.text), std::string::npos) << boxes.last().text;
        EXPECT_EQ(boxes.last().style, static_cast<UINT>(MB_OK | MB_ICONERROR));
        EXPECT_STREQ(f->definition_file, saved.c_str());
        EXPECT_EQ(state(), before) << c.text;
    }
}

TEST_F(DefinitionFile, FailedSaveKeepsTheDefinitionName) {
    auto f = sample();
    ScopedMessageBoxes boxes;
    size_t shown = 0;
    for (const std::string& name :
         {dir.file("no such folder/out.def"), dir.file(std::string(300, 'n'))}) {
        f->save_definition_file(name.c_str());
        ASSERT_EQ(boxes.count(), ++shown);
        EXPECT_EQ(boxes.last().caption, "File error");
        EXPECT_NE(boxes.last().text.find(name.substr(0, 200)), std::string::npos);
        EXPECT_FALSE(TempDir::exists(name));
        EXPECT_STREQ(f->definition_file, "");
    }
}

} // namespace
} // namespace jx::test
