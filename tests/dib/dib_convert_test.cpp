// DIBs to bitmaps and back, palettes from DIBs, format changes and what is
// refused. Every case here gives the same answer under Windows (Wine) and on
// the POSIX layer; the pictures use colours that each depth's own table
// holds, so no colour is approximated.
#include "dib_blocks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace jx::test;

// A 5 x 3 picture (odd width, so rows are padded) of table entries.
std::vector<uint32_t> picture(size_t colours) {
    std::vector<uint32_t> out;
    for (uint32_t i = 0; i < 15; ++i) out.push_back((i * 7 + i / 5) % colours);
    return out;
}

std::vector<uint32_t> lookup(const std::vector<uint32_t>& indices,
                             const std::vector<uint32_t>& table) {
    std::vector<uint32_t> out;
    for (uint32_t i : indices) out.push_back(table[i]);
    return out;
}

std::vector<BYTE> picture_dib(WORD bits, const std::vector<uint32_t>& table) {
    return packed(info_header(5, 3, bits), table, rows_of(picture(table.size()), 5, 3, bits));
}

// Each kind of DIB: the palette of its table, and its colours after a round
// trip through a device bitmap.
TEST(DibRoundTrip, EachKindGivesItsPaletteAndComesBackAsTheSameColours) {
    const std::vector<uint32_t> t256 = table256(), t20(t256.begin(), t256.begin() + 20);
    std::vector<uint32_t> any; // 24 bits: any colours at all
    for (uint32_t i = 1; i <= 15; ++i) any.push_back(0x123456u * i & 0xFFFFFF);
    BITMAPINFOHEADER twenty = info_header(5, 3, 8);
    twenty.biClrUsed = 20;
    std::vector<BYTE> core; // three-byte colours
    append(core, BITMAPCOREHEADER{12, 5, 3, 1, 4});
    for (uint32_t c : kVga) append(core, RGBTRIPLE{BYTE(c), BYTE(c >> 8), BYTE(c >> 16)});
    const std::vector<BYTE> rows4 = rows_of(picture(16), 5, 3, 4);
    core.insert(core.end(), rows4.begin(), rows4.end());
    const struct {
        const char* name;
        std::vector<BYTE> dib;
        std::vector<uint32_t> table; // empty: no palette, and the colours are `any`
    } cases[] = {
        {"1 bit", picture_dib(1, kMono), kMono},
        {"4 bits", picture_dib(4, kVga), kVga},
        {"8 bits", picture_dib(8, t256), t256},
        {"8 bits, 20 used", packed(twenty, t20, rows_of(picture(20), 5, 3, 8)), t20},
        {"core 4 bits", core, kVga},
        {"24 bits", packed(info_header(5, 3, 24), {}, rows_of(any, 5, 3, 24)), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HANDLE dib = block_of(c.dib);
        HPALETTE palette = CreateDIBPalette(dib);
        std::vector<PALETTEENTRY> entries(300);
        const UINT count = palette ? GetPaletteEntries(palette, 0, 300, entries.data()) : 0;
        DeleteObject(palette);
        ASSERT_EQ(count, c.table.size());
        for (UINT i = 0; i < count; ++i) {
            EXPECT_EQ(rgb(entries[i]), c.table[i]) << i;
            EXPECT_EQ(entries[i].peFlags, 0);
        }
        HBITMAP bitmap = DIBToBitmap(dib, nullptr);
        HANDLE back = BitmapToDIB(bitmap, nullptr);
        ASSERT_NE(back, nullptr);
        const BITMAPINFOHEADER h = header_of(back);
        EXPECT_EQ(h.biBitCount, 24) << "a 32-bit screen bitmap gives 24 bits";
        EXPECT_EQ(GlobalSize(back), 40 + h.biSizeImage);
        EXPECT_EQ(colours_of(back),
                  c.table.empty() ? any : lookup(picture(c.table.size()), c.table));
        GlobalFree(back);
        DeleteObject(bitmap);
        // The caller's block is left as it was, and still theirs to free.
        const auto* block = static_cast<const BYTE*>(GlobalLock(dib));
        EXPECT_EQ(std::vector<BYTE>(block, block + c.dib.size()), c.dib);
        GlobalUnlock(dib);
        EXPECT_EQ(GlobalFree(dib), nullptr);
    }
    EXPECT_EQ(CreateDIBPalette(nullptr), nullptr);
}

TEST(DibRoundTrip, BitmapsToEachDepthKeepTheColoursItsTableHolds) {
    const std::vector<uint32_t> colours = lookup(picture(16), kVga);
    HANDLE source = block_of(picture_dib(4, kVga));
    HBITMAP bitmap = DIBToBitmap(source, nullptr);
    ASSERT_NE(bitmap, nullptr);
    // Two colours: whatever is nearer to black or to white, which in squared
    // distance is whether the channels add up to more than half of 3 x 255.
    std::vector<uint32_t> mono;
    for (uint32_t c : colours)
        mono.push_back((c >> 16) + (c >> 8 & 0xFF) + (c & 0xFF) > 382 ? 0xFFFFFF : 0x000000);
    for (WORD bits : {1, 4, 8, 24}) {
        HANDLE dib = ChangeBitmapFormat(bitmap, bits, BI_RGB, nullptr);
        ASSERT_NE(dib, nullptr) << bits;
        const BITMAPINFOHEADER h = header_of(dib);
        EXPECT_EQ(h.biBitCount, bits);
        EXPECT_EQ(h.biSizeImage, stride_of(5, bits) * 3) << bits;
        EXPECT_EQ(GlobalSize(dib), 40u + (bits <= 8 ? 4u << bits : 0u) + h.biSizeImage);
        EXPECT_EQ(colours_of(dib), bits == 1 ? mono : colours) << bits;
        // The room it was made in, sized the same.
        HANDLE room = AllocRoomForDIB(info_header(5, 3, bits), bitmap);
        EXPECT_EQ(GlobalSize(room), GlobalSize(dib)) << bits;
        EXPECT_EQ(header_of(room).biSizeImage, h.biSizeImage) << bits;
        GlobalFree(room);
        GlobalFree(dib);
    }
    // An 8-bit DIB copied uncompressed keeps its depth and pixels.
    const std::vector<uint32_t> t256 = table256();
    HANDLE dib8 = block_of(picture_dib(8, t256));
    HANDLE copy = ChangeDIBFormat(dib8, 0, BI_RGB);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(header_of(copy).biBitCount, 8);
    EXPECT_EQ(header_of(copy).biSizeImage, 24u);
    EXPECT_EQ(colours_of(copy), lookup(picture(256), t256));
    GlobalFree(copy);
    GlobalFree(dib8);
    EXPECT_NE(GetObjectType(bitmap), 0u) << "the caller's bitmap stays";
    DeleteObject(bitmap);
    GlobalFree(source);
}

TEST(DibRoundTrip, DeepDeviceBitmapsGiveTwentyFourBits) {
    const BYTE pixels32[] = {0x10, 0x20, 0x30, 0, 0xF0, 0xE0, 0xD0, 0};
    const WORD pixels16[] = {0x7C00, 0x001F};
    const struct {
        UINT bits;
        const void* pixels;
        std::vector<uint32_t> colours;
    } cases[] = {{32, pixels32, {0x302010, 0xD0E0F0}}, {16, pixels16, {0xFF0000, 0x0000FF}}};
    for (const auto& c : cases) {
        HBITMAP bitmap = CreateBitmap(2, 1, 1, c.bits, c.pixels);
        HANDLE dib = BitmapToDIB(bitmap, nullptr);
        ASSERT_NE(dib, nullptr) << c.bits;
        EXPECT_EQ(header_of(dib).biBitCount, 24) << c.bits;
        EXPECT_EQ(colours_of(dib), c.colours) << c.bits;
        GlobalFree(dib);
        DeleteObject(bitmap);
    }
}

TEST(ScreenPalette, TrueColourScreen) {
    HDC dc = GetDC(nullptr);
    EXPECT_EQ(PalEntriesOnDevice(dc), 1 << 24);
    ReleaseDC(nullptr, dc);
    HPALETTE system = GetSystemPalette();
    ASSERT_NE(system, nullptr);
    // The static colours at both ends, black between.
    PALETTEENTRY entries[256];
    ASSERT_EQ(GetPaletteEntries(system, 0, 256, entries), 256u);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(rgb(entries[i]), i < 10 ? kStatics[i] : i >= 246 ? kStatics[i - 236] : 0u) << i;
    DeleteObject(system);
}

TEST(FormatChange, RefusedPairsGiveNull) {
    HANDLE dib8 = block_of(packed(info_header(2, 2, 8), table256(), {1, 2, 0, 0, 3, 4, 0, 0}));
    HANDLE dib4 = block_of(packed(info_header(2, 2, 4), kVga, {0x12, 0, 0, 0, 0x34, 0, 0, 0}));
    HBITMAP bitmap = DIBToBitmap(dib8, nullptr);
    ASSERT_NE(bitmap, nullptr);
    const struct {
        WORD bits;
        DWORD compression;
        bool dib8, dib4, bitmap; // accepted by ChangeDIBFormat on each, and ChangeBitmapFormat
    } pairs[] = {
        {0, BI_RGB, true, true, false},    {0, BI_RLE8, true, false, true},
        {0, BI_RLE4, false, true, true},   {0, BI_BITFIELDS, false, false, false},
        {1, BI_RGB, true, true, true},     {1, BI_RLE8, false, false, false},
        {2, BI_RGB, false, false, false},  {4, BI_RGB, true, true, true},
        {4, BI_RLE4, true, true, true},    {4, BI_RLE8, false, false, false},
        {8, BI_RGB, true, true, true},     {8, BI_RLE8, true, true, true},
        {8, BI_RLE4, false, false, false}, {16, BI_RGB, false, false, false},
        {24, BI_RGB, true, true, true},    {24, BI_RLE8, false, false, false},
        {32, BI_RGB, false, false, false}, {65535, BI_RGB, false, false, false},
    };
    for (const auto& p : pairs) {
        const std::string name = std::to_string(p.bits) + "/" + std::to_string(p.compression);
        // Run-length output is not available on every system (Wine refuses
        // it), so only the refusals and the uncompressed answers are common.
        const bool compressed = p.compression == BI_RLE8 || p.compression == BI_RLE4;
        const std::pair<HANDLE, bool> results[] = {
            {ChangeDIBFormat(dib8, p.bits, p.compression), p.dib8},
            {ChangeDIBFormat(dib4, p.bits, p.compression), p.dib4},
            {ChangeBitmapFormat(bitmap, p.bits, p.compression, nullptr), p.bitmap}};
        for (const auto& [changed, accepted] : results) {
            if (!accepted || !compressed) {
                EXPECT_EQ(changed != nullptr, accepted) << name;
            }
            GlobalFree(changed);
        }
    }
    // A 24-bit DIB has no table to take fewer colours from.
    HANDLE dib24 = block_of(packed(info_header(1, 1, 24), {}, {1, 2, 3, 0}));
    EXPECT_EQ(ChangeDIBFormat(dib24, 8, BI_RGB), nullptr);
    GlobalFree(dib24);
    EXPECT_EQ(ChangeDIBFormat(nullptr, 8, BI_RGB), nullptr);
    EXPECT_EQ(ChangeBitmapFormat(nullptr, 8, BI_RGB, nullptr), nullptr);
    DeleteObject(bitmap);
    GlobalFree(dib8);
    GlobalFree(dib4);
}

// Blocks whose header, table or pixels do not add up are refused before
// anything reads them.
TEST(BadDib, RefusedByTheConversions) {
    const std::vector<uint32_t> t256 = table256();
    const auto with = [&](LONG width, LONG height, WORD bits, DWORD compression = BI_RGB,
                          DWORD size = 0, DWORD used = 0, DWORD header = 40) {
        BITMAPINFOHEADER h = info_header(width, height, bits, compression);
        h.biSizeImage = size, h.biClrUsed = used, h.biSize = header;
        return packed(h, t256, std::vector<BYTE>(8, 1));
    };
    const std::vector<BYTE> header = packed(info_header(2, 2, 8), {}, {});
    const struct {
        const char* name;
        std::vector<BYTE> bytes;
    } cases[] = {
        {"negative width", with(-2, 2, 8)},
        {"height 0", with(2, 0, 8)},
        {"huge width", with(0x7FFFFFFF, 2, 8)},
        {"huge height", with(2, -0x7FFFFFFF, 8)},
        {"bit count 0", with(2, 2, 0)},
        {"bit count 3", with(2, 2, 3)},
        {"bit count 64", with(2, 2, 64)},
        {"bit count 65535", with(2, 2, 65535)},
        {"more colours than bits", with(2, 2, 8, BI_RGB, 0, 257)},
        {"RLE8 without a size", with(2, 2, 8, BI_RLE8)},
        {"RLE8 past the block", with(2, 2, 8, BI_RLE8, 9)},
        {"RLE8 top-down", with(2, -2, 8, BI_RLE8, 8)},
        {"RLE4 on 8 bits", with(2, 2, 8, BI_RLE4, 8)},
        {"bit fields", with(2, 2, 8, BI_BITFIELDS)},
        {"header 108", with(2, 2, 8, BI_RGB, 0, 0, 108)},
        {"truncated pixels", packed(info_header(2, 2, 8), t256, {1, 2, 3})},
        {"truncated table", packed(info_header(2, 2, 8), {1, 2, 3}, {})},
        {"truncated header", std::vector<BYTE>(header.begin(), header.begin() + 30)},
        {"core header alone", std::vector<BYTE>{12, 0, 0, 0, 2, 0, 2, 0, 1, 0, 24, 0}},
    };
    for (const auto& c : cases) {
        HANDLE dib = block_of(c.bytes);
        EXPECT_EQ(DIBToBitmap(dib, nullptr), nullptr) << c.name;
        EXPECT_EQ(ChangeDIBFormat(dib, 24, BI_RGB), nullptr) << c.name;
        GlobalFree(dib);
    }
}

} // namespace
