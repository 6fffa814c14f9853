// Device bitmaps: what CreateBitmap and CreateCompatibleBitmap make and
// GetObjectA describes. A bitmap keeps its colours as the device holds them,
// reduced to its depth, so that what is read back is what the device shows.
#include "graphics_layer.h"
#include "layer.h"

#include <atomic>

using jx::posix::fail;

namespace jx::posix::gdi {
namespace {

// The largest bitmap the layer makes, in pixels: 128 MB of colours, more
// than an A3 page at 300 dots per inch. A run-length coded DIB of a few bytes
// can state any size, so larger requests fail as an allocation would rather
// than take the memory.
constexpr long long kMaxPixels = 1LL << 25;

int nearest_in(const std::vector<RGBQUAD>& table, uint32_t rgb) {
    const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    int best = 0, best_distance = 0x7FFFFFFF;
    for (size_t i = 0; i < table.size(); ++i) {
        const int dr = table[i].rgbRed - r, dg = table[i].rgbGreen - g, db = table[i].rgbBlue - b;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < best_distance) {
            best_distance = distance;
            best = static_cast<int>(i);
        }
    }
    return best;
}

uint32_t rgb_of(const RGBQUAD& q) {
    return (uint32_t{q.rgbRed} << 16) | (uint32_t{q.rgbGreen} << 8) | q.rgbBlue;
}

// A depth that a device bitmap can have, from what the caller asked for;
// 0 when none fits.
int device_depth(UINT bits) {
    for (int depth : {1, 4, 8, 16, 24, 32})
        if (bits <= static_cast<UINT>(depth)) return depth;
    return 0;
}

} // namespace

uint32_t reduce_to_depth(uint32_t rgb, int bits_per_pixel) {
    rgb &= 0xFFFFFF;
    switch (bits_per_pixel) {
    case 1:
    case 4:
    case 8: {
        const std::vector<RGBQUAD>& table = default_colour_table(bits_per_pixel);
        return rgb_of(table[nearest_in(table, rgb)]);
    }
    case 16: {
        // Five bits a channel, widened again by repeating the top bits.
        uint32_t out = 0;
        for (int shift : {16, 8, 0}) {
            const uint32_t five = ((rgb >> shift) & 0xFF) >> 3;
            out |= ((five << 3) | (five >> 2)) << shift;
        }
        return out;
    }
    default:
        return rgb;
    }
}

namespace {
std::atomic<uint64_t> g_serials{0};
} // namespace

Bitmap::Bitmap(int columns, int rows, int depth)
    : Object(OBJ_BITMAP), width(columns), height(rows), bits_per_pixel(depth),
      pixels(static_cast<size_t>(columns) * rows, 0), serial(++g_serials) {}

void Bitmap::touch() {
    serial = ++g_serials;
}

void Bitmap::put(int x, int y, uint32_t rgb) {
    pixels[static_cast<size_t>(y) * width + x] = reduce_to_depth(rgb, bits_per_pixel);
}

LONG Bitmap::width_bytes() const {
    return static_cast<LONG>(((static_cast<long long>(width) * bits_per_pixel + 15) / 16) * 2);
}

int Bitmap::describe(int size, void* buffer) const {
    if (!buffer) return sizeof(BITMAP);
    if (size < static_cast<int>(sizeof(BITMAP))) return 0;
    BITMAP description = {};
    description.bmType = 0;
    description.bmWidth = width;
    description.bmHeight = height;
    description.bmWidthBytes = width_bytes();
    description.bmPlanes = 1;
    description.bmBitsPixel = static_cast<WORD>(bits_per_pixel);
    description.bmBits = nullptr;
    std::memcpy(buffer, &description, sizeof description);
    return sizeof description;
}

std::unique_ptr<Bitmap> make_bitmap(int width, int height, int bits_per_pixel) {
    if (width < 0 || height < 0) return nullptr;
    // Windows answers an empty request with a 1 x 1 monochrome bitmap.
    if (width == 0 || height == 0) return std::make_unique<Bitmap>(1, 1, 1);
    if (static_cast<long long>(width) * height > kMaxPixels) return nullptr;
    return std::make_unique<Bitmap>(width, height, bits_per_pixel);
}

} // namespace jx::posix::gdi

namespace gdi = jx::posix::gdi;

extern "C" {

// Initial bits are rows in the device's own format, each padded to an even
// number of bytes, top row first.
HBITMAP WINAPI CreateBitmap(int width, int height, UINT planes, UINT bits_per_pixel,
                            const void* bits) {
    const int depth = gdi::device_depth(planes * bits_per_pixel);
    if (planes != 1 || depth == 0) return fail<HBITMAP>(ERROR_INVALID_PARAMETER, nullptr);
    std::unique_ptr<gdi::Bitmap> bitmap = gdi::make_bitmap(width, height, depth);
    if (!bitmap)
        return fail<HBITMAP>(
            width < 0 || height < 0 ? ERROR_INVALID_PARAMETER : ERROR_NOT_ENOUGH_MEMORY, nullptr);
    if (bits && width > 0 && height > 0) {
        const auto* rows = static_cast<const BYTE*>(bits);
        const size_t stride = static_cast<size_t>(bitmap->width_bytes());
        const std::vector<RGBQUAD>& table = gdi::default_colour_table(depth);
        for (int y = 0; y < bitmap->height; ++y) {
            const BYTE* row = rows + stride * y;
            for (int x = 0; x < bitmap->width; ++x) {
                uint32_t rgb = 0;
                switch (depth) {
                case 1:
                case 4:
                case 8: {
                    const size_t bit = static_cast<size_t>(x) * depth;
                    const int index = (row[bit / 8] >> (8 - depth - bit % 8)) & ((1 << depth) - 1);
                    rgb = gdi::rgb_of(table[index]);
                    break;
                }
                case 16: {
                    const unsigned v = row[x * 2] | (row[x * 2 + 1] << 8);
                    rgb = (((v >> 10) & 31) << 19) | (((v >> 5) & 31) << 11) | ((v & 31) << 3);
                    break;
                }
                default: {
                    const BYTE* p = row + static_cast<size_t>(x) * (depth / 8);
                    rgb = (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
                    break;
                }
                }
                bitmap->put(x, y, rgb);
            }
        }
    }
    return static_cast<HBITMAP>(gdi::add(std::move(bitmap)));
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC dc, int width, int height) {
    const gdi::DeviceContext* context = gdi::find_as<gdi::DeviceContext>(dc);
    if (!context) return fail<HBITMAP>(ERROR_INVALID_HANDLE, nullptr);
    std::unique_ptr<gdi::Bitmap> bitmap =
        gdi::make_bitmap(width, height, context->caps(BITSPIXEL) * context->caps(PLANES));
    if (!bitmap) return fail<HBITMAP>(ERROR_NOT_ENOUGH_MEMORY, nullptr);
    return static_cast<HBITMAP>(gdi::add(std::move(bitmap)));
}
}
