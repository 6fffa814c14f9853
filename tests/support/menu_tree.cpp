#include "support/menu_tree.h"

#include <cstdio>

namespace jx::test {
namespace {

std::string escaped(const char* text) {
    std::string out;
    for (const char* at = text; *at; ++at) {
        if (*at == '\t') {
            out += "\\t";
        } else if (static_cast<unsigned char>(*at) >= 0x80) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(*at));
            out += hex;
        } else {
            out += *at;
        }
    }
    return out;
}

void describe(HMENU menu, int depth, std::string& out) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        char line[400];
        const HMENU sub = GetSubMenu(menu, i);
        if (sub)
            std::snprintf(line, sizeof line, "popup \"%s\" state=0x%x", escaped(text).c_str(),
                          state);
        else if (state & MF_SEPARATOR)
            std::snprintf(line, sizeof line, "separator id=%u state=0x%x", GetMenuItemID(menu, i),
                          state);
        else
            std::snprintf(line, sizeof line, "item %u \"%s\" state=0x%x", GetMenuItemID(menu, i),
                          escaped(text).c_str(), state);
        out += std::string(static_cast<size_t>(depth) * 2, ' ') + line + "\n";
        if (sub) describe(sub, depth + 1, out);
    }
}

} // namespace

std::string menu_tree(HMENU menu) {
    std::string out;
    describe(menu, 0, out);
    return out;
}

MenuTemplate& MenuTemplate::word(WORD value) {
    words_.push_back(value);
    return *this;
}

MenuTemplate& MenuTemplate::text(const char* bytes) {
    for (const char* at = bytes; *at; ++at) words_.push_back(static_cast<unsigned char>(*at));
    words_.push_back(0);
    return *this;
}

} // namespace jx::test
