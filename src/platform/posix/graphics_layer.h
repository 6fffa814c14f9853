// Internals of the POSIX layer's graphics: the GDI object table, device
// contexts, the screen, palettes and device bitmaps. Nothing here is seen by
// library code above src/platform/.
//
// Each kind of GDI object is a class derived from gdi::Object and answers the
// kind-specific parts of the generic calls (GetObjectA, SelectObject,
// DeleteObject) itself, so a new kind (fonts, printer contexts) adds a class
// and, for a stock object, one line in the stock table, without touching the
// generic calls.
#pragma once

#include "../screen.h"
#include "../win32.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace jx::posix {

// Test seam: global memory blocks not yet freed.
size_t live_global_blocks();

namespace gdi {

class DeviceContext;

class Object {
public:
    explicit Object(DWORD type) : type_(type) {}
    virtual ~Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    // The OBJ_ code that GetObjectType reports.
    DWORD type() const { return type_; }
    // GetObjectA: copies the kind's description into `buffer` (at most `size`
    // bytes) and returns the bytes copied, or the size of the description
    // when `buffer` is null; 0 for a kind that has none.
    virtual int describe(int size, void* buffer) const;
    // SelectObject: puts this object into its slot of `dc` and returns the
    // object it displaces; null when this kind cannot be selected that way
    // (palettes go through SelectPalette).
    virtual Object* select_into(DeviceContext& dc);
    // Device contexts are ended by ReleaseDC or DeleteDC, never DeleteObject.
    virtual bool deleted_by_delete_object() const { return true; }

    bool stock = false;    // never deleted; DeleteObject answers TRUE
    int selections = 0;    // device contexts it is selected into
    bool orphaned = false; // deleted while selected: goes when the last context lets go

private:
    DWORD type_;
};

// The object table. A handle is the object's address; the table says which
// addresses are live objects, so that stale or foreign handles are refused
// rather than followed.
HGDIOBJ add(std::unique_ptr<Object> object);
Object* find(HGDIOBJ handle);
template <class T> T* find_as(HGDIOBJ handle) {
    return dynamic_cast<T*>(find(handle));
}
// Destroys a live object, or, while a context still holds it, takes its
// handle away and leaves it to the context; false when the handle names none.
bool remove(HGDIOBJ handle);
// Live objects that are not stock objects (test seam).
size_t live_objects();
// The stock object with GetStockObject's index, made on first use; null for
// an index the layer has none for.
Object* stock_object(int index);

template <class Handle> Handle handle_of(Object* object) {
    return reinterpret_cast<Handle>(object);
}

// The slots of a device context, one per kind of selectable object.
enum class Slot { bitmap, palette, font, count };

class DeviceContext : public Object {
public:
    explicit DeviceContext(DWORD type = OBJ_DC);
    ~DeviceContext() override;
    // GetDeviceCaps.
    virtual int caps(int index) const = 0;
    // ReleaseDC ends screen and window contexts; DeleteDC ends the others.
    virtual bool released_by_release_dc() const { return false; }
    bool deleted_by_delete_object() const override { return false; }

    Object* selected(Slot slot) const { return slots_[static_cast<int>(slot)]; }
    // Puts `object` into `slot` and returns what was there.
    Object* select(Slot slot, Object* object);

private:
    Object* slots_[static_cast<int>(Slot::count)] = {};
};

// ---------------------------------------------------------------------------
// The screen.
jx_screen screen();
bool screen_has_palette(); // 8 bits per pixel or fewer
// The contexts GetDC gives: the screen's, for any window.
std::unique_ptr<DeviceContext> make_screen_context();

// ---------------------------------------------------------------------------
// Palettes.
class Palette : public Object {
public:
    explicit Palette(std::vector<PALETTEENTRY> colours)
        : Object(OBJ_PAL), entries(std::move(colours)) {}
    int describe(int size, void* buffer) const override;
    // The entry nearest to `colour` (squared distance, first of equals).
    UINT nearest(BYTE red, BYTE green, BYTE blue) const;
    std::vector<PALETTEENTRY> entries;
};

// The colour table GetDIBits writes for a DIB of 1, 4 or 8 bits when no
// palette of the caller's is selected (empty for other depths).
const std::vector<RGBQUAD>& default_colour_table(int bits);
// The twenty colours of the stock default palette.
const std::vector<PALETTEENTRY>& default_palette_entries();
std::unique_ptr<Object> make_default_palette();
// The palette selected into `dc` (the stock default palette when none is).
Palette& selected_palette(DeviceContext& dc);

// ---------------------------------------------------------------------------
// Fonts: the stock system font that every new device context holds.
std::unique_ptr<Object> make_system_font();

// ---------------------------------------------------------------------------
// Device bitmaps. Pixels are held as 0x00RRGGBB, already reduced to what the
// bitmap's depth can hold, so reading one back gives what the device shows.
class Bitmap : public Object {
public:
    Bitmap(int columns, int rows, int depth);
    int describe(int size, void* buffer) const override;
    // Stores a colour as the device would: reduced to the bitmap's depth.
    void put(int x, int y, uint32_t rgb);
    uint32_t get(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // Bytes of one row of the device's own format (even, as Windows pads).
    LONG width_bytes() const;

    int width;
    int height;
    int bits_per_pixel;
    std::vector<uint32_t> pixels; // top row first
    // Names these pixels for what is worked out from them once (the run-
    // length coding of GetDIBits); whatever changes the pixels calls touch().
    uint64_t serial;
    void touch();
};
// Reduces a colour to what a device bitmap of `bits_per_pixel` holds.
uint32_t reduce_to_depth(uint32_t rgb, int bits_per_pixel);
// A new device bitmap; null when the size is negative or too large.
std::unique_ptr<Bitmap> make_bitmap(int width, int height, int bits_per_pixel);

} // namespace gdi
} // namespace jx::posix
