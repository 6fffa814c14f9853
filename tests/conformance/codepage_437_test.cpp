// Code page 437, the zip format's code page for entry names without the
// UTF-8 flag, as MultiByteToWideChar reads it.
#include "platform/win32.h"

#include <gtest/gtest.h>

TEST(CodePage437, ReadsThePcCharacterSet) {
    const struct {
        unsigned char byte;
        unsigned unicode;
    } rows[] = {
        {0x41, 0x0041}, {0x01, 0x0001}, {0x7F, 0x007F}, {0x80, 0x00C7}, {0x82, 0x00E9},
        {0x9C, 0x00A3}, {0x9E, 0x20A7}, {0xA9, 0x2310}, {0xB0, 0x2591}, {0xE1, 0x00DF},
        {0xE6, 0x00B5}, {0xF8, 0x00B0}, {0xFF, 0x00A0},
    };
    for (const auto& row : rows) {
        const char text[2] = {static_cast<char>(row.byte), 0};
        WCHAR wide[2] = {0, 0};
        ASSERT_EQ(MultiByteToWideChar(437, MB_ERR_INVALID_CHARS, text, -1, wide, 2), 2)
            << static_cast<int>(row.byte);
        EXPECT_EQ(static_cast<unsigned>(wide[0]), row.unicode) << static_cast<int>(row.byte);
    }
}
