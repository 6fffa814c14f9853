// Logical palettes, the stock default palette, the colour tables that
// GetDIBits writes for 1-, 4- and 8-bit DIBs, and the system palette of a
// palette screen (8 bits per pixel or fewer).
#include "graphics_layer.h"
#include "layer.h"

#include <algorithm>
#include <mutex>

using jx::posix::fail;

namespace jx::posix::gdi {
namespace {

// The stock default palette: the twenty static colours of Windows.
const PALETTEENTRY kDefaultEntries[20] = {
    {0x00, 0x00, 0x00, 0}, {0x80, 0x00, 0x00, 0}, {0x00, 0x80, 0x00, 0}, {0x80, 0x80, 0x00, 0},
    {0x00, 0x00, 0x80, 0}, {0x80, 0x00, 0x80, 0}, {0x00, 0x80, 0x80, 0}, {0xC0, 0xC0, 0xC0, 0},
    {0xC0, 0xDC, 0xC0, 0}, {0xA6, 0xCA, 0xF0, 0}, {0xFF, 0xFB, 0xF0, 0}, {0xA0, 0xA0, 0xA4, 0},
    {0x80, 0x80, 0x80, 0}, {0xFF, 0x00, 0x00, 0}, {0x00, 0xFF, 0x00, 0}, {0xFF, 0xFF, 0x00, 0},
    {0x00, 0x00, 0xFF, 0}, {0xFF, 0x00, 0xFF, 0}, {0x00, 0xFF, 0xFF, 0}, {0xFF, 0xFF, 0xFF, 0},
};

RGBQUAD quad(const PALETTEENTRY& e) {
    return RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0};
}

std::vector<RGBQUAD> make_table(int bits) {
    std::vector<RGBQUAD> table;
    switch (bits) {
    case 1:
        table = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{0xFF, 0xFF, 0xFF, 0}};
        break;
    case 4:
        // The sixteen VGA colours: the dark half of the static colours, then
        // the bright half, with grey 0x808080 before silver.
        for (int i : {0, 1, 2, 3, 4, 5, 6, 12, 7, 13, 14, 15, 16, 17, 18, 19})
            table.push_back(quad(kDefaultEntries[i]));
        break;
    case 8:
        // The first and last ten static colours at both ends, and between
        // them a cube of 3 bits of red, 3 of green and 2 of blue taken from
        // the index itself.
        for (int i = 0; i < 256; ++i) {
            if (i < 10)
                table.push_back(quad(kDefaultEntries[i]));
            else if (i >= 246)
                table.push_back(quad(kDefaultEntries[i - 236]));
            else
                table.push_back(RGBQUAD{static_cast<BYTE>(i & 0xC0),
                                        static_cast<BYTE>((i & 0x38) << 2),
                                        static_cast<BYTE>((i & 0x07) << 5), 0});
        }
        break;
    default:
        break;
    }
    return table;
}

// The hardware palette of a palette screen: the static colours at both ends,
// and room between them for what RealizePalette brings in.
struct SystemPalette {
    std::vector<PALETTEENTRY> entries;
    size_t next_free = 10;
};

std::mutex g_system_mutex;
SystemPalette& system_palette_locked(int bits) {
    static SystemPalette palette;
    const size_t size = size_t{1} << bits;
    if (palette.entries.size() != size) {
        palette.entries.assign(size, PALETTEENTRY{0, 0, 0, 0});
        const std::vector<RGBQUAD>& table = default_colour_table(bits);
        for (size_t i = 0; i < size && i < table.size(); ++i)
            palette.entries[i] = {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
        if (bits == 8)
            for (size_t i = 10; i < 246; ++i) palette.entries[i] = {0, 0, 0, 0};
        palette.next_free = 10;
    }
    return palette;
}

} // namespace

const std::vector<RGBQUAD>& default_colour_table(int bits) {
    static const std::vector<RGBQUAD> tables[3] = {make_table(1), make_table(4), make_table(8)};
    static const std::vector<RGBQUAD> none;
    switch (bits) {
    case 1:
        return tables[0];
    case 4:
        return tables[1];
    case 8:
        return tables[2];
    default:
        return none;
    }
}

int Palette::describe(int size, void* buffer) const {
    const WORD count = static_cast<WORD>(entries.size());
    if (!buffer) return sizeof count;
    if (size < static_cast<int>(sizeof count)) return 0;
    std::memcpy(buffer, &count, sizeof count);
    return sizeof count;
}

UINT Palette::nearest(BYTE red, BYTE green, BYTE blue) const {
    UINT best = 0;
    int best_distance = 0x7FFFFFFF;
    for (size_t i = 0; i < entries.size(); ++i) {
        const int dr = entries[i].peRed - red, dg = entries[i].peGreen - green,
                  db = entries[i].peBlue - blue;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < best_distance) {
            best_distance = distance;
            best = static_cast<UINT>(i);
            if (distance == 0) break;
        }
    }
    return best;
}

const std::vector<PALETTEENTRY>& default_palette_entries() {
    static const std::vector<PALETTEENTRY> entries(std::begin(kDefaultEntries),
                                                   std::end(kDefaultEntries));
    return entries;
}

std::unique_ptr<Object> make_default_palette() {
    return std::make_unique<Palette>(default_palette_entries());
}

Palette& selected_palette(DeviceContext& dc) {
    if (auto* palette = dynamic_cast<Palette*>(dc.selected(Slot::palette))) return *palette;
    return *static_cast<Palette*>(stock_object(DEFAULT_PALETTE));
}

} // namespace jx::posix::gdi

namespace gdi = jx::posix::gdi;

extern "C" {

HPALETTE WINAPI CreatePalette(const LOGPALETTE* palette) {
    // The version is not checked: Windows takes any.
    if (!palette) return fail<HPALETTE>(ERROR_INVALID_PARAMETER, nullptr);
    std::vector<PALETTEENTRY> entries(palette->palPalEntry,
                                      palette->palPalEntry + palette->palNumEntries);
    return static_cast<HPALETTE>(gdi::add(std::make_unique<gdi::Palette>(std::move(entries))));
}

HPALETTE WINAPI SelectPalette(HDC dc, HPALETTE palette, BOOL) {
    gdi::DeviceContext* context = gdi::find_as<gdi::DeviceContext>(dc);
    gdi::Palette* selected = gdi::find_as<gdi::Palette>(palette);
    if (!context || !selected) return fail<HPALETTE>(ERROR_INVALID_HANDLE, nullptr);
    return gdi::handle_of<HPALETTE>(context->select(gdi::Slot::palette, selected));
}

// On a screen without a palette nothing is mapped and the answer is 0. On a
// palette screen the colours of the context's palette that the system
// palette lacks take its free entries, as far as they go.
UINT WINAPI RealizePalette(HDC dc) {
    gdi::DeviceContext* context = gdi::find_as<gdi::DeviceContext>(dc);
    if (!context) return fail<UINT>(ERROR_INVALID_HANDLE, GDI_ERROR);
    const jx_screen screen = gdi::screen();
    if (screen.bits_per_pixel > 8) return 0;
    gdi::Palette& palette = gdi::selected_palette(*context);
    if (palette.stock) return 0;
    std::lock_guard<std::mutex> lock(gdi::g_system_mutex);
    gdi::SystemPalette& system = gdi::system_palette_locked(screen.bits_per_pixel);
    const size_t last_free = system.entries.size() > 20 ? system.entries.size() - 10 : 0;
    UINT mapped = 0;
    for (const PALETTEENTRY& entry : palette.entries) {
        const auto same = [&](const PALETTEENTRY& e) {
            return e.peRed == entry.peRed && e.peGreen == entry.peGreen && e.peBlue == entry.peBlue;
        };
        if (std::find_if(system.entries.begin(), system.entries.begin() + system.next_free, same) !=
            system.entries.begin() + system.next_free)
            continue;
        if (system.next_free >= last_free) break;
        system.entries[system.next_free++] = {entry.peRed, entry.peGreen, entry.peBlue, 0};
        ++mapped;
    }
    return mapped;
}

UINT WINAPI GetPaletteEntries(HPALETTE palette, UINT start, UINT count, LPPALETTEENTRY entries) {
    const gdi::Palette* source = gdi::find_as<gdi::Palette>(palette);
    if (!source) return fail<UINT>(ERROR_INVALID_HANDLE, 0);
    const UINT size = static_cast<UINT>(source->entries.size());
    if (!entries) return size;
    if (start >= size) return 0;
    const UINT copied = std::min(count, size - start);
    std::copy_n(source->entries.begin() + start, copied, entries);
    return copied;
}

// A screen without a palette answers 0 entries but, as Wine does, still
// writes those asked for from the 256 of an 8-bit screen as it starts: the
// static colours at both ends, black between.
UINT WINAPI GetSystemPaletteEntries(HDC dc, UINT start, UINT count, LPPALETTEENTRY entries) {
    if (!gdi::find_as<gdi::DeviceContext>(dc)) return fail<UINT>(ERROR_INVALID_HANDLE, 0);
    const jx_screen screen = gdi::screen();
    const bool has_palette = screen.bits_per_pixel <= 8;
    std::vector<PALETTEENTRY> fresh;
    std::lock_guard<std::mutex> lock(gdi::g_system_mutex);
    if (!has_palette) {
        fresh.assign(256, PALETTEENTRY{0, 0, 0, 0});
        const std::vector<PALETTEENTRY>& statics = gdi::default_palette_entries();
        std::copy_n(statics.begin(), 10, fresh.begin());
        std::copy_n(statics.begin() + 10, 10, fresh.end() - 10);
    }
    const std::vector<PALETTEENTRY>& system =
        has_palette ? gdi::system_palette_locked(screen.bits_per_pixel).entries : fresh;
    const UINT size = static_cast<UINT>(system.size());
    if (!entries) return has_palette ? size : 0;
    if (start >= size) return 0;
    const UINT copied = std::min(count, size - start);
    std::copy_n(system.begin() + start, copied, entries);
    return has_palette ? copied : 0;
}

UINT WINAPI GetNearestPaletteIndex(HPALETTE palette, COLORREF colour) {
    const gdi::Palette* source = gdi::find_as<gdi::Palette>(palette);
    if (!source || source->entries.empty()) return fail<UINT>(ERROR_INVALID_HANDLE, CLR_INVALID);
    return source->nearest(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}
}
