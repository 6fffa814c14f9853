// Device-independent bitmaps (DIBs): making, measuring and converting them.
//
// A DIB is a packed DIB in one movable global memory block: the header, the
// colour table, the pixel rows. Functions that make one return the block's
// handle unlocked; functions that measure one take a pointer to the locked
// block. Whatever handle or GDI object a function returns is the caller's to
// free or delete. Every failure answers null and leaves nothing allocated.
//
// The header kind is told by its first 32-bit field alone: 40 is a
// BITMAPINFOHEADER with RGBQUAD colours, anything else a BITMAPCOREHEADER
// with RGBTRIPLE colours.
#pragma once

#include "platform/win32.h"

extern "C" {

// A zero-filled DIB of width x height pixels. The bit count is brought to a
// DIB depth: up to 1 gives 1, 2 to 4 give 4, 5 to 8 give 8, 9 to 24 give 24,
// above 24 gives 4. Null when the block would not fit in 32 bits of size.
JX_API HANDLE CreateDIB(DWORD width, DWORD height, WORD bit_count);

// The address of the pixel rows: after the header and the colour table.
JX_API LPSTR FindDIBBits(LPSTR dib);
JX_API DWORD DIBWidth(LPSTR dib);
JX_API DWORD DIBHeight(LPSTR dib);
// Colour-table entries: a BITMAPINFOHEADER's colours-used field when not 0,
// else 2, 16 or 256 for 1, 4 or 8 bits, and 0 for other depths.
JX_API WORD DIBNumColors(LPSTR dib);
// The colour table's size in bytes: entries times 4 (or 3 for a core header).
JX_API WORD PaletteSize(LPSTR dib);

// A logical palette of the DIB's colour table; null when it has none.
JX_API HPALETTE CreateDIBPalette(HANDLE dib);
// A device bitmap compatible with the screen, drawn with `palette` if given.
JX_API HBITMAP DIBToBitmap(HANDLE dib, HPALETTE palette);
// A DIB of the bitmap at 1, 4, 8 or 24 bits (the nearest at or above the
// bitmap's depth), its colours mapped through `palette` (or the default).
JX_API HANDLE BitmapToDIB(HBITMAP bitmap, HPALETTE palette);

// 2 to the power of the context's bits per pixel; see dib_palette.cpp for
// displays deeper than 24 bits.
JX_API int PalEntriesOnDevice(HDC dc);
// A logical palette of the screen's system palette.
JX_API HPALETTE GetSystemPalette(void);

// A DIB block holding `header`, its colour table and room for the pixels of
// `bitmap` in the header's format, with the image size filled in.
JX_API HANDLE AllocRoomForDIB(BITMAPINFOHEADER header, HBITMAP bitmap);

// A new DIB of the same image in another bit count or compression. Bit count
// 0 keeps the DIB's own. Accepted: 0 with BI_RGB, BI_RLE8 (8-bit DIBs) or
// BI_RLE4 (4-bit DIBs); 1 BI_RGB; 4 BI_RGB or BI_RLE4; 8 BI_RGB or BI_RLE8;
// 24 BI_RGB. The DIB must have a colour table.
JX_API HANDLE ChangeDIBFormat(HANDLE dib, WORD bit_count, DWORD compression);
// A DIB of a device bitmap in the format asked for. Accepted: 0 with BI_RLE4
// or BI_RLE8; 1 BI_RGB; 4 BI_RGB or BI_RLE4; 8 BI_RGB or BI_RLE8; 24 BI_RGB.
JX_API HANDLE ChangeBitmapFormat(HBITMAP bitmap, WORD bit_count, DWORD compression,
                                 HPALETTE palette);
}
