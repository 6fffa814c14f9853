// The POSIX graphics layer beyond what Wine can show: its screen
// description and object and block counts (what a host or test can set, and
// what the leak checks stand on), run-length coded output (Wine's GetDIBits
// refuses it), colours mapped through the caller's palette (Wine's ignores a
// palette selected into a true-colour screen context), a palette screen, and
// no block or GDI object left behind by any DIB function, failing or not.
#include "support/bitmap_info.h"
#include "platform/posix/dib_rle.h"
#include "platform/testing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

namespace {

using jx::posix::rle::decode;
using jx::posix::rle::encode;
using jx::posix::rle::kNotSet;
using namespace jx::test;

TEST(RunLengthCode, RoundTripsOfOddShapes) {
    std::mt19937 random(13);
    for (int bits : {4, 8}) {
        // One long run, no runs, short runs, random runs.
        const auto pattern = [&](size_t p, size_t i) {
            return BYTE(p == 0   ? 5
                        : p == 1 ? i % (1 << bits)
                        : p == 2 ? i / 3 % 3
                                 : random() % (bits == 4 ? 3 : 4));
        };
        for (int width : {1, 2, 3, 5, 254, 255, 256, 257, 511, 600})
            for (size_t p = 0; p < 4; ++p) {
                std::vector<BYTE> pixels(static_cast<size_t>(width) * 3);
                for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = pattern(p, i);
                const std::vector<BYTE> stream = encode(pixels.data(), bits, width, 3);
                EXPECT_EQ(decode(stream.data(), stream.size(), bits, width, 3),
                          std::vector<int16_t>(pixels.begin(), pixels.end()))
                    << bits << " bits, width " << width << ", pattern " << p;
            }
    }
}

// Streams as the encoder writes them (`coded`: it gives exactly these bytes)
// and streams that stop or jump at every edge.
TEST(RunLengthCode, DecodingStopsAtEveryEdge) {
    const int16_t _ = kNotSet;
    const struct {
        const char* name;
        int bits, width, height;
        std::vector<BYTE> stream;
        std::vector<int16_t> pixels; // row 0 (the bottom) first
        bool coded = false;
    } cases[] = {
        {"runs", 8, 4, 1, {3, 7, 1, 9, 0, 1}, {7, 7, 7, 9}, true},
        {"odd 4-bit literal", 4, 5, 1, {0, 5, 0x12, 0x34, 0x50, 0, 0, 1}, {1, 2, 3, 4, 5}, true},
        {"odd literal of 8 bits", 8, 3, 1, {0, 3, 1, 2, 3, 0, 0, 1}, {1, 2, 3}, true},
        {"two pixels are runs", 8, 2, 1, {1, 1, 1, 2, 0, 1}, {1, 2}, true},
        {"a run of 4 bits", 4, 4, 1, {4, 0x66, 0, 1}, {6, 6, 6, 6}, true},
        {"a run cut at the end of its line", 8, 3, 2, {5, 1, 1, 2, 0, 1}, {1, 1, 1, _, _, _}},
        {"a literal cut at the end of its line", 8, 2, 1, {0, 3, 4, 5, 6, 0}, {4, 5}},
        {"delta right and up", 8, 3, 2, {0, 2, 1, 1, 1, 7}, {_, _, _, _, 7, _}},
        {"end of line skips the rest", 8, 2, 2, {1, 3, 0, 0, 2, 4}, {3, _, 4, 4}},
        {"a delta out of the image", 8, 2, 2, {0, 2, 9, 9, 1, 1}, {_, _, _, _}},
        {"lines past the top", 8, 1, 1, {1, 1, 0, 0, 1, 2, 0, 0}, {1}},
        {"a literal past the data", 8, 4, 1, {0, 4, 1, 2}, {_, _, _, _}},
        {"a delta past the data", 8, 2, 1, {1, 1, 0, 2, 1}, {1, _}},
        {"an odd byte at the end", 8, 2, 1, {2, 3, 0}, {3, 3}},
        {"no end of bitmap", 4, 3, 1, {3, 0x12}, {1, 2, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Each stream is its own vector of the exact size, so a read past it is caught.
        EXPECT_EQ(decode(c.stream.data(), c.stream.size(), c.bits, c.width, c.height), c.pixels);
        if (c.coded) {
            const std::vector<BYTE> pixels(c.pixels.begin(), c.pixels.end());
            EXPECT_EQ(encode(pixels.data(), c.bits, c.width, 1), c.stream);
        }
    }
}

// Every function, succeeding and failing, leaves as many blocks and GDI
// objects as it found.
class GraphicsLayer : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_EQ(jx::testing::live_global_blocks(), blocks);
        EXPECT_EQ(jx::testing::live_gdi_objects(), objects);
    }
    const size_t blocks = jx::testing::live_global_blocks();
    const size_t objects = jx::testing::live_gdi_objects();
};

TEST(VirtualScreen, DescriptionReachesTheDeviceCaps) {
    const struct {
        jx_screen screen;
        int horz_mm, vert_mm, numcolors, sizepalette; // a palette screen has a size
    } cases[] = {
        {{1024, 768, 8, 120, 144, 0, 0}, 217, 135, 20, 256},
        {{640, 480, 4, 96, 96, 300, 200}, 300, 200, 16, 16},
        {{800, 600, 16, 96, 96, 0, 0}, 212, 159, -1, 0},
    };
    for (const auto& c : cases) {
        jx::testing::ScopedScreen described(c.screen);
        HDC dc = GetDC(nullptr);
        EXPECT_EQ(caps_of(dc, {HORZRES, VERTRES, BITSPIXEL, LOGPIXELSX, LOGPIXELSY, HORZSIZE,
                               VERTSIZE, NUMCOLORS, SIZEPALETTE}),
                  (std::vector<int>{c.screen.width, c.screen.height, c.screen.bits_per_pixel,
                                    c.screen.dpi_x, c.screen.dpi_y, c.horz_mm, c.vert_mm,
                                    c.numcolors, c.sizepalette}));
        EXPECT_EQ((GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) != 0, c.sizepalette != 0);
        EXPECT_EQ(PalEntriesOnDevice(dc), 1 << c.screen.bits_per_pixel);
        ReleaseDC(nullptr, dc);
    }
    jx_screen now = {};
    jx_get_screen(&now);
    EXPECT_EQ(now.width, 1920) << "the guard restores the default";
}

TEST(VirtualScreen, ImpossibleDescriptionsChangeNothing) {
    const jx_screen bad[] = {
        {0, 1080, 32, 96, 96, 0, 0},   {1920, -1, 32, 96, 96, 0, 0},
        {1920, 1080, 3, 96, 96, 0, 0}, {1920, 1080, 64, 96, 96, 0, 0},
        {1920, 1080, 32, 0, 96, 0, 0}, {1920, 1080, 32, 96, 96, -5, 0},
    };
    for (const jx_screen& screen : bad) EXPECT_FALSE(jx_set_screen(&screen));
    jx_screen now = {};
    jx_get_screen(&now);
    EXPECT_EQ(now.bits_per_pixel, 32);
    EXPECT_TRUE(jx_set_screen(nullptr));
}

TEST_F(GraphicsLayer, ObjectTableCountsWhatIsAliveAndRefusesStrangers) {
    HDC dc = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 2, 2);
    HGLOBAL block = GlobalAlloc(GHND, 4);
    EXPECT_EQ(jx::testing::live_gdi_objects(), objects + 2);
    EXPECT_EQ(jx::testing::live_global_blocks(), blocks + 1);

    int stranger = 0;
    EXPECT_FALSE(DeleteObject(&stranger));
    EXPECT_EQ(GetObjectType(&stranger), 0u);
    EXPECT_EQ(GlobalLock(&stranger), nullptr);
    EXPECT_EQ(GlobalFree(&stranger), static_cast<HGLOBAL>(&stranger));
    EXPECT_FALSE(DeleteObject(dc)) << "a context is released, not deleted";
    EXPECT_EQ(SelectObject(dc, bitmap), nullptr) << "a screen context holds no bitmap";

    DeleteObject(bitmap);
    ReleaseDC(nullptr, dc);
    GlobalFree(block); // and the fixture finds the counts back where they were
}

// Brute force: the first entry at the smallest squared distance.
int nearest(const std::vector<uint32_t>& table, uint32_t c) {
    int best = 0, best_distance = 1 << 30;
    for (size_t i = 0; i < table.size(); ++i) {
        int distance = 0;
        for (int shift : {0, 8, 16}) {
            const int d = int(table[i] >> shift & 0xFF) - int(c >> shift & 0xFF);
            distance += d * d;
        }
        if (distance < best_distance) best_distance = distance, best = static_cast<int>(i);
    }
    return best;
}

TEST_F(GraphicsLayer, ColoursGoToTheNearestEntryOfTheCallersPalette) {
    // Many colours (a 32-bit device bitmap holds them as 0xRRGGBB), through
    // a palette of five.
    std::vector<uint32_t> source;
    for (uint32_t i = 1; i <= 64; ++i) source.push_back((0x3F1D07u * i) & 0xFFFFFF);
    HBITMAP bitmap = CreateBitmap(8, 8, 1, 32, source.data());
    const std::vector<uint32_t> entries = {0xFF0000, 0x00FF00, 0x0000FF, 0x808080, 0xFFFFFF};
    HPALETTE palette = jx::test::make_palette(entries);
    std::vector<uint32_t> indices;
    for (uint32_t c : source) indices.push_back(nearest(entries, c));
    for (WORD bits : {4, 8}) {
        // The palette's entries, then black.
        std::vector<uint32_t> table = entries;
        table.resize(size_t{1} << bits, 0);
        BITMAPINFOHEADER h = info_header(8, 8, bits);
        h.biSizeImage = static_cast<DWORD>(stride_of(8, bits) * 8);
        HANDLE mapped = ChangeBitmapFormat(bitmap, bits, BI_RGB, palette);
        EXPECT_EQ(bytes_of(mapped), packed(h, table, rows_of(indices, 8, 8, bits))) << bits;
        GlobalFree(mapped);
    }
    EXPECT_NE(GetObjectType(palette), 0u) << "the caller's palette stays";
    DeleteObject(palette);
    DeleteObject(bitmap);
}

// (PalEntriesOnDevice on described screens: the VirtualScreen test.)
TEST_F(GraphicsLayer, PaletteScreenSystemPaletteAndFreeEntries) {
    jx::testing::ScopedScreen palette_screen({1024, 768, 8, 96, 96, 0, 0});
    HDC dc = GetDC(nullptr);
    // The static colours at both ends, nothing realized between.
    std::vector<uint32_t> expected = table256();
    std::fill(expected.begin() + 10, expected.end() - 10, 0u);
    EXPECT_EQ(entries_of(GetSystemPalette()), expected);
    HPALETTE palette = make_palette({0x000000, 0x010203, 0x040506});
    HPALETTE previous = SelectPalette(dc, palette, FALSE);
    EXPECT_EQ(RealizePalette(dc), 2u) << "realized into free entries; black is there already";
    SelectPalette(dc, previous, FALSE);
    DeleteObject(palette);
    ReleaseDC(nullptr, dc);
}

// Every format pair on an 8-bit DIB, a 4-bit DIB and a bitmap. What is
// accepted, run-length coded too (which Wine refuses), draws the same colours
// from a block of exactly header, table and pixels; 1 bit is left to the
// nearest-entry tests. The 8-bit DIB's colours are in no default table, so
// its 4-bit forms must take its own first sixteen entries. The refusals are
// made before any call to the system, so they need no check under Wine.
// Nothing leaks, accepted, refused or failing (the fixture counts).
TEST_F(GraphicsLayer, FormatChangesDrawTheSameColoursAndLeakNothing) {
    // 7 x 3 with runs, literals and odd rows.
    const std::vector<uint32_t> indices = {1, 1, 1, 1,  2,  3,  4,  5,  5,  6, 7,
                                           8, 9, 9, 15, 15, 15, 15, 15, 15, 0};
    std::vector<uint32_t> table = {0x102030, 0x405060, 0x708090, 0xA0B0C0}, indices8, vga, own;
    for (uint32_t i : indices) {
        indices8.push_back(i % 4);
        vga.push_back(kVga[i]);
        own.push_back(table[i % 4]);
    }
    table.resize(256, 0x000000);
    HANDLE dib8 = block_of(packed(info_header(7, 3, 8), table, rows_of(indices8, 7, 3, 8)));
    HANDLE dib4 = block_of(packed(info_header(7, 3, 4), kVga, rows_of(indices, 7, 3, 4)));
    HBITMAP bitmap = DIBToBitmap(dib4, nullptr);
    HPALETTE palette = GetSystemPalette();
    // Bit count, compression, and whether ChangeDIBFormat accepts them on each
    // DIB, and ChangeBitmapFormat on the bitmap.
    const std::tuple<WORD, DWORD, bool, bool, bool> pairs[] = {
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
    for (const auto& [bits, compression, on8, on4, on_bitmap] : pairs) {
        SCOPED_TRACE(::testing::Message() << bits << "/" << compression);
        const std::tuple<HANDLE, bool, const std::vector<uint32_t>&> results[] = {
            {ChangeDIBFormat(dib8, bits, compression), on8, own},
            {ChangeDIBFormat(dib4, bits, compression), on4, vga},
            {ChangeBitmapFormat(bitmap, bits, compression, nullptr), on_bitmap, vga}};
        for (const auto& [changed, accepted, colours] : results) {
            EXPECT_EQ(changed != nullptr, accepted);
            if (changed && bits != 1) {
                const BITMAPINFOHEADER h = header_of(changed);
                EXPECT_EQ(h.biCompression, compression);
                EXPECT_EQ(GlobalSize(changed),
                          40u + (h.biBitCount <= 8 ? 4u << h.biBitCount : 0u) + h.biSizeImage);
                EXPECT_EQ(drawn(changed), colours);
            }
            GlobalFree(changed);
        }
    }
    EXPECT_EQ(ChangeDIBFormat(nullptr, 8, BI_RGB), nullptr);
    EXPECT_EQ(ChangeBitmapFormat(nullptr, 8, BI_RGB, nullptr), nullptr);
    BITMAPINFOHEADER small = info_header(2, 2, 8);
    small.biSize = 12;
    EXPECT_EQ(AllocRoomForDIB(small, bitmap), nullptr) << "a header too short to hold itself";
    DeleteObject(DIBToBitmap(dib4, palette));
    HANDLE bad = block_of(std::vector<BYTE>(16, 0));
    EXPECT_EQ(CreateDIBPalette(bad), nullptr);
    for (HANDLE block : {bad, dib8, dib4}) GlobalFree(block);
    DeleteObject(palette);
    DeleteObject(bitmap);
}

} // namespace
