// Menus: the compiled file byte for byte, when it is rebuilt, every failure
// the host can read, and the menus get_hmenu assembles.
#include "uitext/menu_system.h"
#include "support/child_process.h"
#include "support/menu_tree.h"
#include "uitext_files.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using jx::test::Bytes;
using jx::test::menu_tree;
using jx::test::SourceFolder;

const char kEnglish[] = "english6.mnu";
const char kDefs[] = "mnudefs5.r.h";
const char kCompiled[] = "jx5mndes.mnu";

const char kHeader[] = "#ifndef __MNUDEFS5_R_H\n"
                       "#define __MNUDEFS5_R_H\n"
                       "// commands\n"
                       "\n"
                       "  #define IDM_OPEN 101\n"
                       "#define IDM_EXIT\t102 // the last one\n"
                       "#define IDM_HELP 103\n"
                       "#define IDM_NONE 0\n"
                       "#define __IDM_GUARD_LIKE 104\n"
                       "#define IDM_OPEN 999\n"
                       "#endif\n"
                       "this line is never read\n";

const char kMenu[] = "JXW60-MNU english\n"
                     "MENU_DEF MAIN\n"
                     "&File|3\n"
                     "   Open~Ctrl+O |IDM_OPEN\n"
                     "  #\n"
                     "  Exit|IDM_EXIT\n"
                     "#\n"
                     "// the help entry\n"
                     "Help|IDM_HELP\n";

class MenuFiles : public ::testing::Test {
protected:
    SourceFolder folder;
    void sources(const std::string& menu, const std::string& header = kHeader,
                 const char* name = kEnglish) {
        folder.write(name, menu);
        folder.write(kDefs, header);
    }
};

TEST_F(MenuFiles, CompiledFileLayout) {
    sources(kMenu);
    jx5MenuSystem menus(folder.path(), 0, 7, 0);
    ASSERT_EQ(menus.error_code, 0u);
    const Bytes file = Bytes()
                           .str("JX6_MENU_DESCRP")
                           .u32(2)
                           .u32(12)
                           .u16(0)
                           .u16(0)
                           .u32(7)
                           .u32(64)
                           .u32(62)
                           .u32(0)
                           .u32(32)
                           .u32(14)
                           .u32(64)
                           .u16(0x10)
                           .units("&File")
                           .u16(0)
                           .u16(101)
                           .units("Open\tCtrl+O")
                           .u16(0x800)
                           .u16(0)
                           .units("")
                           .u16(0x80)
                           .u16(102)
                           .units("Exit")
                           .pad_to(56 + 64)
                           .u16(0)
                           .u16(103)
                           .units("Help")
                           .pad_to(56 + 96);
    EXPECT_EQ(folder.read(kCompiled), file.str());
    EXPECT_EQ(menus.data_start, 56u);
    EXPECT_EQ(menus.define_names, nullptr);
}

struct EntryCase {
    const char* name;
    std::string lines; // after the first line
    Bytes items;       // of the one entry
};

TEST_F(MenuFiles, EntriesAsTheRulesBuildThem) {
    const EntryCase cases[] = {
        {"ignored lines do not count as children",
         "P|3\n// c\n\n  MENU_DEF X\na|IDM_OPEN\nb|IDM_EXIT\nc|IDM_HELP\n",
         Bytes()
             .u16(0x10)
             .units("P")
             .u16(0)
             .u16(101)
             .units("a")
             .u16(0)
             .u16(102)
             .units("b")
             .u16(0x80)
             .u16(103)
             .units("c")},
        {"a nested popup brings its own children",
         "P|4\nQ|2\na|IDM_OPEN\nb|IDM_EXIT\nc|IDM_HELP\n#\nR|1\nd|IDM_OPEN\n",
         Bytes()
             .u16(0x10)
             .units("P")
             .u16(0x10)
             .units("Q")
             .u16(0)
             .u16(101)
             .units("a")
             .u16(0x80)
             .u16(102)
             .units("b")
             .u16(0)
             .u16(103)
             .units("c")
             .u16(0x800)
             .u16(0)
             .units("")
             .u16(0x90)
             .units("R")
             .u16(0x80)
             .u16(101)
             .units("d")},
        {"a last separator", "P|2\na|IDM_OPEN\n#3\n",
         Bytes().u16(0x10).units("P").u16(0).u16(101).units("a").u16(0x880).u16(0).units("")},
        {"a plain line in the middle counts but writes nothing",
         "P|3\na|IDM_OPEN\nplain\nb|IDM_EXIT\n",
         Bytes().u16(0x10).units("P").u16(0).u16(101).units("a").u16(0x80).u16(102).units("b")},
        {"a tilde after the bar is part of the name", "a~b|IDM_~X\n",
         Bytes().u16(0).u16(5).units("a\tb")},
        {"bytes become units without conversion", "\xC9t\xE9\x80|IDM_OPEN\n",
         Bytes().u16(0).u16(101).u16(0xC9).u16('t').u16(0xE9).u16(0x80).u16(0)},
        {"blanks before the bar go, anything after the count is free",
         "P \t|1 children\na|IDM_OPEN\n",
         Bytes().u16(0x10).units("P").u16(0x80).u16(101).units("a")},
    };
    for (const EntryCase& c : cases) {
        SourceFolder fresh;
        fresh.write(kEnglish, "JXW60-MNU\n" + c.lines);
        std::string header = kHeader;
        header.insert(header.find("#endif"), "#define IDM_~X 5\n");
        fresh.write(kDefs, header);
        jx5MenuSystem menus(fresh.path(), 0, 0, 0);
        ASSERT_EQ(menus.error_code, 0u) << c.name;
        const std::string file = fresh.read(kCompiled);
        ASSERT_EQ(menus.header.num_entries, 1u) << c.name;
        EXPECT_EQ(file.substr(44, c.items.size()), c.items.str()) << c.name;
        EXPECT_EQ(menus.entry_index[0].used_size, c.items.size()) << c.name;
        EXPECT_EQ(file.size(), 44 + ((c.items.size() + 31) / 32) * 32) << c.name;
    }
}

struct FailureCase {
    const char* name;
    std::string menu;
    std::string header;
    DWORD code;
    int file;
};

TEST_F(MenuFiles, MalformedSourcesNameTheirFile) {
    const std::string first = "JXW60-MNU\n";
    const std::string deep_ok = [] {
        std::string lines;
        for (int i = 0; i < 100; ++i) lines += "P|1\n";
        return lines + "a|IDM_OPEN\n";
    }();
    const FailureCase cases[] = {
        {"empty menu text", "", kHeader, 30, 0},
        {"another first line", "JXW50-MNU\nHelp|IDM_HELP\n", kHeader, 30, 0},
        {"an undefined identifier", first + "Help|IDM_NOWHERE\n", kHeader, 30, 0},
        {"an identifier of value 0", first + "Help|IDM_NONE\n", kHeader, 30, 0},
        {"a blank between bar and name", first + "Help| IDM_HELP\n", kHeader, 30, 0},
        {"a top-level line without a bar", first + "Help\n", kHeader, 30, 0},
        {"an undefined identifier inside a popup", first + "P|1\na|IDM_X\n", kHeader, 30, 0},
        {"a file that ends inside a popup", first + "P|3\na|IDM_OPEN\n", kHeader, 30, 0},
        {"a plain line as the last child", first + "P|2\na|IDM_OPEN\nplain\n", kHeader, 30, 0},
        {"a popup without children", first + "P|0\nHelp|IDM_HELP\n", kHeader, 30, 0},
        {"menus nested 100 deep that end too soon", first + deep_ok.substr(0, deep_ok.rfind("a|")),
         kHeader, 30, 0},
        {"an entry past 8192 bytes",
         first + "P|70\n" +
             [] {
                 std::string lines;
                 for (int i = 0; i < 70; ++i) lines += std::string(60, 'x') + "|IDM_OPEN\n";
                 return lines;
             }(),
         kHeader, 30, 0},
        {"an include line in the header", first + "Help|IDM_HELP\n",
         "#include <x.h>\n#define IDM_HELP 103\n", 30, 6},
        {"a definition without a number", first + "Help|IDM_HELP\n", "#define IDM_HELP\n#endif\n",
         30, 6},
        {"a header line of 200 characters", first + "Help|IDM_HELP\n",
         "#define IDM_HELP 103 // " + std::string(176, 'c') + "\n#endif\n", 30, 6},
    };
    for (const FailureCase& c : cases) {
        SourceFolder fresh;
        fresh.write(kEnglish, c.menu);
        fresh.write(kDefs, c.header);
        jx5MenuSystem menus(fresh.path(), 0, 0, 0);
        EXPECT_EQ(menus.error_code, c.code) << c.name;
        EXPECT_EQ(menus.error_file, c.file) << c.name;
        EXPECT_EQ(menus.hfile, INVALID_HANDLE_VALUE) << c.name;
        EXPECT_EQ(menus.define_names, nullptr) << c.name;
        EXPECT_FALSE(fresh.exists(kCompiled)) << c.name;
    }
}

TEST_F(MenuFiles, LongButLegalSources) {
    std::string deep = "JXW60-MNU\n";
    for (int i = 0; i < 100; ++i) deep += "P|1\n";
    deep += "a|IDM_OPEN\n";
    // A header line of 79 characters including its line end.
    const std::string defs = "#define IDM_OPEN 101 // " + std::string(54, 'c') + "\n#endif\n";
    ASSERT_EQ(defs.find('\n'), 78u);
    sources(deep, defs);
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

TEST_F(MenuFiles, OpenFailures) {
    sources(kMenu);
    const struct {
        const char* name;
        const char* remove;
        DWORD code;
        int file;
    } rows[] = {
        {"no menu text", kEnglish, 2, 0},
        {"no identifier header", kDefs, 2, 6},
    };
    for (const auto& row : rows) {
        SourceFolder fresh;
        fresh.write(kEnglish, kMenu);
        fresh.write(kDefs, kHeader);
        std::filesystem::remove(fresh.dir.file(row.remove));
        jx5MenuSystem menus(fresh.path(), 0, 0, 0);
        EXPECT_EQ(menus.error_code, row.code) << row.name;
        EXPECT_EQ(menus.error_file, row.file) << row.name;
    }
    std::filesystem::create_directory(folder.dir.file(kCompiled));
    jx5MenuSystem menus(folder.path(), 0, 0, 0);
    EXPECT_EQ(menus.error_code, 5u);
    EXPECT_EQ(menus.error_file, 5);
}

struct RebuildCase {
    const char* name;
    int menu_age;
    int header_age;
    int language;
    int stamp;
    void (*damage)(std::string& compiled);
    bool rebuilt;
};

TEST_F(MenuFiles, RebuildDecisions) {
    const RebuildCase cases[] = {
        {"equal write times", 50, 50, 0, 7, nullptr, false},
        {"older sources", 60, 70, 0, 7, nullptr, false},
        {"a newer menu text", 40, 70, 0, 7, nullptr, true},
        {"a touched identifier header", 70, 40, 0, 7, nullptr, true},
        {"another language", 60, 60, 1, 7, nullptr, true},
        {"another stamp", 60, 60, 0, 8, nullptr, true},
        {"another signature", 60, 60, 0, 7, [](std::string& f) { f[0] = 'j'; }, true},
        {"another entry size", 60, 60, 0, 7, [](std::string& f) { f[20] = 16; }, true},
        {"a header cut short", 60, 60, 0, 7, [](std::string& f) { f.resize(31); }, true},
        {"an index cut short", 60, 60, 0, 7, [](std::string& f) { f.resize(40); }, true},
        {"an odd used size", 60, 60, 0, 7, [](std::string& f) { f[36] = 59; }, true},
    };
    for (const RebuildCase& c : cases) {
        SourceFolder fresh;
        fresh.write(kEnglish, kMenu, 100);
        fresh.write("french6.mnu", kMenu, 100);
        fresh.write(kDefs, kHeader, 100);
        { jx5MenuSystem first(fresh.path(), 0, 7, 0); }
        if (c.damage) {
            std::string compiled = fresh.read(kCompiled);
            c.damage(compiled);
            fresh.write(kCompiled, compiled);
        }
        fresh.date(kCompiled, 50);
        fresh.date(c.language == 0 ? kEnglish : "french6.mnu", c.menu_age);
        fresh.date(kDefs, c.header_age);
        jx5MenuSystem menus(fresh.path(), c.language, c.stamp, 12345);
        EXPECT_EQ(menus.error_code, 0u) << c.name;
        EXPECT_EQ(fresh.age(kCompiled) != 50, c.rebuilt) << c.name;
        EXPECT_EQ(menus.header.menu_stamp, static_cast<DWORD>(c.stamp)) << c.name;
    }
}

TEST_F(MenuFiles, ARebuildMeetsTheFileHeldOpen) {
    sources(kMenu);
    jx5MenuSystem first(folder.path(), 0, 1, 0);
    ASSERT_EQ(first.error_code, 0u);
    jx5MenuSystem second(folder.path(), 0, 2, 0);
    EXPECT_EQ(second.error_code, 32u);
    EXPECT_EQ(second.error_file, 5);
    jx5MenuSystem reader(folder.path(), 0, 1, 0);
    EXPECT_EQ(reader.error_code, 0u);
}

TEST_F(MenuFiles, ARebuildMeetsTheFileHeldByAnotherProcess) {
    sources(kMenu);
    { jx5MenuSystem first(folder.path(), 0, 1, 0); }
    jx::test::FileHolder holder(folder.dir.file(kCompiled), GENERIC_READ, FILE_SHARE_READ);
    ASSERT_TRUE(holder.holding());
    jx5MenuSystem menus(folder.path(), 0, 2, 0);
    EXPECT_EQ(menus.error_code, 32u);
    EXPECT_EQ(menus.error_file, 5);
}

struct MenuCase {
    const char* name;
    std::vector<unsigned long> entries;
    const char* tree; // null: no menu
};

TEST_F(MenuFiles, AssembledMenus) {
    sources("JXW60-MNU\n"
            "&File|2\nOpen~Ctrl+O|IDM_OPEN\nExit|IDM_EXIT\n"
            "Help|IDM_HELP\n"
            "&View|2\nSub|1\nx|IDM_OPEN\n#\n");
    jx5MenuSystem menus(folder.path(), 0, 0, 0);
    ASSERT_EQ(menus.error_code, 0u);
    const char* file_popup = "popup \"&File\" state=0x210\n"
                             "  item 101 \"Open\\tCtrl+O\" state=0x0\n"
                             "  item 102 \"Exit\" state=0x0\n";
    const char* view_popup = "popup \"&View\" state=0x210\n"
                             "  popup \"Sub\" state=0x110\n"
                             "    item 101 \"x\" state=0x0\n"
                             "  separator id=0 state=0x803\n";
    const MenuCase cases[] = {
        {"two popups in the order asked", {2, 0}, nullptr},
        {"a single command", {1}, "item 103 \"Help\" state=0x0\n"},
        {"the same entry twice",
         {1, 1},
         "item 103 \"Help\" state=0x0\nitem 103 \"Help\" state=0x0\n"},
        {"an entry number equal to the count", {0, 3}, nullptr},
        {"no entries", {}, nullptr},
    };
    for (const MenuCase& c : cases) {
        std::vector<unsigned long> entries = c.entries;
        HMENU menu = menus.get_hmenu(static_cast<unsigned long>(entries.size()), entries.data());
        if (std::string(c.name) == "two popups in the order asked") {
            ASSERT_NE(menu, nullptr);
            EXPECT_EQ(menu_tree(menu), std::string(view_popup) + file_popup);
        } else if (c.tree) {
            ASSERT_NE(menu, nullptr) << c.name;
            EXPECT_EQ(menu_tree(menu), c.tree) << c.name;
        } else {
            EXPECT_EQ(menu, nullptr) << c.name;
        }
        if (menu) DestroyMenu(menu);
    }
    // The menu is the caller's: it outlives the object.
    unsigned long entry = 0;
    HMENU kept;
    {
        jx5MenuSystem reader(folder.path(), 0, 0, 0);
        kept = reader.get_hmenu(1, &entry);
    }
    EXPECT_EQ(menu_tree(kept), file_popup);
    DestroyMenu(kept);
}

TEST_F(MenuFiles, DamagedEntriesGiveNoMenu) {
    sources(kMenu);
    { jx5MenuSystem compile(folder.path(), 0, 0, 0); }
    const std::string good = folder.read(kCompiled);
    struct {
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

TEST_F(MenuFiles, CompiledFilesCutAtEveryLength) {
    sources(kMenu);
    { jx5MenuSystem compile(folder.path(), 0, 0, 0); }
    const std::string good = folder.read(kCompiled);
    for (size_t length = 0; length < good.size(); ++length) {
        folder.write(kCompiled, good.substr(0, length), 10);
        jx5MenuSystem menus(folder.path(), 0, 0, 0);
        if (menus.error_code != 0 || !menus.entry_index) continue;
        unsigned long entries[] = {0, 1};
        HMENU menu = menus.get_hmenu(2, entries);
        if (menu) DestroyMenu(menu);
        // A cut header or index is rebuilt; a cut entry gives no menu; the
        // zeros after the last entry's 14 used bytes are never read.
        const bool whole = length >= 56 + 64 + 14;
        EXPECT_TRUE(menu == nullptr || whole || folder.read(kCompiled) == good) << length;
    }
}

} // namespace
