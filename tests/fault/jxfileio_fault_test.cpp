// Every system call of a file operation fails in turn: each failure must come
// back as the record the caller expects, and leave no descriptor behind. The
// text import's data and definition files, too, are reported, and leave the
// list or the format as it was.
#include "files/jxfileio.h"
#include "platform/drive_map.h"
#include "platform/posix/layer.h"
#include "support/message_boxes.h"
#include "support/syscall_faults.h"
#include "support/temp_dir.h"
#include "textimport/txtimport_format.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <string>
#include <utility>

namespace {

using jx::test::TempDir;

// What an attempt threw, as "type code last-error", or "" when it got through.
std::string attempt(const std::function<void(Error_Handler&)>& operation) {
    Error_Handler record;
    try {
        operation(record);
    } catch (Error_Handler* failed) {
        EXPECT_EQ(failed, &record);
        return std::to_string(failed->error_type) + ' ' + std::to_string(failed->error_code) + ' ' +
               std::to_string(failed->last_error_code);
    }
    return "";
}

// Reading, writing on a full disk and opening without permission: each
// failed call comes back as a file error carrying the system's code, and a
// failed transfer as a short one. A call that moves fewer bytes than asked
// (error 0) is not the end of the file: the transfer goes on until
// everything has moved. The last attempt met no failure and must get
// through.
TEST(FileFaults, EachFailedCallIsAFileErrorWithTheSystemCode) {
    TempDir dir;
    const std::string data = dir.write("data.dat", std::string(1000, 'd'));
    const std::string out = dir.file("out.dat"), copy = dir.file("copy.dat");
    const auto read = [&](Error_Handler& record) {
        jxfileio file(&record, data.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr);
        char buffer[1000];
        file.read(buffer, file.get_file_size());
    };
    const struct {
        int error;
        DWORD code;
        int short_code; // a call that fails outright transferred nothing: it is also short
        std::function<void(Error_Handler&)> operation;
    } cases[] = {
        {EIO, ERROR_IO_DEVICE, 123, read},
        {EACCES, ERROR_ACCESS_DENIED, 123, read},
        {ENOSPC, ERROR_DISK_FULL, 116,
         [&](Error_Handler& record) {
             jxfileio file(&record, out.c_str(), GENERIC_WRITE, 0, nullptr);
             file.write(std::string(1000, 'w').data(), 1000);
         }},
        {0, 0, 0,
         [&](Error_Handler& record) {
             char buffer[1000];
             jxfileio in(&record, data.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr);
             in.read(buffer, sizeof buffer);
             jxfileio(&record, copy.c_str(), GENERIC_WRITE, 0, nullptr).write(buffer, 1000);
         }},
    };
    for (const auto& c : cases) {
        std::string outcome;
        const std::string code = ' ' + std::to_string(c.code);
        const std::string short_outcome = "2 " + std::to_string(c.short_code) + code;
        int short_calls = 0;
        const int calls = jx::test::fail_each_call(
            c.error, [&] { outcome = attempt(c.operation); },
            [&] {
                short_calls += outcome == short_outcome;
                EXPECT_TRUE(c.error ? outcome == "2 101" + code || outcome == short_outcome
                                    : outcome.empty())
                    << outcome;
            });
        EXPECT_EQ(outcome, "") << "nothing failed, yet the operation threw";
        EXPECT_GE(calls, c.error == EIO ? 3 : 1) << c.error; // open, size, read at least
        EXPECT_EQ(short_calls > 0, c.error != 0) << "the transfer's own failure, " << c.error;
    }
    EXPECT_EQ(TempDir::read(out), std::string(1000, 'w'));
    EXPECT_EQ(TempDir::read(copy), std::string(1000, 'd'));
    EXPECT_EQ(TempDir::read(data), std::string(1000, 'd')); // nothing was touched
}

TEST(PathTranslation, WindowsNamesBecomeNativeNames) {
    TempDir dir;
    ASSERT_TRUE(jx_map_drive('K', dir.path().c_str(), DRIVE_FIXED));
    const auto error = [](DWORD code) { return "error " + std::to_string(code); };
    const std::pair<const char*, std::string> cases[] = {
        {"K:\\data\\site.dat", dir.path() + "/data/site.dat"},
        {"k:/data/site.dat", dir.path() + "/data/site.dat"},
        {"K:site.dat", dir.path() + "/site.dat"},
        {"K:\\", dir.path() + "/"},
        {"K:\\a.\\b. .txt. ", dir.path() + "/a/b. .txt"},
        {"K:\\..\\x", dir.path() + "/../x"},
        {"\\\\?\\K:\\x", dir.path() + "/x"},
        {"rel\\path.dat", "rel/path.dat"},
        {"/tmp/plain", "/tmp/plain"},
        {"K:\\caf\xE9\x80.txt", dir.path() + "/caf\xC3\xA9\xE2\x82\xAC.txt"},
        {"L:\\unmapped", error(ERROR_PATH_NOT_FOUND)},
        {"K:\\a<b", error(ERROR_INVALID_NAME)},
        {"K:\\a?b", error(ERROR_INVALID_NAME)},
        {"\\\\server\\share\\f", error(ERROR_BAD_NETPATH)},
        {"", error(ERROR_PATH_NOT_FOUND)},
    };
    for (const auto& [windows, expected] : cases) {
        std::string native;
        const DWORD code = jx::posix::to_native_path(windows, native);
        EXPECT_EQ(code ? error(code) : native, expected) << windows;
    }
    jx_map_drive('K', nullptr, 0);
    EXPECT_FALSE(jx_map_drive('1', "/tmp", DRIVE_FIXED));
    EXPECT_FALSE(jx_map_drive('K', "/tmp", 99));
}

// A table of three reading pieces, so that several reads can fail.
TEST(ImportFaults, ReadingATableKeepsTheListOnEveryFailure) {
    TempDir dir;
    std::string text;
    for (int i = 0; text.size() < 700 * 1024; ++i) text += "site " + std::to_string(i) + ",1\n";
    const std::string table = dir.write("table.csv", text);
    Error_Handler record;
    string_list list(&record, dir.write("small.txt", "kept\n").c_str());
    const std::string failed = "2 101 " + std::to_string(ERROR_IO_DEVICE),
                      came_short = "2 123 " + std::to_string(ERROR_IO_DEVICE);
    std::string outcome;
    int short_reads = 0;
    jx::test::fail_each_call(
        EIO,
        [&] {
            outcome = attempt([&](Error_Handler& r) { list.init_string_list(&r, table.c_str()); });
        },
        [&] {
            EXPECT_TRUE(outcome == failed || outcome == came_short) << outcome;
            ASSERT_EQ(list.count, 1);
            EXPECT_STREQ(list.strings[0], "kept");
            short_reads += outcome == came_short;
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
    jx::test::fail_each_call(
        ENOSPC, [&] { format.save_definition_file(path.c_str()); }, [&] { unchanged(format, 2); });
    jx::test::fail_each_call(
        EIO, [&] { target.load_definition_file(path.c_str()); }, [&] { unchanged(target, 0); });
    EXPECT_EQ(boxes.count(), shown);
    target.save_definition_file(again.c_str());
    EXPECT_EQ(TempDir::read(again), TempDir::read(path));
    EXPECT_EQ(TempDir::read(path).size(), 40u + 8u + 12u);
}

} // namespace
