// The report text buffer.
#include "report_string.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

constexpr DWORD kGrowth = 1024;
// The title line is formatted into this many bytes: the title, " - ", the
// 24-character stamp and "\r\n" leave 994 characters for the title.
constexpr size_t kTitleLine = 1024;
constexpr size_t kStampLength = 24;

} // namespace

report_string::report_string()
    : capacity(kGrowth), length(0), buffer(static_cast<char*>(std::calloc(kGrowth, 1))) {
    if (!buffer) capacity = 0; // every append then finds no room and drops its text
}

report_string::~report_string() {
    std::free(buffer);
}

report_string::report_string(const report_string& other)
    : capacity(other.capacity), length(other.length),
      buffer(static_cast<char*>(std::malloc(other.capacity ? other.capacity : 1))) {
    if (buffer && other.buffer) {
        std::memcpy(buffer, other.buffer, other.capacity);
    } else {
        if (buffer) buffer[0] = '\0';
        capacity = buffer ? 1 : 0;
        length = 0;
    }
}

report_string& report_string::operator=(const report_string& other) {
    if (this == &other) return *this;
    report_string copy(other);
    std::swap(capacity, copy.capacity);
    std::swap(length, copy.length);
    std::swap(buffer, copy.buffer);
    return *this;
}

void report_string::add_string(const char* text) {
    if (!text || !buffer) return;
    const size_t n = std::strlen(text);
    const size_t needed = size_t{length} + n + 1;
    if (needed > capacity) {
        // The capacity is a 32-bit count: a text that would carry it past
        // 4 GB is dropped rather than wrapping the count around.
        const size_t grown = size_t{capacity} + (n + 1 > kGrowth ? n + 1 : kGrowth);
        if (grown > 0xFFFFFFFFu) return;
        char* moved = static_cast<char*>(jx_realloc(buffer, grown));
        if (!moved) return; // realloc left the old block, and the text, intact
        buffer = moved;
        capacity = static_cast<DWORD>(grown);
    }
    std::memcpy(buffer + length, text, n + 1);
    length = static_cast<DWORD>(length + n);
}

void report_string::add_line() {
    add_string("\r\n");
}

void report_string::set_title(const char* title) {
    __time64_t now = 0;
    _time64(&now);
    char stamp[32] = "";
    if (_ctime64_s(stamp, sizeof stamp, &now) != 0) stamp[0] = '\0';
    stamp[kStampLength] = '\0'; // drop ctime's line feed
    char line[kTitleLine];
    std::snprintf(line, sizeof line, "%.994s - %.24s\r\n", title ? title : "", stamp);
    add_string(line);
}

char* report_string::get_rept_buff() {
    return buffer;
}

unsigned int report_string::get_buff_len() {
    return length;
}
