// Run-length coded pixels through CreateDIBitmap, read back uncompressed and
// coded again. The first three bytes choose the width, the height and 4 or
// 8 bits; the rest is the stream, in a buffer of exactly its size.
#include "platform/win32.h"

#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const LONG width = 1 + data[0], height = 1 + data[1];
    const WORD bits = (data[2] & 1) ? 4 : 8;
    const std::vector<BYTE> stream(data + 3, data + size);
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD colours[256];
    } info = {};
    info.h.biSize = sizeof info.h;
    info.h.biWidth = width;
    info.h.biHeight = height;
    info.h.biPlanes = 1;
    info.h.biBitCount = bits;
    info.h.biCompression = bits == 4 ? BI_RLE4 : BI_RLE8;
    info.h.biSizeImage = static_cast<DWORD>(stream.size());
    info.h.biClrUsed = data[2] >> 1;
    for (int i = 0; i < 256; ++i) info.colours[i] = {BYTE(i), BYTE(i * 7), BYTE(i * 13), 0};
    HDC dc = GetDC(nullptr);
    HBITMAP bitmap = CreateDIBitmap(dc, &info.h, CBM_INIT, stream.empty() ? nullptr : stream.data(),
                                    reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    if (bitmap) {
        info.h.biBitCount = 24;
        info.h.biCompression = BI_RGB;
        std::vector<BYTE> rows(((width * 3 + 3) & ~3) * height);
        GetDIBits(dc, bitmap, 0, height, rows.data(), reinterpret_cast<BITMAPINFO*>(&info),
                  DIB_RGB_COLORS);
        info.h.biBitCount = bits;
        info.h.biCompression = bits == 4 ? BI_RLE4 : BI_RLE8;
        if (GetDIBits(dc, bitmap, 0, height, nullptr, reinterpret_cast<BITMAPINFO*>(&info),
                      DIB_RGB_COLORS)) {
            std::vector<BYTE> coded(info.h.biSizeImage);
            GetDIBits(dc, bitmap, 0, height, coded.data(), reinterpret_cast<BITMAPINFO*>(&info),
                      DIB_RGB_COLORS);
        }
        DeleteObject(bitmap);
    }
    ReleaseDC(nullptr, dc);
    return 0;
}
