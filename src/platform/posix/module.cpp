// The library as a module: its handle, its load-time entry point, its string
// resources (the catalog), and the locale and logon queries made at start-up.
#include "layer.h"
#include "../testing.h"
#include "../ui_hooks.h"

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <dlfcn.h>
#include <langinfo.h>
#include <locale.h>
#include <mutex>
#include <pwd.h>
#include <string>
#include <unistd.h>

namespace {

// The module's handle is its load address, as on Windows.
HINSTANCE this_module() {
    static HINSTANCE instance = [] {
        Dl_info info = {};
        dladdr(reinterpret_cast<void*>(&this_module), &info);
        return static_cast<HINSTANCE>(info.dli_fbase);
    }();
    return instance;
}

__attribute__((constructor)) void process_attach() {
    DllMain(this_module(), DLL_PROCESS_ATTACH, nullptr);
}

__attribute__((destructor)) void process_detach() {
    DllMain(this_module(), DLL_PROCESS_DETACH, nullptr);
}

// The string table compiled into the module: the catalog, from the same
// source as the Windows resource script.
struct StringResource {
    UINT id;
    const char* text;
};

const StringResource kStringTable[] = {
#define JX_CATALOG_ENTRY(id, text) {id, text},
#include "frame/catalog.def"
#undef JX_CATALOG_ENTRY
};

const char* find_string(UINT id) {
    size_t low = 0, high = sizeof(kStringTable) / sizeof(kStringTable[0]);
    while (low < high) {
        const size_t mid = (low + high) / 2;
        if (kStringTable[mid].id == id) return kStringTable[mid].text;
        if (kStringTable[mid].id < id)
            low = mid + 1;
        else
            high = mid;
    }
    return nullptr;
}

// Plain storage, so it is ready before any constructor runs the entry point.
std::mutex g_separator_mutex;
char g_separator_override[8] = ""; // empty: ask the system locale

// The decimal separator of the system's locale, from the environment as a
// POSIX program's "" locale is.
std::string system_decimal_separator() {
    {
        std::lock_guard<std::mutex> lock(g_separator_mutex);
        if (g_separator_override[0]) return g_separator_override;
    }
    std::string separator = ".";
    if (locale_t locale = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr))) {
        const char* radix = nl_langinfo_l(RADIXCHAR, locale);
        if (radix && *radix) separator = jx::posix::utf8_to_ansi(radix);
        freelocale(locale);
    }
    return separator;
}

} // namespace

using jx::posix::fail;

extern "C" {

// Whether the table holds any string of the block of sixteen that `id`
// belongs to: Windows stores string tables in such blocks.
bool block_exists(UINT id) {
    for (const StringResource& entry : kStringTable)
        if (entry.id >> 4 == id >> 4) return true;
    return false;
}

// Copies at most size - 1 characters, always terminates, and returns the
// number of characters copied; an id without a string gives 0 and "". As on
// Windows, only an id whose whole block of sixteen is missing sets the last
// error; a missing id within a present block leaves it alone. A buffer size
// of 0 is answered with -1 and the buffer is left alone.
int WINAPI LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int size) {
    if (size == 0) return -1;
    if (!buffer || size < 0) return fail(ERROR_INVALID_PARAMETER, 0);
    buffer[0] = '\0';
    if (instance != this_module()) return fail(ERROR_RESOURCE_DATA_NOT_FOUND, 0);
    id &= 0xFFFF;
    const char* text = find_string(id);
    if (!text) return block_exists(id) ? 0 : fail(ERROR_RESOURCE_NAME_NOT_FOUND, 0);
    const std::string ansi = jx::posix::utf8_to_ansi(text);
    const size_t length = ansi.size() < static_cast<size_t>(size - 1) ? ansi.size() : size - 1;
    std::memcpy(buffer, ansi.data(), length);
    buffer[length] = '\0';
    return static_cast<int>(length);
}

// Returns the characters written with the terminator, or with size 0 the
// size needed.
int WINAPI GetLocaleInfoA(LCID, LCTYPE type, LPSTR data, int size) {
    std::string value;
    if ((type & 0xFFFF) == LOCALE_SDECIMAL)
        value = system_decimal_separator();
    else if ((type & 0xFFFF) == LOCALE_STHOUSAND)
        value = ",";
    else
        return fail(ERROR_INVALID_FLAGS, 0);
    const int needed = static_cast<int>(value.size()) + 1;
    if (size == 0) return needed;
    if (!data || size < needed) return fail(ERROR_INSUFFICIENT_BUFFER, 0);
    std::memcpy(data, value.c_str(), value.size() + 1);
    return needed;
}

// The logon name is the effective user's name in the password database, as
// Windows answers for the account the process runs as. The environment (USER,
// LOGNAME) is never asked: anybody can set it.
BOOL WINAPI GetUserNameA(LPSTR buffer, LPDWORD size) {
    if (!size) return fail(ERROR_INVALID_PARAMETER, FALSE);
    std::string name;
    struct passwd entry;
    struct passwd* found = nullptr;
    std::string scratch(1024, '\0');
    int error;
    while ((error = jx::posix::sys::getpwuid_r(geteuid(), &entry, scratch.data(), scratch.size(),
                                               &found)) == ERANGE &&
           scratch.size() < (1u << 20))
        scratch.resize(scratch.size() * 2);
    if (error != 0 || !found || !found->pw_name || !*found->pw_name)
        return fail(ERROR_NONE_MAPPED, FALSE);
    name = found->pw_name;
    name = jx::posix::utf8_to_ansi(name.c_str());
    const DWORD needed = static_cast<DWORD>(name.size()) + 1;
    if (!buffer || *size < needed) {
        *size = needed;
        return fail(ERROR_INSUFFICIENT_BUFFER, FALSE);
    }
    std::memcpy(buffer, name.c_str(), needed);
    *size = needed;
    return TRUE;
}
}

namespace jx::detail {

// Without a screen the box goes to stderr and is answered at once.
int platform_message_box(HWND, const char* text, const char* caption, UINT style) {
    std::string shown;
    for (const char* p = text; *p; ++p)
        if (*p != '\r') shown += *p;
    std::fprintf(stderr, "[%s] %s\n", caption, shown.c_str());
    return harmless_answer(style);
}

} // namespace jx::detail

namespace jx::testing {

ScopedDecimalSeparator::ScopedDecimalSeparator(const char* separator) {
    {
        std::lock_guard<std::mutex> lock(g_separator_mutex);
        std::snprintf(g_separator_override, sizeof g_separator_override, "%s",
                      separator ? separator : "");
    }
    DllMain(this_module(), DLL_THREAD_ATTACH, nullptr);
}

ScopedDecimalSeparator::~ScopedDecimalSeparator() {
    {
        std::lock_guard<std::mutex> lock(g_separator_mutex);
        g_separator_override[0] = '\0';
    }
    DllMain(this_module(), DLL_THREAD_ATTACH, nullptr);
}

} // namespace jx::testing
