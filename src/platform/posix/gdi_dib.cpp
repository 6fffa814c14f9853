// Device-independent bitmaps in and out of device bitmaps: CreateDIBitmap
// and GetDIBits, for DIBs of 1, 4, 8, 16, 24 and 32 bits, bottom-up and
// top-down, uncompressed, with bit fields, and run-length coded.
//
// Colours reach a DIB of 8 bits or fewer through its colour table: the
// palette selected into the context when it is one of the caller's, else the
// table Windows uses for the depth (default_colour_table). Each pixel takes
// the nearest entry by squared distance in RGB, the first of equals, which is
// what Windows and Wine give.
#include "dib_rle.h"
#include "graphics_layer.h"
#include "layer.h"

#include <algorithm>
#include <mutex>

using jx::posix::fail;

namespace jx::posix::gdi {
namespace {

// A DIB's description, read from its BITMAPINFO (or BITMAPCOREINFO).
struct DibFormat {
    bool core = false;
    DWORD header_size = 0;
    LONG width = 0;
    LONG height = 0; // negative: top row first
    int bits = 0;
    DWORD compression = BI_RGB;
    DWORD size_image = 0;
    DWORD colours_used = 0;
    DWORD masks[3] = {};

    bool top_down() const { return height < 0; }
    int rows() const { return height < 0 ? -height : height; }
    size_t stride() const { return ((static_cast<size_t>(width) * bits + 31) / 32) * 4; }
    int table_entries() const {
        if (bits > 8) return 0;
        const DWORD full = DWORD{1} << bits;
        return static_cast<int>(colours_used && colours_used < full ? colours_used : full);
    }
    size_t table_offset() const {
        return header_size + (compression == BI_BITFIELDS && header_size == 40 ? 12 : 0);
    }
};

bool read_format(const void* info, DibFormat& f) {
    DWORD size;
    std::memcpy(&size, info, sizeof size);
    f.header_size = size;
    if (size == sizeof(BITMAPCOREHEADER)) {
        BITMAPCOREHEADER h;
        std::memcpy(&h, info, sizeof h);
        f.core = true;
        f.width = h.bcWidth;
        f.height = h.bcHeight;
        f.bits = h.bcBitCount;
        return true;
    }
    // Version 4 and 5 headers begin as a BITMAPINFOHEADER and hold their
    // bit-field masks at byte 40.
    if (size != 40 && size != 52 && size != 56 && size != 108 && size != 124) return false;
    BITMAPINFOHEADER h;
    std::memcpy(&h, info, sizeof h);
    f.width = h.biWidth;
    f.height = h.biHeight;
    f.bits = h.biBitCount;
    f.compression = h.biCompression;
    f.size_image = h.biSizeImage;
    f.colours_used = h.biClrUsed;
    if (f.compression == BI_BITFIELDS)
        std::memcpy(f.masks, static_cast<const BYTE*>(info) + 40, sizeof f.masks);
    return true;
}

// Whether pixels of this format can be read or written.
bool supported(const DibFormat& f) {
    switch (f.compression) {
    case BI_RGB:
        return f.bits == 1 || f.bits == 4 || f.bits == 8 || f.bits == 16 || f.bits == 24 ||
               f.bits == 32;
    case BI_RLE8:
        return f.bits == 8 && !f.top_down();
    case BI_RLE4:
        return f.bits == 4 && !f.top_down();
    case BI_BITFIELDS:
        return (f.bits == 16 || f.bits == 32) && !f.core;
    default:
        return false;
    }
}

uint32_t rgb(BYTE r, BYTE g, BYTE b) {
    return (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
}

// The colours of a DIB's table, as RGB values.
std::vector<uint32_t> read_table(const DibFormat& f, const void* info, UINT usage,
                                 DeviceContext* dc) {
    std::vector<uint32_t> colours(static_cast<size_t>(f.table_entries()), 0);
    const BYTE* table = static_cast<const BYTE*>(info) + f.table_offset();
    for (size_t i = 0; i < colours.size(); ++i) {
        if (usage == DIB_PAL_COLORS) {
            WORD index;
            std::memcpy(&index, table + i * 2, sizeof index);
            const Palette* palette = dc ? &selected_palette(*dc) : nullptr;
            if (palette && index < palette->entries.size()) {
                const PALETTEENTRY& e = palette->entries[index];
                colours[i] = rgb(e.peRed, e.peGreen, e.peBlue);
            }
        } else {
            const BYTE* entry = table + i * (f.core ? 3 : 4);
            colours[i] = rgb(entry[2], entry[1], entry[0]);
        }
    }
    return colours;
}

// One channel out of a bit-field value, widened to 8 bits.
BYTE channel(uint32_t value, uint32_t mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    int width = 0;
    while (shift + width < 32 && ((mask >> (shift + width)) & 1)) ++width;
    const uint32_t v = (value & mask) >> shift;
    if (width >= 8) return static_cast<BYTE>(v >> (width - 8));
    uint32_t out = 0;
    int filled = 0;
    while (filled < 8) {
        out = (out << width) | v;
        filled += width;
    }
    return static_cast<BYTE>(out >> (filled - 8));
}

// Sets every pixel of `bitmap` from the DIB's rows.
void decode_rows(const DibFormat& f, const BYTE* bits, const std::vector<uint32_t>& table,
                 Bitmap& bitmap) {
    const int rows = std::min(f.rows(), bitmap.height);
    const int columns = std::min<int>(f.width, bitmap.width);
    const size_t stride = f.stride();
    DWORD masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (f.bits == 32) masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    if (f.compression == BI_BITFIELDS) std::copy(f.masks, f.masks + 3, masks);
    for (int r = 0; r < rows; ++r) {
        const BYTE* row = bits + stride * r;
        const int y = f.top_down() ? r : f.rows() - 1 - r;
        if (y >= bitmap.height) continue;
        for (int x = 0; x < columns; ++x) {
            uint32_t colour = 0;
            switch (f.bits) {
            case 1:
            case 4:
            case 8: {
                const size_t bit = static_cast<size_t>(x) * f.bits;
                const unsigned index =
                    (row[bit / 8] >> (8 - f.bits - bit % 8)) & ((1u << f.bits) - 1);
                colour = index < table.size() ? table[index] : 0;
                break;
            }
            case 16:
            case 32: {
                uint32_t v = 0;
                std::memcpy(&v, row + static_cast<size_t>(x) * (f.bits / 8), f.bits / 8);
                colour = rgb(channel(v, masks[0]), channel(v, masks[1]), channel(v, masks[2]));
                break;
            }
            default: {
                const BYTE* p = row + static_cast<size_t>(x) * 3;
                colour = rgb(p[2], p[1], p[0]);
                break;
            }
            }
            bitmap.put(x, y, colour);
        }
    }
}

void decode_rle(const DibFormat& f, const BYTE* bits, const std::vector<uint32_t>& table,
                Bitmap& bitmap) {
    rle::decode_each(bits, f.size_image, f.bits, bitmap.width, bitmap.height,
                     [&](int x, int row, int index) {
                         bitmap.put(x, bitmap.height - 1 - row,
                                    static_cast<size_t>(index) < table.size() ? table[index] : 0);
                     });
}

} // namespace

// Nearest colour-table entry for each colour, remembered per colour: images
// hold far fewer distinct colours than pixels.
class NearestColour {
public:
    explicit NearestColour(std::vector<uint32_t> table) : table_(std::move(table)) {
        keys_.assign(1 << 12, kEmpty);
        values_.assign(keys_.size(), 0);
    }

    BYTE operator()(uint32_t colour) {
        size_t slot = hash(colour) & (keys_.size() - 1);
        while (keys_[slot] != kEmpty) {
            if (keys_[slot] == colour) return values_[slot];
            slot = (slot + 1) & (keys_.size() - 1);
        }
        const BYTE index = search(colour);
        keys_[slot] = colour;
        values_[slot] = index;
        if (++used_ * 2 > keys_.size()) grow();
        return index;
    }

private:
    static constexpr uint32_t kEmpty = 0xFFFFFFFFu;
    static size_t hash(uint32_t colour) { return (colour * 2654435761u) >> 8; }

    BYTE search(uint32_t colour) const {
        const int r = colour >> 16, g = (colour >> 8) & 0xFF, b = colour & 0xFF;
        int best = 0, best_distance = 0x7FFFFFFF;
        for (size_t i = 0; i < table_.size(); ++i) {
            const int dr = static_cast<int>(table_[i] >> 16) - r;
            const int dg = static_cast<int>((table_[i] >> 8) & 0xFF) - g;
            const int db = static_cast<int>(table_[i] & 0xFF) - b;
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < best_distance) {
                best_distance = distance;
                best = static_cast<int>(i);
                if (distance == 0) break;
            }
        }
        return static_cast<BYTE>(best);
    }

    void grow() {
        std::vector<uint32_t> keys = std::move(keys_);
        std::vector<BYTE> values = std::move(values_);
        keys_.assign(keys.size() * 2, kEmpty);
        values_.assign(keys_.size(), 0);
        for (size_t i = 0; i < keys.size(); ++i) {
            if (keys[i] == kEmpty) continue;
            size_t slot = hash(keys[i]) & (keys_.size() - 1);
            while (keys_[slot] != kEmpty) slot = (slot + 1) & (keys_.size() - 1);
            keys_[slot] = keys[i];
            values_[slot] = values[i];
        }
    }

    std::vector<uint32_t> table_;
    std::vector<uint32_t> keys_;
    std::vector<BYTE> values_;
    size_t used_ = 0;
};

namespace {

// The colour table GetDIBits writes for `bits`: the caller's palette when
// one is selected, else the depth's own table. Unused entries are black.
std::vector<uint32_t> output_table(int bits, DeviceContext& dc, size_t& usable) {
    std::vector<uint32_t> table(size_t{1} << bits, 0);
    Palette& palette = selected_palette(dc);
    if (!palette.stock) {
        usable = std::min(table.size(), palette.entries.size());
        for (size_t i = 0; i < usable; ++i) {
            const PALETTEENTRY& e = palette.entries[i];
            table[i] = rgb(e.peRed, e.peGreen, e.peBlue);
        }
    } else {
        const std::vector<RGBQUAD>& own = default_colour_table(bits);
        usable = own.size();
        for (size_t i = 0; i < own.size(); ++i)
            table[i] = rgb(own[i].rgbRed, own[i].rgbGreen, own[i].rgbBlue);
    }
    return table;
}

void write_table(const DibFormat& f, const std::vector<uint32_t>& table, UINT usage, void* info) {
    BYTE* out = static_cast<BYTE*>(info) + f.table_offset();
    for (size_t i = 0; i < table.size(); ++i) {
        if (usage == DIB_PAL_COLORS) {
            const WORD index = static_cast<WORD>(i);
            std::memcpy(out + i * 2, &index, sizeof index);
        } else if (f.core) {
            const RGBTRIPLE t = {static_cast<BYTE>(table[i]), static_cast<BYTE>(table[i] >> 8),
                                 static_cast<BYTE>(table[i] >> 16)};
            std::memcpy(out + i * 3, &t, sizeof t);
        } else {
            const RGBQUAD q = {static_cast<BYTE>(table[i]), static_cast<BYTE>(table[i] >> 8),
                               static_cast<BYTE>(table[i] >> 16), 0};
            std::memcpy(out + i * 4, &q, sizeof q);
        }
    }
}

// A width x height view of the bitmap as colour-table indices, row 0 at the
// bottom; pixels outside the bitmap are black.
std::vector<BYTE> indices_of(const Bitmap& bitmap, int width, int height,
                             const std::vector<uint32_t>& table, size_t usable) {
    NearestColour nearest(std::vector<uint32_t>(table.begin(), table.begin() + usable));
    std::vector<BYTE> out(static_cast<size_t>(width) * height);
    const BYTE black = nearest(0);
    for (int y = 0; y < height; ++y) {
        BYTE* row = out.data() + static_cast<size_t>(height - 1 - y) * width;
        const int inside = y < bitmap.height ? std::min(width, bitmap.width) : 0;
        const uint32_t* source = bitmap.pixels.data() + static_cast<size_t>(y) * bitmap.width;
        for (int x = 0; x < inside; ++x) row[x] = nearest(source[x]);
        std::fill(row + inside, row + width, black);
    }
    return out;
}

// The last run-length coding made: asking for the image size and then for
// the pixels codes the same image twice otherwise.
struct CodedImage {
    uint64_t serial = 0;
    int bits = 0, width = 0, rows = 0;
    std::vector<uint32_t> table;
    std::vector<BYTE> coded;
};

std::mutex g_coded_mutex;
CodedImage g_coded;

std::vector<BYTE> coded_image(const Bitmap& bitmap, int bits, int width, int rows,
                              const std::vector<uint32_t>& table, size_t usable) {
    const std::vector<uint32_t> used(table.begin(), table.begin() + usable);
    {
        std::lock_guard<std::mutex> lock(g_coded_mutex);
        if (g_coded.serial == bitmap.serial && g_coded.bits == bits && g_coded.width == width &&
            g_coded.rows == rows && g_coded.table == used)
            return g_coded.coded;
    }
    const std::vector<BYTE> indices = indices_of(bitmap, width, rows, table, usable);
    std::vector<BYTE> coded = jx::posix::rle::encode(indices.data(), bits, width, rows);
    std::lock_guard<std::mutex> lock(g_coded_mutex);
    g_coded = {bitmap.serial, bits, width, rows, used, coded};
    return coded;
}

void encode_row(const DibFormat& f, const Bitmap& bitmap, int y, const BYTE* indices, BYTE* row) {
    const int columns = std::min<int>(f.width, bitmap.width);
    std::memset(row, 0, f.stride());
    for (int x = 0; x < columns; ++x) {
        const uint32_t colour = bitmap.get(x, y);
        switch (f.bits) {
        case 1:
        case 4:
        case 8: {
            const size_t bit = static_cast<size_t>(x) * f.bits;
            row[bit / 8] |= static_cast<BYTE>(indices[x] << (8 - f.bits - bit % 8));
            break;
        }
        case 16: {
            const WORD v = static_cast<WORD>(((colour >> 19 & 31) << 10) |
                                             ((colour >> 11 & 31) << 5) | (colour >> 3 & 31));
            std::memcpy(row + x * 2, &v, 2);
            break;
        }
        default: {
            BYTE* p = row + static_cast<size_t>(x) * (f.bits / 8);
            p[0] = static_cast<BYTE>(colour);
            p[1] = static_cast<BYTE>(colour >> 8);
            p[2] = static_cast<BYTE>(colour >> 16);
            break;
        }
        }
    }
}

} // namespace
} // namespace jx::posix::gdi

namespace gdi = jx::posix::gdi;

extern "C" {

// The bitmap is compatible with the context (monochrome without one). Run-
// length coded pixels are read only as far as the header's image size, so a
// compressed DIB must state it.
HBITMAP WINAPI CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                              const BITMAPINFO* info, UINT usage) {
    if (!header) return fail<HBITMAP>(ERROR_INVALID_PARAMETER, nullptr);
    gdi::DeviceContext* context = nullptr;
    if (dc && !(context = gdi::find_as<gdi::DeviceContext>(dc)))
        return fail<HBITMAP>(ERROR_INVALID_HANDLE, nullptr);
    gdi::DibFormat shape;
    // An empty size gives the 1 x 1 monochrome bitmap, as Windows does.
    if (!gdi::read_format(header, shape) || shape.width < 0)
        return fail<HBITMAP>(ERROR_INVALID_PARAMETER, nullptr);
    const int depth = context ? context->caps(BITSPIXEL) * context->caps(PLANES) : 1;
    std::unique_ptr<gdi::Bitmap> bitmap = gdi::make_bitmap(shape.width, shape.rows(), depth);
    if (!bitmap) return fail<HBITMAP>(ERROR_NOT_ENOUGH_MEMORY, nullptr);

    if ((init & CBM_INIT) && bits && info) {
        gdi::DibFormat format;
        if (!gdi::read_format(info, format) || !gdi::supported(format) || format.width <= 0 ||
            (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS))
            return fail<HBITMAP>(ERROR_INVALID_PARAMETER, nullptr);
        const bool rle = format.compression == BI_RLE8 || format.compression == BI_RLE4;
        if (rle && format.size_image == 0) return fail<HBITMAP>(ERROR_INVALID_PARAMETER, nullptr);
        const std::vector<uint32_t> table = gdi::read_table(format, info, usage, context);
        const auto* pixels = static_cast<const BYTE*>(bits);
        if (rle)
            gdi::decode_rle(format, pixels, table, *bitmap);
        else
            gdi::decode_rows(format, pixels, table, *bitmap);
    }
    return static_cast<HBITMAP>(gdi::add(std::move(bitmap)));
}

// With no pixel buffer GetDIBits only describes: with a bit count of 0 it
// fills in the bitmap's own format, else the image size and the colour
// table of the format asked for. With a buffer it writes the rows from
// `start` (counted from the bottom) and answers how many it wrote.
int WINAPI GetDIBits(HDC dc, HBITMAP handle, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info,
                     UINT usage) {
    gdi::DeviceContext* context = gdi::find_as<gdi::DeviceContext>(dc);
    const gdi::Bitmap* bitmap = gdi::find_as<gdi::Bitmap>(handle);
    if (!context || !bitmap || !info) return fail(ERROR_INVALID_PARAMETER, 0);
    if (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS) return fail(ERROR_INVALID_PARAMETER, 0);
    gdi::DibFormat f;
    if (!gdi::read_format(info, f)) return fail(ERROR_INVALID_PARAMETER, 0);

    if (f.bits == 0 && !f.core) {
        if (bits) return fail(ERROR_INVALID_PARAMETER, 0);
        BITMAPINFOHEADER& h = info->bmiHeader;
        h.biWidth = bitmap->width;
        h.biHeight = bitmap->height;
        h.biPlanes = 1;
        h.biBitCount = static_cast<WORD>(bitmap->bits_per_pixel);
        h.biCompression =
            (bitmap->bits_per_pixel == 16 || bitmap->bits_per_pixel == 32) ? BI_BITFIELDS : BI_RGB;
        h.biSizeImage = static_cast<DWORD>(
            ((static_cast<size_t>(bitmap->width) * bitmap->bits_per_pixel + 31) / 32) * 4 *
            bitmap->height);
        return bitmap->height;
    }
    if (!gdi::supported(f) || f.width <= 0 || f.height == 0)
        return fail(ERROR_INVALID_PARAMETER, 0);

    size_t usable = 0;
    std::vector<uint32_t> table;
    if (f.bits <= 8) {
        table = gdi::output_table(f.bits, *context, usable);
        gdi::write_table(f, table, usage, info);
    } else if (f.compression == BI_BITFIELDS) {
        // The layer writes 5-5-5 and 8-8-8 pixels and says so in the masks.
        const DWORD masks16[3] = {0x7C00, 0x03E0, 0x001F}, masks32[3] = {0xFF0000, 0xFF00, 0xFF};
        std::memcpy(reinterpret_cast<BYTE*>(info) + 40, f.bits == 16 ? masks16 : masks32,
                    sizeof masks16);
    }
    const bool rle = f.compression == BI_RLE8 || f.compression == BI_RLE4;
    const int rows = f.rows();
    // Only pixels that are written are mapped to the table; coded images
    // come from coded_image.
    std::vector<BYTE> indices;
    if (f.bits <= 8 && bits && !rle)
        indices = gdi::indices_of(*bitmap, f.width, rows, table, usable);
    std::vector<BYTE> coded;
    if (rle) coded = gdi::coded_image(*bitmap, f.bits, f.width, rows, table, usable);
    const size_t image_size = rle ? coded.size() : f.stride() * rows;
    if (!f.core) info->bmiHeader.biSizeImage = static_cast<DWORD>(image_size);
    if (!bits) return 1;

    if (rle) {
        if (start != 0) return fail(ERROR_INVALID_PARAMETER, 0);
        std::memcpy(bits, coded.data(), coded.size());
        return rows;
    }
    if (start >= static_cast<UINT>(rows)) return 0;
    const UINT count = std::min<UINT>(lines, rows - start);
    auto* out = static_cast<BYTE*>(bits);
    for (UINT i = 0; i < count; ++i) {
        const int r = static_cast<int>(start + i); // from the bottom
        const int y = f.top_down() ? r : rows - 1 - r;
        if (y >= bitmap->height) {
            std::memset(out + f.stride() * i, 0, f.stride());
            continue;
        }
        const BYTE* row_indices =
            indices.empty() ? nullptr
                            : indices.data() + static_cast<size_t>(rows - 1 - y) * f.width;
        gdi::encode_row(f, *bitmap, y, row_indices, out + f.stride() * i);
    }
    return static_cast<int>(count);
}
}
