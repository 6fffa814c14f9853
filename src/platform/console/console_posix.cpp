// The console services over POSIX, where the ANSI code page is Windows-1252
// as in the library's own layer.
#include "console.h"

#include <clocale>
#include <cstring>
#include <langinfo.h>
#include <unistd.h>

namespace jx::console {
namespace {

// Windows-1252 bytes 0x80 to 0x9F; its five open bytes stand for the C1
// control of the same value, as Windows converts them.
const char32_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

int byte_of(char32_t u) {
    if (u < 0x80 || (u >= 0xA0 && u < 0x100)) return static_cast<int>(u);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == u) return 0x80 + i;
    return -1;
}

// The locale is read and put back at once: the library's character classes
// must stay those of the "C" locale while it works.
bool locale_is_utf8() {
    const char* before = std::setlocale(LC_CTYPE, nullptr);
    const std::string saved = before ? before : "C";
    if (!std::setlocale(LC_CTYPE, "")) return false;
    const char* codeset = nl_langinfo(CODESET);
    const bool utf8 =
        codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
    std::setlocale(LC_CTYPE, saved.c_str());
    return utf8;
}

} // namespace

Encoding user_encoding() {
    const bool utf8 = isatty(STDOUT_FILENO) == 1 || locale_is_utf8();
    return {utf8, utf8};
}

std::string program_directory() {
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return {};
    std::string path(buffer, static_cast<size_t>(n));
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

void binary_stdin() {}

std::string ansi_to_utf8(const std::string& ansi) {
    std::string out;
    for (unsigned char c : ansi) {
        const char32_t u = (c >= 0x80 && c < 0xA0) ? kHigh[c - 0x80] : c;
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u < 0x800) {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (u >> 12));
            out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

bool utf8_to_ansi(const std::string& utf8, std::string& ansi) {
    ansi.clear();
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        // Windows-1252 has nothing beyond U+FFFF, so sequences of up to three
        // bytes are all that can convert.
        const size_t extra = lead < 0x80             ? 0
                             : (lead & 0xE0) == 0xC0 ? 1
                             : (lead & 0xF0) == 0xE0 ? 2
                                                     : 9;
        if (extra == 9 || i + extra >= utf8.size()) return false;
        char32_t u = extra == 0 ? lead : extra == 1 ? (lead & 0x1F) : (lead & 0x0F);
        for (size_t k = 1; k <= extra; ++k) {
            const unsigned char next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            u = (u << 6) | (next & 0x3F);
        }
        if ((extra == 1 && u < 0x80) || (extra == 2 && u < 0x800)) return false; // overlong
        const int byte = byte_of(u);
        if (byte < 0) return false;
        ansi += static_cast<char>(byte);
        i += extra + 1;
    }
    return true;
}

} // namespace jx::console
