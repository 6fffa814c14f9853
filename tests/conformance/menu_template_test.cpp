// Facts about menus built from standard in-memory templates, as a host sees
// them through the inspection calls. They hold under Wine (real Win32
// behaviour) and against the POSIX layer alike.
#include "platform/win32.h"
#include "support/menu_tree.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace jx::test;

// A standard template's header: its version and the offset of the items.
Bytes menu_template(unsigned version = 0, unsigned offset = 0) {
    return Bytes().u16(version).u16(offset);
}

TEST(Win32Menus, TemplatesGiveTheseTrees) {
    // The header's offset is skipped before the first item; a command
    // without text is a separator that keeps its number, a separator drops
    // its text; grayed and checked flags stay; units 0xA0 to 0xFF are the
    // ANSI letters, 0x80 has none. (Nested popups, tabs and the ends of
    // levels: the menus MenuFiles.AssembledMenus has the library build.)
    // clang-format off
    const Bytes menu = menu_template(0, 4).u16(0xFFFF).u16(0xFFFF)
        .item(0, 5, "").popup(0x11, "G").item(0x88, 3, "C")
        .item(0, 7, "\xE9t\xE9\x80").item(0x880, 9, "x");
    // clang-format on
    const HMENU loaded = LoadMenuIndirectA(menu.data());
    EXPECT_EQ(menu_tree(loaded), "separator id=5 state=0x803\n"
                                 "popup \"G\" state=0x111\n"
                                 "  item 3 \"C\" state=0x8\n"
                                 "item 7 \"\\xE9t\\xE9?\" state=0x0\n"
                                 "separator id=9 state=0x803\n");
    EXPECT_TRUE(DestroyMenu(loaded));
    // Only the standard version is read.
    EXPECT_EQ(LoadMenuIndirectA(menu_template(2).item(0x80, 5, "X").data()), nullptr);
}

TEST(Win32Menus, CallsOnOneMenu) {
    // A popup holding command 7 "Inner", then a command 7 "Outer".
    const HMENU menu = LoadMenuIndirectA(
        menu_template().popup(0x10, "File").item(0x80, 7, "Inner").item(0x80, 7, "Outer").data());
    // The length returned for a buffer of each size, and the text when it
    // fits. (What a buffer too small holds differs between implementations.)
    std::string got;
    for (int size : {0, 1, 2, 3, 5, 16}) {
        std::string text(16, '#');
        const int length = GetMenuStringA(menu, 0, &text[0], size, MF_BYPOSITION);
        got += std::to_string(length) + (size > 4 ? text.c_str() : "") + " ";
    }
    EXPECT_EQ(got, "4 0 1 2 4File 4File ");
    // Commands are found depth first; a popup has no command number of its
    // own.
    char text[16] = {};
    EXPECT_EQ(GetMenuStringA(menu, 7, text, sizeof text, MF_BYCOMMAND), 5);
    EXPECT_STREQ(text, "Inner");
    EXPECT_EQ(GetMenuState(menu, 7, MF_BYCOMMAND), 0u);
    EXPECT_EQ(GetMenuStringA(menu, 99, text, sizeof text, MF_BYCOMMAND), 0);
    EXPECT_EQ(GetMenuState(menu, 99, MF_BYCOMMAND), 0xFFFFFFFFu);
    EXPECT_EQ(GetMenuItemID(menu, 0), 0xFFFFFFFFu);
    for (int position : {-1, 2, 9}) {
        const UINT at = static_cast<UINT>(position);
        EXPECT_EQ(GetMenuItemID(menu, position), 0xFFFFFFFFu) << position;
        EXPECT_EQ(GetSubMenu(menu, position), nullptr) << position;
        EXPECT_EQ(GetMenuState(menu, at, MF_BYPOSITION), 0xFFFFFFFFu) << position;
        EXPECT_EQ(GetMenuStringA(menu, at, text, 16, MF_BYPOSITION), 0) << position;
    }
    // Destroying a menu releases its submenus too.
    const HMENU sub = GetSubMenu(menu, 0);
    ASSERT_NE(sub, nullptr);
    EXPECT_TRUE(DestroyMenu(menu));
    EXPECT_EQ(GetMenuItemCount(menu), -1);
    EXPECT_EQ(GetMenuItemCount(sub), -1);
    EXPECT_FALSE(DestroyMenu(menu));
}

} // namespace
