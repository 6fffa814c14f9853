// Global memory over POSIX: fixed and movable blocks with lock counts.
//
// A fixed block's handle is its address, as on Windows. A movable block's
// handle names a small record that holds the current address, so the data
// can move while the handle stays the same; it moves on every reallocation
// that Windows allows to move it, which makes a caller that keeps a pointer
// across GlobalReAlloc fail under the sanitizers rather than by luck.
#include "layer.h"
#include "graphics_layer.h"

#include <cstdlib>
#include <mutex>
#include <unordered_map>

using jx::posix::fail;

namespace {

struct Block {
    void* data = nullptr; // null for a movable block of 0 bytes (discarded)
    size_t size = 0;
    bool movable = false;
    unsigned locks = 0;
};

std::mutex g_mutex;
// Keyed by handle: the data address for fixed blocks, the record for
// movable ones.
std::unordered_map<void*, Block*> g_blocks;

Block* find_locked(HGLOBAL handle) {
    const auto found = g_blocks.find(handle);
    return found == g_blocks.end() ? nullptr : found->second;
}

void* allocate(size_t bytes, bool zero) {
    const size_t n = bytes ? bytes : 1;
    return zero ? std::calloc(1, n) : std::malloc(n);
}

} // namespace

namespace jx::posix {
size_t live_global_blocks() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_blocks.size();
}
} // namespace jx::posix

extern "C" {

HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes) {
    if (flags & ~(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DISCARDABLE))
        return fail<HGLOBAL>(ERROR_INVALID_PARAMETER, nullptr);
    auto* block = new Block;
    block->movable = (flags & GMEM_MOVEABLE) != 0;
    block->size = bytes;
    // A movable block of 0 bytes is born discarded: it has a handle, no data.
    if (!block->movable || bytes) {
        block->data = allocate(bytes, (flags & GMEM_ZEROINIT) != 0);
        if (!block->data) {
            delete block;
            return fail<HGLOBAL>(ERROR_NOT_ENOUGH_MEMORY, nullptr);
        }
    }
    void* handle = block->movable ? static_cast<void*>(block) : block->data;
    std::lock_guard<std::mutex> lock(g_mutex);
    g_blocks[handle] = block;
    return handle;
}

LPVOID WINAPI GlobalLock(HGLOBAL memory) {
    std::lock_guard<std::mutex> lock(g_mutex);
    Block* block = find_locked(memory);
    if (!block) return fail<LPVOID>(ERROR_INVALID_HANDLE, nullptr);
    if (!block->movable) return block->data;
    if (!block->data) return fail<LPVOID>(ERROR_DISCARDED, nullptr);
    if (block->locks < GMEM_LOCKCOUNT) ++block->locks;
    return block->data;
}

// TRUE while the block stays locked; FALSE with error 0 when this call
// unlocked it, FALSE with ERROR_NOT_LOCKED when it was not locked.
BOOL WINAPI GlobalUnlock(HGLOBAL memory) {
    std::lock_guard<std::mutex> lock(g_mutex);
    Block* block = find_locked(memory);
    if (!block) return fail(ERROR_INVALID_HANDLE, FALSE);
    if (!block->movable) return TRUE;
    if (block->locks == 0) return fail(ERROR_NOT_LOCKED, FALSE);
    if (--block->locks > 0) return TRUE;
    return fail(NO_ERROR, FALSE);
}

SIZE_T WINAPI GlobalSize(HGLOBAL memory) {
    std::lock_guard<std::mutex> lock(g_mutex);
    Block* block = find_locked(memory);
    if (!block) return fail<SIZE_T>(ERROR_INVALID_HANDLE, 0);
    return block->data ? block->size : 0;
}

UINT WINAPI GlobalFlags(HGLOBAL memory) {
    std::lock_guard<std::mutex> lock(g_mutex);
    Block* block = find_locked(memory);
    if (!block) return fail<UINT>(ERROR_INVALID_HANDLE, GMEM_INVALID_HANDLE);
    return block->locks | (block->movable && !block->data ? GMEM_DISCARDED : 0u);
}

// Windows frees a block even while it is locked. The handle comes back when
// it names no block.
HGLOBAL WINAPI GlobalFree(HGLOBAL memory) {
    if (!memory) return nullptr;
    Block* block;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        block = find_locked(memory);
        if (!block) return fail<HGLOBAL>(ERROR_INVALID_HANDLE, memory);
        g_blocks.erase(memory);
    }
    std::free(block->data);
    delete block;
    return nullptr;
}

// A movable block that is not locked may move; a locked or fixed one moves
// only when the caller says GMEM_MOVEABLE, and otherwise changes in place,
// which this layer can do only when it shrinks. GMEM_ZEROINIT zeroes what
// the block grows by.
HGLOBAL WINAPI GlobalReAlloc(HGLOBAL memory, SIZE_T bytes, UINT flags) {
    if (flags & GMEM_MODIFY) return fail<HGLOBAL>(ERROR_INVALID_PARAMETER, nullptr);
    std::lock_guard<std::mutex> lock(g_mutex);
    Block* block = find_locked(memory);
    if (!block) return fail<HGLOBAL>(ERROR_INVALID_HANDLE, nullptr);
    const bool may_move = (block->movable && block->locks == 0) || (flags & GMEM_MOVEABLE);
    const size_t old_size = block->data ? block->size : 0;

    if (block->movable && bytes == 0) {
        if (block->locks) return fail<HGLOBAL>(ERROR_INVALID_PARAMETER, nullptr);
        std::free(block->data);
        block->data = nullptr;
        block->size = 0;
        return memory;
    }
    if (!may_move) {
        if (bytes > old_size) return fail<HGLOBAL>(ERROR_NOT_ENOUGH_MEMORY, nullptr);
        block->size = bytes;
        return memory;
    }
    void* moved = allocate(bytes, false);
    if (!moved) return fail<HGLOBAL>(ERROR_NOT_ENOUGH_MEMORY, nullptr);
    const size_t kept = old_size < bytes ? old_size : bytes;
    if (kept) std::memcpy(moved, block->data, kept);
    if (bytes > kept && (flags & GMEM_ZEROINIT))
        std::memset(static_cast<char*>(moved) + kept, 0, bytes - kept);
    std::free(block->data);
    block->data = moved;
    block->size = bytes;
    if (block->movable) return memory;
    // A fixed block's handle is its address, so a moved one has a new handle.
    g_blocks.erase(memory);
    g_blocks[moved] = block;
    return moved;
}
}
