// The data-file lock as two engineers meet it on a network share: who holds a
// file, read-only opens, saves allowed, moved or refused, and damaged lock
// files. Every case runs on a network drive (N:) and, where it matters, on a
// local one (M:).
#include "files/file_lock.h"
#include "support/child_process.h"
#include "support/drive_mapping.h"
#include "support/message_boxes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace {

using jx::test::ScopedDriveMapping;
using jx::test::ScopedMessageBoxes;

constexpr const char* kOtherUser = "r.ahlgren";

DWORD now32() {
    return static_cast<DWORD>(_time64(nullptr));
}

// A lock file as the application writes it.
std::string lock_bytes(const std::string& data_file, const std::string& user, DWORD time) {
    std::string bytes(537, '\0');
    std::memcpy(&bytes[0], "JX40_FILE_LOCK", 14);
    std::memcpy(&bytes[16], data_file.data(), data_file.size());
    std::memcpy(&bytes[276], user.data(), user.size());
    for (int i = 0; i < 4; ++i) bytes[533 + i] = static_cast<char>((time >> (8 * i)) & 0xFF);
    return bytes;
}

DWORD time_at_533(const std::string& bytes) {
    DWORD time = 0;
    for (int i = 3; i >= 0; --i) time = (time << 8) | static_cast<unsigned char>(bytes[533 + i]);
    return time;
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void write_file(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

bool exists(const std::string& library_path) {
    return _access(library_path.c_str(), 0) == 0;
}

class FileLock : public ::testing::Test {
protected:
    void SetUp() override {
        if (!net.ok()) GTEST_SKIP() << "no network drive N:";
    }
    ScopedDriveMapping net{ScopedDriveMapping::network};
    // Every box is recorded: under Windows an unrecorded one would wait for
    // a click.
    ScopedMessageBoxes boxes;
    std::string site = net.file("site.dat");
    std::string site_lock = net.native_file("site.lck");
    // A lock of another user that this test writes.
    void plant_other_lock(DWORD time = 0) {
        write_file(site_lock, lock_bytes(site, kOtherUser, time ? time : now32()));
    }
};

TEST_F(FileLock, WritesTheLockFileByteForByteAndRemovesItOnClose) {
    JX5file_Lock lock;
    ASSERT_TRUE(lock.lock_enabled);
    const DWORD before = now32();
    ASSERT_TRUE(lock.flck_open(site.c_str()));
    const DWORD after = now32();
    EXPECT_EQ(lock.lock_state, JX5file_Lock::state_locked);
    EXPECT_EQ(boxes.count(), 0u);

    const std::string bytes = read_file(site_lock);
    ASSERT_EQ(bytes.size(), 537u);
    EXPECT_EQ(bytes.substr(0, 16), std::string("JX40_FILE_LOCK\0\0", 16));
    EXPECT_EQ(bytes.substr(16, site.size()), site);
    EXPECT_EQ(bytes.find_first_not_of('\0', 16 + site.size()), 276u) << "zero fill of the name";
    const std::string user = lock.user_name;
    EXPECT_EQ(bytes.substr(276, user.size()), user);
    EXPECT_EQ(bytes.find_first_not_of('\0', 276 + user.size()), 533u) << "zero fill of the user";
    EXPECT_GE(time_at_533(bytes), before);
    EXPECT_LE(time_at_533(bytes), after);

    lock.flck_reset();
    EXPECT_FALSE(std::filesystem::exists(site_lock));
    EXPECT_EQ(lock.lock_state, JX5file_Lock::state_none);
    EXPECT_STREQ(lock.data_file_name, "");
    EXPECT_STREQ(lock.lock_file_name, "");
}

TEST_F(FileLock, LockFileNameReplacesOnlyTheLastComponentsExtension) {
    std::filesystem::create_directory(net.native_file("a.b"));
    const struct {
        std::string data, lock;
    } cases[] = {
        {net.file("a.b\\site.dat"), net.file("a.b\\site.lck")},
        {net.file("a.b\\site"), net.file("a.b\\site.lck")},
        {net.file("site.tar.gz"), net.file("site.tar.lck")},
        {net.file(".profile"), net.file(".lck")},
        {"N:drive-relative.dat", "N:drive-relative.lck"},
    };
    for (const auto& c : cases) {
        JX5file_Lock lock;
        ASSERT_TRUE(lock.flck_open(c.data.c_str())) << c.data;
        EXPECT_EQ(lock.lock_file_name, c.lock);
        EXPECT_TRUE(exists(c.lock)) << c.lock;
        lock.flck_reset();
        EXPECT_FALSE(exists(c.lock)) << c.lock;
    }
}

TEST_F(FileLock, LocalDrivesAreNeverLocked) {
    ScopedDriveMapping local(ScopedDriveMapping::fixed);
    if (!local.ok()) GTEST_SKIP() << "no fixed drive M:";
    const std::string name = local.file("site.dat");
    JX5file_Lock lock;
    EXPECT_TRUE(lock.flck_open(name.c_str()));
    EXPECT_EQ(lock.lock_state, JX5file_Lock::state_local);
    EXPECT_STREQ(lock.lock_file_name, "") << "a local open leaves the names as they were";
    EXPECT_TRUE(lock.flck_save(name.c_str()));
    EXPECT_TRUE(lock.flck_save(local.file("copy.dat").c_str()));
    EXPECT_EQ(lock.lock_state, JX5file_Lock::state_local);
    EXPECT_FALSE(std::filesystem::exists(local.native_file("site.lck")));
    EXPECT_FALSE(std::filesystem::exists(local.native_file("copy.lck")));
    // Saving a local file onto the network share takes the lock there.
    EXPECT_TRUE(lock.flck_save(site.c_str()));
    EXPECT_EQ(lock.lock_state, JX5file_Lock::state_locked);
    EXPECT_TRUE(std::filesystem::exists(site_lock));
    lock.flck_reset();
    EXPECT_EQ(boxes.count(), 0u);
}

// The lock message, line by line, with the age of the lock in hours: signed,
// so a lock time ahead of this machine's clock shows a negative age.
TEST_F(FileLock, AnotherUsersLockOpensReadOnlyAndSaysWhoAndSince) {
    const struct {
        long age_seconds;
        const char* hours;
    } cases[] = {{4500, "(1.25 hours ago)"}, {-7200, "(-2.00 hours ago)"}};
    for (const auto& c : cases) {
        const DWORD taken = now32() - static_cast<DWORD>(c.age_seconds);
        plant_other_lock(taken);
        boxes.clear();
        JX5file_Lock lock;
        lock.set_hwnd(reinterpret_cast<HWND>(static_cast<intptr_t>(0x77)));
        ASSERT_TRUE(lock.flck_open(site.c_str()));
        EXPECT_EQ(lock.lock_state, JX5file_Lock::state_read_only);
        ASSERT_EQ(boxes.count(), 1u);
        const jx::test::ShownBox box = boxes.last();
        EXPECT_EQ(box.owner, nullptr) << "the lock message has no owner window";
        EXPECT_EQ(box.caption, "Veldra data file lock");
        EXPECT_EQ(box.style, static_cast<UINT>(MB_OK | MB_ICONERROR));
        char date[32];
        const __time64_t when = taken;
        ASSERT_EQ(_ctime64_s(date, sizeof date, &when), 0);
        EXPECT_EQ(box.text, std::string("The file site.dat\r\nis in use by ") + kOtherUser +
                                "\r\nThe file was opened on " + date + " " + c.hours +
                                "\r\nThis file will be opened in read only mode");
        // Closing a read-only document never deletes the other user's lock.
        lock.flck_reset();
        EXPECT_TRUE(std::filesystem::exists(site_lock));
        EXPECT_EQ(time_at_533(read_file(site_lock)), taken);
    }
}

TEST_F(FileLock, ReadOnlySaveIsRefusedUntilTheOtherLockGoesAndCaseDoesNotMatter) {
    JX5file_Lock holder;
    ASSERT_TRUE(holder.flck_open(site.c_str()));
    JX5file_Lock reader;
    std::strcpy(reader.user_name, kOtherUser);
    ASSERT_TRUE(reader.flck_open(site.c_str()));
    ASSERT_EQ(reader.lock_state, JX5file_Lock::state_read_only);
    const std::string shouted = net.file("SITE.DAT");
    EXPECT_FALSE(reader.flck_save(shouted.c_str()));
    ASSERT_EQ(boxes.count(), 2u);
    EXPECT_EQ(boxes.shown()[1].text, boxes.shown()[0].text) << "a refused save shows the same";

    holder.flck_reset(); // the other user closes the file
    EXPECT_TRUE(reader.flck_save(shouted.c_str()));
    EXPECT_EQ(reader.lock_state, JX5file_Lock::state_locked);
    // The lock now carries the name as saved (one file on Windows, whatever
    // the case; two on a case-sensitive share).
    const std::string taken = read_file(net.native_file("SITE.lck"));
    ASSERT_EQ(taken.size(), 537u);
    EXPECT_EQ(taken.substr(276, std::strlen(kOtherUser) + 1), std::string(kOtherUser) + '\0');
    EXPECT_EQ(boxes.count(), 2u);
    reader.flck_reset();
    EXPECT_FALSE(exists(net.file("SITE.lck")));
}

TEST_F(FileLock, SaveUnderAnotherNameMovesTheLock) {
    plant_other_lock();
    JX5file_Lock lock;
    ASSERT_TRUE(lock.flck_open(site.c_str()));
    ASSERT_EQ(lock.lock_state, JX5file_Lock::state_read_only);
    const std::string copy = net.file("copy.dat");
    EXPECT_TRUE(lock.flck_save(copy.c_str()));
    EXPECT_EQ(lock.lock_state, JX5file_Lock::state_locked);
    EXPECT_STREQ(lock.data_file_name, copy.c_str());
    EXPECT_TRUE(std::filesystem::exists(net.native_file("copy.lck")));
    EXPECT_TRUE(std::filesystem::exists(site_lock)) << "the other user's lock stays";
    // Saved again under another name, this user's own lock moves along.
    EXPECT_TRUE(lock.flck_save(net.file("third.dat").c_str()));
    EXPECT_FALSE(std::filesystem::exists(net.native_file("copy.lck")));
    EXPECT_TRUE(std::filesystem::exists(net.native_file("third.lck")));
    lock.flck_reset();
    EXPECT_FALSE(std::filesystem::exists(net.native_file("third.lck")));
}

TEST_F(FileLock, OwnLeftOverLockIsTakenOverSilently) {
    write_file(site_lock, lock_bytes(site, JX5file_Lock().user_name, 1000));
    JX5file_Lock lock;
    const DWORD before = now32();
    ASSERT_TRUE(lock.flck_open(site.c_str()));
    EXPECT_EQ(lock.lock_state, JX5file_Lock::state_locked);
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_GE(time_at_533(read_file(site_lock)), before) << "the time is rewritten";
    lock.flck_reset();
}

// Another instance of the application in a second process: under another
// logon name it keeps this one read-only; after it closes, this one locks.
TEST_F(FileLock, SecondProcessOfAnotherUser) {
    {
        jx::test::LockHolder other(net, "site.dat", kOtherUser);
        ASSERT_EQ(other.state(), JX5file_Lock::state_locked);
        JX5file_Lock lock;
        ASSERT_TRUE(lock.flck_open(site.c_str()));
        EXPECT_EQ(lock.lock_state, JX5file_Lock::state_read_only);
        ASSERT_EQ(boxes.count(), 1u);
        EXPECT_NE(boxes.last().text.find(std::string("is in use by ") + kOtherUser),
                  std::string::npos);
        lock.flck_reset();
    }
    EXPECT_FALSE(std::filesystem::exists(site_lock)) << "the other process closed its file";
    JX5file_Lock lock;
    ASSERT_TRUE(lock.flck_open(site.c_str()));
    EXPECT_EQ(lock.lock_state, JX5file_Lock::state_locked);
    lock.flck_reset();
}

// flck_reset from every state: only this user's own lock file goes.
TEST_F(FileLock, ResetFromEveryState) {
    ScopedDriveMapping local(ScopedDriveMapping::fixed);
    const struct {
        const char* what;
        std::function<void(JX5file_Lock&)> reach;
        int state;
        bool lock_file_stays;
    } cases[] = {
        {"none", [](JX5file_Lock&) {}, JX5file_Lock::state_none, false},
        {"failed",
         [&](JX5file_Lock& lock) {
             write_file(site_lock, "JX39_FILE_LOCK");
             lock.flck_open(site.c_str());
         },
         JX5file_Lock::state_failed, true},
        {"local", [&](JX5file_Lock& lock) { lock.flck_open(local.file("site.dat").c_str()); },
         JX5file_Lock::state_local, false},
        {"locked", [&](JX5file_Lock& lock) { lock.flck_open(site.c_str()); },
         JX5file_Lock::state_locked, false},
        {"read-only",
         [&](JX5file_Lock& lock) {
             plant_other_lock();
             lock.flck_open(site.c_str());
         },
         JX5file_Lock::state_read_only, true},
    };
    for (const auto& c : cases) {
        if (c.state == JX5file_Lock::state_local && !local.ok()) continue;
        std::filesystem::remove(site_lock);
        JX5file_Lock lock;
        c.reach(lock);
        ASSERT_EQ(lock.lock_state, c.state) << c.what;
        lock.flck_reset();
        EXPECT_EQ(lock.lock_state, JX5file_Lock::state_none) << c.what;
        EXPECT_STREQ(lock.data_file_name, "") << c.what;
        EXPECT_STREQ(lock.lock_file_name, "") << c.what;
        EXPECT_EQ(std::filesystem::exists(site_lock), c.lock_file_stays) << c.what;
    }
}

// Damaged lock files: the lock's own record is shown (title "File error",
// the lock file's name first), the lock fails, and no save is allowed until
// the document is closed.
TEST_F(FileLock, DamagedLockFilesFailTheOpenAndEverySave) {
    const std::string good = lock_bytes(site, kOtherUser, now32());
    const struct {
        const char* what;
        std::function<void()> plant;
        const char* message; // start of the text after the name line
    } cases[] = {
        {"536 bytes", [&] { write_file(site_lock, good.substr(0, 536)); },
         "Read error at end of file"},
        {"0 bytes", [&] { write_file(site_lock, ""); }, "Read error at end of file"},
        {"foreign identifier", [&] { write_file(site_lock, "JX41_FILE_LOCK" + good.substr(14)); },
         "Wrong file format"},
        {"identifier without terminator",
         [&] { write_file(site_lock, std::string(16, 'J') + good.substr(16)); },
         "Wrong file format"},
        {"a folder", [&] { std::filesystem::create_directory(site_lock); }, nullptr},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(site_lock);
        c.plant();
        boxes.clear();
        const ScopedMessageBoxes& shown = boxes;
        JX5file_Lock lock;
        EXPECT_FALSE(lock.flck_open(site.c_str())) << c.what;
        EXPECT_EQ(lock.lock_state, JX5file_Lock::state_failed) << c.what;
        ASSERT_EQ(shown.count(), 1u) << c.what;
        EXPECT_EQ(shown.last().caption, "File error") << c.what;
        EXPECT_EQ(shown.last().text.rfind(lock.lock_file_name + std::string("\r\n"), 0), 0u)
            << c.what << ": " << shown.last().text;
        if (c.message) {
            EXPECT_EQ(shown.last().text.substr(std::strlen(lock.lock_file_name) + 2), c.message)
                << c.what;
        }
        EXPECT_FALSE(lock.flck_save(site.c_str())) << c.what;
        EXPECT_FALSE(lock.flck_save(net.file("other.dat").c_str())) << c.what;
        EXPECT_EQ(lock.err.error_type, 2) << c.what;
        lock.flck_reset();
        EXPECT_TRUE(lock.flck_save(net.file("other.dat").c_str())) << c.what << ": after reset";
        lock.flck_reset();
        std::filesystem::remove_all(site_lock);
    }
}

// Lock files that are odd but readable: a huge one is read for its first
// 537 bytes, and a user field without a terminator is shown cut at its end.
TEST_F(FileLock, OddButReadableLockFiles) {
    std::string unterminated = lock_bytes(site, "", now32());
    std::memset(&unterminated[276], 'U', 257);
    const struct {
        const char* what;
        std::string bytes;
        std::string shown_user;
    } cases[] = {
        {"10 MB", lock_bytes(site, kOtherUser, now32()) + std::string(10 << 20, 'z'), kOtherUser},
        {"user without terminator", unterminated, std::string(257, 'U')},
    };
    for (const auto& c : cases) {
        write_file(site_lock, c.bytes);
        boxes.clear();
        const ScopedMessageBoxes& shown = boxes;
        JX5file_Lock lock;
        EXPECT_TRUE(lock.flck_open(site.c_str())) << c.what;
        EXPECT_EQ(lock.lock_state, JX5file_Lock::state_read_only) << c.what;
        ASSERT_EQ(shown.count(), 1u);
        EXPECT_NE(shown.last().text.find("is in use by " + c.shown_user + "\r\n"),
                  std::string::npos)
            << c.what;
    }
}

// Names too long for a lock file: the open fails with Windows' text for an
// over-long name, shown with the data file's name.
TEST_F(FileLock, OverLongNamesFailCleanly) {
    const std::string folder = net.dir() + "\\";
    const auto name_of = [&](size_t length, const char* ending) {
        return folder + std::string(length - folder.size() - std::strlen(ending), 'n') + ending;
    };
    const struct {
        std::string name;
        bool locks;
    } cases[] = {
        {name_of(259, ".dat"), true},
        {name_of(259, "x"), false}, // the lock file would need 263 characters
        {name_of(260, ".dat"), false},
        {name_of(300, ".dat"), false},
    };
    for (const auto& c : cases) {
        boxes.clear();
        const ScopedMessageBoxes& shown = boxes;
        JX5file_Lock lock;
        EXPECT_EQ(lock.flck_open(c.name.c_str()), c.locks) << c.name.size();
        EXPECT_EQ(lock.lock_state,
                  c.locks ? JX5file_Lock::state_locked : JX5file_Lock::state_failed)
            << c.name.size();
        if (!c.locks) {
            ASSERT_EQ(shown.count(), 1u);
            EXPECT_EQ(shown.last().caption, "File error");
            EXPECT_EQ(lock.err.last_error_code, static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
        }
        lock.flck_reset();
    }
}

} // namespace
