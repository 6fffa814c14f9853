// The BMP reader of `jxut bmp`: a file cut at every length, and offsets and
// sizes that point past the end. The writer is driven by the tool's cases
// (`bmp new`, `bmp convert`), which read back what it wrote.
#include "../../tools/jxut/bmp_file.h"
#include "support/bitmap_info.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

namespace {

using namespace jx::test;

// The pixels start where FindDIBBits finds them.
std::vector<uint8_t> file_of(std::vector<BYTE> dib) {
    std::vector<uint8_t> out = {'B', 'M'};
    append(out, static_cast<uint32_t>(14 + dib.size()));
    append(out, uint32_t{0});
    const auto block = reinterpret_cast<LPSTR>(dib.data());
    append(out, static_cast<uint32_t>(14 + (FindDIBBits(block) - block)));
    out.insert(out.end(), dib.begin(), dib.end());
    return out;
}

TEST(BmpReader, EveryTruncationIsAProblemNeverAnOverrun) {
    std::vector<BYTE> rle = {3, 7, 1, 9, 0, 1};
    BITMAPINFOHEADER coded = info_header(4, 1, 8, BI_RLE8);
    coded.biSizeImage = static_cast<DWORD>(rle.size());
    std::vector<BYTE> core;
    append(core, BITMAPCOREHEADER{12, 3, 2, 1, 1});
    core.insert(core.end(), {0, 0, 0, 255, 255, 255, 0xA0, 0, 0, 0, 0x40, 0, 0, 0});
    const std::pair<const char*, std::vector<BYTE>> dibs[] = {
        {"8 bits", packed(info_header(3, 2, 8), std::vector<uint32_t>(256, 0x102030),
                          {1, 2, 3, 0, 4, 5, 6, 0})},
        {"RLE8", packed(coded, std::vector<uint32_t>(256, 7), rle)},
        {"core", core},
    };
    for (const auto& [name, bytes] : dibs) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> file = file_of(bytes);
        HANDLE dib = nullptr;
        EXPECT_TRUE(jxut::bmp::describe(file, &dib).problems.empty());
        EXPECT_FALSE(drawn(dib).empty()) << "the library draws what it gives";
        GlobalFree(dib);
        for (size_t length = 0; length < file.size(); ++length) {
            // An exact copy, so that any read past the end is caught. The
            // handle still names the block freed above: a reader that left
            // it as it was would show.
            const std::vector<uint8_t> cut(file.begin(), file.begin() + length);
            EXPECT_FALSE(jxut::bmp::describe(cut, &dib).problems.empty()) << length;
            EXPECT_EQ(dib, nullptr) << "cut to " << length;
        }
    }
}

TEST(BmpReader, OffsetsAndSizesThatDoNotAddUp) {
    const std::vector<uint8_t> good = file_of(
        packed(info_header(3, 2, 8), std::vector<uint32_t>(256, 0), std::vector<BYTE>(8, 1)));
    const auto with = [&](size_t at, uint32_t value) {
        std::vector<uint8_t> file = good;
        std::memcpy(&file[at], &value, 4);
        return file;
    };
    // Name, file, a problem it must name, whether its pixels are still used.
    const std::tuple<const char*, std::vector<uint8_t>, const char*, bool> cases[] = {
        {"pixels past the end", with(10, 0xFFFFFFF0), "run past the end", false},
        {"pixels in the table", with(10, 100), "inside the headers", false},
        {"wrong file size", with(2, 5), "the file header states 5 bytes", true},
        {"header of 99 bytes", with(14, 99), "of no known kind", false},
        {"huge header", with(14, 0xFFFFFFFF), "of no known kind", false},
        {"colours past the end", with(14 + 32, 4096), "more than 8 bits can index", false},
        {"negative width", with(14 + 4, 0xFFFFFFFE), "the width is -2", false},
        {"zero height", with(14 + 8, 0), "the height is 0", false},
        {"huge height", with(14 + 8, 0x7FFFFFFF), "run past the end", false},
        {"bit count 3", with(14 + 12, 0x00030001), "3 bits per pixel is no DIB depth", false},
        {"RLE4 on 8 bits", with(14 + 16, BI_RLE4), "BI_RLE4 does not go with 8", false},
        {"RLE without a size", with(14 + 16, BI_RLE8), "must state its size", false},
    };
    for (const auto& [name, file, problem, usable] : cases) {
        HANDLE dib = nullptr;
        std::string all;
        for (const std::string& p : jxut::bmp::describe(file, &dib).problems) all += p + "; ";
        EXPECT_NE(all.find(problem), std::string::npos) << name << ": " << all;
        EXPECT_EQ(dib != nullptr, usable) << name;
        GlobalFree(dib);
    }
}

} // namespace
