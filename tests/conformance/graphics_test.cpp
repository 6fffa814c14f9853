// Facts about global memory, the screen's device context, GDI objects and
// GetDIBits that the bitmap and report code relies on, checked under Wine and
// against the POSIX layer. The POSIX screen is 1920 x 1080 by default and Wine's
// headless one 1024 x 768, so sizes are checked for consistency, not value.
#include "platform/win32.h"
#include "support/bitmap_info.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

TEST(GlobalMemory, LockCountsAndTheAnswersOfUnlock) {
    HGLOBAL block = GlobalAlloc(GHND, 10);
    auto* first = static_cast<char*>(GlobalLock(block));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GlobalLock(block), first);
    EXPECT_EQ(GlobalSize(block), 10u);
    EXPECT_EQ(std::string(first, 10), std::string(10, '\0')) << "GHND zero-fills";

    // What each unlock answers, and the last error (77: left as it was).
    const std::pair<BOOL, DWORD> unlocks[] = {
        {TRUE, 77}, {FALSE, NO_ERROR}, {FALSE, ERROR_NOT_LOCKED}};
    for (const auto& [result, error] : unlocks) {
        SetLastError(77);
        EXPECT_EQ(GlobalUnlock(block), result);
        EXPECT_EQ(GetLastError(), error);
    }
    EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(GlobalMemory, ReallocationMovesOnlyWhereWindowsAllowsIt) {
    HGLOBAL block = GlobalAlloc(GHND, 16);
    std::memcpy(GlobalLock(block), "fifteen letters", 16);

    // Locked, a block may not move unless the caller says so.
    EXPECT_EQ(GlobalReAlloc(block, 1 << 20, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(GlobalReAlloc(block, 1 << 20, GMEM_MOVEABLE), block);
    EXPECT_STREQ(static_cast<char*>(GlobalLock(block)), "fifteen letters");
    GlobalUnlock(block);
    GlobalUnlock(block);

    // Unlocked, it moves freely and keeps its handle; the growth is zeroed.
    EXPECT_EQ(GlobalReAlloc(block, 2 << 20, GMEM_ZEROINIT), block);
    EXPECT_EQ(GlobalSize(block), static_cast<SIZE_T>(2 << 20));
    const auto* data = static_cast<const char*>(GlobalLock(block));
    EXPECT_STREQ(data, "fifteen letters");
    EXPECT_EQ(data[(2 << 20) - 1], 0);
    GlobalUnlock(block);
    EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(GlobalMemory, EmptyMovableBlocksAndFixedBlocks) {
    HGLOBAL empty = GlobalAlloc(GMEM_MOVEABLE, 0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(GlobalLock(empty), nullptr);
    EXPECT_EQ(GlobalSize(empty), 0u);
    EXPECT_EQ(GlobalFree(empty), nullptr);

    HGLOBAL fixed = GlobalAlloc(GMEM_FIXED, 8);
    EXPECT_EQ(GlobalLock(fixed), fixed);
    EXPECT_TRUE(GlobalUnlock(fixed)) << "and so not null";
    EXPECT_EQ(GlobalFree(fixed), nullptr);

    // A locked block is freed all the same.
    HGLOBAL locked = GlobalAlloc(GHND, 8);
    ASSERT_NE(GlobalLock(locked), nullptr);
    EXPECT_EQ(GlobalFree(locked), nullptr);
}

TEST(ScreenContext, CapabilitiesOfATrueColourDisplay) {
    HDC dc = GetDC(nullptr);
    EXPECT_EQ(jx::test::caps_of(dc, {TECHNOLOGY, PLANES, BITSPIXEL, NUMCOLORS, SIZEPALETTE,
                                     NUMRESERVED, COLORRES, LOGPIXELSX, LOGPIXELSY}),
              (std::vector<int>{DT_RASDISPLAY, 1, 32, -1, 0, 20, 24, 96, 96}));
    EXPECT_EQ(GetDeviceCaps(dc, RASTERCAPS) & (RC_PALETTE | RC_DI_BITMAP), RC_DI_BITMAP);
    // Millimetres follow from pixels at 96 dots per inch, rounded.
    const int width = GetDeviceCaps(dc, HORZRES), height = GetDeviceCaps(dc, VERTRES);
    EXPECT_EQ(GetDeviceCaps(dc, HORZSIZE), (width * 254 + 480) / 960);
    EXPECT_EQ(GetDeviceCaps(dc, VERTSIZE), (height * 254 + 480) / 960);

    PALETTEENTRY entries[256];
    EXPECT_EQ(GetSystemPaletteEntries(dc, 0, 256, entries), 0u) << "no palette on such a display";
    EXPECT_EQ(RealizePalette(dc), 0u);
    // What the DIB functions make of it: 2 ^ 24 colours, and a system
    // palette of the static colours at both ends and black between.
    EXPECT_EQ(PalEntriesOnDevice(dc), 1 << 24);
    std::vector<uint32_t> expected = jx::test::table256();
    std::fill(expected.begin() + 10, expected.end() - 10, 0u);
    EXPECT_EQ(jx::test::entries_of(GetSystemPalette()), expected);
    EXPECT_EQ(ReleaseDC(nullptr, dc), 1);
    EXPECT_EQ(ReleaseDC(nullptr, dc), 0);
}

TEST(Palettes, TheStockDefaultPalette) {
    auto palette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    EXPECT_EQ(GetObjectType(palette), static_cast<DWORD>(OBJ_PAL));
    WORD count = 0;
    EXPECT_EQ(GetObjectA(palette, sizeof count, &count), 2);
    EXPECT_EQ(count, 20);
    EXPECT_TRUE(DeleteObject(palette)) << "deleting a stock object succeeds and does nothing";
    EXPECT_EQ(jx::test::entries_of(palette), jx::test::kStatics) << "still there, flags 0";
    PALETTEENTRY entries[5];
    EXPECT_EQ(GetPaletteEntries(palette, 19, 5, entries), 1u);
}

TEST(Palettes, SelectedPalettesComeBackAndAreDeletedOnceOrWithTheirContext) {
    HPALETTE palette = jx::test::make_palette({0xFF0000, 0x00FF00, 0x0000FF});
    EXPECT_EQ(GetNearestPaletteIndex(palette, RGB(20, 10, 200)), 2u);
    HDC dc = GetDC(nullptr);
    HPALETTE previous = SelectPalette(dc, palette, FALSE);
    EXPECT_EQ(previous, GetStockObject(DEFAULT_PALETTE));
    EXPECT_EQ(SelectPalette(dc, previous, TRUE), palette);
    EXPECT_TRUE(DeleteObject(palette));
    EXPECT_FALSE(DeleteObject(palette));

    palette = jx::test::make_palette({0x090909}, 0x100); // any version is taken
    previous = SelectPalette(dc, palette, FALSE);
    EXPECT_TRUE(DeleteObject(palette)) << "deleted while selected";
    SelectPalette(dc, previous, FALSE);
    EXPECT_FALSE(DeleteObject(palette)) << "its handle went with the first deletion";
    ReleaseDC(nullptr, dc);
}

TEST(Bitmaps, DescriptionOfADeviceBitmap) {
    // Width, bits, and bytes a row (rows of device bitmaps are padded to 16
    // bits).
    const std::tuple<LONG, WORD, LONG> cases[] = {
        {1, 1, 2}, {17, 1, 4}, {3, 8, 4}, {5, 16, 10}, {3, 32, 12}};
    for (const auto& [width, bits, width_bytes] : cases) {
        HBITMAP bitmap = CreateBitmap(width, 2, 1, bits, nullptr);
        BITMAP d = {};
        EXPECT_EQ(GetObjectA(bitmap, 0, nullptr), static_cast<int>(sizeof d));
        EXPECT_EQ(GetObjectA(bitmap, sizeof d - 1, &d), 0);
        ASSERT_EQ(GetObjectA(bitmap, sizeof d, &d), static_cast<int>(sizeof d));
        EXPECT_EQ(std::make_tuple(d.bmType, d.bmWidth, d.bmHeight, d.bmWidthBytes, d.bmPlanes,
                                  d.bmBitsPixel, d.bmBits),
                  std::make_tuple(LONG{0}, width, LONG{2}, width_bytes, WORD{1}, bits,
                                  static_cast<void*>(nullptr)))
            << width << "x" << bits;
        EXPECT_EQ(GetObjectType(bitmap), static_cast<DWORD>(OBJ_BITMAP));
        EXPECT_TRUE(DeleteObject(bitmap) && !DeleteObject(bitmap)) << "deleted once";
    }
}

// The formats GetDIBits refuses, and for bit count 0 the bitmap's own.
TEST(Bitmaps, FormatsOfGetDIBits) {
    HDC dc = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 4, 2);
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info = {};
    auto* as_info = reinterpret_cast<BITMAPINFO*>(&info);
    const std::pair<WORD, DWORD> refused[] = {
        {3, BI_RGB}, {8, BI_RLE4}, {4, BI_RLE8}, {24, BI_RLE8}, {64, BI_RGB}};
    for (const auto& [bits, compression] : refused) {
        info.header = jx::test::info_header(4, 2, bits, compression);
        EXPECT_EQ(GetDIBits(dc, bitmap, 0, 2, nullptr, as_info, DIB_RGB_COLORS), 0)
            << bits << "/" << compression;
    }
    info.header = jx::test::info_header(0, 0, 0);
    EXPECT_NE(GetDIBits(dc, bitmap, 0, 2, nullptr, as_info, DIB_RGB_COLORS), 0);
    const BITMAPINFOHEADER& h = info.header;
    EXPECT_EQ((std::vector<long>{h.biWidth, h.biHeight, h.biBitCount, long(h.biCompression),
                                 long(h.biSizeImage)}),
              (std::vector<long>{4, 2, 32, BI_BITFIELDS, 32}));
    DeleteObject(bitmap);
    ReleaseDC(nullptr, dc);
}

} // namespace
