// The POSIX layer's screen description and its object and block counts:
// what a host or test can set, and what the leak checks of the bitmap tests
// stand on.
#include "platform/testing.h"
#include "platform/win32.h"
#include "support/bitmap_info.h"

#include <gtest/gtest.h>

namespace {

TEST(VirtualScreen, DescriptionReachesTheDeviceCaps) {
    const struct {
        jx_screen screen;
        int horz_mm, vert_mm, numcolors, sizepalette;
        bool palette;
    } cases[] = {
        {{1024, 768, 8, 120, 144, 0, 0}, 217, 135, 20, 256, true},
        {{640, 480, 4, 96, 96, 300, 200}, 300, 200, 16, 16, true},
        {{800, 600, 16, 96, 96, 0, 0}, 212, 159, -1, 0, false},
    };
    for (const auto& c : cases) {
        jx::testing::ScopedScreen described(c.screen);
        HDC dc = GetDC(nullptr);
        const int caps[][2] = {{HORZRES, c.screen.width},
                               {VERTRES, c.screen.height},
                               {BITSPIXEL, c.screen.bits_per_pixel},
                               {LOGPIXELSX, c.screen.dpi_x},
                               {LOGPIXELSY, c.screen.dpi_y},
                               {HORZSIZE, c.horz_mm},
                               {VERTSIZE, c.vert_mm},
                               {NUMCOLORS, c.numcolors},
                               {SIZEPALETTE, c.sizepalette}};
        for (const auto& [index, value] : caps) EXPECT_EQ(GetDeviceCaps(dc, index), value) << index;
        EXPECT_EQ((GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) != 0, c.palette);
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

TEST(ObjectTable, CountsWhatIsAliveAndRefusesStrangers) {
    const size_t objects = jx::testing::live_gdi_objects();
    const size_t blocks = jx::testing::live_global_blocks();
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
    GlobalFree(block);
    EXPECT_EQ(jx::testing::live_gdi_objects(), objects);
    EXPECT_EQ(jx::testing::live_global_blocks(), blocks);
}

} // namespace
