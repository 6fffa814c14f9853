// DIB blocks for the tests: made from a header, a colour table and rows, and
// read back as colours.
#pragma once

#include "dib/dib.h"
#include "support/bitmap_info.h"

#include <gtest/gtest.h>

#include <cstring>

namespace jx::test {

inline HANDLE block_of(const std::vector<BYTE>& bytes) {
    HANDLE block = GlobalAlloc(GHND, bytes.size());
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

template <class T> void append(std::vector<BYTE>& out, const T& value) {
    const auto* p = reinterpret_cast<const BYTE*>(&value);
    out.insert(out.end(), p, p + sizeof value);
}

// A packed DIB: header, table (written as RGBQUAD), pixel bytes.
inline std::vector<BYTE> packed(const BITMAPINFOHEADER& h, const std::vector<uint32_t>& table,
                                const std::vector<BYTE>& pixels) {
    std::vector<BYTE> out;
    append(out, h);
    for (uint32_t c : table) append(out, RGBQUAD{BYTE(c), BYTE(c >> 8), BYTE(c >> 16), 0});
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

inline std::vector<BYTE> bytes_of(HANDLE block) {
    const auto* p = static_cast<const BYTE*>(GlobalLock(block));
    std::vector<BYTE> out(p, p + GlobalSize(block));
    GlobalUnlock(block);
    return out;
}

inline BITMAPINFOHEADER header_of(HANDLE dib) {
    BITMAPINFOHEADER h;
    std::memcpy(&h, GlobalLock(dib), sizeof h);
    GlobalUnlock(dib);
    return h;
}

// The colours of an uncompressed DIB with an information header.
inline std::vector<uint32_t> colours_of(HANDLE dib) {
    auto* block = static_cast<LPSTR>(GlobalLock(dib));
    const BITMAPINFOHEADER h = header_of(dib);
    const auto* table = reinterpret_cast<const RGBQUAD*>(block + h.biSize);
    std::vector<uint32_t> out = pixels_of(reinterpret_cast<const BYTE*>(FindDIBBits(block)),
                                          h.biWidth, h.biHeight, h.biBitCount);
    if (h.biBitCount <= 8)
        for (uint32_t& p : out) p = rgb(table[p]);
    GlobalUnlock(dib);
    return out;
}

// The colours of a DIB as drawn: made a bitmap and read back, in a block of
// exactly header and pixels.
inline std::vector<uint32_t> drawn(HANDLE dib) {
    HBITMAP bitmap = DIBToBitmap(dib, nullptr);
    HANDLE plain = BitmapToDIB(bitmap, nullptr);
    std::vector<uint32_t> out;
    if (plain) {
        EXPECT_EQ(GlobalSize(plain), 40 + header_of(plain).biSizeImage);
        out = colours_of(plain);
    }
    GlobalFree(plain);
    DeleteObject(bitmap);
    return out;
}

} // namespace jx::test
