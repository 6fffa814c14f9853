// Conversions between DIBs and device bitmaps: DIBToBitmap, BitmapToDIB,
// AllocRoomForDIB, ChangeDIBFormat, ChangeBitmapFormat.
#include "dib/dib.h"
#include "dib/dib_layout.h"

#include <cstring>

namespace {

// Selects `palette` into the screen context in the foreground for the length
// of a conversion, and puts the previous one back at the end: in the
// background and realized when reading pixels out, in the foreground when a
// bitmap was drawn.
enum class Restore { foreground, background };

class PaletteSelection {
public:
    PaletteSelection(HDC dc, HPALETTE palette, Restore restore) : dc_(dc), restore_(restore) {
        if (palette) previous_ = SelectPalette(dc, palette, FALSE);
        RealizePalette(dc);
    }
    ~PaletteSelection() {
        if (!previous_) return;
        SelectPalette(dc_, previous_, restore_ == Restore::background);
        if (restore_ == Restore::background) RealizePalette(dc_);
    }
    PaletteSelection(const PaletteSelection&) = delete;
    PaletteSelection& operator=(const PaletteSelection&) = delete;

private:
    HDC dc_;
    Restore restore_;
    HPALETTE previous_ = nullptr;
};

// Bits per pixel of a device bitmap brought to a DIB depth.
WORD dib_depth(int bits) {
    if (bits <= 1) return 1;
    if (bits <= 4) return 4;
    if (bits <= 8) return 8;
    return 24;
}

BITMAPINFOHEADER header_for(LONG width, LONG height, WORD bits, DWORD compression) {
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bits;
    header.biCompression = compression;
    return header;
}

// The depth of a new DIB for a bit count and compression that both format
// changes accept alike; 0 for a pair they refuse.
WORD target_depth(WORD bit_count, DWORD compression) {
    switch (bit_count) {
    case 1:
    case 24:
        return compression == BI_RGB ? bit_count : 0;
    case 4:
        return compression == BI_RGB || compression == BI_RLE4 ? 4 : 0;
    case 8:
        return compression == BI_RGB || compression == BI_RLE8 ? 8 : 0;
    default:
        return 0;
    }
}

SIZE_T table_bytes(const BITMAPINFOHEADER& header) {
    return PaletteSize(reinterpret_cast<LPSTR>(const_cast<BITMAPINFOHEADER*>(&header)));
}

// Writes the pixels of `bitmap` into the DIB `dib` in the format its header
// states, with the palette already selected into `dc`. The image size is
// asked again first: the palette can change how long run-length coded rows
// are, and the block grows when it must rather than be overrun.
bool fill_pixels(HANDLE dib, HDC dc, HBITMAP bitmap) {
    auto* info = static_cast<BITMAPINFO*>(GlobalLock(dib));
    if (!info) return false;
    const UINT rows = static_cast<UINT>(info->bmiHeader.biHeight);
    if (!GetDIBits(dc, bitmap, 0, rows, nullptr, info, DIB_RGB_COLORS)) {
        GlobalUnlock(dib);
        return false;
    }
    const SIZE_T needed =
        info->bmiHeader.biSize + table_bytes(info->bmiHeader) + info->bmiHeader.biSizeImage;
    GlobalUnlock(dib);
    if (needed > GlobalSize(dib) && !GlobalReAlloc(dib, needed, 0)) return false;
    info = static_cast<BITMAPINFO*>(GlobalLock(dib));
    const int copied = GetDIBits(dc, bitmap, 0, rows, FindDIBBits(reinterpret_cast<LPSTR>(info)),
                                 info, DIB_RGB_COLORS);
    GlobalUnlock(dib);
    return copied != 0;
}

// A new DIB of the given depth and compression holding the bitmap's pixels
// as seen through `palette`; null when any step fails.
HANDLE dib_in_format(HBITMAP bitmap, WORD bits, DWORD compression, HPALETTE palette) {
    BITMAP description;
    if (!GetObjectA(bitmap, sizeof description, &description)) return nullptr;
    HANDLE dib = AllocRoomForDIB(
        header_for(description.bmWidth, description.bmHeight, bits, compression), bitmap);
    if (!dib) return nullptr;
    HDC dc = GetDC(nullptr);
    {
        PaletteSelection selection(dc, palette, Restore::background);
        if (!fill_pixels(dib, dc, bitmap)) {
            GlobalFree(dib);
            dib = nullptr;
        }
    }
    ReleaseDC(nullptr, dc);
    return dib;
}

} // namespace

extern "C" {

HBITMAP DIBToBitmap(HANDLE dib, HPALETTE palette) {
    if (!dib) return nullptr;
    auto* block = static_cast<LPSTR>(GlobalLock(dib));
    if (!block) return nullptr;
    // The system reads the whole header, table and pixels: a block that does
    // not hold them is refused.
    if (!jx::dib::is_whole(reinterpret_cast<const BYTE*>(block), GlobalSize(dib))) {
        GlobalUnlock(dib);
        return nullptr;
    }
    LPSTR bits = FindDIBBits(block);
    HDC dc = GetDC(nullptr);
    if (!dc) {
        GlobalUnlock(dib);
        return nullptr;
    }
    HBITMAP bitmap;
    {
        PaletteSelection selection(dc, palette, Restore::foreground);
        bitmap = CreateDIBitmap(dc, reinterpret_cast<const BITMAPINFOHEADER*>(block), CBM_INIT,
                                bits, reinterpret_cast<const BITMAPINFO*>(block), DIB_RGB_COLORS);
    }
    ReleaseDC(nullptr, dc);
    GlobalUnlock(dib);
    return bitmap;
}

HANDLE BitmapToDIB(HBITMAP bitmap, HPALETTE palette) {
    BITMAP description;
    if (!bitmap || !GetObjectA(bitmap, sizeof description, &description)) return nullptr;
    if (!palette) palette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    const BITMAPINFOHEADER header =
        header_for(description.bmWidth, description.bmHeight,
                   dib_depth(description.bmPlanes * description.bmBitsPixel), BI_RGB);

    HDC dc = GetDC(nullptr);
    if (!dc) return nullptr;
    HANDLE dib = nullptr;
    {
        PaletteSelection selection(dc, palette, Restore::background);
        dib = GlobalAlloc(GHND, header.biSize + table_bytes(header));
        if (dib) {
            auto* info = static_cast<BITMAPINFO*>(GlobalLock(dib));
            info->bmiHeader = header;
            GetDIBits(dc, bitmap, 0, static_cast<UINT>(header.biHeight), nullptr, info,
                      DIB_RGB_COLORS);
            BITMAPINFOHEADER filled = info->bmiHeader;
            GlobalUnlock(dib);
            if (filled.biSizeImage == 0)
                filled.biSizeImage = static_cast<DWORD>(
                    jx::dib::row_bytes(static_cast<uint64_t>(filled.biWidth), filled.biBitCount) *
                    static_cast<uint64_t>(filled.biHeight));
            HANDLE grown =
                GlobalReAlloc(dib, filled.biSize + table_bytes(filled) + filled.biSizeImage, 0);
            if (!grown) {
                GlobalFree(dib);
                dib = nullptr;
            } else {
                dib = grown;
                if (!fill_pixels(dib, dc, bitmap)) {
                    GlobalFree(dib);
                    dib = nullptr;
                }
            }
        }
    }
    ReleaseDC(nullptr, dc);
    return dib;
}

HANDLE AllocRoomForDIB(BITMAPINFOHEADER header, HBITMAP bitmap) {
    const SIZE_T table = table_bytes(header);
    HANDLE dib = GlobalAlloc(GHND, header.biSize + table);
    if (!dib) return nullptr;
    if (GlobalSize(dib) < sizeof header) {
        GlobalFree(dib); // a header whose size field is too small to hold it
        return nullptr;
    }
    auto* info = static_cast<BITMAPINFO*>(GlobalLock(dib));
    info->bmiHeader = header;
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bitmap, 0, static_cast<UINT>(header.biHeight), nullptr, info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    if (info->bmiHeader.biSizeImage == 0)
        info->bmiHeader.biSizeImage =
            static_cast<DWORD>(jx::dib::row_bytes(static_cast<uint64_t>(info->bmiHeader.biWidth),
                                                  info->bmiHeader.biBitCount) *
                               static_cast<uint64_t>(info->bmiHeader.biHeight));
    const SIZE_T size = info->bmiHeader.biSize + table + info->bmiHeader.biSizeImage;
    GlobalUnlock(dib);
    HANDLE grown = GlobalReAlloc(dib, size, 0);
    if (!grown) GlobalFree(dib);
    return grown;
}

HANDLE ChangeDIBFormat(HANDLE dib, WORD bit_count, DWORD compression) {
    if (!dib) return nullptr;
    const auto* block = static_cast<const BYTE*>(GlobalLock(dib));
    if (!block) return nullptr;
    const bool readable = jx::dib::header_fits(block, GlobalSize(dib));
    const DWORD own_bits = readable ? jx::dib::read_header(block).bit_count : 0;
    GlobalUnlock(dib);
    if (!readable) return nullptr;

    // Bit count 0 keeps the DIB's own depth: uncompressed, or coded as its
    // depth allows.
    const WORD bits = bit_count != 0 ? target_depth(bit_count, compression)
                      : compression == BI_RGB || (compression == BI_RLE8 && own_bits == 8) ||
                              (compression == BI_RLE4 && own_bits == 4)
                          ? static_cast<WORD>(own_bits)
                          : 0;
    if (bits == 0) return nullptr;

    HPALETTE palette = CreateDIBPalette(dib);
    if (!palette) return nullptr;
    HBITMAP bitmap = DIBToBitmap(dib, palette);
    if (!bitmap) {
        DeleteObject(palette);
        return nullptr;
    }
    HANDLE changed = dib_in_format(bitmap, bits, compression, palette);
    DeleteObject(bitmap);
    DeleteObject(palette);
    return changed;
}

HANDLE ChangeBitmapFormat(HBITMAP bitmap, WORD bit_count, DWORD compression, HPALETTE palette) {
    if (!bitmap) return nullptr;
    // Bit count 0 says only the compression, which implies the depth.
    const WORD bits = bit_count != 0           ? target_depth(bit_count, compression)
                      : compression == BI_RLE4 ? 4
                      : compression == BI_RLE8 ? 8
                                               : 0;
    if (bits == 0) return nullptr;
    return dib_in_format(bitmap, bits, compression, palette);
}
}
