#include "support/menu_tree.h"

#include <cstdio>

namespace jx::test {
namespace {

std::string escaped(const char* text) {
    std::string out;
    for (; *text; ++text) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(*text));
        out += *text == '\t' ? "\\t" : *text & 0x80 ? hex : std::string(1, *text);
    }
    return out;
}

void describe(HMENU menu, const std::string& indent, std::string& out) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const UINT at = static_cast<UINT>(i);
        char text[256] = {};
        GetMenuStringA(menu, at, text, sizeof text, MF_BYPOSITION);
        const UINT state = GetMenuState(menu, at, MF_BYPOSITION);
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%x", state);
        const std::string id = std::to_string(GetMenuItemID(menu, i));
        const HMENU sub = GetSubMenu(menu, i);
        if (sub)
            out += indent + "popup \"" + escaped(text) + "\" state=" + hex + "\n";
        else if (state & MF_SEPARATOR)
            out += indent + "separator id=" + id + " state=" + hex + "\n";
        else
            out += indent + "item " + id + " \"" + escaped(text) + "\" state=" + hex + "\n";
        if (sub) describe(sub, indent + "  ", out);
    }
}

} // namespace

std::string menu_tree(HMENU menu) {
    std::string out;
    describe(menu, "", out);
    return out;
}

} // namespace jx::test
