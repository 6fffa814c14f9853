// Palettes for DIBs and for the screen: CreateDIBPalette,
// PalEntriesOnDevice, GetSystemPalette.
#include "dib/dib.h"
#include "dib/dib_layout.h"

#include <cstring>

namespace {

// A LOGPALETTE of `count` entries in a zero-filled global block; the caller
// unlocks and frees `block`.
LOGPALETTE* new_log_palette(WORD count, HGLOBAL& block) {
    block = GlobalAlloc(GHND, sizeof(LOGPALETTE) - sizeof(PALETTEENTRY) +
                                  sizeof(PALETTEENTRY) * (count ? count : 1));
    if (!block) return nullptr;
    auto* palette = static_cast<LOGPALETTE*>(GlobalLock(block));
    palette->palVersion = 0x300;
    palette->palNumEntries = count;
    return palette;
}

HPALETTE create_and_free(const LOGPALETTE* palette, HGLOBAL block) {
    HPALETTE made = CreatePalette(palette);
    GlobalUnlock(block);
    GlobalFree(block);
    return made;
}

// The largest count a system palette has: displays of 8 bits or fewer are
// the only ones with one, and they have at most 256 colours.
constexpr int kSystemPaletteMax = 256;

} // namespace

extern "C" {

HPALETTE CreateDIBPalette(HANDLE dib) {
    if (!dib) return nullptr;
    const auto* block = static_cast<const BYTE*>(GlobalLock(dib));
    if (!block) return nullptr;
    const SIZE_T block_size = GlobalSize(dib);
    if (!jx::dib::header_fits(block, block_size)) {
        GlobalUnlock(dib);
        return nullptr;
    }
    const WORD count = DIBNumColors(reinterpret_cast<LPSTR>(const_cast<BYTE*>(block)));
    const jx::dib::Header header = jx::dib::read_header(block);
    const size_t entry_size = header.info ? sizeof(RGBQUAD) : sizeof(RGBTRIPLE);
    const size_t table_at = header.info ? jx::dib::kInfoHeaderSize : jx::dib::kCoreHeaderSize;
    // A colour table that runs past the block is refused, not read.
    if (count == 0 || table_at + count * entry_size > block_size) {
        GlobalUnlock(dib);
        return nullptr;
    }
    HGLOBAL palette_block;
    LOGPALETTE* palette = new_log_palette(count, palette_block);
    if (!palette) {
        GlobalUnlock(dib);
        return nullptr;
    }
    for (WORD i = 0; i < count; ++i) {
        const BYTE* entry = block + table_at + i * entry_size; // blue, green, red
        palette->palPalEntry[i] = {entry[2], entry[1], entry[0], 0};
    }
    HPALETTE result = create_and_free(palette, palette_block);
    GlobalUnlock(dib);
    return result;
}

// 2 to the power of the bits per pixel. A display of more than 24 bits shows
// 2 ^ 24 colours (the rest of each pixel is unused), which also keeps the
// count within an int.
int PalEntriesOnDevice(HDC dc) {
    int bits = GetDeviceCaps(dc, PLANES) * GetDeviceCaps(dc, BITSPIXEL);
    if (bits > 24) bits = 24;
    if (bits < 0) bits = 0;
    return 1 << bits;
}

// On a display without a system palette (more than 8 bits) the system has
// no entries to give and the palette is 256 black entries, as under Windows.
HPALETTE GetSystemPalette(void) {
    HDC dc = GetDC(nullptr);
    if (!dc) return nullptr;
    int count = PalEntriesOnDevice(dc);
    if (count > kSystemPaletteMax) count = kSystemPaletteMax;
    HGLOBAL block;
    LOGPALETTE* palette = new_log_palette(static_cast<WORD>(count), block);
    if (!palette) {
        ReleaseDC(nullptr, dc);
        return nullptr;
    }
    GetSystemPaletteEntries(dc, 0, static_cast<UINT>(count), palette->palPalEntry);
    HPALETTE result = create_and_free(palette, block);
    ReleaseDC(nullptr, dc);
    return result;
}
}
