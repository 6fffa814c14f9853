// Binary data files: what a host sees when opening, reading and writing
// fails for real reasons, and how records and paths come out.
#include "files/jxfileio.h"
#include "platform/win32.h"
#include "support/drive_mapping.h"
#include "support/message_boxes.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using jx::test::TempDir;

// What Windows says for a code, as the record will show it.
std::string system_text(DWORD code) {
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                       FORMAT_MESSAGE_FROM_SYSTEM,
                   nullptr, code, LANG_USER_DEFAULT, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string result = text ? text : "";
    LocalFree(text);
    return result;
}

// Runs `body` and returns the record it threw (null when it threw nothing).
template <class Body> Error_Handler* thrown_record(Body body) {
    try {
        body();
    } catch (Error_Handler* record) {
        return record;
    }
    return nullptr;
}

class BinaryFile : public ::testing::Test {
protected:
    TempDir dir;
    Error_Handler record;
    std::string forty = dir.write("forty.dat", std::string(40, 'x'));
};

TEST_F(BinaryFile, OpenFailuresAreFileErrorsNamingTheFile) {
    const struct {
        const char* what;
        std::string name;
        DWORD code;
    } cases[] = {
        {"missing file", dir.file("missing.dat"), ERROR_FILE_NOT_FOUND},
        {"missing folder", dir.file("none") + "\\missing.dat", ERROR_PATH_NOT_FOUND},
    };
    for (const auto& c : cases) {
        record.init(3, 555, "stale"); // whatever was there before goes
        record.set_last_error_code(99);
        Error_Handler* thrown = thrown_record([&] {
            jxfileio file(&record, c.name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr);
        });
        ASSERT_EQ(thrown, &record) << c.what;
        EXPECT_EQ(record.error_type, 2) << c.what;
        EXPECT_EQ(record.error_code, 101) << c.what;
        EXPECT_EQ(record.last_error_code, c.code) << c.what;
        EXPECT_STREQ(record.file_name, c.name.c_str()) << c.what;

        jx::test::ScopedMessageBoxes boxes;
        EXPECT_EQ(record.show_errormsg(nullptr, false), IDOK);
        ASSERT_EQ(boxes.count(), 1u);
        EXPECT_EQ(boxes.last().caption, "File error");
        EXPECT_EQ(boxes.last().text, c.name + "\r\n" + system_text(c.code)) << c.what;
        EXPECT_EQ(boxes.last().style, MB_OK | MB_ICONERROR);
    }
}

TEST_F(BinaryFile, CreationFollowsTheAccessMask) {
    const std::string path = dir.file("new.dat");
    { // read and write together create a missing file ...
        jxfileio file(&record, path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr);
        file.write("abc", 3);
    }
    { // ... and keep an existing file's contents
        jxfileio file(&record, path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr);
        EXPECT_EQ(file.get_file_size(), 3u);
    }
    { // write access alone empties it
        jxfileio file(&record, path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr);
        EXPECT_EQ(file.get_file_size(), 0u);
    }
}

TEST_F(BinaryFile, ShortTransfersAreRecordedWithTheirCatalogCodes) {
    jxfileio file(&record, forty.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr);
    char buffer[100];
    ASSERT_EQ(thrown_record([&] { file.read(buffer, sizeof buffer); }), &record);
    EXPECT_EQ(record.error_code, 123);
    // The open reported an existing file; a short read must not show that.
    EXPECT_EQ(record.last_error_code, 0u);
    EXPECT_EQ(record.get_errormsg(), "File error - " + forty + "\nRead error at end of file\n");
}

TEST_F(BinaryFile, FullDiskIsAShortWrite) {
    // Under Wine the Unix root is drive Z:.
    const std::string device = TempDir::exists("/dev/full") ? "/dev/full" : "Z:\\dev\\full";
    Error_Handler* thrown = thrown_record([&] {
        jxfileio file(&record, device.c_str(), GENERIC_WRITE, 0, nullptr);
        file.write("0123456789", 10);
    });
    if (thrown && record.error_code == 101) GTEST_SKIP() << "no full device here";
    ASSERT_EQ(thrown, &record);
    EXPECT_EQ(record.error_code, 116);
    EXPECT_EQ(record.last_error_code, static_cast<DWORD>(ERROR_DISK_FULL));
}

TEST_F(BinaryFile, ReadAlignedEndsAfterTheStoredRecord) {
    std::string bytes;
    for (int i = 0; i < 64; ++i) bytes += static_cast<char>('A' + i % 26);
    const std::string path = dir.write("records.dat", bytes);
    jxfileio file(&record, path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr);

    char small[20];
    file.read_aligned(small, 20, 32); // stored longer than wanted: the rest is skipped
    EXPECT_EQ(std::string(small, 20), bytes.substr(0, 20));
    EXPECT_EQ(SetFilePointer(file.hfile, 0, nullptr, FILE_CURRENT), 32u);

    char large[32];
    std::memset(large, '#', sizeof large);
    file.read_aligned(large, 32, 20); // stored shorter: only a prefix is filled
    EXPECT_EQ(std::string(large, 20), bytes.substr(32, 20));
    EXPECT_EQ(std::string(large + 20, 12), std::string(12, '#'));
    EXPECT_EQ(SetFilePointer(file.hfile, 0, nullptr, FILE_CURRENT), 52u);

    ASSERT_EQ(thrown_record([&] { file.read_aligned(large, 32, 20); }), &record);
    EXPECT_EQ(record.error_code, 123);
    // Asking without throwing: 12 bytes are left, then none.
    file.move_ptr(52, FILE_BEGIN);
    EXPECT_TRUE(file.read_nothrow_eof(large, 10));
    EXPECT_FALSE(file.read_nothrow_eof(large, 10));
}

TEST_F(BinaryFile, SeekAndSizeFailuresCarryTheSystemCode) {
    jxfileio file(&record, forty.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr);
    ASSERT_EQ(thrown_record([&] { file.move_ptr(-1, FILE_BEGIN); }), &record);
    EXPECT_EQ(record.last_error_code, static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
    EXPECT_EQ(record.error_code, 101);

    file.move_ptr(-15, FILE_END);
    file.set_endof_file();
    EXPECT_EQ(file.get_file_size(), 25u);

    ASSERT_EQ(thrown_record([&] { file.throw_error_code(104); }), &record);
    EXPECT_EQ(record.get_error_code(), 104);
}

TEST_F(BinaryFile, DirectoryIsJoinedWithTheNamesFinalComponent) {
    dir.write("site.dat", "in the folder");
    const std::string folder_forms[] = {dir.path(), dir.path() + "\\", dir.path() + "/"};
    const char* names[] = {"C:\\old\\site.dat", "site.dat", "C:site.dat", "old/site.dat"};
    for (const std::string& folder : folder_forms) {
        for (const char* name : names) {
            jxfileio file(&record, name, GENERIC_READ, FILE_SHARE_READ, folder.c_str());
            EXPECT_EQ(file.get_file_size(), 13u) << folder << " + " << name;
            EXPECT_STREQ(record.file_name, name); // the record keeps the name as given
        }
    }
    // An empty directory opens the name itself.
    EXPECT_EQ(thrown_record([&] {
                  jxfileio file(&record, "C:\\old\\site.dat", GENERIC_READ, FILE_SHARE_READ, "");
              }),
              &record);
    // A joined path beyond the limit is refused, never written past a buffer.
    const std::string long_name(250, 'n');
    EXPECT_EQ(thrown_record([&] {
                  jxfileio f(&record, long_name.c_str(), GENERIC_READ, 0, dir.path().c_str());
              }),
              &record);
    EXPECT_EQ(record.last_error_code, static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
    EXPECT_EQ(std::string(record.file_name), long_name);
}

TEST_F(BinaryFile, BareDriveDirectoryGetsNoBackslash) {
    jx::test::ScopedDriveMapping drive(jx::test::ScopedDriveMapping::fixed);
    if (!drive.ok()) GTEST_SKIP() << "test drive M: is not set up";
    const std::string name = jx::test::unique_folder_name() + ".dat";
    {
        jxfileio file(&record, name.c_str(), GENERIC_WRITE, 0, "M:");
        file.write("x", 1);
    }
    const std::string at_root = drive.root() + name;
    {
        jxfileio file(&record, at_root.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr);
        EXPECT_EQ(file.get_file_size(), 1u);
    }
    DeleteFileA(at_root.c_str());
}

TEST_F(BinaryFile, LeanFileThrowsOne) {
    dir.write("site.dat", "0123456789");
    const auto throws_one = [](auto body) {
        try {
            body();
        } catch (int code) {
            return code == 1;
        }
        return false;
    };
    // A directory ending in a backslash gets no second one.
    jx_bfile joined("site.dat", GENERIC_READ, FILE_SHARE_READ, (dir.path() + "\\").c_str());
    char buffer[20];
    joined.read(buffer, 4);
    joined.move_ptr(-100, FILE_BEGIN); // ignored
    joined.read(buffer, 4);
    EXPECT_EQ(std::string(buffer, 4), "4567");
    EXPECT_TRUE(throws_one([&] { joined.read(buffer, 20); }));
    EXPECT_TRUE(throws_one(
        [&] { jx_bfile f(std::string(300, 'n').c_str(), GENERIC_READ, 0, dir.path().c_str()); }));
    jx_bfile later;
    later.open_file((dir.path() + "\\out.dat").c_str(), GENERIC_READ | GENERIC_WRITE, 0, "");
    later.write("abc", 3);
    EXPECT_TRUE(throws_one([&] { later.read(buffer, 1); })); // at the end: short
}

} // namespace
