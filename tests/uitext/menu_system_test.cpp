// Menus: the compiled file byte for byte, when it is rebuilt, every failure
// the host can read, and the menus get_hmenu assembles.
#include "uitext/menu_system.h"
#include "support/child_process.h"
#include "support/menu_tree.h"
#include "uitext_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace jx::test;
const char kEnglish[] = "english6.mnu", kFrench[] = "french6.mnu", kCompiled[] = "jx5mndes.mnu";
const char kDefs[] = "mnudefs5.r.h";

// Guards, comments, blanks, a repeated and a guard-like name, a name with a
// tilde, and a line after the guard's end.
const char kHeader[] = "#ifndef __MNUDEFS5_R_H\n#define __MNUDEFS5_R_H\n// commands\n\n"
                       "  #define IDM_OPEN 101\n#define IDM_EXIT\t102 // the last one\n"
                       "#define IDM_HELP 103\n#define IDM_NONE 0\n#define __IDM_GUARD_LIKE 104\n"
                       "#define IDM_OPEN 999\n#define IDM_~X 5\n#endif\nthis line is never read\n";

const char kMenu[] = "JXW60-MNU english\nMENU_DEF MAIN\n"
                     "&File|3\n   Open~Ctrl+O |IDM_OPEN\n  #\n  Exit|IDM_EXIT\n#\n"
                     "// the help entry\nHelp|IDM_HELP\n";

// A folder holding a menu text and the identifier header.
struct Sources : SourceFolder {
    explicit Sources(const std::string& menu = kMenu, const std::string& header = kHeader) {
        write(kEnglish, menu);
        write(kDefs, header);
    }
};

TEST(MenuFiles, CompiledFileLayout) {
    Sources folder;
    jx5MenuSystem menus(folder.path(), 0, 7, 0);
    // clang-format off
    const Bytes file = Bytes().str("JX6_MENU_DESCRP").u32(2).u32(12).u16(0).u16(0).u32(7)
        .u32(64).u32(62).u32(0).u32(32).u32(14).u32(64)
        .popup(0x10, "&File").item(0, 101, "Open\tCtrl+O").item(0x800, 0, "")
        .item(0x80, 102, "Exit").pad_to(56 + 64)
        .item(0, 103, "Help").pad_to(56 + 96);
    // clang-format on
    EXPECT_EQ(folder.read(kCompiled), file.str());
}

TEST(MenuFiles, EntriesAsTheRulesBuildThem) {
    // clang-format off
    const struct {
        const char* name;
        std::string lines; // after the first line
        Bytes items;       // of the one entry
    } cases[] = {
        {"ignored lines do not count as children",
         "P|3\n// c\n\n  MENU_DEF X\na|IDM_OPEN\nb|IDM_EXIT\nc|IDM_HELP\n",
         Bytes().popup(0x10, "P").item(0, 101, "a").item(0, 102, "b").item(0x80, 103, "c")},
        {"a nested popup brings its own children",
         "P|4\nQ|2\na|IDM_OPEN\nb|IDM_EXIT\nc|IDM_HELP\n#\nR|1\nd|IDM_OPEN\n",
         Bytes().popup(0x10, "P").popup(0x10, "Q").item(0, 101, "a").item(0x80, 102, "b")
             .item(0, 103, "c").item(0x800, 0, "").popup(0x90, "R").item(0x80, 101, "d")},
        {"a last separator", "P|2\na|IDM_OPEN\n#3\n",
         Bytes().popup(0x10, "P").item(0, 101, "a").item(0x880, 0, "")},
        {"a plain line in the middle counts but writes nothing",
         "P|3\na|IDM_OPEN\nplain\nb|IDM_EXIT\n",
         Bytes().popup(0x10, "P").item(0, 101, "a").item(0x80, 102, "b")},
        {"a tilde after the bar is part of the name", "a~b|IDM_~X\n",
         Bytes().item(0, 5, "a\tb")},
        {"bytes become units without conversion", "\xC9t\xE9\x80|IDM_OPEN\n",
         Bytes().item(0, 101, "\xC9t\xE9\x80")},
        {"blanks before the bar go, anything after the count is free",
         "P \t|1 children\na|IDM_OPEN\n", Bytes().popup(0x10, "P").item(0x80, 101, "a")},
    };
    // clang-format on
    for (const auto& c : cases) {
        Sources fresh("JXW60-MNU\n" + c.lines);
        jx5MenuSystem menus(fresh.path(), 0, 0, 0);
        ASSERT_EQ(menus.header.num_entries, 1u) << c.name;
        const std::string file = fresh.read(kCompiled);
        EXPECT_EQ(file.substr(44, c.items.size()), c.items.str()) << c.name;
        EXPECT_EQ(menus.entry_index[0].used_size, c.items.size()) << c.name;
        EXPECT_EQ(file.size(), 44 + ((c.items.size() + 31) / 32) * 32) << c.name;
    }
}

// `n` popups of one letter each, nested, around one command.
std::string nested(int n, bool command = true) {
    std::string lines;
    for (int i = 0; i < n; ++i) lines += "P|1\n";
    return lines + (command ? "a|IDM_OPEN\n" : "");
}

TEST(MenuFiles, MalformedSourcesNameTheirFile) {
    const std::string first = "JXW60-MNU\n";
    std::string long_entry = first + "P|70\n";
    for (int i = 0; i < 70; ++i) long_entry += std::string(60, 'x') + "|IDM_OPEN\n";
    const struct {
        const char* name;
        std::string menu;
        std::string header;
        int file;
    } cases[] = {
        {"empty menu text", "", kHeader, 0},
        {"another first line", "JXW50-MNU\nHelp|IDM_HELP\n", kHeader, 0},
        {"an undefined identifier", first + "Help|IDM_NOWHERE\n", kHeader, 0},
        {"an identifier of value 0", first + "Help|IDM_NONE\n", kHeader, 0},
        {"a blank between bar and name", first + "Help| IDM_HELP\n", kHeader, 0},
        {"a top-level line without a bar", first + "Help\n", kHeader, 0},
        {"an undefined identifier inside a popup", first + "P|1\na|IDM_X\n", kHeader, 0},
        {"a file that ends inside a popup", first + "P|3\na|IDM_OPEN\n", kHeader, 0},
        {"a plain line as the last child", first + "P|2\na|IDM_OPEN\nplain\n", kHeader, 0},
        {"a popup without children", first + "P|0\nHelp|IDM_HELP\n", kHeader, 0},
        {"menus nested 100 deep that end too soon", first + nested(100, false), kHeader, 0},
        {"an entry past 8192 bytes", long_entry, kHeader, 0},
        {"an include line in the header", first + "Help|IDM_HELP\n",
         "#include <x.h>\n#define IDM_HELP 103\n", 6},
        {"a definition without a number", first + "Help|IDM_HELP\n", "#define IDM_HELP\n#endif\n",
         6},
        {"a header line of 200 characters", first + "Help|IDM_HELP\n",
         "#define IDM_HELP 103 // " + std::string(176, 'c') + "\n#endif\n", 6},
    };
    for (const auto& c : cases) {
        Sources fresh(c.menu, c.header);
        jx5MenuSystem menus(fresh.path(), 0, 0, 0);
        expect_failure(menus, 30, c.file, c.name);
        EXPECT_EQ(menus.hfile, INVALID_HANDLE_VALUE) << c.name;
        EXPECT_EQ(menus.define_names, nullptr) << c.name;
        EXPECT_FALSE(fresh.exists(kCompiled)) << c.name;
    }
}

TEST(MenuFiles, LongButLegalSources) {
    // A header line of 79 characters including its line end.
    const std::string defs = "#define IDM_OPEN 101 // " + std::string(54, 'c') + "\n#endif\n";
    Sources folder("JXW60-MNU\n" + nested(100), defs);
    jx5MenuSystem menus(folder.path(), 0, 0, 0);
    ASSERT_EQ(menus.error_code, 0u);
    // 100 popups of one letter (6 bytes each) and the command (8 bytes).
    EXPECT_EQ(menus.entry_index[0].used_size, 100u * 6 + 8);
    unsigned long entry = 0;
    HMENU menu = menus.get_hmenu(1, &entry);
    ASSERT_NE(menu, nullptr);
    // Windows' own menus lose their way in chains this deep (Wine's follow
    // a 100-deep chain for 7 levels, a 50-deep one for 19), so only the
    // first levels are followed.
    HMENU level = menu;
    for (int i = 0; i < 5; ++i) {
        level = GetSubMenu(level, 0);
        ASSERT_NE(level, nullptr) << i;
        EXPECT_EQ(GetMenuItemCount(level), 1) << i;
    }
    DestroyMenu(menu);
}

TEST(MenuFiles, OpenFailures) {
    for (const char* name : {kEnglish, kDefs}) {
        Sources fresh;
        std::filesystem::remove(fresh.dir.file(name));
        expect_failure(jx5MenuSystem(fresh.path(), 0, 0, 0), 2, name == kDefs ? 6 : 0, name);
    }
    // A compiled file that cannot be opened (here a folder) is not rebuilt.
    Sources folder;
    std::filesystem::create_directory(folder.dir.file(kCompiled));
    expect_failure(jx5MenuSystem(folder.path(), 0, 0, 0), 5, 5);
}

TEST(MenuFiles, RebuildDecisions) {
    const struct {
        const char* name;
        int menu_age;
        int header_age;
        int language;
        int stamp;
        void (*damage)(std::string& compiled);
        bool rebuilt;
    } cases[] = {
        {"equal write times", 50, 50, 0, 7, nullptr, false},
        {"older sources", 60, 70, 0, 7, nullptr, false},
        {"a newer menu text", 40, 70, 0, 7, nullptr, true},
        {"a touched identifier header", 70, 40, 0, 7, nullptr, true},
        {"another language", 60, 60, 1, 7, nullptr, true},
        {"another stamp", 60, 60, 0, 8, nullptr, true},
        {"another signature", 60, 60, 0, 7, [](std::string& f) { f[0] = 'j'; }, true},
        {"another entry size", 60, 60, 0, 7, [](std::string& f) { f[20] = 16; }, true},
        {"an odd used size", 60, 60, 0, 7, [](std::string& f) { f[36] = 59; }, true},
    };
    for (const auto& c : cases) {
        Sources fresh;
        fresh.write(kFrench, kMenu);
        { jx5MenuSystem first(fresh.path(), 0, 7, 0); }
        fresh.edit(kCompiled, c.damage, 50);
        fresh.date(c.language == 0 ? kEnglish : kFrench, c.menu_age);
        fresh.date(kDefs, c.header_age);
        jx5MenuSystem menus(fresh.path(), c.language, c.stamp, 12345);
        EXPECT_EQ(menus.error_code, 0u) << c.name;
        EXPECT_EQ(fresh.age(kCompiled) != 50, c.rebuilt) << c.name;
        EXPECT_EQ(menus.header.menu_stamp, static_cast<DWORD>(c.stamp)) << c.name;
    }
}

TEST(MenuFiles, ARebuildMeetsTheFileHeld) {
    Sources folder;
    {
        jx5MenuSystem first(folder.path(), 0, 1, 0);
        ASSERT_EQ(first.error_code, 0u);
        expect_failure(jx5MenuSystem(folder.path(), 0, 2, 0), 32, 5, "held by a reader");
        // Another reader of the same stamp shares the file.
        EXPECT_EQ(jx5MenuSystem(folder.path(), 0, 1, 0).error_code, 0u);
    }
    jx::test::FileHolder holder(folder.dir.file(kCompiled), GENERIC_READ, FILE_SHARE_READ);
    ASSERT_TRUE(holder.holding());
    expect_failure(jx5MenuSystem(folder.path(), 0, 2, 0), 32, 5, "held by another process");
}

TEST(MenuFiles, AssembledMenus) {
    Sources folder("JXW60-MNU\n"
                   "&File|2\nOpen~Ctrl+O|IDM_OPEN\nExit|IDM_EXIT\n"
                   "Help|IDM_HELP\n"
                   "&View|2\nSub|1\nx|IDM_OPEN\n#\n");
    jx5MenuSystem menus(folder.path(), 0, 0, 0);
    ASSERT_EQ(menus.error_code, 0u);
    const std::string file_popup = "popup \"&File\" state=0x210\n"
                                   "  item 101 \"Open\\tCtrl+O\" state=0x0\n"
                                   "  item 102 \"Exit\" state=0x0\n";
    const std::string help = "item 103 \"Help\" state=0x0\n";
    const struct {
        const char* name;
        std::vector<unsigned long> entries;
        std::string tree; // empty: no menu
    } cases[] = {
        {"two popups in the order asked",
         {2, 0},
         "popup \"&View\" state=0x210\n"
         "  popup \"Sub\" state=0x110\n"
         "    item 101 \"x\" state=0x0\n"
         "  separator id=0 state=0x803\n" +
             file_popup},
        {"a single command", {1}, help},
        {"the same entry twice", {1, 1}, help + help},
        {"an entry number equal to the count", {0, 3}, ""},
        {"no entries", {}, ""},
    };
    for (const auto& c : cases) {
        std::vector<unsigned long> entries = c.entries;
        HMENU menu = menus.get_hmenu(static_cast<unsigned long>(entries.size()), entries.data());
        EXPECT_EQ(menu != nullptr, !c.tree.empty()) << c.name;
        if (!menu) continue;
        EXPECT_EQ(menu_tree(menu), c.tree) << c.name;
        DestroyMenu(menu);
    }
    // The menu is the caller's: it outlives the object.
    unsigned long entry = 0;
    HMENU kept = jx5MenuSystem(folder.path(), 0, 0, 0).get_hmenu(1, &entry);
    EXPECT_EQ(menu_tree(kept), file_popup);
    DestroyMenu(kept);
}

TEST(MenuFiles, DamagedEntriesGiveNoMenu) {
    Sources folder;
    { jx5MenuSystem compile(folder.path(), 0, 0, 0); }
    const std::string good = folder.read(kCompiled);
    const struct {
        const char* name;
        size_t at;
        char value;
    } rows[] = {
        {"a last child without MF_END", 56 + 48, 0},
        {"a top-level item with a flag", 56 + 1, 0x08},
        {"a text that runs past the entry", 56 + 60, 'x'},
        {"an extra popup flag", 56 + 14, 0x10},
    };
    for (const auto& row : rows) {
        std::string damaged = good;
        damaged[row.at] = row.value;
        folder.write(kCompiled, damaged, 10);
        jx5MenuSystem menus(folder.path(), 0, 0, 0);
        ASSERT_EQ(menus.error_code, 0u) << row.name;
        unsigned long entry = 0;
        EXPECT_EQ(menus.get_hmenu(1, &entry), nullptr) << row.name;
    }
}

TEST(MenuFiles, CompiledFilesCutAtEveryLength) {
    Sources folder;
    { jx5MenuSystem compile(folder.path(), 0, 0, 0); }
    const std::string good = folder.read(kCompiled);
    for (size_t length = 0; length < good.size(); ++length) {
        folder.write(kCompiled, good.substr(0, length), 10);
        jx5MenuSystem menus(folder.path(), 0, 0, 0);
        ASSERT_EQ(menus.error_code, 0u) << length;
        unsigned long entries[] = {0, 1};
        HMENU menu = menus.get_hmenu(2, entries);
        if (menu) DestroyMenu(menu);
        // A cut header or index is rebuilt; a cut entry gives no menu; the
        // zeros after the last entry's 14 used bytes are never read.
        const bool rebuilt = folder.read(kCompiled) == good;
        EXPECT_EQ(rebuilt, length < 56) << length;
        EXPECT_EQ(menu != nullptr, rebuilt || length >= 56 + 64 + 14) << length;
    }
}

} // namespace
