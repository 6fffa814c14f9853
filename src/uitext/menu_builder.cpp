// Menus assembled from compiled entries: a standard menu template made of
// the chosen entries, handed to Windows.
//
//   0  version 0 (16 bits)
//   2  offset to the first item 0 (16 bits)
//   4  each chosen entry's items, exactly its used size, in the order asked;
//      the last entry's top-level item gets MF_END (0x0010 -> 0x0090,
//      otherwise 0x0080)
//
// A template has no length of its own: Windows reads it until the top level
// is closed. So every entry is walked before it is handed over, and one that
// is not a single item closed exactly at its used size (a damaged compiled
// file) gives a null menu rather than a read beyond the template.
#include "menu_system.h"

#include "uitext_files.h"

#include <cstring>
#include <new>

namespace {

using namespace jx::uitext;

constexpr WORD kPopup = 0x0010;
constexpr WORD kEnd = 0x0080;
// More than any menu needs; keeps the template's size well inside 32 bits.
constexpr unsigned long long kMaxTemplate = 16u << 20;

WORD word_at(const BYTE* at) {
    return static_cast<WORD>(at[0] | (at[1] << 8));
}

// Whether `items` hold one top-level item (0 or 0x0010) whose children, if
// any, are closed by MF_END exactly at the end of `size` bytes.
bool entry_is_sound(const BYTE* items, DWORD size) {
    DWORD at = 0;
    long open = 0;
    bool top = true;
    do {
        if (size - at < 2) return false;
        const WORD option = word_at(items + at);
        at += 2;
        if (!(option & kPopup)) {
            if (size - at < 2) return false;
            at += 2;
        }
        WORD unit;
        do {
            if (size - at < 2) return false;
            unit = word_at(items + at);
            at += 2;
        } while (unit != 0);
        if (top) {
            if (option != 0 && option != kPopup) return false;
            top = false;
            open = option == kPopup ? 1 : 0;
            continue;
        }
        if (option & kEnd) --open;
        if (option & kPopup) ++open;
    } while (open > 0);
    return at == size;
}

} // namespace

jx5MenuSystem::~jx5MenuSystem() {
    if (hfile != INVALID_HANDLE_VALUE) CloseHandle(hfile);
    delete[] entry_index;
    // Only a compilation holds definitions, and it releases them; a
    // construction cut short by an allocation failure may not have.
    free_menudefs();
}

jx5MenuSystem& jx5MenuSystem::operator=(const jx5MenuSystem& other) = default;

HMENU jx5MenuSystem::get_hmenu(unsigned long count, unsigned long* entries) {
    if (count == 0 || !entries || !entry_index) return nullptr;
    unsigned long long total = 0;
    for (unsigned long i = 0; i < count; ++i) {
        if (entries[i] >= header.num_entries) return nullptr;
        total += entry_index[entries[i]].used_size;
        if (total > kMaxTemplate) return nullptr;
    }
    BYTE* menu_template = new (std::nothrow) BYTE[total + 4]();
    if (!menu_template) return nullptr;
    BYTE* cursor = menu_template + 4;
    for (unsigned long i = 0; i < count; ++i) {
        const menu_entry& entry = entry_index[entries[i]];
        if (!seek_to(hfile, data_start + entry.offset) ||
            !read_all(hfile, cursor, entry.used_size) || !entry_is_sound(cursor, entry.used_size)) {
            delete[] menu_template;
            return nullptr;
        }
        if (i + 1 < count) cursor += entry.used_size;
    }
    const WORD last = word_at(cursor) == kPopup ? kPopup | kEnd : kEnd;
    cursor[0] = static_cast<BYTE>(last & 0xFF);
    cursor[1] = static_cast<BYTE>(last >> 8);
    HMENU menu = LoadMenuIndirectA(menu_template);
    delete[] menu_template;
    return menu;
}
