// Run-length coding of 4- and 8-bit DIB pixels (BI_RLE4, BI_RLE8).
//
// A stream is a list of byte pairs. A first byte n > 0 is a run of n pixels:
// for 8 bits all of the second byte, for 4 bits its two nibbles in turn,
// high nibble first. A first byte 0 is an escape: 0 ends the line, 1 ends the
// bitmap, 2 is a delta (two more bytes move right and up), 3 to 255 is that
// many literal pixels that follow, padded to an even number of bytes.
// Lines run from the bottom of the image up.
//
//   8 bits, 4 x 1 of 7 7 7 9:  03 07 01 09 00 01
//   4 bits, 5 x 1 of 1 2 3 4 5: 00 05 12 34 50 00 00 01
#pragma once

#include "../win32.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace jx::posix::rle {

// Pixels not reached by the stream (skipped by a delta or an early end of
// line) are kNotSet.
constexpr int16_t kNotSet = -1;

// Decodes `size` bytes of a width x height image, calling put(x, y, value)
// for each pixel the stream sets, row 0 at the bottom. Runs that go past the
// end of a line are cut there; a delta or a line that leaves the image, or
// the end of the data, stops decoding, keeping what was decoded so far.
// Never reads past `size` bytes.
template <class Put>
void decode_each(const BYTE* data, size_t size, int bits, int width, int height, Put put) {
    long long x = 0, y = 0;
    size_t at = 0;
    const auto pixel = [&](int value) {
        if (x < width && y < height) put(static_cast<int>(x), static_cast<int>(y), value);
        ++x;
    };
    while (at + 2 <= size && y < height) {
        const BYTE first = data[at], second = data[at + 1];
        at += 2;
        if (first > 0) {
            for (int i = 0; i < first && x < width; ++i)
                pixel(bits == 8 ? second : (i % 2 == 0 ? second >> 4 : second & 0x0F));
            continue;
        }
        if (second == 0) { // end of line
            x = 0;
            ++y;
        } else if (second == 1) { // end of bitmap
            break;
        } else if (second == 2) { // delta
            if (at + 2 > size) break;
            x += data[at];
            y += data[at + 1];
            at += 2;
        } else { // literal pixels
            const size_t bytes = bits == 8 ? second : (second + 1u) / 2;
            if (at + bytes > size) break;
            for (int i = 0; i < second; ++i) {
                const BYTE b = data[at + (bits == 8 ? i : i / 2)];
                pixel(bits == 8 ? b : (i % 2 == 0 ? b >> 4 : b & 0x0F));
            }
            at += bytes + (bytes & 1);
        }
    }
}

// The same into a vector of width x height values, kNotSet where the stream
// sets nothing.
std::vector<int16_t> decode(const BYTE* data, size_t size, int bits, int width, int height);

// Encodes width x height pixel values (row 0 at the bottom, each less than
// 1 << bits) as the shortest stream this encoder knows: runs of two or more
// equal pixels as runs, stretches of three or more unequal pixels as literals,
// an end of line after each line but the last, and an end of bitmap.
std::vector<BYTE> encode(const BYTE* pixels, int bits, int width, int height);

} // namespace jx::posix::rle
