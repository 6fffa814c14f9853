// Text helpers shared by the error record, the catalog functions and the
// worksheet log.
#include "message_text.h"

#include <cstdio>
#include <cstring>

namespace jx::frame::detail {

char* copy_text(const char* text) {
    if (!text) return nullptr;
    const size_t length = std::strlen(text);
    char* copy = new char[length + 1];
    std::memcpy(copy, text, length + 1);
    return copy;
}

void release_text(char*& text) {
    delete[] text;
    text = nullptr;
}

char* copy_system_text(DWORD code) {
    // With FORMAT_MESSAGE_ALLOCATE_BUFFER the buffer argument receives the
    // address of a block that the system allocated with LocalAlloc.
    char* system_text = nullptr;
    const DWORD length = FormatMessageA(kSystemTextFlags, nullptr, code, kUserDefaultLanguage,
                                        reinterpret_cast<LPSTR>(&system_text), 0, nullptr);
    char* copy = copy_text(length > 0 && system_text ? system_text : "");
    if (system_text) LocalFree(system_text);
    return copy;
}

size_t copy_bounded(const char* text, char* out, size_t size) {
    if (size == 0) return 0;
    size_t length = text ? std::strlen(text) : 0;
    if (length > size - 1) length = size - 1;
    if (length) std::memcpy(out, text, length);
    out[length] = '\0';
    return length;
}

void fill_line_number(const char* pattern, int line, char* out, size_t size) {
    if (size == 0) return;
    char number[16];
    std::snprintf(number, sizeof number, "%d", line);
    size_t used = 0;
    auto put = [&](const char* piece, size_t length) {
        const size_t room = size - 1 - used;
        if (length > room) length = room;
        std::memcpy(out + used, piece, length);
        used += length;
    };
    for (const char* p = pattern ? pattern : ""; *p; ++p) {
        if (p[0] == '%' && p[1] == 'd') {
            put(number, std::strlen(number));
            ++p;
        } else if (p[0] == '%' && p[1] == '%') {
            put(p, 1);
            ++p;
        } else {
            put(p, 1);
        }
    }
    out[used] = '\0';
}

} // namespace jx::frame::detail
