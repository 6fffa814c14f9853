// The data-file lock when the system fails it: each system call of taking or
// reading a lock fails in turn, and the logon name cannot be read.
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
#include <memory>
#include <pwd.h>
#include <string>

namespace {

using jx::test::ScopedMessageBoxes;
using jx::testing::ScopedSyscallFault;
namespace fs = std::filesystem;

class LockFaults : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(net.ok()); }
    jx::test::ScopedDriveMapping net{jx::test::ScopedDriveMapping::network};
    std::string site = net.file("site.dat"), site_lock = net.native_dir() + "/site.lck";
};

// A failed open shows the lock's record naming the lock file, refuses every
// save until reset and leaves no partial lock file; a failed existence test
// reads as "no lock file", so the lock is taken.
TEST_F(LockFaults, EachCallOfTakingOrReadingALockFails) {
    std::string other(537, '\0');
    std::memcpy(&other[0], "JX40_FILE_LOCK\0\0r", 17);
    std::memcpy(&other[276], "r.ahlgren", 9);
    bool disk_full = false;
    for (const std::string& planted : {std::string(), other}) {
        for (int error : {EACCES, ENOSPC, EIO, 0}) {
            int nth = 1;
            for (bool fired = true; fired; ++nth) {
                fs::remove(site_lock);
                if (!planted.empty()) std::ofstream(site_lock, std::ios::binary) << planted;
                ScopedMessageBoxes boxes;
                JX5file_Lock lock;
                bool opened;
                {
                    ScopedSyscallFault fault(nth, error);
                    opened = lock.flck_open(site.c_str());
                    fired = fault.fired();
                }
                SCOPED_TRACE("call " + std::to_string(nth) + " error " + std::to_string(error) +
                             (planted.empty() ? "" : " read"));
                if (opened) {
                    EXPECT_TRUE(lock.lock_state == 3 || lock.lock_state == 4);
                } else {
                    EXPECT_EQ(lock.lock_state, JX5file_Lock::state_failed);
                    ASSERT_EQ(boxes.count(), 1u);
                    EXPECT_EQ(boxes.last().text.rfind(lock.lock_file_name + std::string("\r\n"), 0),
                              0u);
                    EXPECT_FALSE(lock.flck_save(net.file("other.dat").c_str()));
                }
                EXPECT_TRUE(!fs::exists(site_lock) || fs::file_size(site_lock) == 537u);
                disk_full |= !opened && lock.err.error_code == 116 &&
                             lock.err.last_error_code == ERROR_DISK_FULL;
                lock.flck_reset();
            }
            EXPECT_GT(nth, 4) << "the open makes system calls";
        }
    }
    EXPECT_TRUE(disk_full) << "a full disk while writing is \"Insufficient disk space\"";
}

// Without a logon name there is nobody to lock for: every operation succeeds
// and nothing is written or deleted.
TEST_F(LockFaults, UnreadableLogonNameTurnsLockingOff) {
    ScopedMessageBoxes boxes;
    std::unique_ptr<JX5file_Lock> lock;
    {
        ScopedSyscallFault fault(1, EIO);
        lock = std::make_unique<JX5file_Lock>();
        ASSERT_TRUE(fault.fired()) << "the constructor asks for the logon name";
    }
    EXPECT_TRUE(lock->flck_open(site.c_str()));
    EXPECT_TRUE(lock->flck_save(net.file("copy.dat").c_str()));
    lock->lock_state = JX5file_Lock::state_locked;
    std::ofstream(site_lock) << "kept";
    std::strcpy(lock->lock_file_name, net.file("site.lck").c_str());
    lock->flck_reset();
    EXPECT_EQ(lock->lock_state, JX5file_Lock::state_locked) << "reset does nothing";
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_EQ(fs::directory_iterator(net.native_dir())->path().filename(), "site.lck");
}

// The effective user's name from the password database; the environment,
// which anybody can set, is never asked.
TEST(LogonName, EffectiveUserFromThePasswordDatabase) {
    const passwd* entry = getpwuid(geteuid());
    ASSERT_NE(entry, nullptr);
    const std::string expected = entry->pw_name,
                      saved = std::getenv("USER") ? std::getenv("USER") : "";
    setenv("USER", "not-the-logon-name", 1);
    char name[257];
    DWORD size = sizeof name;
    EXPECT_TRUE(GetUserNameA(name, &size) && name == expected && size == expected.size() + 1);
    setenv("USER", saved.c_str(), 1);
}

} // namespace
