// The BITMAPINFOHEADER that the bitmap tests start from.
#pragma once

#include "platform/win32.h"

#include <cstdint>
#include <vector>

namespace jx::test {

inline BITMAPINFOHEADER info_header(LONG width, LONG height, WORD bits,
                                    DWORD compression = BI_RGB) {
    BITMAPINFOHEADER h = {};
    h.biSize = sizeof h;
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = bits;
    h.biCompression = compression;
    return h;
}

// A logical palette of the colours (0xRRGGBB), flags 0.
inline HPALETTE make_palette(const std::vector<uint32_t>& colours, WORD version = 0x300) {
    std::vector<BYTE> block(4 + 4 * (colours.empty() ? 1 : colours.size()), 0);
    const WORD count = static_cast<WORD>(colours.size());
    block[0] = static_cast<BYTE>(version), block[1] = static_cast<BYTE>(version >> 8);
    block[2] = static_cast<BYTE>(count), block[3] = static_cast<BYTE>(count >> 8);
    for (size_t i = 0; i < colours.size(); ++i) {
        block[4 + 4 * i] = static_cast<BYTE>(colours[i] >> 16);
        block[5 + 4 * i] = static_cast<BYTE>(colours[i] >> 8);
        block[6 + 4 * i] = static_cast<BYTE>(colours[i]);
    }
    return CreatePalette(reinterpret_cast<const LOGPALETTE*>(block.data()));
}

} // namespace jx::test
