// A menu as text, read through the inspection calls a host has, so that two
// menus (one built by Windows, one by the layer or the library) compare as
// strings. One line per item, indented by depth:
//   popup "File" state=0x310
//     item 101 "Open\tCtrl+O" state=0x0
//     separator id=0 state=0x803
#pragma once

#include "platform/win32.h"

#include <cstdint>
#include <string>

namespace jx::test {

std::string menu_tree(HMENU menu, const std::string& indent = "");

// Little-endian bytes, field by field as a format table reads: compiled
// files, and the menu items that both standard templates and compiled menu
// entries are made of.
class Bytes {
public:
    Bytes& u16(unsigned v) { return put(v, 2); }
    Bytes& u32(unsigned v) { return put(v, 4); }
    Bytes& str(const std::string& text, bool nul = true) {
        bytes_ += text;
        if (nul) bytes_ += '\0';
        return *this;
    }
    // A text as 16-bit units, one per byte, and a 0 unit.
    Bytes& units(const std::string& text) {
        for (unsigned char c : text) u16(c);
        return u16(0);
    }
    Bytes& item(unsigned flags, unsigned id, const std::string& text) {
        return u16(flags).u16(id).units(text);
    }
    Bytes& popup(unsigned flags, const std::string& text) { return u16(flags).units(text); }
    Bytes& pad_to(size_t size) {
        bytes_.resize(size, '\0');
        return *this;
    }
    const std::string& str() const { return bytes_; }
    const void* data() const { return bytes_.data(); }

private:
    Bytes& put(uint64_t v, int n) {
        for (int i = 0; i < n; ++i) bytes_ += static_cast<char>((v >> (8 * i)) & 0xFF);
        return *this;
    }
    std::string bytes_;
};

} // namespace jx::test
