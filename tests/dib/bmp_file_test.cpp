// The BMP reader of `jxut bmp`: a file cut at every length, offsets and
// sizes that point past the end, and a round trip through the writer.
#include "../../tools/jxut/bmp_file.h"
#include "dib_blocks.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

using jx::test::append;
using jx::test::info_header;
using jx::test::packed;

std::vector<uint8_t> file_of(const std::vector<BYTE>& dib, uint32_t table_bytes) {
    std::vector<uint8_t> out = {'B', 'M'};
    append(out, static_cast<uint32_t>(14 + dib.size()));
    append(out, uint32_t{0});
    uint32_t header_size;
    std::memcpy(&header_size, dib.data(), 4);
    append(out, 14 + header_size + table_bytes);
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
    const struct {
        const char* name;
        std::vector<uint8_t> file;
    } files[] = {
        {"8 bits", file_of(packed(info_header(3, 2, 8), std::vector<uint32_t>(256, 0x102030),
                                  {1, 2, 3, 0, 4, 5, 6, 0}),
                           1024)},
        {"RLE8", file_of(packed(coded, std::vector<uint32_t>(256, 7), rle), 1024)},
        {"core", file_of(core, 6)},
    };
    for (const auto& f : files) {
        HANDLE dib = nullptr;
        EXPECT_TRUE(jxut::bmp::describe(f.file, &dib).problems.empty()) << f.name;
        ASSERT_NE(dib, nullptr) << f.name;
        HBITMAP bitmap = DIBToBitmap(dib, nullptr);
        EXPECT_NE(bitmap, nullptr) << f.name;
        DeleteObject(bitmap);
        GlobalFree(dib);
        for (size_t length = 0; length < f.file.size(); ++length) {
            // An exact copy, so that any read past the end is caught.
            const std::vector<uint8_t> cut(f.file.begin(), f.file.begin() + length);
            dib = nullptr;
            EXPECT_FALSE(jxut::bmp::describe(cut, &dib).problems.empty()) << f.name << length;
            EXPECT_EQ(dib, nullptr) << f.name << " cut to " << length;
        }
    }
}

TEST(BmpReader, OffsetsAndSizesThatDoNotAddUp) {
    const std::vector<uint8_t> good = file_of(
        packed(info_header(3, 2, 8), std::vector<uint32_t>(256, 0), std::vector<BYTE>(8, 1)), 1024);
    const auto with = [&](size_t at, uint32_t value) {
        std::vector<uint8_t> file = good;
        std::memcpy(&file[at], &value, 4);
        return file;
    };
    const struct {
        const char* name;
        std::vector<uint8_t> file;
        const char* problem;
        bool usable;
    } cases[] = {
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
    for (const auto& c : cases) {
        HANDLE dib = nullptr;
        const jxut::bmp::Description d = jxut::bmp::describe(c.file, &dib);
        std::string all;
        for (const std::string& p : d.problems) all += p + "; ";
        EXPECT_NE(all.find(c.problem), std::string::npos) << c.name << ": " << all;
        EXPECT_EQ(dib != nullptr, c.usable) << c.name;
        GlobalFree(dib);
    }
}

TEST(BmpWriter, WhatIsWrittenReadsBackTheSame) {
    jx::test::TempDir dir;
    const std::string path = dir.file("blank.bmp");
    for (WORD bits : {1, 4, 8, 24}) {
        HANDLE dib = CreateDIB(5, 3, bits), back = nullptr;
        std::string problem;
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(jxut::bmp::write_file(path, dib, problem)) << problem;
        ASSERT_TRUE(jxut::bmp::read_file(path, bytes, problem)) << problem;
        EXPECT_EQ(bytes.size(), 14 + GlobalSize(dib)) << bits;
        EXPECT_TRUE(jxut::bmp::describe(bytes, &back).problems.empty()) << bits;
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(GlobalSize(back), GlobalSize(dib));
        GlobalFree(back);
        GlobalFree(dib);
    }
}

} // namespace
