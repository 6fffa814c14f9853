// Facts about menus built from standard in-memory templates, as a host sees
// them through the inspection calls. They hold under Wine (real Win32
// behaviour) and against the POSIX layer alike.
#include "platform/win32.h"
#include "support/menu_tree.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using jx::test::Bytes;
using jx::test::menu_tree;

// A standard template's header: its version and the offset of the items.
Bytes menu_template(unsigned version = 0, unsigned offset = 0) {
    return Bytes().u16(version).u16(offset);
}

TEST(Win32Menus, TemplatesGiveTheseTrees) {
    // clang-format off
    const struct {
        const char* name;
        Bytes menu;
        const char* tree;
    } cases[] = {
        {"nested popups, a separator and a tab",
         menu_template()
             .popup(0x10, "&File")
               .item(0, 101, "Open\tCtrl+O").item(0x800, 0, "")
               .popup(0x10, "Recent").item(0x80, 104, "a.dat")
               .item(0x80, 102, "Exit")
             .item(0x80, 103, "Help"),
         "popup \"&File\" state=0x410\n"
         "  item 101 \"Open\\tCtrl+O\" state=0x0\n"
         "  separator id=0 state=0x803\n"
         "  popup \"Recent\" state=0x110\n"
         "    item 104 \"a.dat\" state=0x0\n"
         "  item 102 \"Exit\" state=0x0\n"
         "item 103 \"Help\" state=0x0\n"},
        {"a last popup and a last separator",
         menu_template().popup(0x90, "View").item(0, 7, "Zoom").item(0x880, 0, ""),
         "popup \"View\" state=0x210\n"
         "  item 7 \"Zoom\" state=0x0\n"
         "  separator id=0 state=0x803\n"},
        {"a command without text is a separator that keeps its number",
         menu_template().item(0x80, 5, ""), "separator id=5 state=0x803\n"},
        {"a separator drops its text",
         menu_template().item(0x880, 9, "x"), "separator id=9 state=0x803\n"},
        {"grayed and checked flags stay",
         menu_template().popup(0x91, "G").item(0x88, 3, "C"),
         "popup \"G\" state=0x111\n"
         "  item 3 \"C\" state=0x8\n"},
        {"units 0xA0 to 0xFF are the ANSI letters; 0x80 has none",
         menu_template().item(0x80, 7, "\xE9t\xE9\x80"), "item 7 \"\\xE9t\\xE9?\" state=0x0\n"},
        {"the header's offset is skipped before the first item",
         menu_template(0, 4).u16(0xFFFF).u16(0xFFFF).item(0x80, 5, "X"),
         "item 5 \"X\" state=0x0\n"},
    };
    // clang-format on
    for (const auto& c : cases) {
        HMENU menu = LoadMenuIndirectA(c.menu.data());
        ASSERT_NE(menu, nullptr) << c.name;
        EXPECT_EQ(menu_tree(menu), c.tree) << c.name;
        EXPECT_TRUE(DestroyMenu(menu));
    }
    // Only the standard version is read.
    EXPECT_EQ(LoadMenuIndirectA(menu_template(2).item(0x80, 5, "X").data()), nullptr);
}

class Win32MenuCalls : public ::testing::Test {
protected:
    // A popup holding command 7 "Inner", then a command 7 "Outer".
    HMENU menu = LoadMenuIndirectA(
        menu_template().popup(0x10, "File").item(0x80, 7, "Inner").item(0x80, 7, "Outer").data());
    ~Win32MenuCalls() override {
        if (menu) DestroyMenu(menu);
    }
};

TEST_F(Win32MenuCalls, TextLengthsAndTruncation) {
    char text[16];
    const struct {
        int size;
        int result;
    } rows[] = {{0, 4}, {1, 0}, {2, 1}, {3, 2}, {5, 4}, {16, 4}};
    for (const auto& row : rows)
        EXPECT_EQ(GetMenuStringA(menu, 0, text, row.size, MF_BYPOSITION), row.result)
            << "size " << row.size;
    EXPECT_EQ(GetMenuStringA(menu, 0, nullptr, 0, MF_BYPOSITION), 4);
    std::memset(text, '#', sizeof text);
    EXPECT_EQ(GetMenuStringA(menu, 0, text, 5, MF_BYPOSITION), 4);
    EXPECT_STREQ(text, "File");
}

TEST_F(Win32MenuCalls, LookupsByCommandAndPosition) {
    // Commands are found depth first.
    char text[16] = {};
    EXPECT_EQ(GetMenuStringA(menu, 7, text, sizeof text, MF_BYCOMMAND), 5);
    EXPECT_STREQ(text, "Inner");
    EXPECT_EQ(GetMenuState(menu, 7, MF_BYCOMMAND), 0u);
    EXPECT_EQ(GetMenuStringA(menu, 99, text, sizeof text, MF_BYCOMMAND), 0);
    EXPECT_EQ(GetMenuState(menu, 99, MF_BYCOMMAND), 0xFFFFFFFFu);
    for (int position : {-1, 2, 9}) {
        const UINT at = static_cast<UINT>(position);
        EXPECT_EQ(GetMenuItemID(menu, position), 0xFFFFFFFFu) << position;
        EXPECT_EQ(GetSubMenu(menu, position), nullptr) << position;
        EXPECT_EQ(GetMenuState(menu, at, MF_BYPOSITION), 0xFFFFFFFFu) << position;
        EXPECT_EQ(GetMenuStringA(menu, at, text, 16, MF_BYPOSITION), 0) << position;
    }
    // A popup has no command number of its own.
    EXPECT_EQ(GetMenuItemID(menu, 0), 0xFFFFFFFFu);
}

TEST_F(Win32MenuCalls, DestroyingReleasesTheSubmenusToo) {
    const HMENU sub = GetSubMenu(menu, 0);
    ASSERT_NE(sub, nullptr);
    EXPECT_TRUE(DestroyMenu(menu));
    EXPECT_EQ(GetMenuItemCount(menu), -1);
    EXPECT_EQ(GetMenuItemCount(sub), -1);
    EXPECT_FALSE(DestroyMenu(menu));
    menu = nullptr;
}

} // namespace
