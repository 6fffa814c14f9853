#include "support/menu_tree.h"

#include <cstdio>

namespace jx::test {

std::string menu_tree(HMENU menu, const std::string& indent) {
    std::string out;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const UINT at = static_cast<UINT>(i);
        char text[256] = {}, state[24];
        GetMenuStringA(menu, at, text, sizeof text, MF_BYPOSITION);
        const UINT flags = GetMenuState(menu, at, MF_BYPOSITION);
        std::snprintf(state, sizeof state, " state=0x%x\n", flags);
        const std::string id = std::to_string(GetMenuItemID(menu, i));
        const HMENU sub = GetSubMenu(menu, i);
        std::string quoted = " \"";
        for (const char* c = text; *c; ++c) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(*c));
            quoted += *c == '\t' ? "\\t" : *c & 0x80 ? hex : std::string(1, *c);
        }
        if (!sub && flags & MF_SEPARATOR)
            out += indent + "separator id=" + id + state;
        else
            out += indent + (sub ? "popup" : "item " + id) + quoted + "\"" + state;
        if (sub) out += menu_tree(sub, indent + "  ");
    }
    return out;
}

} // namespace jx::test
