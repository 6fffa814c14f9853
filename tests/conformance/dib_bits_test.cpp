// Facts about CreateDIBitmap and GetDIBits on a true-colour screen, as Wine
// gives them, checked against the POSIX layer: colour tables chosen for each
// depth, the entry chosen for a colour between entries, image sizes of the
// query form, refused formats, and run-length coded input.
#include "platform/win32.h"
#include "support/bitmap_info.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

struct Info {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

using namespace jx::test;

// A screen bitmap from 24-bit colours, and back.
HBITMAP bitmap_of(HDC dc, int width, int height, const std::vector<uint32_t>& colours) {
    Info info = {};
    info.header = info_header(width, height, 24);
    return CreateDIBitmap(dc, &info.header, CBM_INIT, rows_of(colours, width, height, 24).data(),
                          reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
}

int get_bits(HDC dc, HBITMAP bitmap, UINT lines, void* rows, Info& info) {
    return GetDIBits(dc, bitmap, 0, lines, rows, reinterpret_cast<BITMAPINFO*>(&info),
                     DIB_RGB_COLORS);
}

std::vector<uint32_t> colours_of(HDC dc, HBITMAP bitmap, int width, int height) {
    Info info = {};
    info.header = info_header(width, height, 24);
    std::vector<BYTE> rows(stride_of(width, 24) * height);
    EXPECT_EQ(get_bits(dc, bitmap, height, rows.data(), info), height);
    return pixels_of(rows.data(), width, height, 24);
}

// Black, white, grey, a red, a green, a blue, yellow, a dark grey.
const std::vector<uint32_t> kSample = {0x000000, 0xFFFFFF, 0x808080, 0xC81E28,
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

// Each depth's table and image size from the query form, then its pixels,
// each the nearest entry of the table; and the formats refused. The tables
// are checked in full, so the ones the other tests build from are the
// system's own.
TEST_F(DibBits, EachDepthsTableSizeAndNearestEntries) {
    const struct {
        WORD bits;
        DWORD compression;
        std::vector<uint32_t> table = {};
        std::vector<BYTE> rows = {}; // bottom row first; none: refused
    } cases[] = {
        {1, BI_RGB, kMono, {0x20, 0, 0, 0, 0x60, 0, 0, 0}},
        {4, BI_RGB, kVga, {0xAC, 0xB7, 0, 0, 0x0F, 0x79, 0, 0}},
        {8, BI_RGB, table256(), {0x30, 0xD1, 0xFB, 0x9B, 0x00, 0xFF, 0xA4, 0x4E}},
        {24, BI_RGB, {}, {0x1E, 0xC8, 0x0A, 0xDC, 0x32, 0x28, 0x00, 0xFF, 0xFF, 0x64, 0x64, 0x64,
                          0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x80, 0x80, 0x80, 0x28, 0x1E, 0xC8}},
        {3, BI_RGB},
        {8, BI_RLE4},
        {4, BI_RLE8},
        {24, BI_RLE8},
        {64, BI_RGB},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.bits << "/" << c.compression);
        Info info = {};
        info.header = info_header(4, 2, c.bits, c.compression);
        EXPECT_EQ(get_bits(dc, bitmap, 2, nullptr, info), c.rows.empty() ? 0 : 1);
        if (c.rows.empty()) continue;
        EXPECT_EQ(info.header.biSizeImage, c.rows.size()) << "rows times height";
        EXPECT_EQ(info.header.biClrUsed, 0u);
        for (size_t i = 0; i < c.table.size(); ++i) {
            EXPECT_EQ(rgb(info.colours[i]), c.table[i]) << i;
            EXPECT_EQ(info.colours[i].rgbReserved, 0) << i;
        }
        std::vector<BYTE> out(c.rows.size() + 4, 0xCD);
        EXPECT_EQ(get_bits(dc, bitmap, 2, out.data(), info), 2);
        EXPECT_EQ(std::vector<BYTE>(out.begin(), out.begin() + c.rows.size()), c.rows);
        EXPECT_EQ(out[c.rows.size()], 0xCD) << "nothing past the image";
    }
}

TEST_F(DibBits, TheBitmapsOwnFormat) {
    Info info = {};
    info.header.biSize = sizeof info.header;
    EXPECT_NE(get_bits(dc, bitmap, 0, nullptr, info), 0);
    const BITMAPINFOHEADER& h = info.header;
    EXPECT_EQ((std::vector<long>{h.biWidth, h.biHeight, h.biBitCount, long(h.biCompression),
                                 long(h.biSizeImage)}),
              (std::vector<long>{4, 2, 32, BI_BITFIELDS, 32}));
}

TEST_F(DibBits, BitmapsFromEveryKindOfDib) {
    // Two rows of three pixels, colours 1 2 3 over 3 2 1, as each kind of DIB.
    const std::vector<uint32_t> table = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    const struct {
        const char* name;
        WORD bits;
        DWORD compression;
        LONG height;
        std::vector<BYTE> data;
        bool core = false; // a core header with three-byte colours
    } kinds[] = {
        {"8-bit rows", 8, BI_RGB, 2, {3, 2, 1, 0, 1, 2, 3, 0}},
        {"8-bit top-down", 8, BI_RGB, -2, {1, 2, 3, 0, 3, 2, 1, 0}},
        {"RLE8", 8, BI_RLE8, 2, {0, 3, 3, 2, 1, 0, 0, 0, 0, 3, 1, 2, 3, 0, 0, 1}},
        {"4-bit rows", 4, BI_RGB, 2, {0x32, 0x10, 0, 0, 0x12, 0x30, 0, 0}},
        {"4-bit rows, core header", 4, BI_RGB, 2, {0x32, 0x10, 0, 0, 0x12, 0x30, 0, 0}, true},
        {"RLE4", 4, BI_RLE4, 2, {1, 0x33, 2, 0x21, 0, 0, 0, 3, 0x12, 0x30, 0, 1}},
        {"32-bit rows", 32, BI_RGB, 2, {0xFF, 0, 0,    0, 0, 0xFF, 0, 0, 0,    0, 0xFF, 0,
                                        0,    0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0,    0}},
        {"16-bit 555",
         16,
         BI_RGB,
         2,
         {0x1F, 0, 0xE0, 3, 0, 0x7C, 0, 0, 0, 0x7C, 0xE0, 3, 0x1F, 0, 0, 0}},
    };
    for (const auto& kind : kinds) {
        BITMAPINFOHEADER h = info_header(3, kind.height, kind.bits, kind.compression);
        h.biSizeImage = static_cast<DWORD>(kind.data.size());
        h.biClrUsed = 4;
        const BITMAPCOREHEADER core = {sizeof core, 3, 2, 1, kind.bits};
        const auto* header =
            kind.core ? reinterpret_cast<const BYTE*>(&core) : reinterpret_cast<const BYTE*>(&h);
        std::vector<BYTE> info(header, header + (kind.core ? sizeof core : sizeof h));
        for (uint32_t c : table) {
            info.insert(info.end(), {BYTE(c), BYTE(c >> 8), BYTE(c >> 16)});
            if (!kind.core) info.push_back(0);
        }
        if (kind.core) info.resize(sizeof core + 3 * 16, 0); // a core table is always full
        HBITMAP made = CreateDIBitmap(dc, reinterpret_cast<BITMAPINFOHEADER*>(info.data()),
                                      CBM_INIT, kind.data.data(),
                                      reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
        ASSERT_NE(made, nullptr) << kind.name;
        BITMAP d = {};
        GetObjectA(made, sizeof d, &d);
        EXPECT_EQ(std::make_pair(d.bmHeight, d.bmBitsPixel), std::make_pair(LONG{2}, WORD{32}))
            << kind.name;
        EXPECT_EQ(colours_of(dc, made, 3, 2), (std::vector<uint32_t>{0xFF0000, 0x00FF00, 0x0000FF,
                                                                     0x0000FF, 0x00FF00, 0xFF0000}))
            << kind.name;
        DeleteObject(made);
    }
}

} // namespace
