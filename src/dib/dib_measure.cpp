// Making and measuring DIBs: CreateDIB, FindDIBBits, DIBWidth, DIBHeight,
// DIBNumColors, PaletteSize, and the layout checks of dib_layout.h.
#include "dib/dib.h"
#include "dib/dib_layout.h"

#include <cstring>

namespace jx::dib {

Header read_header(const BYTE* dib) {
    Header h;
    std::memcpy(&h.size_field, dib, sizeof h.size_field);
    if (h.size_field == kInfoHeaderSize) {
        BITMAPINFOHEADER info;
        std::memcpy(&info, dib, sizeof info);
        h.info = true;
        h.width = info.biWidth;
        h.height = info.biHeight;
        h.bit_count = info.biBitCount;
        h.compression = info.biCompression;
        h.size_image = info.biSizeImage;
        h.colours_used = info.biClrUsed;
    } else {
        BITMAPCOREHEADER core;
        std::memcpy(&core, dib, sizeof core);
        h.width = core.bcWidth;
        h.height = core.bcHeight;
        h.bit_count = core.bcBitCount;
    }
    return h;
}

bool header_fits(const BYTE* dib, SIZE_T block_size) {
    if (block_size < kCoreHeaderSize) return false;
    DWORD size_field;
    std::memcpy(&size_field, dib, sizeof size_field);
    return size_field != kInfoHeaderSize || block_size >= kInfoHeaderSize;
}

uint64_t row_bytes(uint64_t width, uint64_t bits) {
    return ((bits * width + 31) / 32) * 4;
}

uint64_t colour_entries(const Header& h) {
    if (h.info && h.colours_used != 0) return h.colours_used;
    switch (h.bit_count) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

bool is_whole(const BYTE* dib, SIZE_T block_size) {
    if (!header_fits(dib, block_size)) return false;
    const Header h = read_header(dib);
    const DWORD size_field = h.size_field;
    if (size_field != kCoreHeaderSize && size_field != kInfoHeaderSize) return false;
    const bool rle8 = h.compression == BI_RLE8, rle4 = h.compression == BI_RLE4;
    switch (h.bit_count) {
    case 1:
    case 24:
    case 4:
    case 8:
        break;
    case 16:
    case 32:
        if (!h.info) return false;
        break;
    default:
        return false;
    }
    if (!(h.compression == BI_RGB || (rle8 && h.bit_count == 8) || (rle4 && h.bit_count == 4)))
        return false;
    if (h.width <= 0 || h.height == 0 || (h.height < 0 && (rle8 || rle4))) return false;
    const uint64_t entries = colour_entries(h);
    if (h.bit_count <= 8 && entries > (uint64_t{1} << h.bit_count)) return false;
    const uint64_t table = entries * (h.info ? 4 : 3);
    if (table > 0xFFFF) return false; // PaletteSize could not state it
    const uint64_t rows = static_cast<uint64_t>(h.height < 0 ? -h.height : h.height);
    const uint64_t pixels = (rle8 || rle4)
                                ? h.size_image
                                : row_bytes(static_cast<uint64_t>(h.width), h.bit_count) * rows;
    if ((rle8 || rle4) && pixels == 0) return false;
    return size_field + table + pixels <= block_size;
}

} // namespace jx::dib

using jx::dib::Header;

extern "C" {

HANDLE CreateDIB(DWORD width, DWORD height, WORD bit_count) {
    WORD bits;
    if (bit_count <= 1)
        bits = 1;
    else if (bit_count <= 4)
        bits = 4;
    else if (bit_count <= 8)
        bits = 8;
    else if (bit_count <= 24)
        bits = 24;
    else
        bits = 4;

    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = static_cast<LONG>(width);
    header.biHeight = static_cast<LONG>(height);
    header.biPlanes = 1;
    header.biBitCount = bits;
    header.biCompression = BI_RGB;

    // Sizes that a 32-bit count cannot hold are refused rather than cut
    // short: a block smaller than its header says would be overrun by the
    // first caller that trusts the header.
    if (width > 0x7FFFFFFF || height > 0x7FFFFFFF) return nullptr;
    const uint64_t size = sizeof header + PaletteSize(reinterpret_cast<LPSTR>(&header)) +
                          jx::dib::row_bytes(width, bits) * height;
    if (size > jx::dib::kMaxBlock) return nullptr;
    HANDLE dib = GlobalAlloc(GHND, static_cast<SIZE_T>(size));
    if (!dib) return nullptr;
    void* block = GlobalLock(dib);
    std::memcpy(block, &header, sizeof header);
    GlobalUnlock(dib);
    return dib;
}

LPSTR FindDIBBits(LPSTR dib) {
    DWORD header_size;
    std::memcpy(&header_size, dib, sizeof header_size);
    return dib + header_size + PaletteSize(dib);
}

DWORD DIBWidth(LPSTR dib) {
    return static_cast<DWORD>(jx::dib::read_header(reinterpret_cast<BYTE*>(dib)).width);
}

DWORD DIBHeight(LPSTR dib) {
    return static_cast<DWORD>(jx::dib::read_header(reinterpret_cast<BYTE*>(dib)).height);
}

WORD DIBNumColors(LPSTR dib) {
    return static_cast<WORD>(
        jx::dib::colour_entries(jx::dib::read_header(reinterpret_cast<BYTE*>(dib))));
}

WORD PaletteSize(LPSTR dib) {
    const Header h = jx::dib::read_header(reinterpret_cast<BYTE*>(dib));
    return static_cast<WORD>(DIBNumColors(dib) * (h.info ? sizeof(RGBQUAD) : sizeof(RGBTRIPLE)));
}
}
