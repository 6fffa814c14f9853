// The text import under failing system calls: every failure of reading a
// data file or of writing and reading a definition file is reported, leaves
// the list or the format as it was, and leaves no descriptor open.
#include "support/message_boxes.h"
#include "support/syscall_faults.h"
#include "support/temp_dir.h"
#include "textimport/txtimport_format.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace {

using jx::test::fail_each_call;
using jx::test::TempDir;

// A table of three reading pieces, so that several reads can fail.
TEST(ImportFaults, ReadingATableKeepsTheListOnEveryFailure) {
    TempDir dir;
    Error_Handler record;
    std::string text;
    for (int i = 0; text.size() < 700 * 1024; ++i) text += "site " + std::to_string(i) + ",1\n";
    const std::string table = dir.write("table.csv", text);
    string_list list(&record, dir.write("small.txt", "kept\n").c_str());
    Error_Handler* thrown = nullptr;
    int short_reads = 0;
    const auto read = [&] {
        thrown = nullptr;
        try {
            list.init_string_list(&record, table.c_str());
        } catch (Error_Handler* failed) {
            thrown = failed;
        }
    };
    fail_each_call(EIO, read, [&] {
        ASSERT_EQ(thrown, &record);
        EXPECT_EQ(record.error_type, 2);
        EXPECT_NE(record.last_error_code, 0u);
        ASSERT_EQ(list.count, 1);
        EXPECT_STREQ(list.strings[0], "kept");
        short_reads += record.error_code == 123; // "Read error at end of file"
    });
    EXPECT_GE(short_reads, 3);
    EXPECT_GT(list.count, 1);
}

// Each failed attempt shows exactly one box and changes nothing; what was
// loaded at last saves as the same bytes.
TEST(ImportFaults, DefinitionFilesReportEveryFailure) {
    TempDir dir;
    Error_Handler record;
    const std::string data = dir.write("data.txt", "0123456789\n");
    txtimport_format format(&record, data.c_str(), 0, 3, true), target(format);
    format.fixed_width = true;
    format.initialize_columns(2);
    format.col_positions[1] = 5;
    format.col_fields[1] = 4;
    const std::string path = dir.file("layout.def"), again = dir.file("again.def");
    jx::test::ScopedMessageBoxes boxes;
    size_t shown = 0;
    const auto unchanged = [&](const txtimport_format& f, int columns) {
        ASSERT_EQ(boxes.count(), ++shown);
        EXPECT_EQ(boxes.last().caption, "File error");
        EXPECT_STREQ(f.definition_file, "");
        EXPECT_EQ(f.num_columns, columns);
    };
    fail_each_call(
        ENOSPC, [&] { format.save_definition_file(path.c_str()); }, [&] { unchanged(format, 2); });
    fail_each_call(
        EIO, [&] { target.load_definition_file(path.c_str()); }, [&] { unchanged(target, 0); });
    EXPECT_EQ(boxes.count(), shown);
    target.save_definition_file(again.c_str());
    EXPECT_EQ(TempDir::read(again), TempDir::read(path));
    EXPECT_EQ(TempDir::read(path).size(), 40u + 8u + 12u);
}

} // namespace
