// Making and measuring DIBs: depth rounding, block and row sizes, both header
// kinds, colour counts and where the pixels start.
#include "dib_blocks.h"

#include <gtest/gtest.h>

namespace {

TEST(CreateDib, DepthsRowsAndBlockSizes) {
    const struct {
        DWORD width, height;
        WORD asked, depth;
        SIZE_T block; // 40 + colour table + rows x height
    } cases[] = {
        {10, 10, 0, 1, 40 + 8 + 4 * 10},  {10, 10, 1, 1, 88},
        {10, 10, 2, 4, 40 + 64 + 8 * 10}, {7, 3, 4, 4, 40 + 64 + 4 * 3},
        {9, 2, 5, 8, 40 + 1024 + 12 * 2}, {3, 1, 8, 8, 40 + 1024 + 4},
        {3, 2, 9, 24, 40 + 12 * 2},       {3, 2, 16, 24, 40 + 12 * 2},
        {4, 1, 24, 24, 40 + 12},          {5, 5, 25, 4, 40 + 64 + 4 * 5},
        {5, 5, 32, 4, 40 + 64 + 4 * 5},   {33, 1, 1, 1, 40 + 8 + 8},
        {0, 0, 8, 8, 40 + 1024},
    };
    for (const auto& c : cases) {
        HANDLE dib = CreateDIB(c.width, c.height, c.asked);
        ASSERT_NE(dib, nullptr) << c.asked;
        EXPECT_EQ(GlobalSize(dib), c.block) << c.width << "x" << c.height << "x" << c.asked;
        auto* block = static_cast<LPSTR>(GlobalLock(dib));
        const BITMAPINFOHEADER h = jx::test::header_of(dib);
        BITMAPINFOHEADER expected = jx::test::info_header(c.width, c.height, c.depth);
        EXPECT_EQ(std::memcmp(&h, &expected, sizeof h), 0) << c.asked;
        // Colour table and pixels are zero.
        for (SIZE_T i = 40; i < c.block; ++i) ASSERT_EQ(block[i], 0) << i;
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
        BITMAPINFOHEADER header = jx::test::info_header(w, h, bits);
        header.biClrUsed = used;
        return jx::test::packed(header, {}, {});
    };
    const auto core = [](DWORD size, WORD w, WORD h, WORD bits) {
        std::vector<BYTE> out;
        jx::test::append(out, BITMAPCOREHEADER{size, w, h, 1, bits});
        out.resize(40, 0);
        return out;
    };
    const struct {
        const char* name;
        std::vector<BYTE> header; // first bytes of the block
        DWORD width, height;
        WORD colours, table_bytes;
        size_t bits_at;
    } cases[] = {
        {"info 1 bit", info(5, 6, 1, 0), 5, 6, 2, 8, 48},
        {"info 4 bits", info(5, 6, 4, 0), 5, 6, 16, 64, 104},
        {"info 8 bits", info(5, 6, 8, 0), 5, 6, 256, 1024, 1064},
        {"info 8 bits, 20 used", info(5, 6, 8, 20), 5, 6, 20, 80, 120},
        {"info 24 bits", info(5, 6, 24, 0), 5, 6, 0, 0, 40},
        {"info 24 bits, 3 used", info(5, 6, 24, 3), 5, 6, 3, 12, 52},
        {"info 16 bits", info(5, 6, 16, 0), 5, 6, 0, 0, 40},
        {"info 32 bits", info(5, 6, 32, 0), 5, 6, 0, 0, 40},
        {"info 3 bits", info(5, 6, 3, 0), 5, 6, 0, 0, 40},
        {"info, negative height", info(70000, -9, 8, 2), 70000, 0xFFFFFFF7u, 2, 8, 48},
        // 0x4001 colours are 65540 bytes of table: the size is 16 bits.
        {"info, table past 16 bits", info(1, 1, 8, 0x4001), 1, 1, 0x4001, 4, 44},
        {"core 1 bit", core(12, 300, 2, 1), 300, 2, 2, 6, 18},
        {"core 4 bits", core(12, 3, 2, 4), 3, 2, 16, 48, 60},
        {"core 8 bits", core(12, 3, 2, 8), 3, 2, 256, 768, 780},
        {"core 24 bits", core(12, 3, 2, 24), 3, 2, 0, 0, 12},
        // Only 40 makes an information header: any other size is read as core.
        {"108 read as core", core(108, 7, 9, 8), 7, 9, 256, 768, 108 + 768},
        {"size 0 read as core", core(0, 7, 9, 4), 7, 9, 16, 48, 48},
    };
    for (const auto& c : cases) {
        auto* dib = reinterpret_cast<LPSTR>(const_cast<BYTE*>(c.header.data()));
        EXPECT_EQ(DIBWidth(dib), c.width) << c.name;
        EXPECT_EQ(DIBHeight(dib), c.height) << c.name;
        EXPECT_EQ(DIBNumColors(dib), c.colours) << c.name;
        EXPECT_EQ(PaletteSize(dib), c.table_bytes) << c.name;
        EXPECT_EQ(static_cast<size_t>(FindDIBBits(dib) - dib), c.bits_at) << c.name;
    }
}

} // namespace
