// Facts about CreateDIBitmap and GetDIBits on a true-colour screen, as Wine
// gives them, checked against the POSIX layer: colour tables chosen for each
// depth, the entry chosen for a colour between entries, image sizes of the
// query form, refused formats, and run-length coded input.
#include "platform/win32.h"
#include "support/bitmap_info.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

struct Info {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

using jx::test::info_header;

// A screen bitmap from 24-bit rows given top row first as 0xRRGGBB.
HBITMAP bitmap_of(HDC dc, int width, int height, const std::vector<DWORD>& colours) {
    Info info = {};
    info.header = info_header(width, height, 24);
    const int stride = (width * 3 + 3) & ~3;
    std::vector<BYTE> rows(static_cast<size_t>(stride) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const DWORD c = colours[static_cast<size_t>(y) * width + x];
            BYTE* p = &rows[static_cast<size_t>(height - 1 - y) * stride + x * 3];
            p[0] = static_cast<BYTE>(c), p[1] = static_cast<BYTE>(c >> 8),
            p[2] = static_cast<BYTE>(c >> 16);
        }
    return CreateDIBitmap(dc, &info.header, CBM_INIT, rows.data(),
                          reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
}

// The bitmap read back as 0xRRGGBB, top row first.
std::vector<DWORD> colours_of(HDC dc, HBITMAP bitmap, int width, int height) {
    Info info = {};
    info.header = info_header(width, height, 24);
    const int stride = (width * 3 + 3) & ~3;
    std::vector<BYTE> rows(static_cast<size_t>(stride) * height);
    EXPECT_EQ(GetDIBits(dc, bitmap, 0, height, rows.data(), reinterpret_cast<BITMAPINFO*>(&info),
                        DIB_RGB_COLORS),
              height);
    std::vector<DWORD> out;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const BYTE* p = &rows[static_cast<size_t>(height - 1 - y) * stride + x * 3];
            out.push_back((DWORD{p[2]} << 16) | (DWORD{p[1]} << 8) | p[0]);
        }
    return out;
}

DWORD rgb_of(const RGBQUAD& q) {
    return (DWORD{q.rgbRed} << 16) | (DWORD{q.rgbGreen} << 8) | q.rgbBlue;
}

// Black, white, grey, a red, a green, a blue, yellow, a dark grey.
const std::vector<DWORD> kSample = {0x000000, 0xFFFFFF, 0x808080, 0xC81E28,
                                    0x0AC81E, 0x2832DC, 0xFFFF00, 0x646464};

class DibBits : public ::testing::Test {
protected:
    void SetUp() override {
        dc = GetDC(nullptr);
        bitmap = bitmap_of(dc, 4, 2, kSample);
        ASSERT_NE(bitmap, nullptr);
    }
    void TearDown() override {
        DeleteObject(bitmap);
        ReleaseDC(nullptr, dc);
    }
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
};

TEST_F(DibBits, ColourTablesOfEachDepth) {
    Info info = {};
    info.header = info_header(4, 2, 1);
    ASSERT_NE(
        GetDIBits(dc, bitmap, 0, 2, nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS),
        0);
    EXPECT_EQ(rgb_of(info.colours[0]), 0x000000u);
    EXPECT_EQ(rgb_of(info.colours[1]), 0xFFFFFFu);

    const DWORD vga[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                           0x008080, 0x808080, 0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00,
                           0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    info.header = info_header(4, 2, 4);
    GetDIBits(dc, bitmap, 0, 2, nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(rgb_of(info.colours[i]), vga[i]) << i;

    // 8 bits: the static colours at both ends, a 3-3-2 cube from the index
    // between them.
    info.header = info_header(4, 2, 8);
    GetDIBits(dc, bitmap, 0, 2, nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    const struct {
        int index;
        DWORD colour;
    } rows[] = {{0, 0x000000},   {7, 0xC0C0C0},   {8, 0xC0DCC0},   {9, 0xA6CAF0},
                {10, 0x402000},  {11, 0x602000},  {78, 0xC02040},  {164, 0x808080},
                {245, 0xA0C0C0}, {246, 0xFFFBF0}, {248, 0x808080}, {255, 0xFFFFFF}};
    for (const auto& row : rows)
        EXPECT_EQ(rgb_of(info.colours[row.index]), row.colour) << row.index;
    for (int i = 0; i < 256; ++i) EXPECT_EQ(info.colours[i].rgbReserved, 0) << i;
}

TEST_F(DibBits, EachPixelTakesTheNearestEntryAndSizesAreRowsTimesHeight) {
    const struct {
        WORD bits;
        DWORD size;
        std::vector<BYTE> rows; // bottom row first
    } cases[] = {
        {1, 8, {0x20, 0, 0, 0, 0x60, 0, 0, 0}},
        {4, 8, {0xAC, 0xB7, 0, 0, 0x0F, 0x79, 0, 0}},
        {8, 8, {0x30, 0xD1, 0xFB, 0x9B, 0x00, 0xFF, 0xA4, 0x4E}},
        {24, 24, {0x1E, 0xC8, 0x0A, 0xDC, 0x32, 0x28, 0x00, 0xFF, 0xFF, 0x64, 0x64, 0x64,
                  0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x80, 0x80, 0x80, 0x28, 0x1E, 0xC8}},
    };
    for (const auto& c : cases) {
        Info info = {};
        info.header = info_header(4, 2, c.bits);
        EXPECT_EQ(GetDIBits(dc, bitmap, 0, 2, nullptr, reinterpret_cast<BITMAPINFO*>(&info),
                            DIB_RGB_COLORS),
                  1);
        EXPECT_EQ(info.header.biSizeImage, c.size) << c.bits;
        EXPECT_EQ(info.header.biClrUsed, 0u);
        std::vector<BYTE> out(c.rows.size() + 4, 0xCD);
        EXPECT_EQ(GetDIBits(dc, bitmap, 0, 2, out.data(), reinterpret_cast<BITMAPINFO*>(&info),
                            DIB_RGB_COLORS),
                  2);
        EXPECT_EQ(std::vector<BYTE>(out.begin(), out.begin() + c.rows.size()), c.rows) << c.bits;
        EXPECT_EQ(out[c.rows.size()], 0xCD) << "nothing past the image";
    }
}

TEST_F(DibBits, TheBitmapsOwnFormatAndRefusedFormats) {
    Info info = {};
    info.header.biSize = sizeof info.header;
    EXPECT_NE(
        GetDIBits(dc, bitmap, 0, 0, nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS),
        0);
    EXPECT_EQ(info.header.biWidth, 4);
    EXPECT_EQ(info.header.biHeight, 2);
    EXPECT_EQ(info.header.biBitCount, 32);
    EXPECT_EQ(info.header.biCompression, static_cast<DWORD>(BI_BITFIELDS));
    EXPECT_EQ(info.header.biSizeImage, 32u);

    const struct {
        WORD bits;
        DWORD compression;
    } refused[] = {{3, BI_RGB}, {8, BI_RLE4}, {4, BI_RLE8}, {24, BI_RLE8}, {64, BI_RGB}};
    for (const auto& r : refused) {
        info.header = info_header(4, 2, r.bits, r.compression);
        EXPECT_EQ(GetDIBits(dc, bitmap, 0, 2, nullptr, reinterpret_cast<BITMAPINFO*>(&info),
                            DIB_RGB_COLORS),
                  0)
            << r.bits << "/" << r.compression;
    }
}

TEST_F(DibBits, BitmapsFromEveryKindOfDib) {
    // Two rows of three pixels, colours 1 2 3 over 3 2 1, as each kind of DIB.
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD colours[4];
    } table = {info_header(3, 2, 8),
               {{0, 0, 0, 0}, {0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}}};
    table.h.biClrUsed = 4;
    const std::vector<DWORD> expected = {0xFF0000, 0x00FF00, 0x0000FF,
                                         0x0000FF, 0x00FF00, 0xFF0000};
    const BYTE rows8[] = {3, 2, 1, 0, 1, 2, 3, 0};
    const BYTE rle8[] = {0, 3, 3, 2, 1, 0, 0, 0, 0, 3, 1, 2, 3, 0, 0, 1};
    const BYTE rows4[] = {0x32, 0x10, 0, 0, 0x12, 0x30, 0, 0};
    const BYTE rle4[] = {1, 0x33, 2, 0x21, 0, 0, 0, 3, 0x12, 0x30, 0, 1};
    const BYTE top_down8[] = {1, 2, 3, 0, 3, 2, 1, 0};
    const BYTE rows32[] = {0xFF, 0, 0,    0, 0, 0xFF, 0, 0, 0,    0, 0xFF, 0,
                           0,    0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0,    0};
    const BYTE rows16[] = {0x1F, 0, 0xE0, 0x03, 0, 0x7C, 0, 0, 0, 0x7C, 0xE0, 0x03, 0x1F, 0, 0, 0};
    const struct {
        const char* name;
        WORD bits;
        DWORD compression;
        LONG height;
        const BYTE* data;
        DWORD size;
    } kinds[] = {
        {"8-bit rows", 8, BI_RGB, 2, rows8, sizeof rows8},
        {"8-bit top-down", 8, BI_RGB, -2, top_down8, sizeof top_down8},
        {"RLE8", 8, BI_RLE8, 2, rle8, sizeof rle8},
        {"4-bit rows", 4, BI_RGB, 2, rows4, sizeof rows4},
        {"RLE4", 4, BI_RLE4, 2, rle4, sizeof rle4},
        {"32-bit rows", 32, BI_RGB, 2, rows32, sizeof rows32},
        {"16-bit rows, 5 bits a colour", 16, BI_RGB, 2, rows16, sizeof rows16},
    };
    for (const auto& kind : kinds) {
        table.h.biBitCount = kind.bits;
        table.h.biCompression = kind.compression;
        table.h.biHeight = kind.height;
        table.h.biSizeImage = kind.size;
        HBITMAP made = CreateDIBitmap(dc, &table.h, CBM_INIT, kind.data,
                                      reinterpret_cast<BITMAPINFO*>(&table), DIB_RGB_COLORS);
        ASSERT_NE(made, nullptr) << kind.name;
        BITMAP description = {};
        GetObjectA(made, sizeof description, &description);
        EXPECT_EQ(description.bmHeight, 2) << kind.name;
        EXPECT_EQ(description.bmBitsPixel, 32) << kind.name;
        EXPECT_EQ(colours_of(dc, made, 3, 2), expected) << kind.name;
        DeleteObject(made);
    }
}

TEST_F(DibBits, CoreHeadersCarryThreeByteColours) {
    struct {
        BITMAPCOREHEADER h;
        RGBTRIPLE colours[2];
    } core = {{sizeof(BITMAPCOREHEADER), 2, 1, 1, 1}, {{0, 0, 255}, {255, 0, 0}}};
    const BYTE row[] = {0x40, 0, 0, 0}; // 0 then 1
    HBITMAP made = CreateDIBitmap(dc, reinterpret_cast<BITMAPINFOHEADER*>(&core.h), CBM_INIT, row,
                                  reinterpret_cast<BITMAPINFO*>(&core), DIB_RGB_COLORS);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(colours_of(dc, made, 2, 1), (std::vector<DWORD>{0xFF0000, 0x0000FF}));
    DeleteObject(made);
}

} // namespace
