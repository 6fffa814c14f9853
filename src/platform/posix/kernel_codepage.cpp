// Code-page conversions: the ANSI code page (Windows-1252) and UTF-8 to and
// from UTF-16, with the return values and error codes of Windows.
//
//   MultiByteToWideChar(CP_ACP, 0, "a\xB0", -1, w, 8)    3: 'a', U+00B0, 0
//   MultiByteToWideChar(CP_ACP, 0, "abc", -1, nullptr, 0) 4 (the size needed)
//   MultiByteToWideChar(CP_ACP, 0, "abc", -1, w, 2)       0, ERROR_INSUFFICIENT_BUFFER
//   MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "\xFF", -1, w, 8)
//                                                         0, ERROR_NO_UNICODE_TRANSLATION
//   WideCharToMultiByte(CP_ACP, 0, L"\u3042", -1, s, 8, nullptr, &used)
//                                                         2: '?', 0; used = TRUE
//
// Every byte of Windows-1252 has a character (the five bytes the code page
// leaves open stand for the C1 controls of the same value, as on Windows),
// so MB_ERR_INVALID_CHARS refuses nothing there. The way back has no "best
// fit": a character without a byte of its own becomes the default character.
#include "codepage_437.h"
#include "layer.h"

#include <cstring>
#include <string>

namespace {

using jx::posix::fail;

// Windows-1252 bytes 0x80 to 0x9F; the five bytes that the code page leaves
// undefined map to the C1 control of the same value, as Windows maps them.
const char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t cp1252_to_unicode(unsigned char c) {
    return (c >= 0x80 && c < 0xA0) ? kCp1252High[c - 0x80] : c;
}

// The byte of a character in Windows-1252, or -1 when it has none.
int cp1252_byte(char32_t u) {
    if (u < 0x80 || (u >= 0xA0 && u < 0x100)) return static_cast<int>(u);
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == u) return 0x80 + i;
    return -1;
}

bool is_ansi(UINT code_page) {
    return code_page == CP_ACP || code_page == 1252;
}

// Code page 437 is read only (zip entry names); like the ANSI page it has a
// character for every byte.
constexpr UINT kCodePage437 = 437;

// Decodes one UTF-8 sequence from [p, end); false for a malformed one
// (overlong forms, surrogates and values above U+10FFFF included), which then
// covers its first byte only.
bool decode_utf8(const unsigned char*& p, const unsigned char* end, char32_t& u) {
    const unsigned char lead = *p++;
    if (lead < 0x80) {
        u = lead;
        return true;
    }
    int extra;
    char32_t minimum;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        minimum = 0x80;
        u = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        minimum = 0x800;
        u = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        minimum = 0x10000;
        u = lead & 0x07;
    } else {
        return false;
    }
    const unsigned char* q = p;
    for (int i = 0; i < extra; ++i, ++q) {
        if (q == end || (*q & 0xC0) != 0x80) return false;
        u = (u << 6) | (*q & 0x3F);
    }
    if (u < minimum || u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF)) return false;
    p = q;
    return true;
}

void append_utf8(std::string& out, char32_t u) {
    if (u < 0x80) {
        out += static_cast<char>(u);
    } else if (u < 0x800) {
        out += static_cast<char>(0xC0 | (u >> 6));
        out += static_cast<char>(0x80 | (u & 0x3F));
    } else if (u < 0x10000) {
        out += static_cast<char>(0xE0 | (u >> 12));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (u >> 18));
        out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    }
}

// Hands a finished conversion to the caller: with size 0 the size needed,
// otherwise the units copied, or a failure when they do not fit.
template <class Unit, class Out>
int deliver(const std::basic_string<Unit>& converted, Out* out, int size) {
    const int needed = static_cast<int>(converted.size());
    if (size == 0) return needed;
    if (needed > size) return fail(ERROR_INSUFFICIENT_BUFFER, 0);
    for (int i = 0; i < needed; ++i) out[i] = static_cast<Out>(converted[i]);
    return needed;
}

} // namespace

namespace jx::posix {

std::string ansi_to_utf8(const char* ansi) {
    std::string out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(ansi); *p; ++p)
        append_utf8(out, cp1252_to_unicode(*p));
    return out;
}

// Characters without a byte of their own, and malformed sequences, become '?'.
std::string utf8_to_ansi(const char* utf8) {
    std::string out;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8);
    const unsigned char* end = p + std::strlen(utf8);
    while (p != end) {
        char32_t u;
        const int byte = decode_utf8(p, end, u) ? cp1252_byte(u) : -1;
        out += byte < 0 ? '?' : static_cast<char>(byte);
    }
    return out;
}

} // namespace jx::posix

extern "C" {

// A negative length (Windows documents -1) means "up to and including the
// terminator".
int WINAPI MultiByteToWideChar(UINT code_page, DWORD flags, LPCSTR text, int length, LPWSTR wide,
                               int wide_size) {
    if (!text || length == 0 || wide_size < 0 || (!wide && wide_size != 0))
        return fail(ERROR_INVALID_PARAMETER, 0);
    if (is_ansi(code_page) || code_page == kCodePage437) {
        if (flags & ~(MB_PRECOMPOSED | 0x2u | 0x4u | MB_ERR_INVALID_CHARS))
            return fail(ERROR_INVALID_FLAGS, 0);
    } else if (code_page == CP_UTF8) {
        if (flags & ~MB_ERR_INVALID_CHARS) return fail(ERROR_INVALID_FLAGS, 0);
    } else {
        return fail(ERROR_INVALID_PARAMETER, 0);
    }
    const size_t count = length < 0 ? std::strlen(text) + 1 : static_cast<size_t>(length);
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    const unsigned char* end = p + count;

    std::basic_string<WCHAR> converted;
    converted.reserve(count);
    if (is_ansi(code_page)) {
        for (; p != end; ++p) converted += static_cast<WCHAR>(cp1252_to_unicode(*p));
    } else if (code_page == kCodePage437) {
        for (; p != end; ++p) converted += static_cast<WCHAR>(jx::posix::cp437_to_unicode(*p));
    } else {
        while (p != end) {
            char32_t u;
            if (!decode_utf8(p, end, u)) {
                if (flags & MB_ERR_INVALID_CHARS) return fail(ERROR_NO_UNICODE_TRANSLATION, 0);
                u = 0xFFFD;
            }
            if (u >= 0x10000) {
                u -= 0x10000;
                converted += static_cast<WCHAR>(0xD800 + (u >> 10));
                converted += static_cast<WCHAR>(0xDC00 + (u & 0x3FF));
            } else {
                converted += static_cast<WCHAR>(u);
            }
        }
    }
    return deliver(converted, wide, wide_size);
}

int WINAPI WideCharToMultiByte(UINT code_page, DWORD flags, LPCWSTR wide, int length, LPSTR text,
                               int size, LPCSTR default_char, BOOL* used_default) {
    if (!wide || length == 0 || size < 0 || (!text && size != 0))
        return fail(ERROR_INVALID_PARAMETER, 0);
    if (is_ansi(code_page)) {
        if (flags & ~(0x10u | 0x20u | 0x40u | 0x200u | WC_NO_BEST_FIT_CHARS))
            return fail(ERROR_INVALID_FLAGS, 0);
    } else if (code_page == CP_UTF8) {
        if (flags & ~WC_ERR_INVALID_CHARS) return fail(ERROR_INVALID_FLAGS, 0);
        if (default_char || used_default) return fail(ERROR_INVALID_PARAMETER, 0);
    } else {
        return fail(ERROR_INVALID_PARAMETER, 0);
    }
    size_t count = 0;
    if (length < 0) {
        while (wide[count]) ++count;
        ++count;
    } else {
        count = static_cast<size_t>(length);
    }

    std::string converted;
    converted.reserve(count);
    if (is_ansi(code_page)) {
        const char replacement = default_char ? default_char[0] : '?';
        bool replaced = false;
        for (size_t i = 0; i < count; ++i) {
            const int byte = cp1252_byte(wide[i]);
            if (byte < 0) {
                converted += replacement;
                replaced = true;
            } else {
                converted += static_cast<char>(byte);
            }
        }
        if (used_default) *used_default = replaced ? TRUE : FALSE;
    } else {
        for (size_t i = 0; i < count; ++i) {
            char32_t u = wide[i];
            if (u >= 0xD800 && u <= 0xDBFF && i + 1 < count && wide[i + 1] >= 0xDC00 &&
                wide[i + 1] <= 0xDFFF) {
                u = 0x10000 + ((u - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
                ++i;
            } else if (u >= 0xD800 && u <= 0xDFFF) {
                if (flags & WC_ERR_INVALID_CHARS) return fail(ERROR_NO_UNICODE_TRANSLATION, 0);
                u = 0xFFFD;
            }
            append_utf8(converted, u);
        }
    }
    return deliver(converted, text, size);
}
}
