// The archive manager's own file work (reading a source file, writing the
// unpacked files) with each system call failing in turn: a failed add leaves
// the archive as it was, a failed unpack leaves no incomplete file, and no
// descriptor stays open.
#include "archive/archive_manager.h"
#include "support/syscall_faults.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>

namespace {

using jx::test::TempDir;
namespace fs = std::filesystem;

// Each call failing (an I/O error, a full disk, a short transfer) until a run
// gets through, which must succeed; `check` sees every result.
void each_call(const std::function<int()>& operation, const std::function<void(int)>& check) {
    for (int error : {EIO, ENOSPC, 0}) {
        SCOPED_TRACE("errno " + std::to_string(error));
        int result = 0;
        jx::test::fail_each_call(
            error, [&] { result = operation(); }, [&] { check(result); });
        EXPECT_EQ(result, 1);
        check(result);
    }
}

TEST(ArchiveFaults, FailuresLeaveTheArchiveAsItWasAndOnlyWholeFiles) {
    TempDir dir;
    const std::string first_bytes(3000, 'f'), second_bytes(70000, 's');
    dir.write("first.dat", first_bytes);
    dir.write("second.dat", second_bytes);
    // Named as the library takes them: the bare name after the backslash.
    std::string first = dir.path() + "\\first.dat", second = dir.path() + "\\second.dat";
    std::string zip = dir.file("send.zip");
    ArchiveManager manager;
    manager.NewArchive(&zip[0]);
    ASSERT_EQ(manager.AddFileToArchive(&first[0]), 1);
    const std::string one_entry = TempDir::read(zip);
    each_call(
        [&] {
            dir.write("send.zip", one_entry);
            return manager.AddFileToArchive(&second[0]);
        },
        [&](int result) { EXPECT_EQ(result == 1 ? one_entry : TempDir::read(zip), one_entry); });

    const std::string out = dir.file("out");
    each_call(
        [&] {
            fs::remove_all(out);
            fs::create_directory(out);
            std::string target = out;
            return manager.UnpackExistingArchive(&zip[0], &target[0]);
        },
        [&](int result) {
            for (const auto& [name, bytes] :
                 {std::pair{"first.dat", &first_bytes}, std::pair{"second.dat", &second_bytes}}) {
                const std::string path = out + "/" + name;
                const bool there = result == 1 || TempDir::exists(path);
                EXPECT_EQ(there ? TempDir::read(path) : *bytes, *bytes) << name;
            }
        });
}

} // namespace
