// A menu as text, read through the inspection calls a host has, so that two
// menus (one built by Windows, one by the layer or the library) compare as
// strings. One line per item, indented by depth:
//   popup "File" state=0x310
//     item 101 "Open\tCtrl+O" state=0x0
//     separator id=0 state=0x803
#pragma once

#include "platform/win32.h"

#include <string>
#include <vector>

namespace jx::test {

std::string menu_tree(HMENU menu);

// Builds a standard menu template: the header's two words, then items made
// of 16-bit words; text() adds a text as one unit per byte and its 0 unit.
class MenuTemplate {
public:
    explicit MenuTemplate(WORD version = 0, WORD offset = 0) : words_{version, offset} {}
    MenuTemplate& word(WORD value);
    MenuTemplate& text(const char* bytes);
    const void* data() const { return words_.data(); }

private:
    std::vector<WORD> words_;
};

} // namespace jx::test
