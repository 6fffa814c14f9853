// The archive manager's own file work (reading a source file, writing the
// unpacked files) with each system call failing in turn: a failed add leaves
// the archive as it was, a failed unpack leaves no incomplete file, and no
// descriptor stays open.
#include "archive/archive_manager.h"
#include "platform/testing.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

namespace {

using jx::test::TempDir;
using jx::testing::ScopedSyscallFault;

size_t open_descriptors() {
    size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        (void)entry;
        ++count;
    }
    return count;
}

struct Failure {
    const char* what;
    int error;
};
const Failure kFailures[] = {{"I/O error", EIO}, {"disk full", ENOSPC}, {"short transfer", 0}};

class ArchiveFaults : public ::testing::Test {
protected:
    TempDir dir;
    // Written natively, named as the library takes them (the bare name after
    // the last backslash).
    std::string first_bytes = TempDir::read(dir.write("first.dat", std::string(3000, 'f')));
    std::string second_bytes = TempDir::read(dir.write("second.dat", std::string(70000, 's')));
    std::string first = dir.path() + "\\first.dat";
    std::string second = dir.path() + "\\second.dat";
    std::string zip = dir.file("send.zip");

    // Runs `operation` with call 1, 2, ... failing until one run gets
    // through; `check` sees every run's result.
    template <class Operation, class Check> void each_call(Operation operation, Check check) {
        for (const Failure& failure : kFailures) {
            const size_t descriptors = open_descriptors();
            bool fired = true;
            for (int nth = 1; fired && nth < 100; ++nth) {
                int result;
                {
                    ScopedSyscallFault fault(nth, failure.error);
                    result = operation();
                    fired = fault.fired();
                }
                EXPECT_EQ(open_descriptors(), descriptors) << failure.what << ", call " << nth;
                EXPECT_TRUE(fired || result == 1) << failure.what << ", call " << nth;
                check(result, failure.what, nth);
            }
            EXPECT_FALSE(fired) << failure.what << ": never got through";
        }
    }
};

TEST_F(ArchiveFaults, AFailedAddLeavesTheArchiveAsItWas) {
    ArchiveManager manager;
    manager.NewArchive(&zip[0]);
    ASSERT_EQ(manager.AddFileToArchive(&first[0]), 1);
    const std::string one_entry = TempDir::read(zip);
    each_call(
        [&] {
            ArchiveManager again;
            again.NewArchive(&zip[0]);
            std::filesystem::remove(zip);
            std::filesystem::copy_file(dir.write("keep.zip", one_entry), zip);
            return again.AddFileToArchive(&second[0]);
        },
        [&](int result, const char* what, int nth) {
            if (result == 0) {
                EXPECT_EQ(TempDir::read(zip), one_entry) << what << ", call " << nth;
            }
        });
}

TEST_F(ArchiveFaults, AFailedUnpackLeavesOnlyWholeFiles) {
    ArchiveManager manager;
    manager.NewArchive(&zip[0]);
    ASSERT_EQ(manager.AddFileToArchive(&first[0]), 1);
    ASSERT_EQ(manager.AddFileToArchive(&second[0]), 1);
    const std::string out = dir.file("out");
    std::filesystem::create_directory(out);
    each_call(
        [&] {
            std::filesystem::remove_all(out);
            std::filesystem::create_directory(out);
            std::string target = out;
            return manager.UnpackExistingArchive(&zip[0], &target[0]);
        },
        [&](int result, const char* what, int nth) {
            const std::pair<const char*, const std::string*> files[] = {
                {"first.dat", &first_bytes}, {"second.dat", &second_bytes}};
            for (const auto& file : files) {
                const std::string unpacked = out + "/" + file.first;
                if (result == 1 || TempDir::exists(unpacked)) {
                    EXPECT_EQ(TempDir::read(unpacked), *file.second) << what << ", call " << nth;
                }
            }
        });
}

} // namespace
