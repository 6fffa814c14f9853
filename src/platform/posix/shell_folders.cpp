// Folder items of the shell, and the folder dialog's default where there is
// no shell: the dialog is answered "cancelled" at once.
//
// An item here is one SHITEMID of our own: its size, a kind byte and, for a
// file-system item, the ANSI path with its terminator; the list ends with a
// size of zero as every item list does. "This computer" is an item without a
// path, like the Windows one.
#include "layer.h"
#include "../ui_hooks.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr BYTE kFileSystemItem = 'F';
constexpr BYTE kComputerItem = 'C';
constexpr size_t kHeader = sizeof(USHORT) + 1; // size field and kind byte

PIDLIST_ABSOLUTE make_item(BYTE kind, const char* path, size_t length) {
    const size_t item_size = kHeader + length + 1;
    auto* bytes = static_cast<BYTE*>(std::calloc(1, item_size + sizeof(USHORT)));
    if (!bytes) return nullptr;
    const USHORT cb = static_cast<USHORT>(item_size);
    std::memcpy(bytes, &cb, sizeof cb);
    bytes[sizeof(USHORT)] = kind;
    if (length) std::memcpy(bytes + kHeader, path, length);
    return reinterpret_cast<PIDLIST_ABSOLUTE>(bytes); // the terminator is calloc's zeros
}

} // namespace

using jx::posix::fail;

extern "C" {

// Like Windows, only an existing entry gives an item.
JX_API PIDLIST_ABSOLUTE WINAPI ILCreateFromPathA(LPCSTR path) {
    if (!path || _access(path, 0) != 0) return nullptr;
    const size_t length = std::strlen(path);
    if (length >= MAX_PATH) return nullptr;
    return make_item(kFileSystemItem, path, length);
}

JX_API void WINAPI ILFree(PIDLIST_RELATIVE item) {
    std::free(item);
}

HRESULT WINAPI SHGetSpecialFolderLocation(HWND, int folder, PIDLIST_ABSOLUTE* item) {
    if (!item) return E_INVALIDARG;
    *item = nullptr;
    if (folder != CSIDL_DRIVES) return E_INVALIDARG;
    *item = make_item(kComputerItem, "", 0);
    return *item ? S_OK : E_OUTOFMEMORY;
}

// The path of a file-system item (at most MAX_PATH characters with the
// terminator); any other item has none and leaves an empty text.
JX_API BOOL WINAPI SHGetPathFromIDListA(PCIDLIST_ABSOLUTE item, LPSTR path) {
    if (!path) return fail(ERROR_INVALID_PARAMETER, FALSE);
    path[0] = '\0';
    if (!item) return fail(ERROR_INVALID_PARAMETER, FALSE);
    const auto* bytes = reinterpret_cast<const BYTE*>(item);
    USHORT cb;
    std::memcpy(&cb, bytes, sizeof cb);
    if (cb <= kHeader || bytes[sizeof(USHORT)] != kFileSystemItem) return FALSE;
    const size_t length = strnlen(reinterpret_cast<const char*>(bytes + kHeader), cb - kHeader);
    if (length >= MAX_PATH) return FALSE;
    std::memcpy(path, bytes + kHeader, length);
    path[length] = '\0';
    return TRUE;
}
}

namespace jx::detail {

LPITEMIDLIST platform_browse_for_folder(BROWSEINFOA*) {
    return nullptr;
}

// Without a dialog there is nobody to tell.
LRESULT platform_dialog_message(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

} // namespace jx::detail
