// Facts about Win32 files that the library relies on. They hold under Wine
// (real Win32 behaviour) and against the POSIX layer alike.
#include "platform/win32.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using jx::test::TempDir;

constexpr DWORD kUntouched = 0xBEEF;

HANDLE open_file(const std::string& path, DWORD access, DWORD share, DWORD creation) {
    return CreateFileA(path.c_str(), access, share, nullptr, creation, FILE_ATTRIBUTE_ARCHIVE,
                       nullptr);
}

// The last error right after a call that failed.
struct Failure {
    bool failed;
    DWORD code;
};

Failure open_failure(const std::string& path, DWORD access, DWORD share, DWORD creation) {
    SetLastError(kUntouched);
    HANDLE h = open_file(path, access, share, creation);
    const DWORD code = GetLastError();
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    return {h == INVALID_HANDLE_VALUE, code};
}

class Win32Files : public ::testing::Test {
protected:
    TempDir dir;
    std::string ten_bytes() { return dir.write("ten.dat", "0123456789"); }
};

TEST_F(Win32Files, OpenFailuresGiveTheirOwnCodes) {
    const struct {
        const char* what;
        std::string path;
        DWORD code;
    } cases[] = {
        {"missing file", dir.file("missing.dat"), ERROR_FILE_NOT_FOUND},
        {"missing folder", dir.file("nowhere") + "\\missing.dat", ERROR_PATH_NOT_FOUND},
        {"a folder", dir.path(), ERROR_ACCESS_DENIED},
        {"empty name", "", ERROR_PATH_NOT_FOUND},
        {"wildcard in name", dir.file("a*b.dat"), ERROR_INVALID_NAME},
    };
    for (const auto& c : cases) {
        const Failure f = open_failure(c.path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
        EXPECT_TRUE(f.failed) << c.what;
        EXPECT_EQ(f.code, c.code) << c.what;
    }
}

TEST_F(Win32Files, CreationModesReportAnExistingFile) {
    const std::string path = dir.file("modes.dat");
    SetLastError(kUntouched);
    HANDLE h = open_file(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS)); // a new file
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(h, "abcdef", 6, &written, nullptr));
    CloseHandle(h);

    // OPEN_ALWAYS keeps the contents, CREATE_ALWAYS empties them; both say
    // the file was there.
    h = open_file(path, GENERIC_READ | GENERIC_WRITE, 0, OPEN_ALWAYS);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(GetFileSize(h, nullptr), 6u);
    CloseHandle(h);
    h = open_file(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(GetFileSize(h, nullptr), 0u);
    CloseHandle(h);

    const Failure f = open_failure(path, GENERIC_WRITE, 0, CREATE_NEW);
    EXPECT_TRUE(f.failed);
    EXPECT_EQ(f.code, static_cast<DWORD>(ERROR_FILE_EXISTS));
}

TEST_F(Win32Files, ShortReadsSucceedAndLeaveTheLastErrorAlone) {
    HANDLE h = open_file(ten_bytes(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    char buffer[100];
    DWORD read = 99;
    SetLastError(kUntouched);
    EXPECT_TRUE(ReadFile(h, buffer, sizeof buffer, &read, nullptr));
    EXPECT_EQ(read, 10u);
    EXPECT_EQ(GetLastError(), kUntouched);
    // At the end of the file a read succeeds with nothing.
    EXPECT_TRUE(ReadFile(h, buffer, sizeof buffer, &read, nullptr));
    EXPECT_EQ(read, 0u);
    EXPECT_EQ(GetLastError(), kUntouched);
    CloseHandle(h);
}

TEST_F(Win32Files, TransfersAgainstTheHandlesAccessAreRefused) {
    const std::string path = ten_bytes();
    char byte = 'x';
    DWORD count = 77;
    HANDLE reader = open_file(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    SetLastError(kUntouched);
    EXPECT_FALSE(WriteFile(reader, &byte, 1, &count, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(count, 0u);
    CloseHandle(reader);

    HANDLE writer = open_file(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
    SetLastError(kUntouched);
    EXPECT_FALSE(ReadFile(writer, &byte, 1, &count, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    CloseHandle(writer);
}

TEST_F(Win32Files, SetFilePointerFailsWithAllOnesAndKeepsThePosition) {
    HANDLE h = open_file(ten_bytes(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    ASSERT_EQ(SetFilePointer(h, 4, nullptr, FILE_BEGIN), 4u);

    SetLastError(kUntouched);
    EXPECT_EQ(SetFilePointer(h, -5, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_CURRENT), 4u);

    SetLastError(kUntouched);
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, 7), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    // Moving past the end is allowed and a success does not touch the error.
    SetLastError(kUntouched);
    EXPECT_EQ(SetFilePointer(h, 100, nullptr, FILE_END), 110u);
    EXPECT_EQ(SetFilePointer(h, -3, nullptr, FILE_CURRENT), 107u);
    EXPECT_EQ(GetLastError(), kUntouched);
    CloseHandle(h);
}

TEST_F(Win32Files, EmptyFileHasSizeZeroWithoutAnError) {
    HANDLE h = open_file(dir.write("empty.dat", ""), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    SetLastError(kUntouched);
    DWORD high = 99;
    EXPECT_EQ(GetFileSize(h, &high), 0u);
    EXPECT_EQ(high, 0u);
    EXPECT_EQ(GetLastError(), kUntouched);
    CloseHandle(h);
}

TEST_F(Win32Files, SetEndOfFileCutsAtThePosition) {
    HANDLE h = open_file(ten_bytes(), GENERIC_READ | GENERIC_WRITE, 0, OPEN_ALWAYS);
    SetFilePointer(h, 3, nullptr, FILE_BEGIN);
    EXPECT_TRUE(SetEndOfFile(h));
    EXPECT_EQ(GetFileSize(h, nullptr), 3u);
    CloseHandle(h);
    EXPECT_EQ(TempDir::read(dir.file("ten.dat")), "012");
}

TEST_F(Win32Files, FileTimeIsAfter1601InHundredNanoseconds) {
    HANDLE h = open_file(ten_bytes(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    FILETIME written = {};
    ASSERT_TRUE(GetFileTime(h, nullptr, nullptr, &written));
    const uint64_t ticks = (uint64_t(written.dwHighDateTime) << 32) | written.dwLowDateTime;
    // 2020-01-01 and 2100-01-01 in FILETIME ticks.
    EXPECT_GT(ticks, 132223104000000000ull);
    EXPECT_LT(ticks, 157469184000000000ull);
    CloseHandle(h);
}

TEST_F(Win32Files, ClosingHandles) {
    SetLastError(kUntouched);
    EXPECT_FALSE(CloseHandle(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x1234))));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    // The value of INVALID_HANDLE_VALUE is also the process's own
    // pseudo-handle: closing it succeeds.
    EXPECT_TRUE(CloseHandle(INVALID_HANDLE_VALUE));
    SetLastError(kUntouched);
    EXPECT_EQ(GetFileSize(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x1234)), nullptr),
              INVALID_FILE_SIZE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(Win32Files, NamesLoseTrailingDotsAndBlanksAndTakeEitherSlash) {
    HANDLE h = open_file(dir.file("trail.dat. "), GENERIC_WRITE, 0, CREATE_ALWAYS);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    EXPECT_TRUE(TempDir::exists(dir.file("trail.dat")));
    std::string forward = dir.file("trail.dat");
    for (char& c : forward)
        if (c == '\\') c = '/';
    h = open_file(forward, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    EXPECT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
}

TEST_F(Win32Files, DeleteFileCodes) {
    const std::string path = ten_bytes();
    SetLastError(kUntouched);
    EXPECT_FALSE(DeleteFileA(dir.file("never.dat").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(DeleteFileA((dir.file("nowhere") + "\\x.dat").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(DeleteFileA(dir.path().c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

    // An open handle that does not share deletion keeps the file.
    HANDLE h = open_file(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    EXPECT_FALSE(DeleteFileA(path.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    CloseHandle(h);
    h = open_file(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, OPEN_EXISTING);
    EXPECT_TRUE(DeleteFileA(path.c_str()));
    CloseHandle(h);
    EXPECT_FALSE(TempDir::exists(path));
}

// Share modes: a second open succeeds only when each handle shares what the
// other one does.
TEST_F(Win32Files, ShareModeMatrix) {
    constexpr DWORD R = GENERIC_READ, W = GENERIC_WRITE;
    constexpr DWORD SR = FILE_SHARE_READ, SW = FILE_SHARE_WRITE;
    const struct {
        DWORD access1, share1, access2, share2;
        bool second_opens;
    } cases[] = {
        {R, SR, R, SR, true},
        {R, SR, W, SR, false},
        {R, SR, R, 0, false},
        {R, SR | SW, W, SR, true},
        {W, SR, R, SR, false},
        {W, SR, R, SR | SW, true},
        {R, 0, R, SR, false},
        {0, 0, R, SR, true},
        {R, SR, 0, 0, true},
        {R, SR, W, SR | SW, false},
        {R | W, SR | SW, R | W, SR | SW, true},
        {W, SW, W, SW, true},
        {W, SW, R, SW, false},
    };
    const std::string path = ten_bytes();
    for (const auto& c : cases) {
        HANDLE first = open_file(path, c.access1, c.share1, OPEN_EXISTING);
        ASSERT_NE(first, INVALID_HANDLE_VALUE);
        const Failure second = open_failure(path, c.access2, c.share2, OPEN_EXISTING);
        EXPECT_EQ(!second.failed, c.second_opens)
            << std::hex << c.access1 << '/' << c.share1 << " then " << c.access2 << '/' << c.share2;
        if (second.failed) {
            EXPECT_EQ(second.code, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        }
        CloseHandle(first);
    }
}

TEST_F(Win32Files, SharingViolationNeverEmptiesTheFile) {
    const std::string path = ten_bytes();
    HANDLE reader = open_file(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    const Failure f = open_failure(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
    EXPECT_TRUE(f.failed);
    EXPECT_EQ(f.code, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(GetFileSize(reader, nullptr), 10u);
    CloseHandle(reader);
}

TEST_F(Win32Files, SharingIsEnforcedAcrossProcesses) {
    const std::string path = ten_bytes();
    {
        jx::test::FileHolder writer(path, GENERIC_READ | GENERIC_WRITE, 0);
        ASSERT_TRUE(writer.holding()) << writer.child_error();
        const Failure f = open_failure(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
        EXPECT_TRUE(f.failed);
        EXPECT_EQ(f.code, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    }
    // Once the other process has closed it, the file opens again.
    EXPECT_FALSE(open_failure(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING).failed);

    HANDLE mine = open_file(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    {
        jx::test::FileHolder reader(path, GENERIC_READ, FILE_SHARE_READ);
        EXPECT_TRUE(reader.holding());
    }
    {
        jx::test::FileHolder writer(path, GENERIC_READ | GENERIC_WRITE, 0);
        EXPECT_FALSE(writer.holding());
        EXPECT_EQ(writer.child_error(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    }
    CloseHandle(mine);
}

} // namespace
