// Virtual memory over POSIX: the regions that VirtualAlloc hands out for
// large blocks (a whole data file read into memory).
//
// A region is an anonymous mapping, zero-filled as Windows commits it. The
// kernel is asked to back regions of a few megabytes with large pages, so
// that filling one costs a fault every 2 MiB rather than every 4 KiB. Under
// AddressSanitizer regions come from the instrumented heap instead, so that
// reads past their end are still caught.
#include "layer.h"

#include <cstdlib>
#include <map>
#include <mutex>
#include <sys/mman.h>

#if defined(__SANITIZE_ADDRESS__)
#define JX_HEAP_REGIONS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define JX_HEAP_REGIONS 1
#endif
#endif

using jx::posix::fail;

namespace {

std::mutex g_regions_mutex;
std::map<void*, size_t> g_regions; // base address -> mapped length

void* map_region(size_t size) {
#if defined(JX_HEAP_REGIONS)
    return std::calloc(1, size);
#else
    constexpr size_t kLargePage = size_t{2} << 20;
    void* base = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED) return nullptr;
    if (size >= kLargePage) madvise(base, size, MADV_HUGEPAGE); // a hint; refusal is harmless
    return base;
#endif
}

void unmap_region(void* base, size_t size) {
#if defined(JX_HEAP_REGIONS)
    (void)size;
    std::free(base);
#else
    munmap(base, size);
#endif
}

} // namespace

extern "C" {

LPVOID WINAPI VirtualAlloc(LPVOID address, SIZE_T size, DWORD type, DWORD protect) {
    if (address || size == 0 || !(type & MEM_COMMIT) || (type & ~(MEM_COMMIT | MEM_RESERVE)) ||
        protect != PAGE_READWRITE)
        return fail<LPVOID>(ERROR_INVALID_PARAMETER, nullptr);
    void* base = map_region(size);
    if (!base) return fail<LPVOID>(ERROR_NOT_ENOUGH_MEMORY, nullptr);
    std::lock_guard<std::mutex> lock(g_regions_mutex);
    g_regions[base] = size;
    return base;
}

// Windows releases a region only whole: the size must be 0 and the address
// the region's base.
BOOL WINAPI VirtualFree(LPVOID address, SIZE_T size, DWORD type) {
    if (type != MEM_RELEASE || size != 0) return fail(ERROR_INVALID_PARAMETER, FALSE);
    size_t length = 0;
    {
        std::lock_guard<std::mutex> lock(g_regions_mutex);
        const auto region = g_regions.find(address);
        if (region == g_regions.end()) return fail(ERROR_INVALID_PARAMETER, FALSE);
        length = region->second;
        g_regions.erase(region);
    }
    unmap_region(address, length);
    return TRUE;
}
}

// The C runtime's realloc for the library's growing buffers.
extern "C" void* jx_realloc(void* block, size_t size) {
    return jx::posix::sys::realloc(block, size);
}
