// What the POSIX layer adds to the DIB functions beyond what Wine can show:
// run-length coded output (Wine's GetDIBits refuses it), colours mapped
// through the caller's palette (Wine's ignores a palette selected into a
// true-colour screen context, see the closing note), a palette screen, and
// no block or GDI object left behind by any function, failing or not.
#include "../dib/dib_blocks.h"
#include "platform/posix/dib_rle.h"
#include "platform/testing.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using jx::posix::rle::decode;
using jx::posix::rle::encode;
using jx::posix::rle::kNotSet;
using jx::test::block_of;
using jx::test::colours_of;
using jx::test::header_of;
using jx::test::info_header;
using jx::test::packed;

std::vector<int16_t> widen(const std::vector<BYTE>& pixels) {
    return std::vector<int16_t>(pixels.begin(), pixels.end());
}

TEST(RunLengthCode, TheHeaderExamples) {
    const struct {
        int bits, width;
        std::vector<BYTE> pixels, stream;
    } cases[] = {
        {8, 4, {7, 7, 7, 9}, {3, 7, 1, 9, 0, 1}},
        {4, 5, {1, 2, 3, 4, 5}, {0, 5, 0x12, 0x34, 0x50, 0, 0, 1}},
        {8, 3, {1, 2, 3}, {0, 3, 1, 2, 3, 0, 0, 1}},
        {8, 2, {1, 2}, {1, 1, 1, 2, 0, 1}},
        {4, 4, {6, 6, 6, 6}, {4, 0x66, 0, 1}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(encode(c.pixels.data(), c.bits, c.width, 1), c.stream) << c.bits;
        EXPECT_EQ(decode(c.stream.data(), c.stream.size(), c.bits, c.width, 1), widen(c.pixels));
    }
}

TEST(RunLengthCode, RoundTripsOfOddShapes) {
    std::mt19937 random(13);
    for (int bits : {4, 8}) {
        for (int width : {1, 2, 3, 5, 254, 255, 256, 257, 511, 600}) {
            for (int pattern = 0; pattern < 4; ++pattern) {
                const int height = 3;
                std::vector<BYTE> pixels(static_cast<size_t>(width) * height);
                for (size_t i = 0; i < pixels.size(); ++i) {
                    switch (pattern) {
                    case 0:
                        pixels[i] = 5;
                        break; // one long run
                    case 1:
                        pixels[i] = static_cast<BYTE>(i % (1 << bits));
                        break; // no runs
                    case 2:
                        pixels[i] = static_cast<BYTE>((i / 3) % 3);
                        break; // short runs
                    default:
                        pixels[i] = static_cast<BYTE>(random() % (bits == 4 ? 3 : 4));
                        break;
                    }
                }
                const std::vector<BYTE> stream = encode(pixels.data(), bits, width, height);
                EXPECT_EQ(stream.size() % 2, 0u);
                EXPECT_EQ(decode(stream.data(), stream.size(), bits, width, height), widen(pixels))
                    << bits << " bits, width " << width << ", pattern " << pattern;
            }
        }
    }
}

TEST(RunLengthCode, DecodingStopsAtEveryEdge) {
    const int16_t _ = kNotSet;
    const struct {
        const char* name;
        int bits, width, height;
        std::vector<BYTE> stream;
        std::vector<int16_t> pixels; // row 0 (the bottom) first
    } cases[] = {
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
        {"odd literal of 4 bits", 4, 3, 1, {0, 3, 0x12, 0x30, 0, 1}, {1, 2, 3}},
    };
    for (const auto& c : cases) {
        // Copied to a block of the exact size, so a read past it is caught.
        std::vector<BYTE> exact(c.stream);
        EXPECT_EQ(decode(exact.data(), exact.size(), c.bits, c.width, c.height), c.pixels)
            << c.name;
    }
}

// A 7 x 3 picture with runs, literals and odd rows, in the 16 VGA colours.
const std::vector<uint32_t> kVga = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                    0x008080, 0x808080, 0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00,
                                    0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

HBITMAP vga_bitmap(std::vector<uint32_t>& colours) {
    const int indices[21] = {1, 1, 1, 1, 2, 3, 4, 5, 5, 6, 7, 8, 9, 9, 15, 15, 15, 15, 15, 15, 0};
    std::vector<BYTE> rows(12, 0);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x) {
            const int index = indices[y * 7 + x];
            colours.push_back(kVga[index]);
            rows[4 * (2 - y) + x / 2] |= static_cast<BYTE>(index << (x % 2 ? 0 : 4));
        }
    HANDLE dib = block_of(packed(info_header(7, 3, 4), kVga, rows));
    HBITMAP bitmap = DIBToBitmap(dib, nullptr);
    GlobalFree(dib);
    return bitmap;
}

TEST(RunLengthDib, BitmapsCodedAndDecodedAgain) {
    std::vector<uint32_t> colours;
    HBITMAP bitmap = vga_bitmap(colours);
    ASSERT_NE(bitmap, nullptr);
    const struct {
        WORD bits;
        DWORD compression;
    } formats[] = {{0, BI_RLE4}, {4, BI_RLE4}, {0, BI_RLE8}, {8, BI_RLE8}};
    for (const auto& f : formats) {
        HANDLE coded = ChangeBitmapFormat(bitmap, f.bits, f.compression, nullptr);
        ASSERT_NE(coded, nullptr) << f.compression;
        const BITMAPINFOHEADER h = header_of(coded);
        EXPECT_EQ(h.biCompression, f.compression);
        EXPECT_EQ(h.biBitCount, f.compression == BI_RLE4 ? 4 : 8);
        EXPECT_EQ(GlobalSize(coded), 40u + (4u << h.biBitCount) + h.biSizeImage)
            << "the block is exactly header, table and stream";
        HBITMAP decoded = DIBToBitmap(coded, nullptr);
        ASSERT_NE(decoded, nullptr);
        HANDLE plain = BitmapToDIB(decoded, nullptr);
        EXPECT_EQ(colours_of(plain), colours) << f.compression;
        GlobalFree(plain);
        DeleteObject(decoded);

        // The same stream once more from the coded DIB itself.
        HANDLE again = ChangeDIBFormat(coded, 0, f.compression);
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(header_of(again).biSizeImage, h.biSizeImage);
        GlobalFree(again);
        GlobalFree(coded);
    }
    DeleteObject(bitmap);
}

// Brute force: the first entry at the smallest squared distance.
int nearest(const std::vector<uint32_t>& table, uint32_t c) {
    int best = 0, best_distance = 1 << 30;
    for (size_t i = 0; i < table.size(); ++i) {
        const int dr = static_cast<int>(table[i] >> 16) - static_cast<int>(c >> 16);
        const int dg = static_cast<int>((table[i] >> 8) & 0xFF) - static_cast<int>((c >> 8) & 0xFF);
        const int db = static_cast<int>(table[i] & 0xFF) - static_cast<int>(c & 0xFF);
        if (dr * dr + dg * dg + db * db < best_distance) {
            best_distance = dr * dr + dg * dg + db * db;
            best = static_cast<int>(i);
        }
    }
    return best;
}

TEST(CallersPalette, ColoursGoToTheNearestOfItsEntries) {
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
        for (size_t i = 0; i < (1u << bits); ++i) {
            const uint32_t got =
                (uint32_t{table[i].rgbRed} << 16) | (table[i].rgbGreen << 8) | table[i].rgbBlue;
            EXPECT_EQ(got, i < entries.size() ? entries[i] : 0u) << i;
        }
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

TEST(CallersPalette, ADibChangesDepthThroughItsOwnTable) {
    // An 8-bit DIB of four colours; as 4 bits its table is its own first
    // sixteen entries, so the colours stay.
    std::vector<uint32_t> table = {0x102030, 0x405060, 0x708090, 0xA0B0C0};
    table.resize(256, 0x000000);
    const std::vector<BYTE> rows = {0, 1, 2, 0, 3, 2, 1, 0};
    HANDLE dib = block_of(packed(info_header(3, 2, 8), table, rows));
    for (const auto& [bits, compression] :
         {std::make_pair(4, BI_RGB), std::make_pair(4, BI_RLE4), std::make_pair(0, BI_RLE8)}) {
        HANDLE changed = ChangeDIBFormat(dib, static_cast<WORD>(bits), compression);
        ASSERT_NE(changed, nullptr) << bits;
        HBITMAP bitmap = DIBToBitmap(changed, nullptr);
        HANDLE plain = BitmapToDIB(bitmap, nullptr);
        EXPECT_EQ(colours_of(plain), (std::vector<uint32_t>{0xA0B0C0, 0x708090, 0x405060, 0x102030,
                                                            0x405060, 0x708090}))
            << bits;
        GlobalFree(plain);
        DeleteObject(bitmap);
        GlobalFree(changed);
    }
    GlobalFree(dib);
}

TEST(PaletteScreen, CountsAndTheSystemPalette) {
    jx::testing::ScopedScreen screen({800, 600, 8, 96, 96, 0, 0});
    HDC dc = GetDC(nullptr);
    EXPECT_EQ(PalEntriesOnDevice(dc), 256);
    ReleaseDC(nullptr, dc);
    HPALETTE system = GetSystemPalette();
    PALETTEENTRY entries[256];
    ASSERT_EQ(GetPaletteEntries(system, 0, 256, entries), 256u);
    EXPECT_EQ(entries[255].peRed, 0xFF);
    EXPECT_EQ(entries[7].peRed, 0xC0);
    DeleteObject(system);

    jx::testing::ScopedScreen deep({800, 600, 16, 96, 96, 0, 0});
    dc = GetDC(nullptr);
    EXPECT_EQ(PalEntriesOnDevice(dc), 65536);
    ReleaseDC(nullptr, dc);
}

// Every function, succeeding and failing, leaves as many blocks and objects
// as it found.
TEST(NothingLeaks, AcrossEveryFunction) {
    const size_t blocks = jx::testing::live_global_blocks();
    const size_t objects = jx::testing::live_gdi_objects();
    {
        std::vector<uint32_t> colours;
        HBITMAP bitmap = vga_bitmap(colours);
        HANDLE dib = BitmapToDIB(bitmap, nullptr);
        HPALETTE palette = GetSystemPalette();
        for (WORD bits : {0, 1, 4, 8, 24, 3})
            for (DWORD compression : {BI_RGB, BI_RLE4, BI_RLE8, BI_BITFIELDS}) {
                GlobalFree(ChangeBitmapFormat(bitmap, bits, compression, palette));
                GlobalFree(ChangeDIBFormat(dib, bits, compression));
            }
        HANDLE four = ChangeBitmapFormat(bitmap, 4, BI_RGB, nullptr);
        for (WORD bits : {0, 1, 4, 8, 24})
            for (DWORD compression : {BI_RGB, BI_RLE4, BI_RLE8})
                GlobalFree(ChangeDIBFormat(four, bits, compression));
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
        GlobalFree(bad);
        GlobalFree(CreateDIB(3, 3, 8));
        GlobalFree(four);
        GlobalFree(dib);
        DeleteObject(palette);
        DeleteObject(bitmap);
    }
    EXPECT_EQ(jx::testing::live_global_blocks(), blocks);
    EXPECT_EQ(jx::testing::live_gdi_objects(), objects);
}

} // namespace
