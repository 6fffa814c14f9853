// Every system call of a compilation fails in turn. Each failure must be
// recorded, a failed write must leave the object without a handle, and no
// failure may leave a compiled file that a later construction trusts.
#include "uitext/lang_system.h"
#include "uitext/menu_system.h"
#include "support/menu_tree.h"
#include "support/syscall_faults.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

namespace {

using jx::test::TempDir;

// Builds `Object` in `dir` from `args` with call 1, 2, ... failing, for each
// error, until nothing fails. `serves(object, ok)` sees each object that met
// the failure, working (ok) or failed, and, after each attempt, one built
// with nothing failing; a failed write must have been met at least once.
template <class Object, class Serves, class... Args>
void fail_each_call(TempDir& dir, const char* compiled, Serves serves, Args... args) {
    std::string folder = dir.path();
    const size_t descriptors = jx::test::open_descriptors();
    int write_failures = 0;
    for (int error : {EIO, ENOSPC, EACCES}) {
        for (int nth = 1;; ++nth) {
            ASSERT_LT(nth, 200) << "the construction never got through";
            SCOPED_TRACE("call " + std::to_string(nth));
            std::filesystem::remove(dir.file(compiled));
            bool fired;
            {
                jx::testing::ScopedSyscallFault fault(nth, error);
                Object object(&folder[0], args...);
                fired = fault.fired();
                if (fired && object.error_code == 29) {
                    ++write_failures;
                    EXPECT_EQ(object.hfile, INVALID_HANDLE_VALUE);
                    EXPECT_EQ(object.error_file, 5);
                }
                // The layer absorbs some failures (it retries a refused open
                // with less access): then the object must simply work.
                if (fired) serves(object, object.error_code == 0);
            }
            EXPECT_EQ(jx::test::open_descriptors(), descriptors);
            Object clean(&folder[0], args...);
            EXPECT_EQ(clean.error_code, 0u);
            serves(clean, true);
            if (!fired) break;
        }
    }
    EXPECT_GT(write_failures, 0);
}

TEST(UitextFaults, LanguageCompilation) {
    TempDir dir;
    std::string body = "JXW60-STR\n40\n";
    for (int id = 0; id < 40; ++id)
        body += std::to_string(id) + ",text " + std::to_string(id) + "\n";
    dir.write("english6.lng", body);
    const auto serves = [](jx5LangSystem& texts, bool ok) {
        EXPECT_STREQ(texts.get_string(33), ok ? "text 33" : " ");
        EXPECT_STREQ(texts.get_string(0), ok ? "text 0" : " ");
    };
    fail_each_call<jx5LangSystem>(dir, "jx5_lang.lng", serves, 0, true);
}

TEST(UitextFaults, MenuCompilation) {
    TempDir dir;
    dir.write("english6.mnu", "JXW60-MNU\nFile|2\nOpen|IDM_OPEN\n#\n");
    dir.write("mnudefs5.r.h", "#define IDM_OPEN 101\n");
    const auto serves = [](jx5MenuSystem& menus, bool ok) {
        if (!ok) return;
        unsigned long entry = 0;
        HMENU menu = menus.get_hmenu(1, &entry);
        EXPECT_EQ(jx::test::menu_tree(menu), "popup \"File\" state=0x210\n"
                                             "  item 101 \"Open\" state=0x0\n"
                                             "  separator id=0 state=0x803\n");
        DestroyMenu(menu);
    };
    fail_each_call<jx5MenuSystem>(dir, "jx5mndes.mnu", serves, 0, 1, 0);
}

} // namespace
