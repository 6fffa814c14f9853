// Run-length coding of 4- and 8-bit DIB pixels; see dib_rle.h.
#include "dib_rle.h"

namespace jx::posix::rle {

std::vector<int16_t> decode(const BYTE* data, size_t size, int bits, int width, int height) {
    std::vector<int16_t> pixels(static_cast<size_t>(width) * height, kNotSet);
    decode_each(data, size, bits, width, height, [&](int x, int y, int value) {
        pixels[static_cast<size_t>(y) * width + x] = static_cast<int16_t>(value);
    });
    return pixels;
}

namespace {

class Writer {
public:
    explicit Writer(int bits) : bits_(bits) {}
    void run(int count, int value) {
        out.push_back(static_cast<BYTE>(count));
        out.push_back(static_cast<BYTE>(bits_ == 8 ? value : (value << 4) | value));
    }
    void literal(const BYTE* pixels, int count) {
        out.push_back(0);
        out.push_back(static_cast<BYTE>(count));
        size_t bytes = 0;
        if (bits_ == 8) {
            out.insert(out.end(), pixels, pixels + count);
            bytes = count;
        } else {
            for (int i = 0; i < count; i += 2) {
                const int low = i + 1 < count ? pixels[i + 1] : 0;
                out.push_back(static_cast<BYTE>((pixels[i] << 4) | low));
                ++bytes;
            }
        }
        if (bytes & 1) out.push_back(0);
    }
    void escape(BYTE code) {
        out.push_back(0);
        out.push_back(code);
    }
    std::vector<BYTE> out;

private:
    int bits_;
};

int run_length(const BYTE* row, int from, int width) {
    int n = 1;
    while (from + n < width && n < 255 && row[from + n] == row[from]) ++n;
    return n;
}

} // namespace

std::vector<BYTE> encode(const BYTE* pixels, int bits, int width, int height) {
    Writer writer(bits);
    writer.out.reserve(static_cast<size_t>(width) * height / 4 + 16);
    for (int y = 0; y < height; ++y) {
        const BYTE* row = pixels + static_cast<size_t>(y) * width;
        int x = 0;
        while (x < width) {
            const int run = run_length(row, x, width);
            if (run >= 2) {
                writer.run(run, row[x]);
                x += run;
                continue;
            }
            // Unequal pixels up to the next run of two, at most 255.
            int end = x + 1;
            while (end < width && end - x < 255 && !(end + 1 < width && row[end] == row[end + 1]))
                ++end;
            const int count = end - x;
            if (count >= 3) {
                writer.literal(row + x, count);
            } else {
                for (int i = 0; i < count; ++i) writer.run(1, row[x + i]);
            }
            x = end;
        }
        if (y + 1 < height) writer.escape(0);
    }
    writer.escape(1);
    return std::move(writer.out);
}

} // namespace jx::posix::rle
