// Menus: the compiled file byte for byte, when it is rebuilt, every failure
// the host can read, and the menus get_hmenu assembles.
#include "uitext/menu_system.h"
#include "uitext_files.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
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

// The menu of `entries` as menu_tree() gives it, or "(none)".
std::string tree_of(jx5MenuSystem& menus, std::vector<unsigned long> entries) {
    HMENU menu = menus.get_hmenu(static_cast<unsigned long>(entries.size()), entries.data());
    const std::string tree = menu ? menu_tree(menu) : "(none)";
    if (menu) DestroyMenu(menu);
    return tree;
}

TEST(MenuFiles, SourcesAsTheRulesReadThem) {
    const std::string first = "JXW60-MNU\n", help = first + "Help|IDM_HELP\n";
    std::string long_entry = first + "P|70\n";
    for (int i = 0; i < 70; ++i) long_entry += std::string(60, 'x') + "|IDM_OPEN\n";
    std::string deep_menu = first; // 100 popups of one letter, nested
    for (int i = 0; i < 100; ++i) deep_menu += "P|1\n";
    Bytes deep;
    for (int i = 0; i < 100; ++i) deep.popup(i ? 0x90 : 0x10, "P");
    // clang-format off
    const struct {
        const char* name;
        std::string menu;
        Bytes items;  // of the one entry; none: the sources are malformed
        int file = 0; // the one a malformed construction names
        std::string header = kHeader;
    } cases[] = {
        {"ignored lines do not count as children",
         first + "P|3\n// c\n\n  MENU_DEF X\na|IDM_OPEN\nb|IDM_EXIT\nc|IDM_HELP\n",
         Bytes().popup(0x10, "P").item(0, 101, "a").item(0, 102, "b").item(0x80, 103, "c")},
        {"a nested popup brings its own children",
         first + "P|4\nQ|2\na|IDM_OPEN\nb|IDM_EXIT\nc|IDM_HELP\n#\nR|1\nd|IDM_OPEN\n",
         Bytes().popup(0x10, "P").popup(0x10, "Q").item(0, 101, "a").item(0x80, 102, "b")
             .item(0, 103, "c").item(0x800, 0, "").popup(0x90, "R").item(0x80, 101, "d")},
        {"a last separator", first + "P|2\na|IDM_OPEN\n#3\n",
         Bytes().popup(0x10, "P").item(0, 101, "a").item(0x880, 0, "")},
        {"a plain line in the middle counts but writes nothing",
         first + "P|3\na|IDM_OPEN\nplain\nb|IDM_EXIT\n",
         Bytes().popup(0x10, "P").item(0, 101, "a").item(0x80, 102, "b")},
        {"a tilde after the bar stays", first + "a~b|IDM_~X\n", Bytes().item(0, 5, "a\tb")},
        {"bytes are units as is", first + "\xC9\x80|IDM_~X\n", Bytes().item(0, 5, "\xC9\x80")},
        {"blanks before the bar go, anything after the count is free",
         first + "P \t|1 children\na|IDM_OPEN\n", Bytes().popup(0x10, "P").item(0x80, 101, "a")},
        {"100 nested popups and a header line of 79 characters", deep_menu + "a|IDM_OPEN\n",
         Bytes(deep).item(0x80, 101, "a"), 0,
         "#define IDM_OPEN 101 // " + std::string(54, 'c') + "\n#endif\n"},
        {"empty menu text", "", {}},
        {"another first line", "JXW50-MNU\nHelp|IDM_HELP\n", {}},
        {"an undefined identifier", first + "Help|IDM_NOWHERE\n", {}},
        {"an identifier of value 0", first + "Help|IDM_NONE\n", {}},
        {"a blank between bar and name", first + "Help| IDM_HELP\n", {}},
        {"a top-level line without a bar", first + "Help\n", {}},
        {"an undefined identifier inside a popup", first + "P|1\na|IDM_X\n", {}},
        {"a file that ends inside a popup", first + "P|3\na|IDM_OPEN\n", {}},
        {"a plain line as the last child", first + "P|2\na|IDM_OPEN\nplain\n", {}},
        {"a popup without children", first + "P|0\nHelp|IDM_HELP\n", {}},
        {"menus nested 100 deep that end too soon", deep_menu, {}},
        {"an entry past 8192 bytes", long_entry, {}},
        {"an include line in the header", help, {}, 6, "#include <x.h>\n#define IDM_HELP 103\n"},
        {"a definition without a number", help, {}, 6, "#define IDM_HELP\n#endif\n"},
        {"a header line of 200 characters", help, {}, 6,
         "#define IDM_HELP 103 // " + std::string(176, 'c') + "\n#endif\n"},
    };
    // clang-format on
    for (const auto& c : cases) {
        Sources fresh(c.menu, c.header);
        jx5MenuSystem menus(fresh.path(), 0, 0, 0);
        if (c.items.str().empty()) {
            EXPECT_EQ(failure(menus), "30 in file " + std::to_string(c.file)) << c.name;
            EXPECT_FALSE(TempDir::exists(fresh.dir.file(kCompiled))) << c.name;
            continue;
        }
        ASSERT_EQ(menus.header.num_entries, 1u) << c.name;
        const std::string file = fresh.read(kCompiled);
        EXPECT_EQ(file.substr(44, menus.entry_index[0].used_size), c.items.str()) << c.name;
        // get_hmenu takes every entry a compilation writes.
        EXPECT_NE(tree_of(menus, {0}), "(none)") << c.name;
    }
}

TEST(MenuFiles, OpenFailures) {
    Sources folder, no_header;
    EXPECT_EQ(failure(jx5MenuSystem(folder.path(), 1, 0, 0)), "2 in file 1"); // no french text
    std::filesystem::remove(no_header.dir.file(kDefs));
    EXPECT_EQ(failure(jx5MenuSystem(no_header.path(), 0, 0, 0)), "2 in file 6");
    {
        // A rebuild meets the file held by a reader.
        jx5MenuSystem first(folder.path(), 0, 1, 0);
        EXPECT_EQ(failure(jx5MenuSystem(folder.path(), 0, 2, 0)), "32 in file 5");
    }
    // A compiled file that cannot be opened (here a folder) is not rebuilt.
    std::filesystem::remove(folder.dir.file(kCompiled));
    std::filesystem::create_directory(folder.dir.file(kCompiled));
    EXPECT_EQ(failure(jx5MenuSystem(folder.path(), 0, 0, 0)), "5 in file 5");
}

TEST(MenuFiles, RebuildDecisions) {
    const struct {
        const char* name;
        int menu_age, header_age, language, stamp;
        void (*damage)(std::string& compiled);
        bool rebuilt;
    } cases[] = {
        {"equal write times", 50, 50, 0, 7, nullptr, false},
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
    }
}

TEST(MenuFiles, AssembledMenus) {
    Sources folder("JXW60-MNU\n&File|2\nOpen~Ctrl+O|IDM_OPEN\nExit|IDM_EXIT\nHelp|IDM_HELP\n"
                   "&View|2\nSub|1\nx|IDM_OPEN\n#\n");
    jx5MenuSystem menus(folder.path(), 0, 0, 0);
    const std::string file_popup = "popup \"&File\" state=0x210\n"
                                   "  item 101 \"Open\\tCtrl+O\" state=0x0\n"
                                   "  item 102 \"Exit\" state=0x0\n";
    const std::string help = "item 103 \"Help\" state=0x0\n";
    // In the order asked; a popup in the middle of a level, a last separator
    // and a last popup are closed where they belong.
    EXPECT_EQ(tree_of(menus, {2, 0}), "popup \"&View\" state=0x210\n"
                                      "  popup \"Sub\" state=0x110\n"
                                      "    item 101 \"x\" state=0x0\n"
                                      "  separator id=0 state=0x803\n" +
                                          file_popup);
    EXPECT_EQ(tree_of(menus, {1, 1}), help + help);
    EXPECT_EQ(tree_of(menus, {0, 3}), "(none)"); // an entry number equal to the count
    EXPECT_EQ(tree_of(menus, {}), "(none)");
    // The menu is the caller's: it outlives the object.
    unsigned long entry = 0;
    HMENU kept = jx5MenuSystem(folder.path(), 0, 0, 0).get_hmenu(1, &entry);
    EXPECT_EQ(menu_tree(kept), file_popup);
    DestroyMenu(kept);
}

TEST(MenuFiles, CompiledFileLayoutDamagedOrCut) {
    Sources folder;
    { jx5MenuSystem compile(folder.path(), 0, 7, 0); }
    const std::string good = folder.read(kCompiled);
    // clang-format off
    EXPECT_EQ(good, Bytes().str("JX6_MENU_DESCRP").u32(2).u32(12).u16(0).u16(0).u32(7)
        .u32(64).u32(62).u32(0).u32(32).u32(14).u32(64)
        .popup(0x10, "&File").item(0, 101, "Open\tCtrl+O").item(0x800, 0, "")
        .item(0x80, 102, "Exit").pad_to(56 + 64)
        .item(0, 103, "Help").pad_to(56 + 96).str());
    // clang-format on
    // What entries 0 and 1 give from a compiled file of `bytes`, newer than
    // its sources, and whether it was rebuilt.
    const auto use = [&](const std::string& bytes) {
        folder.write(kCompiled, bytes, 10);
        jx5MenuSystem menus(folder.path(), 0, 7, 0);
        std::string got = tree_of(menus, {0, 1}) == "(none)" ? "none" : "menu";
        if (menus.error_code) got += ", error";
        return got + (folder.read(kCompiled) == good ? ", rebuilt" : "");
    };
    const std::pair<size_t, char> damage[] = {
        {56 + 48, 0},    // a last child without MF_END
        {56 + 1, 0x08},  // a top-level item with a flag
        {56 + 60, 'x'},  // a text that runs past the entry
        {56 + 14, 0x10}, // an extra popup flag
    };
    for (const auto& [at, value] : damage) {
        std::string damaged = good;
        damaged[at] = value;
        EXPECT_EQ(use(damaged), "none") << at;
    }
    // A cut header or index is rebuilt; a cut entry gives no menu; the zeros
    // after the last entry's 14 used bytes are never read.
    for (size_t length = 0; length < good.size(); ++length) {
        const char* expected = length < 56             ? "menu, rebuilt"
                               : length < 56 + 64 + 14 ? "none"
                                                       : "menu";
        EXPECT_EQ(use(good.substr(0, length)), expected) << length;
    }
}

} // namespace
