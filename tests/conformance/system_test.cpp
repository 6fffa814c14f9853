// Facts about Win32 error texts and string resources that the library relies
// on, checked under Wine and against the POSIX layer.
#include "platform/win32.h"

#if !defined(_WIN32)
#include "frame/startup.h"
#endif

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// The flags with which the library asks for the system's text of an error.
constexpr DWORD kSystemText =
    FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM;

TEST(Win32Errors, SystemTextsEndWithALineBreak) {
    const DWORD codes[] = {ERROR_FILE_NOT_FOUND,      ERROR_PATH_NOT_FOUND,    ERROR_ACCESS_DENIED,
                           ERROR_INVALID_HANDLE,      ERROR_SHARING_VIOLATION, ERROR_HANDLE_EOF,
                           ERROR_INVALID_PARAMETER,   ERROR_DISK_FULL,         ERROR_INVALID_NAME,
                           ERROR_NEGATIVE_SEEK,       ERROR_ALREADY_EXISTS,    ERROR_FILE_EXISTS,
                           ERROR_FILENAME_EXCED_RANGE};
    for (DWORD code : codes) {
        char* text = nullptr;
        const DWORD length = FormatMessageA(kSystemText, nullptr, code, LANG_USER_DEFAULT,
                                            reinterpret_cast<LPSTR>(&text), 0, nullptr);
        ASSERT_NE(text, nullptr) << code;
        EXPECT_GT(length, 2u) << code;
        EXPECT_EQ(length, std::strlen(text)) << code;
        EXPECT_EQ(std::string(text).substr(length - 2), "\r\n") << code;
        EXPECT_EQ(LocalFree(text), nullptr);
    }
}

// The library reads its catalog through LoadStringA and clamps and ends what
// comes back itself (the catalog's tests pass every size and the gaps); what
// it relies on is the last error, which the error box reads after loading
// its title.
TEST(Win32Strings, MissingStringsAndTheLastError) {
    // The library's own module, which holds the message catalog.
#if defined(_WIN32)
    HINSTANCE module = GetModuleHandleA("JX6_UT.dll");
#else
    HINSTANCE module = jx::frame::module_handle();
#endif
    ASSERT_NE(module, nullptr);
    char buffer[256];
    // No entry 200, but its block of sixteen (192 to 207) exists: the last
    // error stays as it was. A missing block sets one.
    SetLastError(1234);
    EXPECT_EQ(LoadStringA(module, 200, buffer, sizeof buffer), 0);
    EXPECT_EQ(GetLastError(), 1234u);
    EXPECT_EQ(LoadStringA(module, 5000, buffer, sizeof buffer), 0);
    EXPECT_NE(GetLastError(), 1234u);
}

} // namespace
