// MultiByteToWideChar and WideCharToMultiByte as Windows answers them, for
// Windows-1252 and UTF-8. The code page is named rather than CP_ACP, so the
// facts hold whatever ANSI code page the system runs with.
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr UINT kWestern = 1252;

TEST(MultiByteToWideChar1252, EveryByteHasACharacter) {
    // The five bytes that Windows-1252 leaves open stand for the C1 controls.
    const char bytes[] = "\x41\x81\x8D\x8F\x90\x9D\x80\xB0\xFF";
    WCHAR wide[16];
    SetLastError(0);
    ASSERT_EQ(MultiByteToWideChar(kWestern, MB_ERR_INVALID_CHARS, bytes, -1, wide, 16), 10);
    const unsigned expected[] = {0x41, 0x81, 0x8D, 0x8F, 0x90, 0x9D, 0x20AC, 0xB0, 0xFF, 0};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(static_cast<unsigned>(wide[i]), expected[i]) << i;
}

TEST(MultiByteToWideChar1252, SizesAndBuffers) {
    WCHAR wide[8];
    EXPECT_EQ(MultiByteToWideChar(kWestern, 0, "abc", -1, nullptr, 0), 4);
    EXPECT_EQ(MultiByteToWideChar(kWestern, 0, "abc", 3, nullptr, 0), 3);
    EXPECT_EQ(MultiByteToWideChar(kWestern, 0, "", -1, wide, 8), 1);
    EXPECT_EQ(wide[0], 0);

    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(kWestern, 0, "abc", -1, wide, 2), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(kWestern, 0, "abc", 0, wide, 8), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(MultiByteToWideChar1252, AGivenLengthCarriesEmbeddedNuls) {
    const char text[] = {'a', '\0', 'b'};
    WCHAR wide[4] = {9, 9, 9, 9};
    ASSERT_EQ(MultiByteToWideChar(kWestern, 0, text, 3, wide, 4), 3);
    EXPECT_EQ(wide[0], 'a');
    EXPECT_EQ(wide[1], 0);
    EXPECT_EQ(wide[2], 'b');
    EXPECT_EQ(wide[3], 9); // no terminator added
}

TEST(MultiByteToWideCharUtf8, ValidAndInvalidSequences) {
    WCHAR wide[8];
    ASSERT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "\xC3\xA9", -1, wide, 8), 2);
    EXPECT_EQ(wide[0], 0xE9);
    ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xF0\x9F\x98\x80", -1, wide, 8), 3);
    EXPECT_EQ(wide[0], 0xD83D);
    EXPECT_EQ(wide[1], 0xDE00);
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "\xFF", -1, wide, 8), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
    ASSERT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a\xFF", -1, wide, 8), 3);
    EXPECT_EQ(wide[1], 0xFFFD);
}

TEST(WideCharToMultiByte1252, UnmappableCharactersBecomeTheDefault) {
    const WCHAR wide[] = {0x41, 0x20AC, 0x3042, 0xD800, 0};
    char text[8];
    BOOL used = FALSE;
    ASSERT_EQ(WideCharToMultiByte(kWestern, 0, wide, -1, text, 8, nullptr, &used), 5);
    EXPECT_EQ(text[0], 'A');
    EXPECT_EQ(static_cast<unsigned char>(text[1]), 0x80u);
    EXPECT_EQ(text[2], '?');
    EXPECT_EQ(text[3], '?');
    EXPECT_EQ(text[4], '\0');
    EXPECT_TRUE(used);

    const WCHAR plain[] = {'o', 'k', 0xE9, 0};
    used = TRUE;
    ASSERT_EQ(WideCharToMultiByte(kWestern, 0, plain, -1, text, 8, nullptr, &used), 4);
    EXPECT_FALSE(used);
    EXPECT_EQ(static_cast<unsigned char>(text[2]), 0xE9u);
}

TEST(CodePageRoundTrip, EveryByteOf1252ComesBack) {
    std::vector<char> bytes;
    for (int code = 1; code < 256; ++code) bytes.push_back(static_cast<char>(code));
    const int count = static_cast<int>(bytes.size());
    std::vector<WCHAR> wide(bytes.size());
    ASSERT_EQ(MultiByteToWideChar(kWestern, 0, bytes.data(), count, wide.data(), count), count);
    std::vector<char> back(bytes.size());
    BOOL used = FALSE;
    ASSERT_EQ(
        WideCharToMultiByte(kWestern, 0, wide.data(), count, back.data(), count, nullptr, &used),
        count);
    EXPECT_FALSE(used);
    EXPECT_EQ(back, bytes);
}

} // namespace
