// BMP files for `jxut bmp`: the 14-byte file header around a packed DIB.
//
// Reading checks the file against itself (signature, sizes, offsets, the
// colour table and the pixels within the file) and, when the pixels can be
// used, copies header, colour table and pixels into a DIB block of the
// library's kind (movable global memory). Version 4 and 5 headers are kept
// as their first 40 bytes, which is all the library reads.
#pragma once

#include "jx6ut.h"

#include <cstdint>
#include <string>
#include <vector>

namespace jxut::bmp {

struct Description {
    std::string header_kind; // "BITMAPINFOHEADER", "BITMAPCOREHEADER", "BITMAPV5HEADER", ...
    uint32_t header_size = 0;
    int64_t width = 0;
    int64_t height = 0; // negative: top row first
    unsigned bits = 0;
    uint32_t compression = 0;
    uint64_t colours = 0;   // entries of the colour table
    uint64_t row_bytes = 0; // of uncompressed rows
    uint64_t image_bytes = 0;
    uint64_t file_size = 0;
    uint32_t pixel_offset = 0;
    std::vector<std::string> problems; // empty: the file is consistent
    bool usable = false;               // the pixels can be handed to the library
};

// The name of a compression code ("BI_RGB", "BI_RLE8", ...; "unknown N").
std::string compression_name(uint32_t compression);

// Reads a file's bytes; false with `problem` set when it cannot be read.
bool read_file(const std::string& path, std::vector<uint8_t>& bytes, std::string& problem);

// Describes the bytes of a BMP file. With `dib` given and the pixels usable,
// also makes the DIB block (the caller frees it); a block that cannot be
// allocated is reported as a problem.
Description describe(const std::vector<uint8_t>& bytes, HANDLE* dib = nullptr);

// Writes a DIB block as a BMP file; false with `problem` set on failure.
bool write_file(const std::string& path, HANDLE dib, std::string& problem);

} // namespace jxut::bmp
