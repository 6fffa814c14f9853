// The GDI object table and the calls that work on any kind of object:
// GetObjectA, GetObjectType, SelectObject, DeleteObject, GetStockObject,
// GetDeviceCaps. Each kind answers for itself (graphics_layer.h).
#include "graphics_layer.h"
#include "layer.h"

#include <map>
#include <mutex>
#include <unordered_map>

using jx::posix::fail;

namespace jx::posix::gdi {
namespace {

std::recursive_mutex& table_mutex() {
    static std::recursive_mutex mutex;
    return mutex;
}

// Owned objects by handle. Stock objects stay for the life of the process.
std::unordered_map<HGDIOBJ, std::unique_ptr<Object>>& table() {
    static auto* objects = new std::unordered_map<HGDIOBJ, std::unique_ptr<Object>>;
    return *objects;
}

// The stock objects the layer has, by GetStockObject's index. A new kind of
// stock object adds its line here.
struct StockMaker {
    int index;
    std::unique_ptr<Object> (*make)();
};
const StockMaker kStockMakers[] = {
    {DEFAULT_PALETTE, make_default_palette},
    {SYSTEM_FONT, make_system_font},
};

// What a new device context holds before anything is selected into it: the
// stock object of each slot.
struct DefaultSelection {
    Slot slot;
    int stock_index;
};
const DefaultSelection kDefaultSelections[] = {
    {Slot::palette, DEFAULT_PALETTE},
    {Slot::font, SYSTEM_FONT},
};

} // namespace

int Object::describe(int, void*) const {
    return 0;
}

Object* Object::select_into(DeviceContext&) {
    return nullptr;
}

HGDIOBJ add(std::unique_ptr<Object> object) {
    if (!object) return nullptr;
    HGDIOBJ handle = object.get();
    std::lock_guard<std::recursive_mutex> lock(table_mutex());
    table()[handle] = std::move(object);
    return handle;
}

Object* find(HGDIOBJ handle) {
    if (!handle) return nullptr;
    std::lock_guard<std::recursive_mutex> lock(table_mutex());
    const auto found = table().find(handle);
    return found == table().end() ? nullptr : found->second.get();
}

bool remove(HGDIOBJ handle) {
    std::unique_ptr<Object> doomed;
    {
        std::lock_guard<std::recursive_mutex> lock(table_mutex());
        const auto found = table().find(handle);
        if (found == table().end() || found->second->stock) return false;
        doomed = std::move(found->second);
        table().erase(found);
    }
    if (doomed->selections > 0) {
        doomed->orphaned = true;
        doomed.release(); // the last context to let go destroys it
    }
    return true;
}

size_t live_objects() {
    std::lock_guard<std::recursive_mutex> lock(table_mutex());
    size_t count = 0;
    for (const auto& entry : table())
        if (!entry.second->stock) ++count;
    return count;
}

Object* stock_object(int index) {
    std::lock_guard<std::recursive_mutex> lock(table_mutex());
    static std::map<int, Object*> made;
    const auto found = made.find(index);
    if (found != made.end()) return found->second;
    for (const StockMaker& maker : kStockMakers) {
        if (maker.index != index) continue;
        std::unique_ptr<Object> object = maker.make();
        object->stock = true;
        Object* raw = object.get();
        add(std::move(object));
        made[index] = raw;
        return raw;
    }
    return nullptr;
}

DeviceContext::DeviceContext(DWORD type) : Object(type) {
    for (const DefaultSelection& selection : kDefaultSelections)
        if (Object* object = stock_object(selection.stock_index)) select(selection.slot, object);
}

namespace {
// Lets go of an object; one deleted while held goes with its last holder.
void let_go(Object* object) {
    if (!object) return;
    --object->selections;
    if (object->orphaned && object->selections == 0) delete object;
}
} // namespace

DeviceContext::~DeviceContext() {
    for (Object* object : slots_) let_go(object);
}

Object* DeviceContext::select(Slot slot, Object* object) {
    Object*& held = slots_[static_cast<int>(slot)];
    Object* previous = held;
    held = object;
    if (object) ++object->selections;
    if (previous && previous->orphaned && previous->selections == 1) {
        let_go(previous);
        return nullptr; // its handle is gone
    }
    if (previous) --previous->selections;
    return previous;
}

} // namespace jx::posix::gdi

namespace gdi = jx::posix::gdi;

extern "C" {

HGDIOBJ WINAPI GetStockObject(int index) {
    return gdi::stock_object(index);
}

DWORD WINAPI GetObjectType(HGDIOBJ handle) {
    const gdi::Object* object = gdi::find(handle);
    if (!object) return fail<DWORD>(ERROR_INVALID_HANDLE, 0);
    return object->type();
}

int WINAPI GetObjectA(HGDIOBJ handle, int size, LPVOID buffer) {
    const gdi::Object* object = gdi::find(handle);
    if (!object) return fail(ERROR_INVALID_HANDLE, 0);
    if (size < 0) return fail(ERROR_INVALID_PARAMETER, 0);
    return object->describe(size, buffer);
}

HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ handle) {
    gdi::DeviceContext* context = gdi::find_as<gdi::DeviceContext>(dc);
    gdi::Object* object = gdi::find(handle);
    if (!context || !object) return fail<HGDIOBJ>(ERROR_INVALID_HANDLE, nullptr);
    return object->select_into(*context);
}

// Stock objects are never deleted, and deleting one succeeds. An object that
// a context still holds loses its handle at once and goes when the context
// lets go of it, as Wine does with palettes.
BOOL WINAPI DeleteObject(HGDIOBJ handle) {
    gdi::Object* object = gdi::find(handle);
    if (!object || !object->deleted_by_delete_object()) return fail(ERROR_INVALID_HANDLE, FALSE);
    if (object->stock) return TRUE;
    return gdi::remove(handle) ? TRUE : FALSE;
}

int WINAPI GetDeviceCaps(HDC dc, int index) {
    const gdi::DeviceContext* context = gdi::find_as<gdi::DeviceContext>(dc);
    if (!context) return fail(ERROR_INVALID_HANDLE, 0);
    return context->caps(index);
}
}
