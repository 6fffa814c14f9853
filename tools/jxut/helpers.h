// Small helpers that several commands share.
#pragma once

#include "jx6ut.h"

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

namespace jxut {

// A whole decimal number from `low` to `high` and nothing else.
inline bool parse_int(const std::string& text, long low, long high, long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text.c_str(), &end, 10);
    return *end == '\0' && errno != ERANGE && value >= low && value <= high;
}

// The boxes the library shows while a command runs, kept to be printed as
// the command's error instead of going to the default handler.

struct Box {
    std::string caption;
    std::string text;
};

class BoxCollector {
public:
    BoxCollector() { jx_set_message_box_handler(&BoxCollector::handle, this); }
    ~BoxCollector() { jx_set_message_box_handler(nullptr, nullptr); }
    BoxCollector(const BoxCollector&) = delete;
    BoxCollector& operator=(const BoxCollector&) = delete;

    bool any() const { return !boxes_.empty(); }
    // Prints every box as "caption: text" on one line (through out or
    // err) and forgets them.
    void report(void (*print)(const char*, ...), const char* prefix) {
        for (const Box& box : boxes_)
            print("%s%s: %s\n", prefix, box.caption.c_str(), one_line(box.text).c_str());
        boxes_.clear();
    }

private:
    static int handle(void* context, HWND, const char* text, const char* caption, UINT style) {
        static_cast<BoxCollector*>(context)->boxes_.push_back({caption, text});
        return (style & MB_TYPEMASK) == MB_OK ? IDOK : IDNO;
    }
    static std::string one_line(const std::string& text) {
        std::string out;
        for (char c : text) {
            if (c == '\r') continue;
            out += c == '\n' ? ' ' : c;
        }
        while (!out.empty() && out.back() == ' ') out.pop_back();
        return out;
    }
    std::vector<Box> boxes_;
};

} // namespace jxut
