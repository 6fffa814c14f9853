// Facts about CreateDIBitmap and GetDIBits on a true-colour screen, as Wine
// gives them, checked against the POSIX layer: the formats refused, a
// bitmap's own format, and bitmaps from the kinds of DIB that the DIB module
// tests do not make (top-down, run-length coded, 16 and 32 bits). Each
// depth's table and nearest entries are checked there, through
// ChangeBitmapFormat.
#include "platform/win32.h"
#include "support/bitmap_info.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

using namespace jx::test;

struct Info {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

int get_bits(HDC dc, HBITMAP bitmap, void* rows, Info& info) {
    return GetDIBits(dc, bitmap, 0, 2, rows, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
}

class DibBits : public ::testing::Test {
protected:
    void TearDown() override { ReleaseDC(nullptr, dc); }
    HDC dc = GetDC(nullptr);
};

TEST_F(DibBits, RefusedFormatsAndTheBitmapsOwnFormat) {
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 4, 2);
    Info info = {};
    const std::pair<WORD, DWORD> refused[] = {
        {3, BI_RGB}, {8, BI_RLE4}, {4, BI_RLE8}, {24, BI_RLE8}, {64, BI_RGB}};
    for (const auto& [bits, compression] : refused) {
        info.header = info_header(4, 2, bits, compression);
        EXPECT_EQ(get_bits(dc, bitmap, nullptr, info), 0) << bits << "/" << compression;
    }
    info.header = info_header(0, 0, 0); // bit count 0: tell the bitmap's own
    EXPECT_NE(get_bits(dc, bitmap, nullptr, info), 0);
    const BITMAPINFOHEADER& h = info.header;
    EXPECT_EQ((std::vector<long>{h.biWidth, h.biHeight, h.biBitCount, long(h.biCompression),
                                 long(h.biSizeImage)}),
              (std::vector<long>{4, 2, 32, BI_BITFIELDS, 32}));
    DeleteObject(bitmap);
}

TEST_F(DibBits, BitmapsFromEveryKindOfDib) {
    // Two rows of three pixels, colours 1 2 3 over 3 2 1, of a table of 4.
    const RGBQUAD table[] = {{0, 0, 0, 0}, {0, 0, 0xFF, 0}, {0, 0xFF, 0, 0}, {0xFF, 0, 0, 0}};
    const std::vector<uint32_t> colours = {0xFF0000, 0x00FF00, 0x0000FF,
                                           0x0000FF, 0x00FF00, 0xFF0000};
    const std::vector<BYTE> rows16 = {0x1F, 0,    0xE0, 3, 0,    0x7C, 0, 0,
                                      0,    0x7C, 0xE0, 3, 0x1F, 0,    0, 0};
    const struct {
        const char* name;
        WORD bits;
        DWORD compression;
        LONG height;
        std::vector<BYTE> data;
    } kinds[] = {
        {"8-bit top-down", 8, BI_RGB, -2, {1, 2, 3, 0, 3, 2, 1, 0}},
        {"RLE8", 8, BI_RLE8, 2, {0, 3, 3, 2, 1, 0, 0, 0, 0, 3, 1, 2, 3, 0, 0, 1}},
        {"RLE4", 4, BI_RLE4, 2, {1, 0x33, 2, 0x21, 0, 0, 0, 3, 0x12, 0x30, 0, 1}},
        {"32-bit rows", 32, BI_RGB, 2, rows_of(colours, 3, 2, 32)},
        {"16-bit 555", 16, BI_RGB, 2, rows16},
    };
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.name);
        Info info = {};
        info.header = info_header(3, kind.height, kind.bits, kind.compression);
        info.header.biSizeImage = static_cast<DWORD>(kind.data.size());
        info.header.biClrUsed = 4;
        std::copy(table, table + 4, info.colours);
        HBITMAP made = CreateDIBitmap(dc, &info.header, CBM_INIT, kind.data.data(),
                                      reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
        ASSERT_NE(made, nullptr);
        BITMAP d = {};
        GetObjectA(made, sizeof d, &d);
        EXPECT_EQ(std::make_pair(d.bmHeight, d.bmBitsPixel), std::make_pair(LONG{2}, WORD{32}));
        info.header = info_header(3, 2, 24);
        std::vector<BYTE> rows(stride_of(3, 24) * 2);
        EXPECT_EQ(get_bits(dc, made, rows.data(), info), 2);
        EXPECT_EQ(pixels_of(rows.data(), 3, 2, 24), colours);
        DeleteObject(made);
    }
}

} // namespace
