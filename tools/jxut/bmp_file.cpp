// BMP files for `jxut bmp`; see bmp_file.h.
#include "bmp_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace jxut::bmp {
namespace {

constexpr uint32_t kFileHeader = 14;

uint32_t u32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 |
           uint32_t{b[at + 3]} << 24;
}
uint16_t u16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

std::string kind_of(uint32_t size) {
    switch (size) {
    case 12:
        return "BITMAPCOREHEADER";
    case 40:
        return "BITMAPINFOHEADER";
    case 52:
        return "BITMAPV2INFOHEADER";
    case 56:
        return "BITMAPV3INFOHEADER";
    case 108:
        return "BITMAPV4HEADER";
    case 124:
        return "BITMAPV5HEADER";
    default:
        return "";
    }
}

} // namespace

std::string compression_name(uint32_t compression) {
    switch (compression) {
    case BI_RGB:
        return "BI_RGB";
    case BI_RLE8:
        return "BI_RLE8";
    case BI_RLE4:
        return "BI_RLE4";
    case BI_BITFIELDS:
        return "BI_BITFIELDS";
    default:
        return "unknown " + std::to_string(compression);
    }
}

bool read_file(const std::string& path, std::vector<uint8_t>& bytes, std::string& problem) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        problem = "cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    bytes.clear();
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) problem = "cannot read " + path;
    return !failed;
}

Description describe(const std::vector<uint8_t>& b, HANDLE* dib) {
    Description d;
    d.file_size = b.size();
    if (dib) *dib = nullptr;
    if (b.size() < kFileHeader + 4) {
        d.problems.push_back("the file has " + std::to_string(b.size()) +
                             " bytes, too few for the file header and a DIB header");
        return d;
    }
    if (b[0] != 'B' || b[1] != 'M') d.problems.push_back("the file does not begin with \"BM\"");
    const uint32_t stated_size = u32(b, 2);
    d.pixel_offset = u32(b, 10);
    if (stated_size != b.size())
        d.problems.push_back("the file header states " + std::to_string(stated_size) +
                             " bytes, the file has " + std::to_string(b.size()));

    d.header_size = u32(b, kFileHeader);
    d.header_kind = kind_of(d.header_size);
    if (d.header_kind.empty()) {
        d.problems.push_back("a DIB header of " + std::to_string(d.header_size) +
                             " bytes is of no known kind");
        return d;
    }
    if (kFileHeader + uint64_t{d.header_size} > b.size()) {
        d.problems.push_back("the " + d.header_kind + " runs past the end of the file");
        return d;
    }
    const size_t h = kFileHeader;
    const bool core = d.header_size == 12;
    uint32_t colours_used = 0;
    if (core) {
        d.width = u16(b, h + 4);
        d.height = u16(b, h + 6);
        d.bits = u16(b, h + 10);
    } else {
        d.width = static_cast<int32_t>(u32(b, h + 4));
        d.height = static_cast<int32_t>(u32(b, h + 8));
        d.bits = u16(b, h + 14);
        d.compression = u32(b, h + 16);
        d.image_bytes = u32(b, h + 20);
        colours_used = u32(b, h + 32);
    }
    const bool rle = !core && (d.compression == BI_RLE8 || d.compression == BI_RLE4);
    const bool bitfields = !core && d.compression == BI_BITFIELDS;

    bool depth_ok = false;
    switch (d.bits) {
    case 1:
    case 4:
    case 8:
    case 24:
        depth_ok = true;
        break;
    case 16:
    case 32:
        depth_ok = !core;
        break;
    default:
        break;
    }
    if (!depth_ok) d.problems.push_back(std::to_string(d.bits) + " bits per pixel is no DIB depth");
    if (!(d.compression == BI_RGB || (d.compression == BI_RLE8 && d.bits == 8) ||
          (d.compression == BI_RLE4 && d.bits == 4) ||
          (bitfields && (d.bits == 16 || d.bits == 32))))
        d.problems.push_back(compression_name(d.compression) + " does not go with " +
                             std::to_string(d.bits) + " bits per pixel");
    if (d.width <= 0) d.problems.push_back("the width is " + std::to_string(d.width));
    if (d.height == 0) d.problems.push_back("the height is 0");
    if (d.height < 0 && rle) d.problems.push_back("run-length coded rows cannot run top-down");

    const uint64_t full = d.bits <= 8 ? uint64_t{1} << d.bits : 0;
    d.colours = colours_used ? colours_used : full;
    if (d.bits <= 8 && colours_used > full)
        d.problems.push_back("the header uses " + std::to_string(colours_used) +
                             " colours, more than " + std::to_string(d.bits) + " bits can index");
    const uint64_t rows = static_cast<uint64_t>(d.height < 0 ? -d.height : d.height);
    d.row_bytes = d.width > 0 ? ((uint64_t(d.width) * d.bits + 31) / 32) * 4 : 0;
    const uint64_t plain_bytes = d.row_bytes * rows;
    if (!rle) {
        if (d.image_bytes != 0 && d.image_bytes != plain_bytes)
            d.problems.push_back("the header states an image of " + std::to_string(d.image_bytes) +
                                 " bytes, the rows make " + std::to_string(plain_bytes));
        d.image_bytes = plain_bytes;
    } else if (d.image_bytes == 0) {
        d.problems.push_back("a run-length coded image must state its size");
    }

    const uint64_t masks = bitfields && d.header_size == 40 ? 12 : 0;
    const uint64_t table_at = kFileHeader + d.header_size + masks;
    const uint64_t table_bytes = d.colours * (core ? 3 : 4);
    if (table_at + table_bytes > b.size())
        d.problems.push_back("the colour table of " + std::to_string(d.colours) +
                             " entries runs past the end of the file");
    else if (d.pixel_offset < table_at + table_bytes)
        d.problems.push_back("the pixels start at byte " + std::to_string(d.pixel_offset) +
                             ", inside the headers and colour table");
    if (uint64_t{d.pixel_offset} + d.image_bytes > b.size())
        d.problems.push_back("the pixels (" + std::to_string(d.image_bytes) + " bytes from byte " +
                             std::to_string(d.pixel_offset) + ") run past the end of the file");

    // Problems of the file header alone do not stop the pixels being used.
    size_t serious = 0;
    for (const std::string& p : d.problems)
        if (p.rfind("the file header states", 0) != 0 && p.rfind("the header states", 0) != 0)
            ++serious;
    d.usable = serious == 0 && !bitfields && table_bytes <= 0xFFFF;
    if (!dib || !d.usable) return d;

    // The library's DIB: a 40- or 12-byte header, the table, the pixels.
    const uint32_t kept_header = core ? 12 : 40;
    const uint64_t block_size = kept_header + table_bytes + d.image_bytes;
    HANDLE block = GlobalAlloc(GHND, static_cast<SIZE_T>(block_size));
    if (!block) {
        d.problems.push_back("no memory for a DIB of " + std::to_string(block_size) + " bytes");
        d.usable = false;
        return d;
    }
    auto* out = static_cast<uint8_t*>(GlobalLock(block));
    std::memcpy(out, &b[h], kept_header);
    std::memcpy(out, &kept_header, 4);
    std::memcpy(out + kept_header, &b[table_at], table_bytes);
    std::memcpy(out + kept_header + table_bytes, &b[d.pixel_offset], d.image_bytes);
    GlobalUnlock(block);
    *dib = block;
    return d;
}

bool write_file(const std::string& path, HANDLE dib, std::string& problem) {
    const auto* block = static_cast<const uint8_t*>(GlobalLock(dib));
    if (!block) {
        problem = "no DIB to write";
        return false;
    }
    LPSTR header = const_cast<LPSTR>(reinterpret_cast<const char*>(block));
    uint32_t header_size;
    std::memcpy(&header_size, block, 4);
    const uint64_t pixels_at = static_cast<uint64_t>(FindDIBBits(header) - header);
    uint64_t image = 0;
    if (header_size == 40) {
        BITMAPINFOHEADER info;
        std::memcpy(&info, block, sizeof info);
        const uint64_t rows = info.biHeight < 0 ? -int64_t{info.biHeight} : info.biHeight;
        image = info.biSizeImage
                    ? info.biSizeImage
                    : ((uint64_t(info.biWidth) * info.biBitCount + 31) / 32) * 4 * rows;
    } else {
        BITMAPCOREHEADER core;
        std::memcpy(&core, block, sizeof core);
        image = ((uint64_t{core.bcWidth} * core.bcBitCount + 31) / 32) * 4 * core.bcHeight;
    }
    const uint64_t dib_bytes = pixels_at + image;
    if (dib_bytes > GlobalSize(dib) || kFileHeader + dib_bytes > 0xFFFFFFFFu) {
        GlobalUnlock(dib);
        problem = "the DIB is larger than its block";
        return false;
    }
    uint8_t file_header[kFileHeader] = {'B', 'M'};
    const uint32_t file_size = static_cast<uint32_t>(kFileHeader + dib_bytes);
    const uint32_t offset = static_cast<uint32_t>(kFileHeader + pixels_at);
    std::memcpy(file_header + 2, &file_size, 4);
    std::memcpy(file_header + 10, &offset, 4);
    FILE* file = std::fopen(path.c_str(), "wb");
    bool ok = file && std::fwrite(file_header, 1, sizeof file_header, file) == sizeof file_header &&
              std::fwrite(block, 1, static_cast<size_t>(dib_bytes), file) == dib_bytes;
    if (file && std::fclose(file) != 0) ok = false;
    GlobalUnlock(dib);
    if (!ok) problem = "cannot write " + path + ": " + std::strerror(errno);
    return ok;
}

} // namespace jxut::bmp
