#include "../utf8_file_names.h"

#include "../win32.h"

#include <vector>

bool jx_utf8_file_name(const char* ansi, std::string& utf8) {
    utf8.clear();
    const int wide_size = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi, -1, nullptr, 0);
    if (wide_size <= 0) return false;
    std::vector<wchar_t> wide(static_cast<size_t>(wide_size));
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi, -1, wide.data(), wide_size) <= 0)
        return false;
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return false;
    std::vector<char> out(static_cast<size_t>(size));
    if (WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, out.data(), size, nullptr, nullptr) <= 0)
        return false;
    utf8.assign(out.data());
    return true;
}
