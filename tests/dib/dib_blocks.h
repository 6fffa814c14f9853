// DIB blocks for the tests: made from a header, a colour table and rows, and
// read back as colours.
#pragma once

#include "dib/dib.h"
#include "support/bitmap_info.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace jx::test {

// A global block holding exactly `bytes`.
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

// A packed DIB: header, table (0xRRGGBB, written as RGBQUAD), pixel bytes.
inline std::vector<BYTE> packed(const BITMAPINFOHEADER& h, const std::vector<uint32_t>& table,
                                const std::vector<BYTE>& pixels) {
    std::vector<BYTE> out;
    append(out, h);
    for (uint32_t c : table)
        append(out, RGBQUAD{static_cast<BYTE>(c), static_cast<BYTE>(c >> 8),
                            static_cast<BYTE>(c >> 16), 0});
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

// Pixels of a locked DIB as 0xRRGGBB, top row first; uncompressed only.
inline std::vector<uint32_t> colours_of(HANDLE dib) {
    auto* block = static_cast<LPSTR>(GlobalLock(dib));
    BITMAPINFOHEADER h;
    std::memcpy(&h, block, sizeof h);
    const auto* table = reinterpret_cast<const RGBQUAD*>(block + h.biSize);
    const auto* bits = reinterpret_cast<const BYTE*>(FindDIBBits(block));
    const size_t stride = ((static_cast<size_t>(h.biWidth) * h.biBitCount + 31) / 32) * 4;
    std::vector<uint32_t> out;
    for (LONG y = 0; y < h.biHeight; ++y) {
        const BYTE* row = bits + stride * (h.biHeight - 1 - y);
        for (LONG x = 0; x < h.biWidth; ++x) {
            if (h.biBitCount <= 8) {
                const size_t bit = static_cast<size_t>(x) * h.biBitCount;
                const int index =
                    (row[bit / 8] >> (8 - h.biBitCount - bit % 8)) & ((1 << h.biBitCount) - 1);
                const RGBQUAD& q = table[index];
                out.push_back((uint32_t{q.rgbRed} << 16) | (uint32_t{q.rgbGreen} << 8) | q.rgbBlue);
            } else {
                const BYTE* p = row + static_cast<size_t>(x) * (h.biBitCount / 8);
                out.push_back((uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0]);
            }
        }
    }
    GlobalUnlock(dib);
    return out;
}

// The header of a DIB block.
inline BITMAPINFOHEADER header_of(HANDLE dib) {
    BITMAPINFOHEADER h;
    std::memcpy(&h, GlobalLock(dib), sizeof h);
    GlobalUnlock(dib);
    return h;
}

} // namespace jx::test
