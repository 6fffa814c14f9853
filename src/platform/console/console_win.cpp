// The console services on Windows: the system's own ANSI code page and
// console.
#include "console.h"

#include "../win32.h"

#include <fcntl.h>

namespace jx::console {
namespace {

std::wstring widen(UINT code_page, DWORD flags, const std::string& text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(code_page, flags, text.data(), size, nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(code_page, flags, text.data(), size, &wide[0], n);
    return wide;
}

} // namespace

Encoding user_encoding() {
    const bool ansi_is_utf8 = GetACP() == CP_UTF8;
    DWORD mode = 0;
    const bool console = GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
    if (console) SetConsoleOutputCP(CP_UTF8);
    return {console || ansi_is_utf8, ansi_is_utf8};
}

std::string program_directory() {
    char buffer[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer) return {};
    std::string path(buffer, n);
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

void binary_stdin() {
    _setmode(_fileno(stdin), _O_BINARY);
}

std::string ansi_to_utf8(const std::string& ansi) {
    const std::wstring wide = widen(CP_ACP, 0, ansi);
    if (wide.empty()) return ansi;
    const int size = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, &out[0], n, nullptr, nullptr);
    return out;
}

bool utf8_to_ansi(const std::string& utf8, std::string& ansi) {
    ansi.clear();
    if (utf8.empty()) return true;
    const std::wstring wide = widen(CP_UTF8, MB_ERR_INVALID_CHARS, utf8);
    if (wide.empty()) return false;
    const int size = static_cast<int>(wide.size());
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0,
                                      nullptr, &lossy);
    if (n <= 0 || lossy) return false;
    ansi.assign(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, &ansi[0], n, nullptr,
                        nullptr);
    return true;
}

} // namespace jx::console
