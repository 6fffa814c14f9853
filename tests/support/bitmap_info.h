// The BITMAPINFOHEADER that the bitmap tests start from.
#pragma once

#include "platform/win32.h"

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

} // namespace jx::test
