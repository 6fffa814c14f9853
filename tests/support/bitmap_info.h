// Headers, colour tables, rows and DIB blocks for the bitmap tests. Colours
// are 0xRRGGBB; pictures are given top row first, as they are seen.
#pragma once

#include "dib/dib.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <vector>

namespace jx::test {

inline BITMAPINFOHEADER info_header(LONG width, LONG height, WORD bits,
                                    DWORD compression = BI_RGB) {
    return {sizeof(BITMAPINFOHEADER), width, height, 1, bits, compression, 0, 0, 0, 0, 0};
}

inline uint32_t rgb(BYTE r, BYTE g, BYTE b) {
    return (uint32_t{r} << 16) | (g << 8) | b;
}
inline uint32_t rgb(const RGBQUAD& q) {
    return rgb(q.rgbRed, q.rgbGreen, q.rgbBlue);
}
inline uint32_t rgb(const PALETTEENTRY& e) {
    return rgb(e.peRed, e.peGreen, e.peBlue);
}

inline const std::vector<uint32_t> kMono = {0x000000, 0xFFFFFF};
inline const std::vector<uint32_t> kVga = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
    0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
// The static colours: the first ten and the last ten of a 256-entry table.
inline const std::vector<uint32_t> kStatics = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080,
                                               0x800080, 0x008080, 0xC0C0C0, 0xC0DCC0, 0xA6CAF0,
                                               0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000, 0x00FF00,
                                               0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

// The table GetDIBits gives an 8-bit DIB on a true-colour screen: the static
// colours at both ends, a 3-3-2 cube from the index between.
inline std::vector<uint32_t> table256() {
    std::vector<uint32_t> table;
    for (uint32_t i = 0; i < 256; ++i)
        table.push_back(i < 10     ? kStatics[i]
                        : i >= 246 ? kStatics[i - 236]
                                   : ((i & 7) << 21) | ((i & 0x38) << 10) | (i & 0xC0));
    return table;
}

inline size_t stride_of(int width, int bits) {
    return ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
}

// Bottom-up padded rows of `bits` from pixels: table indices up to 8 bits,
// colours at 24 and 32.
inline std::vector<BYTE> rows_of(const std::vector<uint32_t>& pixels, int width, int height,
                                 int bits) {
    const size_t stride = stride_of(width, bits);
    std::vector<BYTE> rows(stride * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixels[static_cast<size_t>(y) * width + x];
            BYTE* row = &rows[stride * (height - 1 - y)];
            const size_t bit = static_cast<size_t>(x) * bits;
            if (bits >= 24)
                for (int i = 0; i < 3; ++i) row[bit / 8 + i] = BYTE(p >> 8 * i);
            else
                row[bit / 8] |= static_cast<BYTE>(p << (8 - bits - bit % 8));
        }
    return rows;
}

// The inverse of rows_of.
inline std::vector<uint32_t> pixels_of(const BYTE* rows, int width, int height, int bits) {
    const size_t stride = stride_of(width, bits);
    std::vector<uint32_t> out;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const BYTE* row = rows + stride * (height - 1 - y);
            const size_t bit = static_cast<size_t>(x) * bits;
            out.push_back(bits == 24 ? rgb(row[x * 3 + 2], row[x * 3 + 1], row[x * 3])
                                     : (row[bit / 8] >> (8 - bits - bit % 8)) & ((1 << bits) - 1));
        }
    return out;
}

// A palette's entries as colours, flags in the top byte; the palette is
// deleted.
inline std::vector<uint32_t> entries_of(HPALETTE palette) {
    PALETTEENTRY entries[300];
    const UINT count = palette ? GetPaletteEntries(palette, 0, 300, entries) : 0;
    DeleteObject(palette);
    std::vector<uint32_t> out;
    for (UINT i = 0; i < count; ++i)
        out.push_back(rgb(entries[i]) | uint32_t{entries[i].peFlags} << 24);
    return out;
}

// The screen context's capabilities, one for each index.
inline std::vector<int> caps_of(HDC dc, std::initializer_list<int> indices) {
    std::vector<int> out;
    for (int index : indices) out.push_back(GetDeviceCaps(dc, index));
    return out;
}

// A logical palette of the colours, flags 0.
inline HPALETTE make_palette(const std::vector<uint32_t>& colours, WORD version = 0x300) {
    std::vector<WORD> block(4 + 2 * colours.size(), 0);
    block[0] = version, block[1] = static_cast<WORD>(colours.size());
    auto* entries = reinterpret_cast<PALETTEENTRY*>(&block[2]);
    for (size_t i = 0; i < colours.size(); ++i)
        entries[i] = {BYTE(colours[i] >> 16), BYTE(colours[i] >> 8), BYTE(colours[i]), 0};
    return CreatePalette(reinterpret_cast<const LOGPALETTE*>(block.data()));
}

// DIB blocks: made from a header, a colour table and rows, and read back as
// colours.
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
    std::memcpy(&h, bytes_of(dib).data(), sizeof h);
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

// The colours of a DIB as drawn: made a bitmap of the screen's depth (32
// bits) and read back, in a block of exactly header and pixels.
inline std::vector<uint32_t> drawn(HANDLE dib) {
    HBITMAP bitmap = DIBToBitmap(dib, nullptr);
    HANDLE plain = BitmapToDIB(bitmap, nullptr);
    std::vector<uint32_t> out;
    if (plain) {
        BITMAP d = {};
        GetObjectA(bitmap, sizeof d, &d);
        EXPECT_EQ(d.bmBitsPixel, 32);
        EXPECT_EQ(GlobalSize(plain), 40 + header_of(plain).biSizeImage);
        out = colours_of(plain);
    }
    GlobalFree(plain);
    DeleteObject(bitmap);
    return out;
}

} // namespace jx::test
