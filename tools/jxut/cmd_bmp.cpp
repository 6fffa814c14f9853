// jxut bmp: BMP files through the library's DIB functions, for checking and
// converting the bitmaps the application saves, copies and prints.
#include "bmp_file.h"
#include "command.h"

#include "jx6ut.h"

#include <cstdlib>
#include <string>

namespace jxut {
namespace {

int run_bmp(const Call& call);

const Command kBmp = {
    "bmp",
    "bmp info FILE...\n"
    "bmp convert IN OUT --bits N [--rle] [--palette FILE]\n"
    "bmp new WIDTH HEIGHT BITS OUT",
    "BMP files: describe, change depth and compression, make blank ones",
    "info describes each file (header kind, size, depth, compression, colours,\n"
    "row size) and says whether it is consistent; it fails when one is not.\n"
    "convert reads IN into a device bitmap and writes it to OUT with N bits\n"
    "per pixel (1, 4, 8 or 24), run-length coded with --rle (4 or 8 bits),\n"
    "its colours mapped to the colour table of the BMP file given to\n"
    "--palette. new writes a blank DIB as the library makes it (the depth is\n"
    "rounded as CreateDIB does: 2 gives 4, 16 gives 24, above 24 gives 4).",
    {
        {"--bits", "N", "bits per pixel of the converted file: 1, 4, 8 or 24"},
        {"--rle", nullptr, "run-length code the converted file (4 or 8 bits)"},
        {"--palette", "FILE", "map colours to the colour table of this BMP file"},
    },
    "jxut bmp info samples/bitmaps/map8.bmp samples/bitmaps/map_rle4.bmp\n"
    "jxut bmp convert samples/bitmaps/map24.bmp map.bmp --bits 8 --rle\n"
    "jxut bmp convert photo.bmp small.bmp --bits 8 --palette samples/bitmaps/map8.bmp\n"
    "jxut bmp new 640 480 24 blank.bmp",
    run_bmp,
};

// Reads FILE into a DIB block; on failure says why and returns null.
HANDLE load(const Call& call, const std::string& path, int& status) {
    std::vector<uint8_t> bytes;
    std::string problem;
    if (!bmp::read_file(path, bytes, problem)) {
        status = call.fail(problem);
        return nullptr;
    }
    HANDLE dib = nullptr;
    const bmp::Description d = bmp::describe(bytes, &dib);
    if (!dib) {
        status = call.fail(
            "'" + echo(path) + "' cannot be converted: " +
            (d.problems.empty() ? std::string("its pixels are bit fields") : d.problems.front()));
        return nullptr;
    }
    return dib;
}

void print_description(const std::string& path, const bmp::Description& d) {
    out("%s\n", path.c_str());
    if (!d.header_kind.empty()) {
        out("  header       %s (%u bytes)\n", d.header_kind.c_str(), d.header_size);
        out("  size         %lld x %lld%s\n", static_cast<long long>(d.width),
            static_cast<long long>(d.height < 0 ? -d.height : d.height),
            d.height < 0 ? " (top row first)" : "");
        out("  depth        %u bit%s per pixel\n", d.bits, d.bits == 1 ? "" : "s");
        out("  compression  %s\n", bmp::compression_name(d.compression).c_str());
        out("  colours      %llu in the colour table\n",
            static_cast<unsigned long long>(d.colours));
        out("  row size     %llu bytes\n", static_cast<unsigned long long>(d.row_bytes));
        out("  image        %llu bytes from byte %u\n",
            static_cast<unsigned long long>(d.image_bytes), d.pixel_offset);
    }
    if (d.problems.empty()) {
        out("  consistent   yes\n");
        return;
    }
    out("  consistent   no\n");
    for (const std::string& problem : d.problems) out("    %s\n", problem.c_str());
}

int info(const Call& call, const Args& files) {
    if (files.empty()) return call.usage_error("info needs a file");
    int status = kOk;
    for (const std::string& path : files) {
        std::vector<uint8_t> bytes;
        std::string problem;
        if (!bmp::read_file(path, bytes, problem)) {
            status = call.fail(problem);
            continue;
        }
        const bmp::Description d = bmp::describe(bytes);
        print_description(path, d);
        if (!d.problems.empty()) status = kFailed;
    }
    return status;
}

bool read_count(const std::string& text, long long low, long long high, long long& value) {
    char* end = nullptr;
    value = std::strtoll(text.c_str(), &end, 10);
    return !text.empty() && *end == '\0' && value >= low && value <= high;
}

int convert(const Call& call, const Args& args) {
    if (args.size() != 2) return call.usage_error("convert takes IN and OUT");
    if (!call.has("--bits")) return call.usage_error("convert needs --bits N");
    long long bits = 0;
    if (!read_count(call.value("--bits"), 1, 24, bits) ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 24))
        return call.usage_error("--bits takes 1, 4, 8 or 24, not '" + echo(call.value("--bits")) +
                                "'");
    const bool rle = call.has("--rle");
    if (rle && bits != 4 && bits != 8) return call.usage_error("--rle needs --bits 4 or 8");
    const DWORD compression = !rle ? BI_RGB : bits == 8 ? BI_RLE8 : BI_RLE4;

    int status = kOk;
    HPALETTE palette = nullptr;
    if (call.has("--palette")) {
        HANDLE table = load(call, call.value("--palette"), status);
        if (!table) return status;
        palette = CreateDIBPalette(table);
        GlobalFree(table);
        if (!palette)
            return call.fail("'" + echo(call.value("--palette")) + "' has no colour table");
    }
    HANDLE source = load(call, args[0], status);
    HBITMAP bitmap = source ? DIBToBitmap(source, nullptr) : nullptr;
    if (source && !bitmap) status = call.fail("the library could not draw '" + echo(args[0]) + "'");
    HANDLE converted =
        bitmap ? ChangeBitmapFormat(bitmap, static_cast<WORD>(bits), compression, palette)
               : nullptr;
    if (bitmap && !converted)
        status = call.fail("the library could not make a " + std::to_string(bits) + "-bit " +
                           bmp::compression_name(compression) + " DIB");
    std::string problem;
    if (converted && !bmp::write_file(args[1], converted, problem)) status = call.fail(problem);
    if (converted) {
        std::vector<uint8_t> bytes;
        bmp::read_file(args[1], bytes, problem);
        print_description(args[1], bmp::describe(bytes));
    }
    GlobalFree(converted);
    if (bitmap) DeleteObject(bitmap);
    GlobalFree(source);
    if (palette) DeleteObject(palette);
    return status;
}

int make_new(const Call& call, const Args& args) {
    if (args.size() != 4) return call.usage_error("new takes WIDTH HEIGHT BITS OUT");
    long long width = 0, height = 0, bits = 0;
    if (!read_count(args[0], 1, 0x7FFFFFFF, width) || !read_count(args[1], 1, 0x7FFFFFFF, height))
        return call.usage_error("the width and height are whole numbers from 1");
    if (!read_count(args[2], 0, 0xFFFF, bits))
        return call.usage_error("BITS is a whole number from 0 to 65535");
    HANDLE dib =
        CreateDIB(static_cast<DWORD>(width), static_cast<DWORD>(height), static_cast<WORD>(bits));
    if (!dib)
        return call.fail("the library refused a DIB of " + args[0] + " x " + args[1] + " pixels");
    std::string problem;
    const bool written = bmp::write_file(args[3], dib, problem);
    GlobalFree(dib);
    if (!written) return call.fail(problem);
    std::vector<uint8_t> bytes;
    bmp::read_file(args[3], bytes, problem);
    print_description(args[3], bmp::describe(bytes));
    return kOk;
}

int run_bmp(const Call& call) {
    const Args& args = call.operands();
    if (args.empty()) return call.usage_error("no operation given (info, convert or new)");
    const Args rest(args.begin() + 1, args.end());
    if (args[0] != "convert" && (call.has("--bits") || call.has("--rle") || call.has("--palette")))
        return call.usage_error("--bits, --rle and --palette go with convert");
    if (args[0] == "info") return info(call, rest);
    if (args[0] == "convert") return convert(call, rest);
    if (args[0] == "new") return make_new(call, rest);
    return call.usage_error("unknown operation '" + echo(args[0]) + "'");
}

// The demo: the shipped map, described, made 8-bit run-length coded by the
// library, and described again; then the other samples, each checked.
int demo_bitmaps(const std::string& samples_dir) {
    const std::string folder = samples_dir + "/bitmaps/";
    int status = kOk;
    const Command& command = kBmp;
    const Call call(command, {}, {});
    for (const char* name : {"map24.bmp", "map8.bmp", "map4.bmp", "map1.bmp", "map_rle8.bmp",
                             "map_rle4.bmp", "map_core.bmp"}) {
        std::vector<uint8_t> bytes;
        std::string problem;
        if (!bmp::read_file(folder + name, bytes, problem)) {
            err("%s\n", problem.c_str());
            status = kFailed;
            continue;
        }
        const bmp::Description d = bmp::describe(bytes);
        out("%-14s %lld x %lld, %u bits, %s, %llu colours: %s\n", name,
            static_cast<long long>(d.width), static_cast<long long>(d.height), d.bits,
            bmp::compression_name(d.compression).c_str(),
            static_cast<unsigned long long>(d.colours),
            d.problems.empty() ? "consistent" : "NOT consistent");
        if (!d.problems.empty()) status = kFailed;
    }
    HANDLE dib = load(call, folder + "map24.bmp", status);
    if (!dib) return kFailed;
    HBITMAP bitmap = DIBToBitmap(dib, nullptr);
    HANDLE coded = bitmap ? ChangeBitmapFormat(bitmap, 8, BI_RLE8, nullptr) : nullptr;
    if (coded) {
        const BITMAPINFOHEADER header = *static_cast<BITMAPINFOHEADER*>(GlobalLock(coded));
        GlobalUnlock(coded);
        out("map24.bmp as 8 bits, BI_RLE8: %lu bytes of pixels instead of %lu\n",
            static_cast<unsigned long>(header.biSizeImage),
            static_cast<unsigned long>(((header.biWidth * 24 + 31) / 32) * 4 * header.biHeight));
    } else {
        out("map24.bmp as 8 bits, BI_RLE8: not available on this system\n");
    }
    GlobalFree(coded);
    if (bitmap) DeleteObject(bitmap);
    GlobalFree(dib);
    return status;
}

const Registrar kBmpRegistrar(kBmp);
const Registrar kDemoRegistrar(DemoStep{80, "Bitmaps: BMP files through the DIB functions",
                                        demo_bitmaps});

} // namespace
} // namespace jxut
