// Every system call of a file operation fails in turn: each failure must come
// back as the record the caller expects, and leave no descriptor behind.
#include "files/jxfileio.h"
#include "platform/drive_map.h"
#include "platform/posix/layer.h"
#include "support/syscall_faults.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <string>

namespace {

using jx::test::TempDir;

// How the last attempt of an operation ended.
struct Outcome {
    bool threw = false;
    int error_type = 0, error_code = 0;
    DWORD last_error = 0;
};

// jx::test::fail_each_call with a fresh record for each attempt, whose end
// `outcome` keeps for `check`; the last attempt met no failure and must get
// through.
template <class Operation>
int fail_each_call(int error, Outcome& outcome, Operation operation,
                   const std::function<void()>& check) {
    const auto attempt = [&] {
        Error_Handler record;
        outcome = {};
        try {
            operation(record);
        } catch (Error_Handler* failed) {
            EXPECT_EQ(failed, &record);
            outcome = {true, failed->error_type, failed->error_code, failed->last_error_code};
        }
    };
    const int calls = jx::test::fail_each_call(error, attempt, check);
    EXPECT_FALSE(outcome.threw) << "nothing failed, yet the operation threw";
    return calls;
}

class FileFaults : public ::testing::Test {
protected:
    TempDir dir;
    std::string data = dir.write("data.dat", std::string(1000, 'd'));
};

// Reading, writing on a full disk and opening without permission: each
// failed call comes back as a file error carrying the system's code.
TEST_F(FileFaults, EachFailedCallIsAFileErrorWithTheSystemCode) {
    const std::string out = dir.file("out.dat");
    const struct {
        int error;
        DWORD code;
        int short_code; // a call that fails outright transferred nothing: it is also short
        std::function<void(Error_Handler&)> operation;
    } cases[] = {
        {EIO, ERROR_IO_DEVICE, 123,
         [&](Error_Handler& record) {
             jxfileio file(&record, data.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr);
             char buffer[1000];
             file.read(buffer, file.get_file_size());
         }},
        {ENOSPC, ERROR_DISK_FULL, 116,
         [&](Error_Handler& record) {
             jxfileio file(&record, out.c_str(), GENERIC_WRITE, 0, nullptr);
             file.write(std::string(1000, 'w').data(), 1000);
         }},
        {EACCES, ERROR_ACCESS_DENIED, 101,
         [&](Error_Handler& record) {
             jxfileio file(&record, data.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr);
         }},
    };
    for (const auto& c : cases) {
        Outcome o;
        const int calls = fail_each_call(c.error, o, c.operation, [&] {
            EXPECT_TRUE(o.threw);
            EXPECT_EQ(o.error_type, 2);
            EXPECT_EQ(o.last_error, c.code);
            EXPECT_TRUE(o.error_code == 101 || o.error_code == c.short_code) << o.error_code;
        });
        EXPECT_GE(calls, c.error == EIO ? 3 : 1) << c.error; // open, size, read at least
    }
    EXPECT_EQ(TempDir::read(out), std::string(1000, 'w'));
    EXPECT_EQ(TempDir::read(data), std::string(1000, 'd')); // nothing was touched
}

// A system call that moves fewer bytes than asked is not the end of the file:
// the transfer goes on until everything has moved.
TEST_F(FileFaults, PartialSystemTransfersAreCompleted) {
    const std::string copy = dir.file("copy.dat");
    const auto copy_file = [&](Error_Handler& record) {
        char buffer[1000];
        jxfileio in(&record, data.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr);
        in.read(buffer, sizeof buffer);
        jxfileio out(&record, copy.c_str(), GENERIC_WRITE, 0, nullptr);
        out.write(buffer, sizeof buffer);
    };
    Outcome o;
    fail_each_call(0, o, copy_file,
                   [&] { EXPECT_FALSE(o.threw) << "a call came short and the transfer stopped"; });
    EXPECT_EQ(TempDir::read(copy), std::string(1000, 'd'));
}

TEST(PathTranslation, WindowsNamesBecomeNativeNames) {
    TempDir dir;
    ASSERT_TRUE(jx_map_drive('K', dir.path().c_str(), DRIVE_FIXED));
    const struct {
        const char* windows;
        std::string native;
        DWORD error;
    } cases[] = {
        {"K:\\data\\site.dat", dir.path() + "/data/site.dat", 0},
        {"k:/data/site.dat", dir.path() + "/data/site.dat", 0},
        {"K:site.dat", dir.path() + "/site.dat", 0},
        {"K:\\", dir.path() + "/", 0},
        {"K:\\a.\\b. .txt. ", dir.path() + "/a/b. .txt", 0},
        {"K:\\..\\x", dir.path() + "/../x", 0},
        {"\\\\?\\K:\\x", dir.path() + "/x", 0},
        {"rel\\path.dat", "rel/path.dat", 0},
        {"/tmp/plain", "/tmp/plain", 0},
        {"K:\\caf\xE9\x80.txt", dir.path() + "/caf\xC3\xA9\xE2\x82\xAC.txt", 0},
        {"L:\\unmapped", "", ERROR_PATH_NOT_FOUND},
        {"K:\\a<b", "", ERROR_INVALID_NAME},
        {"K:\\a?b", "", ERROR_INVALID_NAME},
        {"\\\\server\\share\\f", "", ERROR_BAD_NETPATH},
        {"", "", ERROR_PATH_NOT_FOUND},
    };
    for (const auto& c : cases) {
        std::string native;
        EXPECT_EQ(jx::posix::to_native_path(c.windows, native), c.error) << c.windows;
        EXPECT_EQ(c.error ? c.native : native, c.native) << c.windows;
    }
    jx_map_drive('K', nullptr, 0);
    EXPECT_FALSE(jx_map_drive('1', "/tmp", DRIVE_FIXED));
    EXPECT_FALSE(jx_map_drive('K', "/tmp", 99));
}

} // namespace
