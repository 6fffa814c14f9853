// Text metrics of real faces: the same font files measured by the system's
// GetTextMetricsA and by the layer must agree to the pixel. The faces are
// those of fonts-liberation2, which the set-up scripts install for both.
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Height, ascent, descent, internal and external leading, average and
// maximum width, weight, italic, pitch and family; then what every text face
// of the ANSI code page reports alike: overhang, digitized aspect, first,
// last, default and break character, underline, strike-out, character set.
using Fields = std::vector<long>;

Fields fields(const TEXTMETRICA& tm) {
    return {tm.tmHeight,           tm.tmAscent,         tm.tmDescent,      tm.tmInternalLeading,
            tm.tmExternalLeading,  tm.tmAveCharWidth,   tm.tmMaxCharWidth, tm.tmWeight,
            tm.tmItalic,           tm.tmPitchAndFamily, tm.tmOverhang,     tm.tmDigitizedAspectX,
            tm.tmDigitizedAspectY, tm.tmFirstChar,      tm.tmLastChar,     tm.tmDefaultChar,
            tm.tmBreakChar,        tm.tmUnderlined,     tm.tmStruckOut,    tm.tmCharSet};
}

TEXTMETRICA measure(const std::string& face, LONG height, LONG weight, bool italic) {
    LOGFONTA font{};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfItalic = italic;
    std::memcpy(font.lfFaceName, face.data(), std::min(face.size(), sizeof font.lfFaceName));
    HDC screen = GetDC(nullptr);
    HFONT handle = CreateFontIndirectA(&font);
    // The font object (0 bytes for a null handle) describes the logical font it was made from.
    LOGFONTA back;
    EXPECT_EQ(GetObjectA(handle, sizeof back, &back), static_cast<int>(sizeof back));
    EXPECT_EQ((std::vector<long>{back.lfHeight, back.lfWeight, back.lfItalic}),
              (std::vector<long>{height, weight, italic}));
    EXPECT_TRUE(face.size() >= sizeof back.lfFaceName || face == back.lfFaceName) << face;
    HGDIOBJ previous = SelectObject(screen, handle);
    TEXTMETRICA metrics;
    std::memset(&metrics, 0xCD, sizeof metrics);
    EXPECT_TRUE(GetTextMetricsA(screen, &metrics)) << face;
    SelectObject(screen, previous);
    EXPECT_TRUE(DeleteObject(handle));
    ReleaseDC(nullptr, screen);
    return metrics;
}

TEST(TextMetrics, AgreeWithTheFontTablesToThePixel) {
    // Heights cover the em height (negative), the cell height (positive)
    // and 0; -20 in Liberation Sans Italic is where rounding twice would
    // make the maximum width 41.
    const struct {
        const char* face;
        LONG height, weight;
        bool italic;
        Fields want;
    } cases[] = {
        {"Liberation Sans", -13, 400, false, {15, 12, 3, 2, 0, 8, 24, 400, 0, 0x27}},
        {"Liberation Sans", -16, 700, false, {17, 14, 3, 2, 1, 10, 29, 700, 0, 0x27}},
        {"Liberation Sans", -20, 400, true, {22, 18, 4, 2, 1, 12, 40, 400, 255, 0x27}},
        {"Liberation Sans", 0, 400, false, {16, 13, 3, 2, 0, 8, 26, 400, 0, 0x27}},
        {"Liberation Sans", 13, 400, false, {14, 11, 3, 1, 0, 7, 22, 400, 0, 0x27}},
        {"Liberation Sans", -100, 400, true, {112, 91, 21, 12, 3, 58, 202, 400, 255, 0x27}},
        {"Liberation Sans", -1, 400, false, {1, 1, 0, 0, 0, 1, 2, 400, 0, 0x27}},
        {"Liberation Serif", -13, 400, false, {15, 12, 3, 1, 1, 7, 24, 400, 0, 0x17}},
        {"Liberation Serif", -20, 700, true, {22, 18, 4, 2, 1, 11, 37, 700, 255, 0x17}},
        {"Liberation Serif", 20, 400, false, {20, 16, 4, 2, 1, 10, 33, 400, 0, 0x17}},
        {"Liberation Mono", -13, 400, false, {15, 11, 4, 2, 0, 8, 16, 400, 0, 0x36}},
        {"Liberation Mono", -20, 400, false, {23, 17, 6, 3, 0, 12, 24, 400, 0, 0x36}},
        {"Liberation Mono", -33, 700, true, {37, 27, 10, 4, 0, 20, 42, 700, 255, 0x36}},
        {"Liberation Mono", 13, 400, false, {12, 9, 3, 1, 0, 7, 13, 400, 0, 0x36}},
    };
    const Fields common = {0, 96, 96, 30, 255, 31, 32, 0, 0, ANSI_CHARSET};
    for (const auto& c : cases) {
        Fields want = c.want;
        want.insert(want.end(), common.begin(), common.end());
        EXPECT_EQ(fields(measure(c.face, c.height, c.weight, c.italic)), want)
            << c.face << " " << c.height << " " << c.weight << " " << c.italic;
    }
    // A face name that fills its 32 bytes without a terminator names no
    // installed face; the default face is measured and nothing is read beyond
    // the field.
    EXPECT_EQ(fields(measure(std::string(32, 'L'), -13, 400, false)),
              fields(measure("No Such Face", -13, 400, false)));
}

} // namespace
