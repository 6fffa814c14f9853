// The DIB conversions on a 4000 x 3000 shaded terrain with noise (about
// 100,000 distinct colours):
//   ChangeBitmapFormat to 8 bits through a 256-colour palette, beside a plain
//   nearest-colour loop with a memo per colour (the reference), after checking
//   once that both choose the same entry for every pixel;
//   ChangeBitmapFormat of the 8-bit result to BI_RLE8 (bytes of the 8-bit
//   image coded per second).
//
//   bench_dib_convert [benchmark options]
//   bench_dib_convert --write FOLDER   writes terrain.bmp and palette.bmp for
//                                      bench/compare_bmp.sh
#include "jx6ut.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

constexpr int kWidth = 4000, kHeight = 3000;

uint32_t noise(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    return x ^ (x >> 16);
}

// The terrain as a packed 24-bit DIB: height bands from sea to snow, shaded
// by slope, with a little noise in every channel.
std::vector<BYTE> terrain_dib() {
    BITMAPINFOHEADER h = {};
    h.biSize = sizeof h;
    h.biWidth = kWidth;
    h.biHeight = kHeight;
    h.biPlanes = 1;
    h.biBitCount = 24;
    const size_t stride = (kWidth * 3 + 3) & ~size_t{3};
    std::vector<BYTE> dib(sizeof h + stride * kHeight);
    std::memcpy(dib.data(), &h, sizeof h);
    const auto elevation = [](int x, int y) {
        return 600.0 * (0.5 + 0.25 * __builtin_sin(x / 310.0) * __builtin_cos(y / 270.0) +
                        0.15 * __builtin_sin((x + 2 * y) / 97.0) + 0.1 * __builtin_cos(x / 41.0));
    };
    for (int y = 0; y < kHeight; ++y) {
        BYTE* row = dib.data() + sizeof h + stride * (kHeight - 1 - y);
        for (int x = 0; x < kWidth; ++x) {
            const double e = elevation(x, y);
            const double slope = elevation(x + 1, y) - e;
            double r, g, b;
            if (e < 150) {
                r = 20, g = 60 + e / 3, b = 160 + e / 4;
            } else if (e < 350) {
                r = 60 + (e - 150) / 2, g = 140 + (e - 150) / 4, b = 50;
            } else if (e < 500) {
                r = 140 + (e - 350) / 3, g = 110 + (e - 350) / 5, b = 70;
            } else {
                r = g = b = 200 + (e - 500) / 4;
            }
            const double shade = 1.0 + slope / 4.0;
            const uint32_t n = noise(static_cast<uint32_t>(y * kWidth + x));
            const auto channel = [&](double v, int shift) {
                const int c = static_cast<int>(v * shade) + static_cast<int>((n >> shift) % 3) - 1;
                return static_cast<BYTE>(c < 0 ? 0 : c > 255 ? 255 : c);
            };
            row[x * 3 + 0] = channel(b, 0);
            row[x * 3 + 1] = channel(g, 8);
            row[x * 3 + 2] = channel(r, 16);
        }
    }
    return dib;
}

// 256 colours: a 6 x 7 x 6 cube and four greys.
std::vector<PALETTEENTRY> palette_entries() {
    std::vector<PALETTEENTRY> entries;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 7; ++g)
            for (int b = 0; b < 6; ++b)
                entries.push_back({static_cast<BYTE>(r * 51), static_cast<BYTE>(g * 42),
                                   static_cast<BYTE>(b * 51), 0});
    for (BYTE grey : {32, 96, 160, 224}) entries.push_back({grey, grey, grey, 0});
    return entries;
}

// A 16 x 16 8-bit BMP whose colour table is the palette, one pixel of each.
std::vector<BYTE> palette_dib(const std::vector<PALETTEENTRY>& entries) {
    BITMAPINFOHEADER h = {};
    h.biSize = sizeof h;
    h.biWidth = 16;
    h.biHeight = 16;
    h.biPlanes = 1;
    h.biBitCount = 8;
    std::vector<BYTE> dib(sizeof h + 1024 + 256);
    std::memcpy(dib.data(), &h, sizeof h);
    for (size_t i = 0; i < entries.size(); ++i) {
        dib[sizeof h + 4 * i] = entries[i].peBlue;
        dib[sizeof h + 4 * i + 1] = entries[i].peGreen;
        dib[sizeof h + 4 * i + 2] = entries[i].peRed;
        dib[sizeof h + 1024 + i] = static_cast<BYTE>(i);
    }
    return dib;
}

HANDLE block_of(const std::vector<BYTE>& bytes) {
    HANDLE block = GlobalAlloc(GHND, bytes.size());
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

struct Fixture {
    std::vector<BYTE> dib24 = terrain_dib();
    std::vector<PALETTEENTRY> entries = palette_entries();
    HANDLE dib = block_of(dib24);
    HBITMAP bitmap = DIBToBitmap(dib, nullptr);
    HPALETTE palette = nullptr;
    size_t distinct = 0;

    Fixture() {
        // The palette as a host makes one: from a DIB's colour table.
        HANDLE table = block_of(palette_dib(entries));
        palette = CreateDIBPalette(table);
        GlobalFree(table);
        std::unordered_set<uint32_t> colours;
        for (size_t i = sizeof(BITMAPINFOHEADER); i + 2 < dib24.size(); i += 3)
            colours.insert(dib24[i] | dib24[i + 1] << 8 | dib24[i + 2] << 16);
        distinct = colours.size();
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

// The reference: each pixel's nearest palette entry by squared distance,
// searched once per colour.
std::vector<BYTE> nearest_with_memo(const std::vector<BYTE>& dib24,
                                    const std::vector<PALETTEENTRY>& entries) {
    const size_t stride = (kWidth * 3 + 3) & ~size_t{3};
    std::vector<BYTE> out(static_cast<size_t>(kWidth) * kHeight);
    std::unordered_map<uint32_t, BYTE> memo;
    for (int row = 0; row < kHeight; ++row) {
        const BYTE* p = dib24.data() + sizeof(BITMAPINFOHEADER) + stride * row;
        for (int x = 0; x < kWidth; ++x, p += 3) {
            const uint32_t key = p[0] | p[1] << 8 | p[2] << 16;
            auto found = memo.find(key);
            if (found == memo.end()) {
                int best = 0, best_distance = 1 << 30;
                for (size_t i = 0; i < entries.size(); ++i) {
                    const int dr = entries[i].peRed - p[2], dg = entries[i].peGreen - p[1],
                              db = entries[i].peBlue - p[0];
                    const int d = dr * dr + dg * dg + db * db;
                    if (d < best_distance) best_distance = d, best = static_cast<int>(i);
                }
                found = memo.emplace(key, static_cast<BYTE>(best)).first;
            }
            out[static_cast<size_t>(row) * kWidth + x] = found->second;
        }
    }
    return out;
}

void BM_ReferenceNearestWithMemo(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) benchmark::DoNotOptimize(nearest_with_memo(f.dib24, f.entries));
    state.counters["distinct_colours"] = static_cast<double>(f.distinct);
}

void BM_ChangeBitmapFormat8(benchmark::State& state) {
    Fixture& f = fixture();
    // Once: the layer's choice against the reference for every pixel.
    HANDLE check = ChangeBitmapFormat(f.bitmap, 8, BI_RGB, f.palette);
    const std::vector<BYTE> expected = nearest_with_memo(f.dib24, f.entries);
    size_t differ = 0;
    const BYTE* pixels =
        reinterpret_cast<BYTE*>(FindDIBBits(static_cast<LPSTR>(GlobalLock(check))));
    for (size_t i = 0; i < expected.size(); ++i) differ += pixels[i] != expected[i];
    GlobalUnlock(check);
    GlobalFree(check);
    for (auto _ : state) GlobalFree(ChangeBitmapFormat(f.bitmap, 8, BI_RGB, f.palette));
    state.counters["pixels_differing"] = static_cast<double>(differ);
}

void BM_ChangeBitmapFormatRle8(benchmark::State& state) {
    Fixture& f = fixture();
    HANDLE eight = ChangeBitmapFormat(f.bitmap, 8, BI_RGB, f.palette);
    HBITMAP bitmap8 = DIBToBitmap(eight, f.palette);
    DWORD coded = 0;
    for (auto _ : state) {
        HANDLE rle = ChangeBitmapFormat(bitmap8, 8, BI_RLE8, f.palette);
        coded = static_cast<BITMAPINFOHEADER*>(GlobalLock(rle))->biSizeImage;
        GlobalUnlock(rle);
        GlobalFree(rle);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight);
    state.counters["coded_bytes"] = coded;
    DeleteObject(bitmap8);
    GlobalFree(eight);
}

BENCHMARK(BM_ReferenceNearestWithMemo)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ChangeBitmapFormat8)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ChangeBitmapFormatRle8)->Unit(benchmark::kMillisecond)->MinTime(2.0);

bool write_bmp(const std::string& path, const std::vector<BYTE>& dib, uint32_t offset) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    BITMAPFILEHEADER header = {0x4D42, static_cast<DWORD>(14 + dib.size()), 0, 0, offset};
    const bool ok = std::fwrite(&header, 14, 1, file) == 1 &&
                    std::fwrite(dib.data(), 1, dib.size(), file) == dib.size();
    return std::fclose(file) == 0 && ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--write") {
        const std::string folder = argv[2];
        const bool ok =
            write_bmp(folder + "/terrain.bmp", terrain_dib(), 54) &&
            write_bmp(folder + "/palette.bmp", palette_dib(palette_entries()), 54 + 1024);
        return ok ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
