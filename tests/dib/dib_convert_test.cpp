// DIBs to bitmaps and back, palettes from DIBs, format changes and what is
// refused. Every case here gives the same answer under Windows (Wine) and on
// the POSIX layer; the pictures use colours that each depth's own table
// holds, so no colour is approximated.
#include "dib_blocks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using jx::test::block_of;
using jx::test::colours_of;
using jx::test::header_of;
using jx::test::info_header;
using jx::test::packed;

const std::vector<uint32_t> kMono = {0x000000, 0xFFFFFF};
const std::vector<uint32_t> kVga = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                    0x008080, 0x808080, 0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00,
                                    0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

// The 256 colours GetDIBits gives an 8-bit DIB without a palette of the
// caller's: the static colours at both ends, a 3-3-2 cube between.
std::vector<uint32_t> table256() {
    const uint32_t statics[20] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080,
                                  0x800080, 0x008080, 0xC0C0C0, 0xC0DCC0, 0xA6CAF0,
                                  0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000, 0x00FF00,
                                  0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    std::vector<uint32_t> table;
    for (uint32_t i = 0; i < 256; ++i)
        table.push_back(i < 10     ? statics[i]
                        : i >= 246 ? statics[i - 236]
                                   : ((i & 7) << 21) | ((i & 0x38) << 10) | (i & 0xC0));
    return table;
}

// Packs indices (top row first) into bottom-up rows of `bits`.
std::vector<BYTE> rows_of(const std::vector<int>& indices, int width, int height, int bits) {
    const size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
    std::vector<BYTE> rows(stride * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const size_t bit = static_cast<size_t>(x) * bits;
            rows[stride * (height - 1 - y) + bit / 8] |= static_cast<BYTE>(
                indices[static_cast<size_t>(y) * width + x] << (8 - bits - bit % 8));
        }
    return rows;
}

// A 5 x 3 picture (odd width, so rows are padded) of table entries.
std::vector<int> picture(int colours) {
    std::vector<int> out;
    for (int i = 0; i < 15; ++i) out.push_back((i * 7 + i / 5) % colours);
    return out;
}

std::vector<uint32_t> expected_colours(const std::vector<int>& indices,
                                       const std::vector<uint32_t>& table) {
    std::vector<uint32_t> out;
    for (int i : indices) out.push_back(table[i]);
    return out;
}

TEST(DibRoundTrip, EveryDepthComesBackAsTheSameColours) {
    const std::vector<uint32_t> t256 = table256();
    struct Case {
        std::string name;
        std::vector<BYTE> dib;
        std::vector<uint32_t> colours; // top row first
    };
    std::vector<Case> cases;
    for (const auto& [bits, table] :
         {std::make_pair(1, kMono), std::make_pair(4, kVga), std::make_pair(8, t256)}) {
        const std::vector<int> indices = picture(static_cast<int>(table.size()));
        cases.push_back({std::to_string(bits) + " bits",
                         packed(info_header(5, 3, static_cast<WORD>(bits)), table,
                                rows_of(indices, 5, 3, bits)),
                         expected_colours(indices, table)});
    }
    // 24 bits: any colours at all.
    std::vector<BYTE> rows24(36, 0);
    std::vector<uint32_t> colours24;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) {
            const uint32_t c = 0x123456u * (y * 3 + x + 1) & 0xFFFFFF;
            colours24.push_back(c);
            BYTE* p = &rows24[12 * (2 - y) + x * 3];
            p[0] = static_cast<BYTE>(c), p[1] = static_cast<BYTE>(c >> 8),
            p[2] = static_cast<BYTE>(c >> 16);
        }
    cases.push_back({"24 bits", packed(info_header(3, 3, 24), {}, rows24), colours24});
    // A core header with three-byte colours.
    {
        std::vector<BYTE> dib;
        jx::test::append(dib, BITMAPCOREHEADER{12, 2, 2, 1, 4});
        for (uint32_t c : kVga)
            jx::test::append(dib, RGBTRIPLE{static_cast<BYTE>(c), static_cast<BYTE>(c >> 8),
                                            static_cast<BYTE>(c >> 16)});
        const std::vector<BYTE> rows = rows_of({9, 10, 12, 15}, 2, 2, 4);
        dib.insert(dib.end(), rows.begin(), rows.end());
        cases.push_back({"core 4 bits", dib, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}});
    }
    for (const Case& c : cases) {
        HANDLE dib = block_of(c.dib);
        HBITMAP bitmap = DIBToBitmap(dib, nullptr);
        ASSERT_NE(bitmap, nullptr) << c.name;
        HANDLE back = BitmapToDIB(bitmap, nullptr);
        ASSERT_NE(back, nullptr) << c.name;
        const BITMAPINFOHEADER h = header_of(back);
        EXPECT_EQ(h.biBitCount, 24) << c.name << ": a 32-bit screen bitmap gives 24 bits";
        EXPECT_EQ(GlobalSize(back), 40 + h.biSizeImage) << c.name;
        EXPECT_EQ(colours_of(back), c.colours) << c.name;
        GlobalFree(back);
        DeleteObject(bitmap);
        GlobalFree(dib);
    }
}

TEST(DibRoundTrip, BitmapsToEachDepthKeepTheColoursItsTableHolds) {
    const std::vector<int> indices = picture(16);
    const std::vector<uint32_t> colours = expected_colours(indices, kVga);
    HANDLE source = block_of(packed(info_header(5, 3, 4), kVga, rows_of(indices, 5, 3, 4)));
    HBITMAP bitmap = DIBToBitmap(source, nullptr);
    ASSERT_NE(bitmap, nullptr);
    for (WORD bits : {4, 8, 24}) {
        HANDLE dib = ChangeBitmapFormat(bitmap, bits, BI_RGB, nullptr);
        ASSERT_NE(dib, nullptr) << bits;
        const BITMAPINFOHEADER h = header_of(dib);
        EXPECT_EQ(h.biBitCount, bits);
        EXPECT_EQ(h.biSizeImage, (((5u * bits + 31) / 32) * 4) * 3) << bits;
        EXPECT_EQ(GlobalSize(dib), 40u + (bits <= 8 ? 4u << bits : 0u) + h.biSizeImage);
        EXPECT_EQ(colours_of(dib), colours) << bits;
        GlobalFree(dib);
    }
    // Two colours: whatever is nearer to black or to white.
    HANDLE mono = ChangeBitmapFormat(bitmap, 1, BI_RGB, nullptr);
    ASSERT_NE(mono, nullptr);
    std::vector<uint32_t> nearest;
    for (uint32_t c : colours) {
        const int r = c >> 16, g = (c >> 8) & 0xFF, b = c & 0xFF;
        const int to_black = r * r + g * g + b * b;
        const int to_white = (255 - r) * (255 - r) + (255 - g) * (255 - g) + (255 - b) * (255 - b);
        nearest.push_back(to_white < to_black ? 0xFFFFFF : 0x000000);
    }
    EXPECT_EQ(colours_of(mono), nearest);
    GlobalFree(mono);
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
        ASSERT_NE(bitmap, nullptr);
        HANDLE dib = BitmapToDIB(bitmap, nullptr);
        ASSERT_NE(dib, nullptr) << c.bits;
        EXPECT_EQ(header_of(dib).biBitCount, 24) << c.bits;
        EXPECT_EQ(colours_of(dib), c.colours) << c.bits;
        GlobalFree(dib);
        DeleteObject(bitmap);
    }
}

TEST(DibPalette, FromEachKindOfColourTable) {
    const std::vector<uint32_t> t256 = table256();
    std::vector<BYTE> core;
    jx::test::append(core, BITMAPCOREHEADER{12, 1, 1, 1, 1});
    jx::test::append(core, RGBTRIPLE{0x30, 0x20, 0x10});
    jx::test::append(core, RGBTRIPLE{0x60, 0x50, 0x40});
    core.resize(core.size() + 4, 0);
    BITMAPINFOHEADER twenty = info_header(1, 1, 8);
    twenty.biClrUsed = 20;
    const struct {
        const char* name;
        std::vector<BYTE> dib;
        std::vector<uint32_t> entries;
    } cases[] = {
        {"1 bit", packed(info_header(1, 1, 1), kMono, {0, 0, 0, 0}), kMono},
        {"4 bits", packed(info_header(1, 1, 4), kVga, {0, 0, 0, 0}), kVga},
        {"8 bits", packed(info_header(1, 1, 8), t256, {0, 0, 0, 0}), t256},
        {"8 bits, 20 used",
         packed(twenty, std::vector<uint32_t>(t256.begin(), t256.begin() + 20), {0, 0, 0, 0}),
         std::vector<uint32_t>(t256.begin(), t256.begin() + 20)},
        {"core", core, {0x102030, 0x405060}},
    };
    for (const auto& c : cases) {
        HANDLE dib = block_of(c.dib);
        HPALETTE palette = CreateDIBPalette(dib);
        ASSERT_NE(palette, nullptr) << c.name;
        std::vector<PALETTEENTRY> entries(300);
        const UINT count = GetPaletteEntries(palette, 0, 300, entries.data());
        ASSERT_EQ(count, c.entries.size()) << c.name;
        for (UINT i = 0; i < count; ++i) {
            const PALETTEENTRY& e = entries[i];
            EXPECT_EQ((uint32_t{e.peRed} << 16) | (e.peGreen << 8) | e.peBlue, c.entries[i]) << i;
            EXPECT_EQ(e.peFlags, 0);
        }
        DeleteObject(palette);
        GlobalFree(dib);
    }
}

TEST(DibPalette, TwentyFourBitDibsHaveNoneAndStayUsable) {
    const std::vector<BYTE> bytes = packed(info_header(1, 1, 24), {}, {1, 2, 3, 0});
    HANDLE dib = block_of(bytes);
    EXPECT_EQ(CreateDIBPalette(dib), nullptr);
    EXPECT_EQ(ChangeDIBFormat(dib, 8, BI_RGB), nullptr);
    EXPECT_EQ(CreateDIBPalette(nullptr), nullptr);
    const auto* block = static_cast<const BYTE*>(GlobalLock(dib));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(std::vector<BYTE>(block, block + bytes.size()), bytes);
    GlobalUnlock(dib);
    EXPECT_EQ(GlobalFree(dib), nullptr);
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
    const std::vector<uint32_t> statics = table256();
    for (int i = 0; i < 256; ++i) {
        const uint32_t got =
            (uint32_t{entries[i].peRed} << 16) | (entries[i].peGreen << 8) | entries[i].peBlue;
        EXPECT_EQ(got, i < 10 || i >= 246 ? statics[i] : 0u) << i;
    }
    DeleteObject(system);
}

TEST(FormatChange, RefusedPairsGiveNull) {
    const std::vector<uint32_t> t256 = table256();
    HANDLE dib8 = block_of(packed(info_header(2, 2, 8), t256, {1, 2, 0, 0, 3, 4, 0, 0}));
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
        for (const auto& [dib, accepted] :
             {std::make_pair(dib8, p.dib8), std::make_pair(dib4, p.dib4)}) {
            HANDLE changed = ChangeDIBFormat(dib, p.bits, p.compression);
            if (!accepted || !compressed) {
                EXPECT_EQ(changed != nullptr, accepted) << name;
            }
            GlobalFree(changed);
        }
        HANDLE changed = ChangeBitmapFormat(bitmap, p.bits, p.compression, nullptr);
        if (!p.bitmap || !compressed) {
            EXPECT_EQ(changed != nullptr, p.bitmap) << name;
        }
        GlobalFree(changed);
    }
    EXPECT_EQ(ChangeDIBFormat(nullptr, 8, BI_RGB), nullptr);
    EXPECT_EQ(ChangeBitmapFormat(nullptr, 8, BI_RGB, nullptr), nullptr);
    DeleteObject(bitmap);
    GlobalFree(dib8);
    GlobalFree(dib4);
}

TEST(FormatChange, AnEightBitDibCopiedUncompressed) {
    const std::vector<uint32_t> t256 = table256();
    const std::vector<int> indices = picture(256);
    const std::vector<BYTE> rows = rows_of(indices, 5, 3, 8);
    HANDLE dib = block_of(packed(info_header(5, 3, 8), t256, rows));
    HANDLE copy = ChangeDIBFormat(dib, 0, BI_RGB);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(header_of(copy).biBitCount, 8);
    EXPECT_EQ(header_of(copy).biSizeImage, rows.size());
    EXPECT_EQ(colours_of(copy), expected_colours(indices, t256));
    GlobalFree(copy);
    GlobalFree(dib);
}

TEST(AllocRoom, HeaderTableAndImageSize) {
    HBITMAP bitmap = CreateBitmap(7, 3, 1, 32, nullptr);
    const struct {
        WORD bits;
        SIZE_T table, image;
    } cases[] = {{1, 8, 12}, {4, 64, 12}, {8, 1024, 24}, {24, 0, 72}};
    for (const auto& c : cases) {
        HANDLE dib = AllocRoomForDIB(info_header(7, 3, c.bits), bitmap);
        ASSERT_NE(dib, nullptr) << c.bits;
        EXPECT_EQ(GlobalSize(dib), 40 + c.table + c.image) << c.bits;
        EXPECT_EQ(header_of(dib).biSizeImage, c.image) << c.bits;
        GlobalFree(dib);
    }
    DeleteObject(bitmap);
}

// Blocks whose header, table or pixels do not add up are refused before
// anything reads them.
TEST(BadDib, RefusedByTheConversions) {
    const std::vector<uint32_t> t256 = table256();
    const auto with = [&](auto change) {
        BITMAPINFOHEADER h = info_header(2, 2, 8);
        change(h);
        return packed(h, t256, std::vector<BYTE>(8, 1));
    };
    const struct {
        const char* name;
        std::vector<BYTE> bytes;
    } cases[] = {
        {"negative width", with([](BITMAPINFOHEADER& h) { h.biWidth = -2; })},
        {"height 0", with([](BITMAPINFOHEADER& h) { h.biHeight = 0; })},
        {"huge width", with([](BITMAPINFOHEADER& h) { h.biWidth = 0x7FFFFFFF; })},
        {"huge height", with([](BITMAPINFOHEADER& h) { h.biHeight = -0x7FFFFFFF; })},
        {"bit count 0", with([](BITMAPINFOHEADER& h) { h.biBitCount = 0; })},
        {"bit count 3", with([](BITMAPINFOHEADER& h) { h.biBitCount = 3; })},
        {"bit count 64", with([](BITMAPINFOHEADER& h) { h.biBitCount = 64; })},
        {"bit count 65535", with([](BITMAPINFOHEADER& h) { h.biBitCount = 65535; })},
        {"more colours than bits", with([](BITMAPINFOHEADER& h) { h.biClrUsed = 257; })},
        {"RLE8 without a size", with([](BITMAPINFOHEADER& h) { h.biCompression = BI_RLE8; })},
        {"RLE8 past the block", with([](BITMAPINFOHEADER& h) {
             h.biCompression = BI_RLE8;
             h.biSizeImage = 9;
         })},
        {"RLE8 top-down", with([](BITMAPINFOHEADER& h) {
             h.biCompression = BI_RLE8;
             h.biSizeImage = 8;
             h.biHeight = -2;
         })},
        {"RLE4 on 8 bits", with([](BITMAPINFOHEADER& h) {
             h.biCompression = BI_RLE4;
             h.biSizeImage = 8;
         })},
        {"bit fields", with([](BITMAPINFOHEADER& h) { h.biCompression = BI_BITFIELDS; })},
        {"header 108", with([](BITMAPINFOHEADER& h) { h.biSize = 108; })},
        {"truncated pixels", packed(info_header(2, 2, 8), t256, {1, 2, 3})},
        {"truncated table", packed(info_header(2, 2, 8), {1, 2, 3}, {})},
        {"truncated header", std::vector<BYTE>(30, 0)},
        {"core header alone", std::vector<BYTE>{12, 0, 0, 0, 2, 0, 2, 0, 1, 0, 24, 0}},
    };
    for (const auto& c : cases) {
        std::vector<BYTE> bytes = c.bytes;
        if (c.bytes.size() >= 4 && std::string(c.name) == "truncated header") bytes[0] = 40;
        HANDLE dib = block_of(bytes);
        EXPECT_EQ(DIBToBitmap(dib, nullptr), nullptr) << c.name;
        EXPECT_EQ(ChangeDIBFormat(dib, 24, BI_RGB), nullptr) << c.name;
        GlobalFree(dib);
    }
}

} // namespace
