// Every system call of a compilation fails in turn. Each failure must be
// recorded, a failed write must leave the object without a handle, and no
// failure may leave a compiled file that a later construction trusts.
#include "uitext/lang_system.h"
#include "uitext/menu_system.h"
#include "platform/testing.h"
#include "support/menu_tree.h"
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

// Runs `build` with call 1, 2, ... failing until nothing fails; `check` sees
// each failed object, `verify` each working one, and after each attempt a
// clean construction must serve the right content.
template <class Object, class Build, class Check, class Verify>
void fail_each_call(int error, const std::string& compiled, Build build, Check check,
                    Verify verify) {
    const size_t descriptors = open_descriptors();
    for (int nth = 1; nth < 200; ++nth) {
        std::filesystem::remove(compiled);
        bool fired;
        {
            ScopedSyscallFault fault(nth, error);
            Object* object = build();
            fired = fault.fired();
            // The layer absorbs some failures (it retries a refused open
            // with less access): then the object must simply work.
            if (fired && object->error_code != 0) check(nth, *object);
            if (fired && object->error_code == 0) verify(nth, *object);
            delete object;
        }
        EXPECT_EQ(open_descriptors(), descriptors) << "call " << nth;
        Object* clean = build();
        EXPECT_EQ(clean->error_code, 0u) << "after call " << nth;
        verify(nth, *clean);
        delete clean;
        if (!fired) return;
    }
    ADD_FAILURE() << "the construction never got through";
}

class UitextFaults : public ::testing::Test {
protected:
    TempDir dir;
    std::string folder = dir.path();
};

TEST_F(UitextFaults, LanguageCompilation) {
    std::string body = "JXW60-STR\n40\n";
    for (int id = 0; id < 40; ++id)
        body += std::to_string(id) + ",text " + std::to_string(id) + "\n";
    dir.write("english6.lng", body);
    int write_failures = 0;
    for (int error : {EIO, ENOSPC, EACCES}) {
        fail_each_call<jx5LangSystem>(
            error, dir.file("jx5_lang.lng"), [&] { return new jx5LangSystem(&folder[0], 0, true); },
            [&](int nth, jx5LangSystem& texts) {
                if (texts.error_code == 29) {
                    ++write_failures;
                    EXPECT_EQ(texts.hfile, INVALID_HANDLE_VALUE) << nth;
                    EXPECT_EQ(texts.error_file, 5) << nth;
                }
                EXPECT_STREQ(texts.get_string(33), " ") << nth;
            },
            [](int nth, jx5LangSystem& texts) {
                EXPECT_STREQ(texts.get_string(33), "text 33") << nth;
                EXPECT_STREQ(texts.get_string(0), "text 0") << nth;
            });
    }
    EXPECT_GT(write_failures, 0);
}

TEST_F(UitextFaults, MenuCompilation) {
    dir.write("english6.mnu", "JXW60-MNU\nFile|2\nOpen|IDM_OPEN\n#\nHelp|IDM_HELP\n");
    dir.write("mnudefs5.r.h", "#define IDM_OPEN 101\n#define IDM_HELP 103\n");
    int write_failures = 0;
    for (int error : {EIO, ENOSPC, EACCES}) {
        fail_each_call<jx5MenuSystem>(
            error, dir.file("jx5mndes.mnu"), [&] { return new jx5MenuSystem(&folder[0], 0, 1, 0); },
            [&](int nth, jx5MenuSystem& menus) {
                if (menus.error_code == 29) {
                    ++write_failures;
                    EXPECT_EQ(menus.hfile, INVALID_HANDLE_VALUE) << nth;
                    EXPECT_EQ(menus.error_file, 5) << nth;
                }
            },
            [](int nth, jx5MenuSystem& menus) {
                unsigned long entries[] = {1, 0};
                HMENU menu = menus.get_hmenu(2, entries);
                EXPECT_EQ(jx::test::menu_tree(menu), "item 103 \"Help\" state=0x0\n"
                                                     "popup \"File\" state=0x210\n"
                                                     "  item 101 \"Open\" state=0x0\n"
                                                     "  separator id=0 state=0x803\n")
                    << nth;
                DestroyMenu(menu);
            });
    }
    EXPECT_GT(write_failures, 0);
}

} // namespace
