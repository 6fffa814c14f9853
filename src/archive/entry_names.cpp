#include "entry_names.h"

#include "platform/win32.h"

#include <cstring>
#include <vector>

namespace {

using Wide = std::vector<WCHAR>;

// The zip format's own code page for names without the UTF-8 flag.
constexpr UINT kZipDefaultCodePage = 437;

bool to_wide(UINT code_page, DWORD flags, const char* text, Wide& wide) {
    const int size = MultiByteToWideChar(code_page, flags, text, -1, nullptr, 0);
    if (size <= 0) return false;
    wide.resize(static_cast<size_t>(size));
    return MultiByteToWideChar(code_page, flags, text, -1, wide.data(), size) == size;
}

bool has_high_byte(const char* text) {
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
        if (*p >= 0x80) return true;
    return false;
}

// The DOS device names that Windows opens as devices in any folder and with
// any extension.
bool is_device_name(const char* begin, const char* end) {
    const char* stop = begin;
    while (stop != end && *stop != '.') ++stop;
    while (stop != begin && stop[-1] == ' ') --stop;
    const size_t length = static_cast<size_t>(stop - begin);
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* device : kDevices)
        if (length == std::strlen(device) && _strnicmp(begin, device, length) == 0) return true;
    return length == 4 && (_strnicmp(begin, "COM", 3) == 0 || _strnicmp(begin, "LPT", 3) == 0) &&
           begin[3] >= '1' && begin[3] <= '9';
}

// Windows drops trailing dots and blanks of a component, so ".. " and "..."
// may climb as ".." does; any component of dots and blanks with two dots is
// refused.
bool climbs(const char* begin, const char* end) {
    int dots = 0;
    for (const char* p = begin; p != end; ++p) {
        if (*p == '.')
            ++dots;
        else if (*p != ' ')
            return false;
    }
    return dots >= 2;
}

} // namespace

namespace jx::archive {

bool ansi_to_entry_name(const char* ansi, std::string& entry) {
    entry.clear();
    Wide wide;
    if (!to_wide(CP_ACP, MB_ERR_INVALID_CHARS, ansi, wide)) return false;
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return false;
    std::vector<char> utf8(static_cast<size_t>(size));
    if (WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, utf8.data(), size, nullptr, nullptr) !=
        size)
        return false;
    entry.assign(utf8.data());
    return true;
}

bool entry_name_to_ansi(const char* entry, bool utf8_flag, std::string& ansi) {
    ansi.clear();
    Wide wide;
    const bool utf8 =
        utf8_flag || (has_high_byte(entry) && to_wide(CP_UTF8, MB_ERR_INVALID_CHARS, entry, wide));
    if (utf8 ? !to_wide(CP_UTF8, MB_ERR_INVALID_CHARS, entry, wide)
             : !to_wide(kZipDefaultCodePage, 0, entry, wide))
        return false;
    BOOL used_default = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), -1, nullptr, 0,
                                         nullptr, &used_default);
    if (size <= 0) return false;
    std::vector<char> out(static_cast<size_t>(size));
    if (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), -1, out.data(), size,
                            nullptr, &used_default) != size)
        return false;
    ansi.assign(out.data());
    return !used_default;
}

bool is_safe_entry_name(const char* name) {
    if (name[0] == '\0' || name[0] == '\\' || name[0] == '/') return false;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(name); *p; ++p)
        if (*p < 0x20 || std::strchr(":<>\"|?*", *p)) return false;
    const char* begin = name;
    for (;;) {
        const char* end = begin;
        while (*end && *end != '\\' && *end != '/') ++end;
        if (climbs(begin, end) || is_device_name(begin, end)) return false;
        if (!*end) return true;
        begin = end + 1;
    }
}

} // namespace jx::archive
