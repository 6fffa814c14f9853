// The DIB functions on arbitrary blocks: the measurement functions, palettes
// from the colour table, and the conversions that hand the block to the
// system. Images of more than a million pixels are left out to keep each run
// short; the checks that refuse them do not depend on the size.
#include "dib/dib.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const WORD bits = data[0];
    const DWORD compression = data[1] % 4;
    data += 2;
    size -= 2;

    HANDLE dib = GlobalAlloc(GHND, size);
    if (!dib) return 0;
    auto* block = static_cast<LPSTR>(GlobalLock(dib));
    if (size) std::memcpy(block, data, size);
    DWORD first = 0;
    if (size >= 4) std::memcpy(&first, block, 4);
    if (size >= (first == 40 ? 40u : 12u)) {
        const uint64_t width = DIBWidth(block), height = DIBHeight(block);
        DIBNumColors(block);
        PaletteSize(block);
        (void)FindDIBBits(block);
        GlobalUnlock(dib);
        const int64_t rows =
            first == 40 ? static_cast<int32_t>(height) : static_cast<int64_t>(height);
        const uint64_t pixels = width * static_cast<uint64_t>(rows < 0 ? -rows : rows);
        if (first != 40 || (width <= (1u << 20) && pixels <= (1u << 20))) {
            DeleteObject(CreateDIBPalette(dib));
            if (HBITMAP bitmap = DIBToBitmap(dib, nullptr)) {
                GlobalFree(BitmapToDIB(bitmap, nullptr));
                GlobalFree(ChangeBitmapFormat(bitmap, bits, compression, nullptr));
                DeleteObject(bitmap);
            }
            GlobalFree(ChangeDIBFormat(dib, bits, compression));
        }
    } else {
        GlobalUnlock(dib);
    }
    GlobalFree(dib);
    GlobalFree(CreateDIB(size % 300, (size / 3) % 200, bits));
    return 0;
}
