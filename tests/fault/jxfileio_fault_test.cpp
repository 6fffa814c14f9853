// Every system call of a file operation fails in turn: each failure must come
// back as the record the caller expects, and leave no descriptor behind. A
// text import's table, too, is reported, and leaves the list as it was.
#include "files/jxfileio.h"
#include "platform/drive_map.h"
#include "platform/posix/layer.h"
#include "support/syscall_faults.h"
#include "support/temp_dir.h"
#include "textimport/txtimport_format.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <string>
#include <tuple>
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
// through. A table of three reading pieces keeps the list it replaces on
// every failure, also after pieces were cut into lines.
TEST(FileFaults, EachFailedCallIsAFileErrorWithTheSystemCode) {
    TempDir dir;
    const std::string data = dir.write("data.dat", std::string(1000, 'd'));
    const std::string out = dir.file("out.dat"), copy = dir.file("copy.dat");
    std::string text;
    for (int i = 0; text.size() < 700 * 1024; ++i) text += "site " + std::to_string(i) + ",1\n";
    const std::string table = dir.write("table.csv", text);
    Error_Handler kept;
    string_list list(&kept, dir.write("small.txt", "kept\n").c_str());
    const auto read = [&](Error_Handler& record) {
        jxfileio file(&record, data.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr);
        char buffer[1000];
        file.read(buffer, file.get_file_size());
    };
    // Each row: the error, the operation, and the outcomes of the failed
    // attempts, each once in the order met, as "type code last-error;". A
    // call that fails outright transferred nothing: it is also short.
    const std::tuple<int, std::function<void(Error_Handler&)>, std::string> cases[] = {
        {EIO, read, "2 101 1117;2 123 1117;"},
        {EACCES, read, "2 101 5;2 123 5;"},
        {ENOSPC,
         [&](Error_Handler& record) {
             jxfileio file(&record, out.c_str(), GENERIC_WRITE, 0, nullptr);
             file.write(std::string(1000, 'w').data(), 1000);
         },
         "2 101 112;2 116 112;"},
        {0,
         [&](Error_Handler& record) {
             char buffer[1000];
             jxfileio in(&record, data.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr);
             in.read(buffer, sizeof buffer);
             jxfileio(&record, copy.c_str(), GENERIC_WRITE, 0, nullptr).write(buffer, 1000);
         },
         ";"},
        {EIO,
         [&](Error_Handler& record) {
             try {
                 list.init_string_list(&record, table.c_str());
             } catch (Error_Handler*) {
                 EXPECT_EQ(list.count == 1 ? list.strings[0] : "", std::string("kept"));
                 throw;
             }
         },
         "2 101 1117;2 123 1117;"},
    };
    for (const auto& [error, operation, outcomes] : cases) {
        const auto& run = operation; // C++17 lambdas capture no structured binding
        std::string outcome, seen;
        const int calls = jx::test::fail_each_call(
            error, [&] { outcome = attempt(run); },
            [&] {
                if (seen.find(outcome + ';') == std::string::npos) seen += outcome + ';';
            });
        EXPECT_EQ(seen + outcome, outcomes) << "the last attempt met no failure: it threw none";
        EXPECT_GE(calls, error == EIO ? 3 : 1) << error; // open, size, read at least
    }
    EXPECT_EQ(TempDir::read(out), std::string(1000, 'w'));
    EXPECT_EQ(TempDir::read(copy), std::string(1000, 'd'));
    EXPECT_EQ(TempDir::read(data), std::string(1000, 'd')); // nothing was touched
    EXPECT_GT(list.count, 1);
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

} // namespace
