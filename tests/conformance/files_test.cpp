// Facts about Win32 files that the library relies on. They hold under Wine
// (real Win32 behaviour) and against the POSIX layer alike.
#include "platform/win32.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

namespace {

using jx::test::TempDir;

constexpr DWORD kUntouched = 0xBEEF;

HANDLE open_file(const std::string& path, DWORD access, DWORD share, DWORD creation) {
    return CreateFileA(path.c_str(), access, share, nullptr, creation, FILE_ATTRIBUTE_ARCHIVE,
                       nullptr);
}

// The last error right after an open that failed, or 0 when it succeeded.
DWORD open_error(const std::string& path, DWORD access, DWORD share, DWORD creation) {
    SetLastError(kUntouched);
    HANDLE h = open_file(path, access, share, creation);
    if (h == INVALID_HANDLE_VALUE) return GetLastError();
    CloseHandle(h);
    return 0;
}

// The last error after a call that should have failed (a sentinel if it did not).
DWORD last_error_of(BOOL result) {
    return result ? kUntouched : GetLastError();
}

class Win32Files : public ::testing::Test {
protected:
    TempDir dir;
    std::string ten = dir.write("ten.dat", "0123456789");
};

// (A missing file or folder is in the tests of jxfileio, which passes the
// codes on. The library never acts on a failed delete or close.)
TEST_F(Win32Files, OpenFailuresGiveTheirOwnCodes) {
    EXPECT_EQ(open_error(dir.path(), GENERIC_READ, 1, OPEN_EXISTING), 5u); // a folder
    EXPECT_EQ(open_error("", GENERIC_READ, 1, OPEN_EXISTING), 3u);
    EXPECT_EQ(open_error(dir.file("a*b.dat"), GENERIC_READ, 1, OPEN_EXISTING), 123u);
}

// The creation modes that may find the file say whether they did (what they
// keep of it is in the tests of jxfileio).
TEST_F(Win32Files, CreationModesReportAnExistingFile) {
    const std::string path = dir.file("modes.dat");
    for (const auto& [creation, error] : {std::pair<DWORD, DWORD>{CREATE_ALWAYS, 0},
                                          {OPEN_ALWAYS, ERROR_ALREADY_EXISTS},
                                          {CREATE_ALWAYS, ERROR_ALREADY_EXISTS}}) {
        SetLastError(kUntouched);
        HANDLE h = open_file(path, GENERIC_READ | GENERIC_WRITE, 0, creation);
        EXPECT_EQ(GetLastError(), error) << creation;
        CloseHandle(h);
    }
}

// A handle transfers only in the direction it was opened for, and a read at
// the end gets nothing without an error (a short read is in the tests of
// jxfileio). A failed move is all ones with the code and leaves the position
// where it was (a negative position is in the tests of jxfileio). Successes
// leave the last error alone.
TEST_F(Win32Files, TransfersPositionSizeEndAndTime) {
    char buffer[100];
    DWORD count = 99;
    HANDLE h = open_file(ten, GENERIC_WRITE, 0, OPEN_EXISTING);
    EXPECT_EQ(last_error_of(ReadFile(h, buffer, 1, &count, nullptr)), 5u);
    CloseHandle(h);
    h = open_file(ten, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    EXPECT_EQ(last_error_of(WriteFile(h, "x", 1, &count, nullptr)), 5u);
    CloseHandle(h);
    h = open_file(ten, GENERIC_READ | GENERIC_WRITE, 0, OPEN_ALWAYS);
    ASSERT_EQ(SetFilePointer(h, 4, nullptr, FILE_BEGIN), 4u);
    EXPECT_EQ(SetFilePointer(h, -5, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, 7), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    SetLastError(kUntouched);
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_CURRENT), 4u);
    EXPECT_EQ(SetFilePointer(h, 100, nullptr, FILE_END), 110u); // past the end is allowed
    EXPECT_EQ(SetFilePointer(h, -107, nullptr, FILE_CURRENT), 3u);
    EXPECT_TRUE(SetEndOfFile(h));
    DWORD high = 99;
    EXPECT_EQ(GetFileSize(h, &high), 3u);
    EXPECT_EQ(high, 0u);
    EXPECT_TRUE(ReadFile(h, buffer, sizeof buffer, &count, nullptr));
    EXPECT_EQ(count, 0u);
    FILETIME written = {};
    ASSERT_TRUE(GetFileTime(h, nullptr, nullptr, &written));
    const uint64_t ticks = (uint64_t{written.dwHighDateTime} << 32) | written.dwLowDateTime;
    EXPECT_GT(ticks, 132223104000000000ull); // 2020-01-01, in 100 ns since 1601
    EXPECT_LT(ticks, 157469184000000000ull); // 2100-01-01
    EXPECT_EQ(GetLastError(), kUntouched);
    CloseHandle(h);
}

// A second open succeeds only when each handle shares what the other does;
// a handle without data access takes no part.
TEST_F(Win32Files, ShareModeMatrix) {
    constexpr DWORD R = GENERIC_READ, W = GENERIC_WRITE, SR = FILE_SHARE_READ,
                    SW = FILE_SHARE_WRITE, SD = FILE_SHARE_DELETE;
    // Access and share mode of the first handle, then of the second, and
    // whether the second opens.
    const std::tuple<DWORD, DWORD, DWORD, DWORD, bool> cases[] = {
        {R, SR, R, SR, true},      {R, SR, W, SR, false},
        {R, SR, R, 0, false},      {R, SR | SW, W, SR, true},
        {W, SR, R, SR, false},     {W, SR, R, SR | SW, true},
        {R, 0, R, SR, false},      {0, 0, R, SR, true},
        {R, SR, 0, 0, true},       {R, SR, W, SR | SW, false},
        {W, SW, W, SW, true},      {W, SW, R, SW, false},
        {R, SR | SD, R, SR, true}, {R | W, SR | SW, R | W, SR | SW, true},
    };
    for (const auto& [access1, share1, access2, share2, opens] : cases) {
        HANDLE first = open_file(ten, access1, share1, OPEN_EXISTING);
        EXPECT_EQ(open_error(ten, access2, share2, OPEN_EXISTING), opens ? 0u : 32u)
            << std::hex << access1 << '/' << share1 << " then " << access2 << '/' << share2;
        CloseHandle(first);
    }
}

TEST_F(Win32Files, SharingKeepsFilesAndIsEnforcedAcrossProcesses) {
    HANDLE reader = open_file(ten, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    EXPECT_EQ(open_error(ten, GENERIC_WRITE, 0, CREATE_ALWAYS), 32u);
    EXPECT_EQ(GetFileSize(reader, nullptr), 10u); // refused before anything was emptied
    EXPECT_EQ(last_error_of(DeleteFileA(ten.c_str())), 32u);
    {
        jx::test::FileHolder other_reader(ten, GENERIC_READ, FILE_SHARE_READ);
        EXPECT_TRUE(other_reader.holding()) << other_reader.child_error();
        jx::test::FileHolder other_writer(ten, GENERIC_READ | GENERIC_WRITE, 0);
        EXPECT_EQ(other_writer.child_error(), 32u);
    }
    CloseHandle(reader);
    {
        jx::test::FileHolder writer(ten, GENERIC_READ | GENERIC_WRITE, 0);
        ASSERT_TRUE(writer.holding()) << writer.child_error();
        EXPECT_EQ(open_error(ten, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING), 32u);
    }
    // Once the other process has gone, the file opens again; a handle that
    // shares deletion lets it go.
    reader = open_file(ten, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, OPEN_EXISTING);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(DeleteFileA(ten.c_str()));
    CloseHandle(reader);
    EXPECT_FALSE(TempDir::exists(ten));
}

} // namespace
