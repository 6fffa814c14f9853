// The data-file lock as two engineers meet it on a network share (N:), and a
// local drive (M:) where nothing is locked.
#include "files/file_lock.h"
#include "support/drive_mapping.h"
#include "support/message_boxes.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

namespace {

using jx::test::ScopedDriveMapping;
constexpr const char* kOther = "r.ahlgren";

DWORD now32() {
    return static_cast<DWORD>(_time64(nullptr));
}

std::string lock_bytes(const std::string& data_file, const std::string& user, DWORD time) {
    std::string bytes(537, '\0');
    std::memcpy(&bytes[0], "JX40_FILE_LOCK", 14);
    std::memcpy(&bytes[16], data_file.data(), data_file.size());
    std::memcpy(&bytes[276], user.data(), user.size());
    std::memcpy(&bytes[533], &time, 4); // little-endian on every target
    return bytes;
}

DWORD time_of(const std::string& bytes) {
    DWORD time = 0;
    if (bytes.size() >= 537) std::memcpy(&time, &bytes[533], 4);
    return time;
}

class FileLock : public ::testing::Test {
protected:
    void SetUp() override {
        if (!net.ok()) GTEST_SKIP() << "no network drive N:";
    }
    ScopedDriveMapping net{ScopedDriveMapping::network};
    jx::test::ScopedMessageBoxes boxes; // under Windows an unrecorded box would wait
    std::string site = net.file("site.dat"), site_lock = net.native_dir() + "/site.lck";
};

// The lock file: the name with its last component's extension replaced, 537
// bytes: identifier and zero fill, data file at 16, user at 276, time at 533.
TEST_F(FileLock, LockFileBesideTheDataFileByteForByte) {
    namespace fs = std::filesystem;
    const fs::path folder = net.native_dir();
    fs::create_directory(folder / "a.b");
    const std::pair<std::string, fs::path> cases[] = {
        {net.file("a.b\\site.dat"), folder / "a.b" / "site.lck"},
        {net.file("a.b\\site"), folder / "a.b" / "site.lck"},
        {net.file("site.tar.gz"), folder / "site.tar.lck"},
        {"N:drive-relative.dat", folder.parent_path() / "drive-relative.lck"},
    };
    for (const auto& [data, lock_file] : cases) {
        JX5file_Lock lock;
        const DWORD before = now32();
        ASSERT_TRUE(lock.flck_open(data.c_str())) << data;
        std::string bytes = jx::test::TempDir::read(lock_file.string());
        ASSERT_EQ(bytes.size(), 537u) << lock_file;
        EXPECT_LE(time_of(bytes) - before, now32() - before) << "taken now";
        std::memset(&bytes[533], 0, 4);
        EXPECT_EQ(bytes, lock_bytes(data, lock.user_name, 0)) << data;
        lock.flck_reset(); // deletes only a lock that was taken
        EXPECT_FALSE(fs::exists(lock_file)) << lock_file;
    }
    EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(FileLock, LocalDrivesAreNeverLocked) {
    ScopedDriveMapping local(ScopedDriveMapping::fixed);
    if (!local.ok()) GTEST_SKIP() << "no fixed drive M:";
    JX5file_Lock lock;
    EXPECT_TRUE(lock.flck_open(local.file("site.dat").c_str()));
    EXPECT_TRUE(lock.flck_save(local.file("copy.dat").c_str()));
    EXPECT_TRUE(std::filesystem::is_empty(local.native_dir())) << "no lock file";
}

// Once another user who held the file has closed it (the lock file is gone),
// a save under the same name takes the lock, and one under another name moves
// it along.
TEST_F(FileLock, SaveAfterTheOtherUserClosed) {
    std::ofstream(site_lock, std::ios::binary) << lock_bytes(site, kOther, now32());
    JX5file_Lock lock;
    ASSERT_TRUE(lock.flck_open(site.c_str())); // read-only
    std::filesystem::remove(site_lock);
    EXPECT_TRUE(lock.flck_save(site.c_str()));
    EXPECT_EQ(lock.lock_state, JX5file_Lock::state_locked);
    EXPECT_TRUE(lock.flck_save(net.file("copy.dat").c_str()));
    EXPECT_TRUE(std::filesystem::exists(net.native_dir() + "/copy.lck"));
    lock.flck_reset();
    EXPECT_TRUE(std::filesystem::is_empty(net.native_dir()));
    EXPECT_EQ(boxes.count(), 1u);
}

// Lock files as found: damaged ones fail the open with the lock's own record
// (the lock file's name first) and every save until reset. Another user's
// (odd ones are read for their first 537 bytes) keeps the file read-only with
// a message naming the user and the lock's age in hours, signed: a lock time
// ahead of this machine's clock shows a negative age. The user's own is taken
// over. Reset deletes only this user's own lock.
TEST_F(FileLock, LockFilesAsFound) {
    const std::string good = lock_bytes(site, kOther, 0);
    const std::string longest = net.dir() + "\\" + std::string(258 - net.dir().size(), 'n');
    const struct {
        const char* what;
        std::string bytes; // "/" for a folder, "-" for none
        int state;
        std::string shown; // damaged: the message after the first line, if given; else the age
        int ago = 0;       // another user's: the lock's age in seconds when it is opened
        std::string name = "";
    } cases[] = {
        {"536 bytes", good.substr(0, 536), 1, "Read error at end of file"},
        {"empty", "", 1, "Read error at end of file"},
        {"foreign identifier", "JX41" + good.substr(4), 1, "Wrong file format"},
        {"identifier not ended", std::string(16, 'J') + good.substr(16), 1, "Wrong file format"},
        {"a folder", "/", 1, ""},
        {"10 MB", good + std::string(10 << 20, 'z'), 4, "0.00"},
        {"user not ended", good.substr(0, 276) + std::string(257, 'U') + good.substr(533), 4,
         "0.00"},
        {"taken earlier", good, 4, "1.25", 4500},
        {"taken ahead of this clock", good, 4, "-2.00", -7200},
        {"own, left over", lock_bytes(site, JX5file_Lock().user_name, 1000), 3, ""},
        {"259, no extension", "-", 1, "", 0, longest},
        {"300 characters", "-", 1, "", 0, longest + std::string(37, 'n') + ".dat"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(site_lock);
        std::string bytes = c.bytes;
        const __time64_t taken = now32() - static_cast<DWORD>(c.ago);
        if (c.state == 4) std::memcpy(&bytes[533], &taken, 4); // the low half, little-endian
        if (bytes == "/") std::filesystem::create_directory(site_lock);
        if (bytes != "/" && bytes != "-") std::ofstream(site_lock, std::ios::binary) << bytes;
        boxes.clear();
        JX5file_Lock lock;
        lock.set_hwnd(reinterpret_cast<HWND>(0x77));
        EXPECT_EQ(lock.flck_open((c.name.empty() ? site : c.name).c_str()), c.state != 1) << c.what;
        EXPECT_EQ(lock.lock_state, c.state) << c.what;
        ASSERT_EQ(boxes.count(), c.state == 3 ? 0u : 1u) << c.what;
        const jx::test::ShownBox box = boxes.count() ? boxes.last() : jx::test::ShownBox{};
        if (c.state == 1) {
            const std::string first =
                std::string(c.name.empty() ? lock.lock_file_name : lock.data_file_name) + "\r\n";
            EXPECT_EQ(box.text.rfind(first, 0), 0u) << c.what << box.text;
            EXPECT_TRUE(c.shown.empty() || box.text == first + c.shown) << c.what;
        } else if (c.state == 4) {
            char date[32];
            ASSERT_EQ(_ctime64_s(date, sizeof date, &taken), 0);
            EXPECT_EQ(box.caption + '|' + std::to_string(box.style) + '|' + box.text,
                      "Veldra data file lock|16|The file site.dat\r\nis in use by " +
                          std::string(bytes.substr(276, 257).c_str()) +
                          "\r\nThe file was opened on " + date + " (" + c.shown +
                          " hours ago)\r\nThis file will be opened in read only mode")
                << c.what;
            EXPECT_EQ(box.owner, nullptr) << "not the lock's window";
        } else {
            EXPECT_GT(time_of(jx::test::TempDir::read(site_lock)), 1000u)
                << "the time is rewritten";
        }
        // The same name, case aside: refused while another user holds it,
        // with the same message.
        EXPECT_EQ(lock.flck_save(net.file("SITE.DAT").c_str()), c.state == 3) << c.what;
        EXPECT_EQ(boxes.count(), c.state == 4 ? 2u : c.state == 3 ? 0u : 1u) << c.what;
        EXPECT_EQ(box.text, boxes.count() ? boxes.last().text : "") << c.what;
        lock.flck_reset();
        EXPECT_EQ(std::filesystem::exists(site_lock), c.bytes != "-" && c.state != 3) << c.what;
        EXPECT_TRUE(lock.flck_save(net.file("other.dat").c_str())) << c.what << " after reset";
        lock.flck_reset();
    }
}

} // namespace
