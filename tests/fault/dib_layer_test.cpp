// What the POSIX layer adds to the DIB functions beyond what Wine can show:
// run-length coded output (Wine's GetDIBits refuses it), colours mapped
// through the caller's palette (Wine's ignores a palette selected into a
// true-colour screen context), a palette screen, and no block or GDI object
// left behind by any function, failing or not.
#include "../dib/dib_blocks.h"
#include "platform/posix/dib_rle.h"
#include "platform/testing.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

namespace {

using jx::posix::rle::decode;
using jx::posix::rle::encode;
using jx::posix::rle::kNotSet;
using namespace jx::test;

std::vector<int16_t> widen(const std::vector<BYTE>& pixels) {
    return {pixels.begin(), pixels.end()};
}

TEST(RunLengthCode, RoundTripsOfOddShapes) {
    std::mt19937 random(13);
    for (int bits : {4, 8}) {
        // One long run, no runs, short runs, random runs.
        const std::function<BYTE(size_t)> patterns[] = {
            [](size_t) { return BYTE(5); },
            [&](size_t i) { return BYTE(i % (1 << bits)); },
            [](size_t i) { return BYTE((i / 3) % 3); },
            [&](size_t) { return BYTE(random() % (bits == 4 ? 3 : 4)); },
        };
        for (int width : {1, 2, 3, 5, 254, 255, 256, 257, 511, 600})
            for (size_t p = 0; p < 4; ++p) {
                std::vector<BYTE> pixels(static_cast<size_t>(width) * 3);
                for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = patterns[p](i);
                const std::vector<BYTE> stream = encode(pixels.data(), bits, width, 3);
                EXPECT_EQ(stream.size() % 2, 0u);
                EXPECT_EQ(decode(stream.data(), stream.size(), bits, width, 3), widen(pixels))
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
        {"literal of 4 bits, not coded", 4, 3, 1, {0, 3, 0x12, 0x30, 0, 1}, {1, 2, 3}},
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
class DibLayer : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_EQ(jx::testing::live_global_blocks(), blocks);
        EXPECT_EQ(jx::testing::live_gdi_objects(), objects);
    }
    const size_t blocks = jx::testing::live_global_blocks();
    const size_t objects = jx::testing::live_gdi_objects();
};

// A 7 x 3 picture with runs, literals and odd rows, in the 16 VGA colours.
HBITMAP vga_bitmap(std::vector<uint32_t>& colours) {
    const std::vector<uint32_t> indices = {1, 1, 1, 1,  2,  3,  4,  5,  5,  6, 7,
                                           8, 9, 9, 15, 15, 15, 15, 15, 15, 0};
    for (uint32_t i : indices) colours.push_back(kVga[i]);
    HANDLE dib = block_of(packed(info_header(7, 3, 4), kVga, rows_of(indices, 7, 3, 4)));
    HBITMAP bitmap = DIBToBitmap(dib, nullptr);
    GlobalFree(dib);
    return bitmap;
}

// Coded output decoded again: from a device bitmap, and from an 8-bit DIB of
// four colours whose 4-bit forms take its own first sixteen entries.
TEST_F(DibLayer, ChangedFormatsDrawTheSameColours) {
    std::vector<uint32_t> colours, table = {0x102030, 0x405060, 0x708090, 0xA0B0C0};
    HBITMAP bitmap = vga_bitmap(colours);
    ASSERT_NE(bitmap, nullptr);
    table.resize(256, 0x000000);
    HANDLE dib = block_of(packed(info_header(3, 2, 8), table, {0, 1, 2, 0, 3, 2, 1, 0}));
    const std::vector<uint32_t> dib_colours = {0xA0B0C0, 0x708090, 0x405060,
                                               0x102030, 0x405060, 0x708090};
    const struct {
        bool from_dib;
        WORD bits;
        DWORD compression;
    } cases[] = {{false, 0, BI_RLE4}, {false, 4, BI_RLE4}, {false, 0, BI_RLE8}, {false, 8, BI_RLE8},
                 {true, 4, BI_RGB},   {true, 4, BI_RLE4},  {true, 0, BI_RLE8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.from_dib << "/" << c.bits << "/" << c.compression);
        HANDLE changed = c.from_dib ? ChangeDIBFormat(dib, c.bits, c.compression)
                                    : ChangeBitmapFormat(bitmap, c.bits, c.compression, nullptr);
        ASSERT_NE(changed, nullptr);
        const BITMAPINFOHEADER h = header_of(changed);
        EXPECT_EQ(h.biCompression, c.compression);
        EXPECT_EQ(h.biBitCount, c.compression == BI_RLE8 ? 8 : 4);
        EXPECT_EQ(GlobalSize(changed), 40u + (4u << h.biBitCount) + h.biSizeImage)
            << "the block is exactly header, table and pixels";
        EXPECT_EQ(drawn(changed), c.from_dib ? dib_colours : colours);
        // The same pixels once more from the changed DIB itself.
        HANDLE again = ChangeDIBFormat(changed, 0, c.compression);
        EXPECT_EQ(again ? header_of(again).biSizeImage : 0, h.biSizeImage);
        GlobalFree(again);
        GlobalFree(changed);
    }
    GlobalFree(dib);
    DeleteObject(bitmap);
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

TEST_F(DibLayer, ColoursGoToTheNearestEntryOfTheCallersPalette) {
    // Many colours (a 32-bit device bitmap holds them as 0xRRGGBB), through
    // a palette of five.
    std::vector<uint32_t> source;
    for (uint32_t i = 1; i <= 64; ++i) source.push_back((0x3F1D07u * i) & 0xFFFFFF);
    HBITMAP bitmap = CreateBitmap(8, 8, 1, 32, source.data());
    const std::vector<uint32_t> entries = {0xFF0000, 0x00FF00, 0x0000FF, 0x808080, 0xFFFFFF};
    HPALETTE palette = jx::test::make_palette(entries);
    for (WORD bits : {4, 8}) {
        HANDLE mapped = ChangeBitmapFormat(bitmap, bits, BI_RGB, palette);
        ASSERT_NE(mapped, nullptr);
        const auto* table =
            reinterpret_cast<const RGBQUAD*>(static_cast<BYTE*>(GlobalLock(mapped)) + 40);
        for (size_t i = 0; i < (1u << bits); ++i)
            EXPECT_EQ(rgb(table[i]), i < entries.size() ? entries[i] : 0u) << i;
        GlobalUnlock(mapped);
        std::vector<uint32_t> expected;
        for (uint32_t c : source) expected.push_back(entries[nearest(entries, c)]);
        EXPECT_EQ(colours_of(mapped), expected) << bits;
        GlobalFree(mapped);
    }
    EXPECT_NE(GetObjectType(palette), 0u) << "the caller's palette stays";
    DeleteObject(palette);
    DeleteObject(bitmap);
}

TEST_F(DibLayer, PaletteScreenCountsSystemPaletteAndFreeEntries) {
    jx::testing::ScopedScreen screen({1024, 768, 16, 96, 96, 0, 0});
    HDC dc = GetDC(nullptr);
    EXPECT_EQ(PalEntriesOnDevice(dc), 1 << 16);
    ReleaseDC(nullptr, dc);
    jx::testing::ScopedScreen palette_screen({1024, 768, 8, 96, 96, 0, 0});
    dc = GetDC(nullptr);
    EXPECT_EQ(PalEntriesOnDevice(dc), 1 << 8);
    HPALETTE system = GetSystemPalette();
    PALETTEENTRY entries[256];
    ASSERT_EQ(GetPaletteEntries(system, 0, 256, entries), 256u);
    DeleteObject(system);
    for (int i = 0; i < 10; ++i) { // the static colours at both ends
        EXPECT_EQ(rgb(entries[i]), kStatics[i]) << i;
        EXPECT_EQ(rgb(entries[246 + i]), kStatics[10 + i]) << 246 + i;
    }
    HPALETTE palette = make_palette({0x000000, 0x010203, 0x040506});
    HPALETTE previous = SelectPalette(dc, palette, FALSE);
    EXPECT_EQ(RealizePalette(dc), 2u) << "realized into free entries; black is there already";
    SelectPalette(dc, previous, FALSE);
    DeleteObject(palette);
    ReleaseDC(nullptr, dc);
}

// Every format pair and the failing paths, for the leak check.
TEST_F(DibLayer, NothingLeaksAcrossEveryFunction) {
    std::vector<uint32_t> colours;
    HBITMAP bitmap = vga_bitmap(colours);
    HANDLE dib = BitmapToDIB(bitmap, nullptr);
    HANDLE four = ChangeBitmapFormat(bitmap, 4, BI_RGB, nullptr);
    HPALETTE palette = GetSystemPalette();
    for (WORD bits : {0, 1, 4, 8, 24, 3})
        for (DWORD compression : {BI_RGB, BI_RLE4, BI_RLE8, BI_BITFIELDS}) {
            GlobalFree(ChangeBitmapFormat(bitmap, bits, compression, palette));
            GlobalFree(ChangeDIBFormat(dib, bits, compression));
            GlobalFree(ChangeDIBFormat(four, bits, compression));
        }
    DeleteObject(CreateDIBPalette(four));
    DeleteObject(DIBToBitmap(four, palette));
    GlobalFree(AllocRoomForDIB(info_header(7, 3, 8), bitmap));
    BITMAPINFOHEADER small = info_header(7, 3, 8);
    small.biSize = 12;
    EXPECT_EQ(AllocRoomForDIB(small, bitmap), nullptr);
    HANDLE bad = block_of(std::vector<BYTE>(16, 0));
    EXPECT_EQ(DIBToBitmap(bad, palette), nullptr);
    EXPECT_EQ(ChangeDIBFormat(bad, 8, BI_RGB), nullptr);
    EXPECT_EQ(CreateDIBPalette(bad), nullptr);
    for (HANDLE block : {bad, CreateDIB(3, 3, 8), four, dib}) GlobalFree(block);
    DeleteObject(palette);
    DeleteObject(bitmap);
}

} // namespace
