// Making and measuring DIBs (depth rounding, block and row sizes, both header
// kinds, colour counts and where the pixels start), DIBs to bitmaps and back,
// palettes from DIBs, format changes and what is refused. Every case here
// gives the same answer under Windows (Wine) and on the POSIX layer; the
// pictures use colours that each depth's own table holds, so no colour is
// approximated, except where the nearest entry is the point.
#include "support/bitmap_info.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

namespace {

using namespace jx::test;

TEST(CreateDib, DepthsRowsAndBlockSizes) {
    // Width, height, bits asked for, the depth made, and the block's size:
    // 40 + colour table + rows x height.
    const std::tuple<DWORD, DWORD, WORD, WORD, SIZE_T> cases[] = {
        {10, 10, 0, 1, 40 + 8 + 4 * 10},  {10, 10, 1, 1, 88},
        {10, 10, 2, 4, 40 + 64 + 8 * 10}, {7, 3, 4, 4, 40 + 64 + 4 * 3},
        {9, 2, 5, 8, 40 + 1024 + 12 * 2}, {3, 1, 8, 8, 40 + 1024 + 4},
        {3, 2, 9, 24, 40 + 12 * 2},       {3, 2, 16, 24, 40 + 12 * 2},
        {4, 1, 24, 24, 40 + 12},          {5, 5, 25, 4, 40 + 64 + 4 * 5},
        {5, 5, 32, 4, 40 + 64 + 4 * 5},   {33, 1, 1, 1, 40 + 8 + 8},
        {0, 0, 8, 8, 40 + 1024},
    };
    for (const auto& [width, height, asked, depth, block] : cases) {
        SCOPED_TRACE(::testing::Message() << width << "x" << height << "x" << asked);
        HANDLE dib = CreateDIB(width, height, asked);
        // The header, then colour table and pixels all zero.
        EXPECT_EQ(bytes_of(dib),
                  packed(info_header(width, height, depth), {}, std::vector<BYTE>(block - 40, 0)));
        EXPECT_EQ(GlobalUnlock(dib), FALSE) << "the block came back unlocked";
        GlobalFree(dib);
    }
    const DWORD refused[][3] = {{0xFFFFFFFF, 1, 1}, {0x80000000, 1, 24},
                                {1, 0x80000000, 1}, {100000, 100000, 24},
                                {65536, 65536, 8},  {0x7FFFFFFF, 0x7FFFFFFF, 1}};
    for (const auto& r : refused)
        EXPECT_EQ(CreateDIB(r[0], r[1], WORD(r[2])), nullptr) << r[0] << "x" << r[1];
}

// The measurement functions on hand-made headers of both kinds.
TEST(MeasureDib, BothHeaderKinds) {
    const auto info = [](LONG w, LONG h, WORD bits, DWORD used) {
        BITMAPINFOHEADER header = info_header(w, h, bits);
        header.biClrUsed = used;
        return packed(header, {}, {});
    };
    const auto core = [](DWORD size, WORD w, WORD h, WORD bits) {
        std::vector<BYTE> out;
        append(out, BITMAPCOREHEADER{size, w, h, 1, bits});
        out.resize(40, 0);
        return out;
    };
    // Name, first bytes of the block, and width, height, colours, table bytes
    // and where the pixels start.
    const std::tuple<const char*, std::vector<BYTE>, std::vector<size_t>> cases[] = {
        {"info 1 bit", info(5, 6, 1, 0), {5, 6, 2, 8, 48}},
        {"info 4 bits", info(5, 6, 4, 0), {5, 6, 16, 64, 104}},
        {"info 8 bits", info(5, 6, 8, 0), {5, 6, 256, 1024, 1064}},
        {"info 8 bits, 20 used", info(5, 6, 8, 20), {5, 6, 20, 80, 120}},
        {"info 24 bits", info(5, 6, 24, 0), {5, 6, 0, 0, 40}},
        {"info 24 bits, 3 used", info(5, 6, 24, 3), {5, 6, 3, 12, 52}},
        {"info 16 bits", info(5, 6, 16, 0), {5, 6, 0, 0, 40}},
        {"info 3 bits", info(5, 6, 3, 0), {5, 6, 0, 0, 40}},
        {"info, negative height", info(70000, -9, 8, 2), {70000, 0xFFFFFFF7u, 2, 8, 48}},
        // 0x4001 colours are 65540 bytes of table: the size is 16 bits.
        {"info, table past 16 bits", info(1, 1, 8, 0x4001), {1, 1, 0x4001, 4, 44}},
        {"core 1 bit", core(12, 300, 2, 1), {300, 2, 2, 6, 18}},
        {"core 4 bits", core(12, 3, 2, 4), {3, 2, 16, 48, 60}},
        {"core 8 bits", core(12, 3, 2, 8), {3, 2, 256, 768, 780}},
        // Only 40 makes an information header: any other size is read as core.
        {"108 read as core", core(108, 7, 9, 8), {7, 9, 256, 768, 108 + 768}},
        {"size 0 read as core", core(0, 7, 9, 4), {7, 9, 16, 48, 48}},
    };
    for (const auto& [name, header, measures] : cases) {
        auto* dib = reinterpret_cast<LPSTR>(const_cast<BYTE*>(header.data()));
        EXPECT_EQ((std::vector<size_t>{DIBWidth(dib), DIBHeight(dib), DIBNumColors(dib),
                                       PaletteSize(dib), size_t(FindDIBBits(dib) - dib)}),
                  measures)
            << name;
    }
}

// A 5 x 3 picture (odd width, so rows are padded) of the table's entries, as
// indices or as colours.
std::vector<uint32_t> picture(const std::vector<uint32_t>& table, bool colours = false) {
    std::vector<uint32_t> out;
    for (uint32_t i = 0; i < 15; ++i) {
        const uint32_t index = (i * 7 + i / 5) % table.size();
        out.push_back(colours ? table[index] : index);
    }
    return out;
}

std::vector<BYTE> picture_dib(WORD bits, const std::vector<uint32_t>& table) {
    return packed(info_header(5, 3, bits), table, rows_of(picture(table), 5, 3, bits));
}

// Each kind of DIB: the palette of its table, its colours after a round trip
// through a device bitmap, and the same again at its own depth.
TEST(DibRoundTrip, EachKindGivesItsPaletteAndComesBackAsTheSameColours) {
    const std::vector<uint32_t> t256 = table256(), t20(t256.begin(), t256.begin() + 20);
    std::vector<uint32_t> any; // 24 bits: any colours at all
    for (uint32_t i = 1; i <= 15; ++i) any.push_back(0x123456u * i & 0xFFFFFF);
    BITMAPINFOHEADER twenty = info_header(5, 3, 8);
    twenty.biClrUsed = 20;
    std::vector<BYTE> core; // three-byte colours
    append(core, BITMAPCOREHEADER{12, 5, 3, 1, 4});
    for (uint32_t c : kVga) append(core, RGBTRIPLE{BYTE(c), BYTE(c >> 8), BYTE(c >> 16)});
    const std::vector<BYTE> rows4 = rows_of(picture(kVga), 5, 3, 4);
    core.insert(core.end(), rows4.begin(), rows4.end());
    // Name, depth, block, and table (empty: no palette, and the colours are
    // `any`).
    const std::tuple<const char*, WORD, std::vector<BYTE>, std::vector<uint32_t>> cases[] = {
        {"1 bit", 1, picture_dib(1, kMono), kMono},
        {"4 bits", 4, picture_dib(4, kVga), kVga},
        {"8 bits", 8, picture_dib(8, t256), t256},
        {"8 bits, 20 used", 8, packed(twenty, t20, rows_of(picture(t20), 5, 3, 8)), t20},
        {"core 4 bits", 4, core, kVga},
        {"24 bits", 24, packed(info_header(5, 3, 24), {}, rows_of(any, 5, 3, 24)), {}},
    };
    for (const auto& [name, bits, bytes, table] : cases) {
        SCOPED_TRACE(name);
        HANDLE dib = block_of(bytes);
        EXPECT_EQ(entries_of(CreateDIBPalette(dib)), table) << "flags 0";
        const std::vector<uint32_t> colours = table.empty() ? any : picture(table, true);
        EXPECT_EQ(drawn(dib), colours);
        // Uncompressed at its own depth; a DIB without a table has none to
        // take the colours from.
        HANDLE copy = ChangeDIBFormat(dib, 0, BI_RGB);
        EXPECT_EQ(copy ? header_of(copy).biBitCount : 0, table.empty() ? 0 : bits);
        EXPECT_EQ(copy ? colours_of(copy) : any, colours);
        GlobalFree(copy);
        // The caller's block is left as it was, and still theirs to free.
        EXPECT_EQ(bytes_of(dib), bytes);
        EXPECT_EQ(GlobalFree(dib), nullptr);
    }
    EXPECT_EQ(CreateDIBPalette(nullptr), nullptr);
}

// Kinds of DIB that are only read: top-down, run-length coded (runs,
// literals, ends of line), 32 and 16 bits. Two rows of three pixels, red
// green blue over blue green red, through a table of four.
TEST(DibRoundTrip, OtherKindsAreDrawnAsTheSameColours) {
    const std::vector<uint32_t> colours = {0xFF0000, 0x00FF00, 0x0000FF,
                                           0x0000FF, 0x00FF00, 0xFF0000};
    const auto dib = [](LONG height, WORD bits, DWORD compression, std::vector<BYTE> data) {
        BITMAPINFOHEADER h = info_header(3, height, bits, compression);
        h.biSizeImage = static_cast<DWORD>(data.size());
        h.biClrUsed = 4;
        return packed(h, {0x000000, 0xFF0000, 0x00FF00, 0x0000FF}, data);
    };
    const std::pair<const char*, std::vector<BYTE>> kinds[] = {
        {"8-bit top-down", dib(-2, 8, BI_RGB, {1, 2, 3, 0, 3, 2, 1, 0})},
        {"RLE8", dib(2, 8, BI_RLE8, {0, 3, 3, 2, 1, 0, 0, 0, 0, 3, 1, 2, 3, 0, 0, 1})},
        {"RLE4", dib(2, 4, BI_RLE4, {1, 0x33, 2, 0x21, 0, 0, 0, 3, 0x12, 0x30, 0, 1})},
        {"32 bits", dib(2, 32, BI_RGB, rows_of(colours, 3, 2, 32))},
        {"16 bits, 5-5-5",
         dib(2, 16, BI_RGB, {0x1F, 0, 0xE0, 3, 0, 0x7C, 0, 0, 0, 0x7C, 0xE0, 3, 0x1F, 0, 0, 0})},
    };
    for (const auto& [name, bytes] : kinds) {
        HANDLE block = block_of(bytes);
        EXPECT_EQ(drawn(block), colours) << name;
        GlobalFree(block);
    }
}

// The whole block made at each depth: header, the table the system gives
// that depth (in full, so the tables the other tests build from are the
// system's own), and each pixel the nearest entry of it.
TEST(DibRoundTrip, BitmapsToEachDepthTakeTheNearestEntryOfTheirTable) {
    // Black, white, grey, a red, a green, a blue, yellow, a dark grey:
    // colours between the entries of the small tables.
    const std::vector<uint32_t> sample = {0x000000, 0xFFFFFF, 0x808080, 0xC81E28,
                                          0x0AC81E, 0x2832DC, 0xFFFF00, 0x646464};
    HANDLE source = block_of(packed(info_header(4, 2, 24), {}, rows_of(sample, 4, 2, 24)));
    HBITMAP bitmap = DIBToBitmap(source, nullptr);
    ASSERT_NE(bitmap, nullptr);
    // Depth, table, rows (bottom row first).
    const std::tuple<WORD, std::vector<uint32_t>, std::vector<BYTE>> cases[] = {
        {1, kMono, {0x20, 0, 0, 0, 0x60, 0, 0, 0}},
        {4, kVga, {0xAC, 0xB7, 0, 0, 0x0F, 0x79, 0, 0}},
        {8, table256(), {0x30, 0xD1, 0xFB, 0x9B, 0x00, 0xFF, 0xA4, 0x4E}},
        {24, {}, rows_of(sample, 4, 2, 24)},
    };
    for (const auto& [bits, table, rows] : cases) {
        SCOPED_TRACE(bits);
        HANDLE dib = ChangeBitmapFormat(bitmap, bits, BI_RGB, nullptr);
        ASSERT_NE(dib, nullptr);
        BITMAPINFOHEADER h = info_header(4, 2, bits);
        h.biSizeImage = static_cast<DWORD>(rows.size());
        EXPECT_EQ(bytes_of(dib), packed(h, table, rows));
        // The room it was made in, sized the same.
        HANDLE room = AllocRoomForDIB(info_header(4, 2, bits), bitmap);
        EXPECT_EQ(GlobalSize(room), GlobalSize(dib));
        EXPECT_EQ(header_of(room).biSizeImage, h.biSizeImage);
        GlobalFree(room);
        GlobalFree(dib);
    }
    EXPECT_NE(GetObjectType(bitmap), 0u) << "the caller's bitmap stays";
    DeleteObject(bitmap);
    GlobalFree(source);
}

// Red and blue, so that any channel out of place shows.
TEST(DibRoundTrip, DeepDeviceBitmapsGiveTwentyFourBits) {
    const uint32_t pixels32[] = {0xFF0000, 0x0000FF};
    const WORD pixels16[] = {0x7C00, 0x001F};
    for (UINT bits : {16u, 32u}) {
        HBITMAP bitmap =
            CreateBitmap(2, 1, 1, bits, bits == 32 ? static_cast<const void*>(pixels32) : pixels16);
        HANDLE dib = BitmapToDIB(bitmap, nullptr);
        ASSERT_NE(dib, nullptr) << bits;
        EXPECT_EQ(header_of(dib).biBitCount, 24) << bits;
        EXPECT_EQ(colours_of(dib), (std::vector<uint32_t>{0xFF0000, 0x0000FF})) << bits;
        GlobalFree(dib);
        DeleteObject(bitmap);
    }
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
    const std::pair<const char*, std::vector<BYTE>> cases[] = {
        {"negative width", with(-2, 2, 8)},
        {"height 0", with(2, 0, 8)},
        {"huge width", with(0x7FFFFFFF, 2, 8)},
        {"huge height", with(2, -0x7FFFFFFF, 8)},
        {"bit count 0", with(2, 2, 0)},
        {"bit count 3", with(2, 2, 3)},
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
    for (const auto& [name, bytes] : cases) {
        HANDLE dib = block_of(bytes);
        EXPECT_EQ(DIBToBitmap(dib, nullptr), nullptr) << name;
        EXPECT_EQ(ChangeDIBFormat(dib, 24, BI_RGB), nullptr) << name;
        GlobalFree(dib);
    }
}

} // namespace
