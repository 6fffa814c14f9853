// The BMP reader of `jxut bmp info` and `convert` on arbitrary files, and on
// every shorter cut of the small ones, with the DIB it makes drawn by the
// library.
#include "bmp_file.h"

#include <cstdint>
#include <vector>

namespace {

void read(const std::vector<uint8_t>& bytes, bool draw) {
    HANDLE dib = nullptr;
    jxut::bmp::describe(bytes, draw ? &dib : nullptr);
    if (!dib) return;
    if (HBITMAP bitmap = DIBToBitmap(dib, nullptr)) DeleteObject(bitmap);
    GlobalFree(dib);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    read(bytes, true);
    if (size <= 512)
        for (size_t cut = 0; cut < size; ++cut) read(std::vector<uint8_t>(data, data + cut), false);
    return 0;
}
