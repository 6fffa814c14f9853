// The data-file lock when the system fails it: every system call of taking
// and reading a lock fails in turn, and the logon name cannot be read.
#include "files/file_lock.h"
#include "platform/testing.h"
#include "support/drive_mapping.h"
#include "support/message_boxes.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <string>

namespace {

using jx::test::ScopedDriveMapping;
using jx::test::ScopedMessageBoxes;
using jx::testing::ScopedSyscallFault;

std::string file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string lock_of(const std::string& data_file, const std::string& user) {
    std::string bytes(537, '\0');
    std::memcpy(&bytes[0], "JX40_FILE_LOCK", 14);
    std::memcpy(&bytes[16], data_file.data(), data_file.size());
    std::memcpy(&bytes[276], user.data(), user.size());
    return bytes;
}

class LockFaults : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(net.ok()); }
    ScopedDriveMapping net{ScopedDriveMapping::network};
    std::string site = net.file("site.dat");
    std::string site_lock = net.native_file("site.lck");

    // Opens the site with call `nth` failing with `error` until the open
    // gets through. A failed open shows the lock's record naming the lock
    // file, refuses every save until reset, and leaves no partial lock file.
    void fail_each_call(int error, const std::string& planted, int expected_state) {
        for (int nth = 1; nth < 50; ++nth) {
            std::filesystem::remove(site_lock);
            if (!planted.empty()) std::ofstream(site_lock, std::ios::binary) << planted;
            ScopedMessageBoxes boxes;
            JX5file_Lock lock;
            bool opened, fired;
            {
                ScopedSyscallFault fault(nth, error);
                opened = lock.flck_open(site.c_str());
                fired = fault.fired();
            }
            const std::string left = file_bytes(site_lock);
            if (!fired) {
                EXPECT_TRUE(opened);
                EXPECT_EQ(lock.lock_state, expected_state);
                EXPECT_GT(nth, 2) << "the open makes system calls";
                lock.flck_reset();
                return;
            }
            if (opened) {
                // A failed existence test reads as "no lock file": the lock is
                // taken, as when the other user's file had just gone.
                EXPECT_TRUE(lock.lock_state == JX5file_Lock::state_locked ||
                            lock.lock_state == expected_state)
                    << "call " << nth;
            } else {
                EXPECT_EQ(lock.lock_state, JX5file_Lock::state_failed) << "call " << nth;
                ASSERT_EQ(boxes.count(), 1u) << "call " << nth;
                EXPECT_EQ(boxes.last().caption, "File error");
                EXPECT_EQ(boxes.last().text.rfind(std::string(lock.lock_file_name) + "\r\n", 0), 0u)
                    << boxes.last().text;
                EXPECT_FALSE(lock.flck_save(site.c_str()));
                EXPECT_FALSE(lock.flck_save(net.file("other.dat").c_str()));
            }
            EXPECT_TRUE(left.empty() || left.size() == 537u)
                << "call " << nth << " left " << left.size() << " bytes";
            lock.flck_reset();
        }
        ADD_FAILURE() << "the open never got through";
    }
};

TEST_F(LockFaults, TakingTheLock) {
    for (int error : {EACCES, ENOSPC, EIO, 0})
        fail_each_call(error, "", JX5file_Lock::state_locked);
}

TEST_F(LockFaults, ReadingAnotherUsersLock) {
    for (int error : {EACCES, EIO, 0})
        fail_each_call(error, lock_of(site, "r.ahlgren"), JX5file_Lock::state_read_only);
}

// A full disk while the lock is written: the record says so, and the lock
// file that was started is removed again.
TEST_F(LockFaults, FullDiskLeavesNoLockFile) {
    ScopedMessageBoxes boxes;
    JX5file_Lock lock;
    for (int nth = 1; nth < 20 && lock.err.error_code != 116; ++nth) {
        lock.flck_reset();
        ScopedSyscallFault fault(nth, ENOSPC);
        lock.flck_open(site.c_str());
    }
    ASSERT_EQ(lock.err.error_code, 116) << "some call was the write";
    EXPECT_EQ(lock.err.last_error_code, static_cast<DWORD>(ERROR_DISK_FULL));
    EXPECT_EQ(lock.lock_state, JX5file_Lock::state_failed);
    EXPECT_FALSE(std::filesystem::exists(site_lock));
}

// Without a logon name there is nobody to lock for: every operation succeeds
// and nothing is written or deleted.
TEST_F(LockFaults, UnreadableLogonNameTurnsLockingOff) {
    std::ofstream(site_lock, std::ios::binary) << lock_of(site, "r.ahlgren");
    ScopedMessageBoxes boxes;
    std::unique_ptr<JX5file_Lock> lock;
    {
        ScopedSyscallFault fault(1, EIO);
        lock = std::make_unique<JX5file_Lock>();
        ASSERT_TRUE(fault.fired()) << "the constructor asks for the logon name";
    }
    EXPECT_FALSE(lock->lock_enabled);
    EXPECT_TRUE(lock->flck_open(net.file("new.dat").c_str()));
    EXPECT_TRUE(lock->flck_open(site.c_str()));
    EXPECT_TRUE(lock->flck_save(site.c_str()));
    EXPECT_TRUE(lock->flck_save(net.file("copy.dat").c_str()));
    lock->lock_state = JX5file_Lock::state_locked;
    lock->flck_reset();
    EXPECT_EQ(lock->lock_state, JX5file_Lock::state_locked) << "reset does nothing";
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_FALSE(std::filesystem::exists(net.native_file("new.lck")));
    EXPECT_FALSE(std::filesystem::exists(net.native_file("copy.lck")));
    EXPECT_EQ(file_bytes(site_lock).substr(276, 9), "r.ahlgren");
}

// The effective user's name comes from the password database; the
// environment, which anybody can set, is never asked.
TEST(LogonName, EffectiveUserFromThePasswordDatabase) {
    unsigned effective = 0;
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("Uid:", 0) == 0) effective = std::stoul(line.substr(line.find('\t', 5)));
    const passwd* entry = getpwuid(effective);
    ASSERT_NE(entry, nullptr);
    const std::string expected = entry->pw_name;

    const char* saved = std::getenv("USER");
    const std::string saved_user = saved ? saved : "";
    setenv("USER", "not-the-logon-name", 1);
    char name[257];
    DWORD size = sizeof name;
    const BOOL ok = GetUserNameA(name, &size);
    saved ? setenv("USER", saved_user.c_str(), 1) : unsetenv("USER");
    ASSERT_TRUE(ok);
    EXPECT_EQ(std::string(name), expected);
    EXPECT_EQ(size, expected.size() + 1) << "the size counts the terminator";

    DWORD small = static_cast<DWORD>(expected.size());
    EXPECT_FALSE(GetUserNameA(name, &small));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(small, expected.size() + 1);
}

} // namespace
