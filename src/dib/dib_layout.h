// What a DIB block holds and where, for the conversion functions, which hand
// a block to the system only when everything the system will read lies
// inside it.
#pragma once

#include "platform/win32.h"

#include <cstdint>

namespace jx::dib {

// Header kinds, told apart by the first 32-bit field as the measurement
// functions do.
constexpr DWORD kInfoHeaderSize = 40;
constexpr DWORD kCoreHeaderSize = 12;

// The fields of either header kind.
struct Header {
    bool info = false; // a 40-byte header; else read as a core header
    DWORD size_field = 0;
    int64_t width = 0;
    int64_t height = 0;
    DWORD bit_count = 0;
    DWORD compression = BI_RGB;
    DWORD size_image = 0;
    DWORD colours_used = 0;
};

// Reads the header at `dib`, which must hold at least 40 bytes, or 12 when
// the first field is not 40.
Header read_header(const BYTE* dib);

// Whether a block of `block_size` bytes holds the whole header that its
// first field announces, so that read_header may read it.
bool header_fits(const BYTE* dib, SIZE_T block_size);

// Row size in bytes, ((bits x width + 31) / 32) x 4, without overflow.
uint64_t row_bytes(uint64_t width, uint64_t bits);

// Colour-table entries as DIBNumColors counts them, before the 16-bit cut.
uint64_t colour_entries(const Header& header);

// Whether a block of `block_size` bytes holds a DIB that the system can read
// whole: a 40- or 12-byte header, a depth and compression that go together,
// a positive width and a height that is not 0 (negative only uncompressed), a
// colour table of at most 2 ^ bit count entries, and pixels (rows, or the
// stated image size when run-length coded) that end inside the block.
bool is_whole(const BYTE* dib, SIZE_T block_size);

// The largest block a DIB function makes: what a 32-bit size can state.
constexpr uint64_t kMaxBlock = 0xFFFFFFFFu;

} // namespace jx::dib
