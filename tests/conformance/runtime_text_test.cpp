// MultiByteToWideChar and WideCharToMultiByte as Windows answers them, for
// Windows-1252, UTF-8 and code page 437 (the code page is named rather than
// CP_ACP, so the facts hold whatever ANSI code page the system runs with),
// and the runtime's ctime form, as the lock message relies on it.
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <string>

constexpr UINT kWestern = 1252;

// The five bytes that Windows-1252 leaves open stand for the C1 controls, so
// no byte is refused and every byte comes back; characters beyond the code
// page become "?". Then sizes, errors and UTF-8, and code page 437, the zip
// format's code page for entry names without the UTF-8 flag.
TEST(CodePages, ConversionsBothWays) {
    std::string all;
    for (int code = 1; code < 256; ++code) all += static_cast<char>(code);
    WCHAR wide[255];
    ASSERT_EQ(MultiByteToWideChar(kWestern, MB_ERR_INVALID_CHARS, &all[0], 255, wide, 255), 255);
    for (int code : {0x41, 0x81, 0x8D, 0x8F, 0x90, 0x9D, 0xB0, 0xFF})
        EXPECT_EQ(static_cast<int>(wide[code - 1]), code);
    EXPECT_EQ(static_cast<int>(wide[0x80 - 1]), 0x20AC);
    char back[255];
    BOOL used = TRUE;
    ASSERT_EQ(WideCharToMultiByte(kWestern, 0, wide, 255, back, 255, nullptr, &used), 255);
    EXPECT_FALSE(used);
    EXPECT_EQ(std::string(back, 255), all);
    const WCHAR unmappable[] = {0x3042, 0xD800, 0};
    ASSERT_EQ(WideCharToMultiByte(kWestern, 0, unmappable, -1, back, 255, nullptr, &used), 3);
    EXPECT_STREQ(back, "??");
    EXPECT_TRUE(used);

    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(kWestern, 0, "abc", -1, wide, 3), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xFF", -1, wide, 4), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
    ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a\xFF", -1, wide, 4), 3);
    EXPECT_EQ(static_cast<int>(wide[1]), 0xFFFD);
    ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xF0\x9F\x98\x80", -1, wide, 4), 3);
    EXPECT_EQ(std::u16string(wide, wide + 3), std::u16string(u"\xD83D\xDE00", 3));

    const char bytes[] = "A\x01\x7F\x80\x82\x9C\x9E\xA9\xB0\xE1\xE6\xF8\xFF";
    ASSERT_EQ(MultiByteToWideChar(437, MB_ERR_INVALID_CHARS, bytes, -1, wide, 14), 14);
    EXPECT_EQ(std::u16string(wide, wide + 13),
              u"A\x01\x7F\xC7\xE9\xA3\x20A7\x2310\x2591\xDF\xB5\xB0\xA0");
}

// "Www Mmm dd hh:mm:ss yyyy\n", the day zero-padded: noon of the 4th (UTC)
// is the 4th in all but the furthest time zones.
TEST(RuntimeTime, CtimeForm) {
    const __time64_t fourth = 1796385600, before_1970 = -1;
    char text[32];
    ASSERT_EQ(_ctime64_s(text, sizeof text, &fourth), 0);
    EXPECT_EQ(std::string(text, 11) + std::string(text + 19), "Fri Dec 04  2026\n");
    EXPECT_NE(_ctime64_s(text, sizeof text, &before_1970), 0);
    EXPECT_STREQ(text, "");
    EXPECT_NE(_ctime64_s(text, 25, &fourth), 0) << "the form needs 26 characters";
}
