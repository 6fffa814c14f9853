// Menus in memory: LoadMenuIndirectA over the standard menu template, and
// the calls a host uses to look at a menu and release it.
//
// The template has no length: a level of items ends with the item whose
// option word carries MF_END, and a popup's children follow the popup item
// directly. So a template is read, as Windows reads it, until the top level
// is closed; the caller is responsible for a template that is closed.
//
//   option word (16 bits), command number (16 bits, absent for a popup),
//   text (16-bit units, ending in a 0 unit), then a popup's children
#include "layer.h"

#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace {

using jx::posix::fail;

struct Menu;

struct MenuItem {
    UINT flags = 0; // as in the template, without MF_END
    UINT id = 0;
    std::u16string text;
    Menu* submenu = nullptr;
};

struct Menu {
    std::vector<MenuItem> items;
};

std::mutex g_menus_mutex;
std::set<Menu*> g_menus; // every menu not yet destroyed

// The menu behind a handle, or null (with ERROR_INVALID_MENU_HANDLE).
Menu* find_menu(HMENU handle) {
    Menu* menu = reinterpret_cast<Menu*>(handle);
    std::lock_guard<std::mutex> lock(g_menus_mutex);
    if (!menu || g_menus.count(menu) == 0) return fail(ERROR_INVALID_MENU_HANDLE, nullptr);
    return menu;
}

Menu* new_menu() {
    auto menu = std::make_unique<Menu>();
    std::lock_guard<std::mutex> lock(g_menus_mutex);
    g_menus.insert(menu.get());
    return menu.release();
}

// Releases a menu and every submenu below it.
void destroy_tree(Menu* root) {
    std::vector<Menu*> pending{root};
    std::lock_guard<std::mutex> lock(g_menus_mutex);
    while (!pending.empty()) {
        Menu* menu = pending.back();
        pending.pop_back();
        if (g_menus.erase(menu) == 0) continue;
        for (const MenuItem& item : menu->items)
            if (item.submenu) pending.push_back(item.submenu);
        delete menu;
    }
}

WORD read_word(const BYTE*& at) {
    const WORD value = static_cast<WORD>(at[0] | (at[1] << 8));
    at += 2;
    return value;
}

// Reads the items of one template into `root`, level by level without
// recursion, so that deep nesting costs heap rather than stack.
void parse_items(const BYTE* at, Menu* root) {
    std::vector<Menu*> open{root};
    while (!open.empty()) {
        MenuItem item;
        const WORD option = read_word(at);
        if (!(option & MF_POPUP)) item.id = read_word(at);
        for (WORD unit = read_word(at); unit != 0; unit = read_word(at))
            item.text.push_back(static_cast<char16_t>(unit));
        item.flags = option & ~MF_END;
        // An item without text is a separator, whatever its flags; a
        // separator keeps no text and always reports itself grayed and
        // disabled, as Windows shows it.
        if (!(option & MF_POPUP) && (item.text.empty() || (option & MF_SEPARATOR))) {
            item.flags |= MF_SEPARATOR | MF_GRAYED | MF_DISABLED;
            item.text.clear();
        }
        Menu* level = open.back();
        if (option & MF_END) open.pop_back();
        if (option & MF_POPUP) {
            item.submenu = new_menu();
            open.push_back(item.submenu);
        }
        level->items.push_back(std::move(item));
    }
}

// The item named by position or by command number; a command number is
// looked for depth-first through the submenus, the first match winning.
const MenuItem* find_item(const Menu* menu, UINT item, UINT flags) {
    if (flags & MF_BYPOSITION) return item < menu->items.size() ? &menu->items[item] : nullptr;
    for (const MenuItem& candidate : menu->items) {
        if (candidate.submenu) {
            if (const MenuItem* found = find_item(candidate.submenu, item, flags)) return found;
        } else if (candidate.id == item) {
            return &candidate;
        }
    }
    return nullptr;
}

} // namespace

extern "C" {

HMENU WINAPI LoadMenuIndirectA(const MENUTEMPLATEA* menu_template) {
    if (!menu_template) return fail(ERROR_NOACCESS, nullptr);
    const BYTE* at = static_cast<const BYTE*>(menu_template);
    const WORD version = read_word(at);
    const WORD offset = read_word(at);
    // Version 1 is the extended template, which the library never builds.
    if (version != 0) return fail(ERROR_INVALID_PARAMETER, nullptr);
    Menu* menu = new_menu();
    parse_items(at + offset, menu);
    return reinterpret_cast<HMENU>(menu);
}

int WINAPI GetMenuItemCount(HMENU handle) {
    const Menu* menu = find_menu(handle);
    return menu ? static_cast<int>(menu->items.size()) : -1;
}

UINT WINAPI GetMenuItemID(HMENU handle, int position) {
    const Menu* menu = find_menu(handle);
    if (!menu || position < 0 || static_cast<size_t>(position) >= menu->items.size())
        return static_cast<UINT>(-1);
    const MenuItem& item = menu->items[static_cast<size_t>(position)];
    return item.submenu ? static_cast<UINT>(-1) : item.id;
}

HMENU WINAPI GetSubMenu(HMENU handle, int position) {
    const Menu* menu = find_menu(handle);
    if (!menu || position < 0 || static_cast<size_t>(position) >= menu->items.size())
        return nullptr;
    return reinterpret_cast<HMENU>(menu->items[static_cast<size_t>(position)].submenu);
}

// The text in the ANSI code page; without a buffer (or with size 0) the
// length it would take.
int WINAPI GetMenuStringA(HMENU handle, UINT position, LPSTR buffer, int size, UINT flags) {
    const Menu* menu = find_menu(handle);
    if (!menu) return 0;
    const MenuItem* item = find_item(menu, position, flags);
    if (!item || item->text.empty()) return 0;
    const LPCWSTR wide = item->text.c_str();
    const int wide_length = static_cast<int>(item->text.size());
    const int length =
        WideCharToMultiByte(CP_ACP, 0, wide, wide_length, nullptr, 0, nullptr, nullptr);
    if (!buffer || size <= 0) return length;
    std::string text(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, wide_length, &text[0], length, nullptr, nullptr);
    const int copied = length < size - 1 ? length : size - 1;
    std::memcpy(buffer, text.data(), static_cast<size_t>(copied));
    buffer[copied] = '\0';
    return copied;
}

// A popup's state carries the number of its items in the second byte.
UINT WINAPI GetMenuState(HMENU handle, UINT position, UINT flags) {
    const Menu* menu = find_menu(handle);
    if (!menu) return static_cast<UINT>(-1);
    const MenuItem* item = find_item(menu, position, flags);
    if (!item) return static_cast<UINT>(-1);
    if (!item->submenu) return item->flags;
    return static_cast<UINT>(item->submenu->items.size() << 8) | (item->flags & 0xFFu);
}

BOOL WINAPI DestroyMenu(HMENU handle) {
    Menu* menu = find_menu(handle);
    if (!menu) return FALSE;
    destroy_tree(menu);
    return TRUE;
}
}
