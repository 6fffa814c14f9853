// Binary data files: what a host sees when opening, reading and writing
// fails for real reasons, and how records and paths come out. (How a record
// of a file error is composed and shown is in the tests of Error_Handler.)
#include "files/jxfileio.h"
#include "platform/win32.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

namespace {

using jx::test::TempDir;

// What `body` threw into `record`, as "type code last-error name", or
// "none" when it threw nothing.
template <class Body> std::string thrown(Error_Handler& record, Body body) {
    try {
        body();
    } catch (Error_Handler* failed) {
        EXPECT_EQ(failed, &record);
        return std::to_string(failed->error_type) + ' ' + std::to_string(failed->error_code) + ' ' +
               std::to_string(failed->last_error_code) + ' ' + failed->file_name;
    }
    return "none";
}

class BinaryFile : public ::testing::Test {
protected:
    TempDir dir;
    Error_Handler record;

    // What opening `name` for reading, in `directory`, threw.
    std::string open_error(const std::string& name, const char* directory = nullptr) {
        return thrown(record, [&] {
            jxfileio file(&record, name.c_str(), GENERIC_READ, FILE_SHARE_READ, directory);
        });
    }
};

// Read and write together create a missing file and keep an existing one's
// contents; write access alone empties it.
TEST_F(BinaryFile, CreationFollowsTheAccessMask) {
    const std::string path = dir.file("new.dat");
    for (const auto& [access, size] : {std::pair<DWORD, DWORD>{GENERIC_READ | GENERIC_WRITE, 0},
                                       {GENERIC_READ | GENERIC_WRITE, 3},
                                       {GENERIC_WRITE, 0}}) {
        jxfileio file(&record, path.c_str(), access, FILE_SHARE_READ, nullptr);
        EXPECT_EQ(file.get_file_size(), size) << access;
        file.write("abc", 3);
    }
}

// Opened for reading and writing, so that the open leaves "already exists"
// as the last error, and a failed seek leaves its own: neither may show in
// the record of a read that merely came short.
TEST_F(BinaryFile, AlignedReadsSeeksAndShortReads) {
    std::string bytes;
    for (int i = 0; i < 64; ++i) bytes += static_cast<char>('A' + i % 26);
    const std::string path = dir.write("records.dat", bytes);
    jxfileio file(&record, path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr);
    const auto at = [&] {
        return ' ' + std::to_string(SetFilePointer(file.hfile, 0, nullptr, FILE_CURRENT));
    };
    char small[20], large[32];
    std::memset(large, '#', sizeof large);
    file.read_aligned(small, 20, 32); // stored longer than wanted: the rest is skipped
    EXPECT_EQ(std::string(small, 20) + at(), bytes.substr(0, 20) + " 32");
    file.read_aligned(large, 32, 20); // stored shorter: only a prefix is filled
    EXPECT_EQ(std::string(large, 32) + at(), bytes.substr(32, 20) + std::string(12, '#') + " 52");
    EXPECT_EQ(thrown(record, [&] { file.move_ptr(-1, FILE_BEGIN); }),
              "2 101 " + std::to_string(ERROR_NEGATIVE_SEEK) + ' ' + path);
    EXPECT_EQ(thrown(record, [&] { file.read_aligned(large, 32, 20); }), "2 123 0 " + path);
    // Asking without throwing: 12 bytes are left, then none.
    file.move_ptr(52, FILE_BEGIN);
    EXPECT_TRUE(file.read_nothrow_eof(large, 10));
    EXPECT_FALSE(file.read_nothrow_eof(large, 10));
    file.move_ptr(-15, FILE_END);
    file.set_endof_file();
    EXPECT_EQ(file.get_file_size(), 49u);
    EXPECT_EQ(thrown(record, [&] { file.throw_error_code(104); }), "2 104 0 " + path);
}

TEST_F(BinaryFile, DirectoryIsJoinedWithTheNamesFinalComponentOrRefused) {
    dir.write("site.dat", "in the folder");
    const std::string folder_forms[] = {dir.path(), dir.path() + "\\", dir.path() + "/"};
    const char* names[] = {"C:\\old\\site.dat", "site.dat", "C:site.dat", "old/site.dat"};
    for (const std::string& folder : folder_forms) {
        for (const char* name : names) {
            jxfileio file(&record, name, GENERIC_READ, FILE_SHARE_READ, folder.c_str());
            EXPECT_EQ(file.get_file_size(), 13u) << folder << " + " << name;
        }
    }
    // A failed open is a file error naming the file as given, not as joined;
    // whatever the record held before goes. An empty directory opens the
    // name itself.
    record.init(3, 555, "stale");
    record.set_last_error_code(99);
    EXPECT_EQ(open_error("C:\\old\\missing.dat", dir.path().c_str()),
              "2 101 2 C:\\old\\missing.dat");
    EXPECT_EQ(open_error("C:\\old\\site.dat", ""), "2 101 3 C:\\old\\site.dat");
    // A joined path beyond the limit is refused, never written past a buffer.
    const std::string long_name(250, 'n');
    EXPECT_EQ(open_error(long_name, dir.path().c_str()),
              "2 101 " + std::to_string(ERROR_FILENAME_EXCED_RANGE) + ' ' + long_name);
}

TEST_F(BinaryFile, LeanFileThrowsOne) {
    dir.write("site.dat", "0123456789");
    // A directory ending in a backslash gets no second one.
    jx_bfile joined("site.dat", GENERIC_READ, FILE_SHARE_READ, (dir.path() + "\\").c_str());
    char buffer[20];
    joined.read(buffer, 4);
    joined.move_ptr(-100, FILE_BEGIN); // ignored
    joined.read(buffer, 4);
    EXPECT_EQ(std::string(buffer, 4), "4567");
    EXPECT_THROW(joined.read(buffer, 20), int);
    EXPECT_THROW(jx_bfile(std::string(300, 'n').c_str(), GENERIC_READ, 0, dir.path().c_str()), int);
    jx_bfile later;
    later.open_file((dir.path() + "\\out.dat").c_str(), GENERIC_READ | GENERIC_WRITE, 0, "");
    later.write("abc", 3);
    EXPECT_THROW(later.read(buffer, 1), int); // at the end: short
}

} // namespace
