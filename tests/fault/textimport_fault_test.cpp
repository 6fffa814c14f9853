// The text import under failing system calls: every failure of reading a
// data file or of writing and reading a definition file is reported, leaves
// the list or the format as it was, and leaves no descriptor open.
#include "platform/testing.h"
#include "support/message_boxes.h"
#include "support/temp_dir.h"
#include "textimport/txtimport_format.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using jx::test::ScopedMessageBoxes;
using jx::test::TempDir;
using jx::testing::ScopedSyscallFault;

size_t open_descriptors() {
    size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        (void)entry;
        ++count;
    }
    return count;
}

// Runs `operation` with call 1, 2, ... failing with `error` until it gets
// through, calling `check` after each failed attempt; returns the number of
// calls the operation makes.
template <class Operation, class Check>
int fail_each_call(int error, Operation operation, Check check) {
    const size_t descriptors = open_descriptors();
    for (int nth = 1; nth < 200; ++nth) {
        bool fired;
        {
            ScopedSyscallFault fault(nth, error);
            operation();
            fired = fault.fired();
        }
        EXPECT_EQ(open_descriptors(), descriptors) << "call " << nth;
        if (!fired) return nth - 1;
        check(nth);
    }
    ADD_FAILURE() << "the operation never got through";
    return 0;
}

std::vector<std::string> lines_of(const string_list& list) {
    return std::vector<std::string>(list.strings, list.strings + list.count);
}

class ImportFaults : public ::testing::Test {
protected:
    TempDir dir;
    Error_Handler record;
    // Three reading pieces' worth of lines.
    std::string table = [this] {
        std::string text;
        for (int i = 0; text.size() < 700 * 1024; ++i)
            text += "site " + std::to_string(i) + ",1,2\r\n";
        return dir.write("table.csv", text);
    }();
};

TEST_F(ImportFaults, ReadingATableKeepsTheListOnEveryFailure) {
    string_list list;
    const std::string small = dir.write("small.txt", "kept\n");
    list.init_string_list(&record, small.c_str());
    bool threw = false;
    const int calls = fail_each_call(
        EIO,
        [&] {
            threw = false;
            try {
                list.init_string_list(&record, table.c_str());
            } catch (Error_Handler* failed) {
                EXPECT_EQ(failed, &record);
                threw = true;
            }
        },
        [&](int nth) {
            EXPECT_TRUE(threw) << "call " << nth;
            EXPECT_EQ(record.error_type, 2) << "call " << nth;
            EXPECT_NE(record.last_error_code, 0u) << "call " << nth;
            EXPECT_EQ(lines_of(list), std::vector<std::string>{"kept"}) << "call " << nth;
        });
    EXPECT_GE(calls, 4); // the open, the size and several reads
    EXPECT_FALSE(threw);
    EXPECT_EQ(std::string(list.strings[list.count - 1]).rfind("site ", 0), 0u);
}

// What a definition file operation may change.
std::string state_of(const txtimport_format& f) {
    std::string s(f.signature, sizeof f.signature);
    s += std::to_string(f.fixed_width) + std::to_string(f.num_columns) +
         std::to_string(f.num_col_fields) + std::to_string(f.first_line) + f.definition_file;
    for (int i = 0; f.col_fields && i < f.num_col_fields; ++i)
        s += ' ' + std::to_string(f.col_fields[i]);
    for (int i = 0; f.col_positions && i <= f.num_columns; ++i)
        s += ' ' + std::to_string(f.col_positions[i]);
    return s;
}

TEST_F(ImportFaults, DefinitionFilesReportEveryFailure) {
    txtimport_format format(&record, table.c_str(), 0, 3, true);
    format.fixed_width = true;
    format.read_disp_lines();
    format.set_col_widths();
    format.set_fixed_column(5);
    format.set_col_fields();
    format.col_fields[1] = 4;
    const std::string path = dir.file("layout.def");

    // Each failed attempt shows exactly one box, captioned as a file error.
    ScopedMessageBoxes boxes;
    size_t shown = 0;
    const auto one_file_error = [&](int nth) {
        ASSERT_EQ(boxes.count(), shown + 1) << "call " << nth;
        EXPECT_EQ(boxes.last().caption, "File error") << "call " << nth;
        shown = boxes.count();
    };
    fail_each_call(
        ENOSPC, [&] { format.save_definition_file(path.c_str()); },
        [&](int nth) {
            one_file_error(nth);
            EXPECT_STREQ(format.definition_file, "") << "call " << nth;
        });
    EXPECT_EQ(boxes.count(), shown);
    EXPECT_EQ(TempDir::read(path).size(), 40u + 8u + 12u);

    txtimport_format target(&record, table.c_str(), 0, 3, true);
    const std::string untouched = state_of(target);
    fail_each_call(
        EIO, [&] { target.load_definition_file(path.c_str()); },
        [&](int nth) {
            one_file_error(nth);
            EXPECT_EQ(state_of(target), untouched) << "call " << nth;
        });
    EXPECT_EQ(boxes.count(), shown);
    EXPECT_EQ(state_of(target), state_of(format));
}

} // namespace
