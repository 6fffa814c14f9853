// How the worksheet log's buffer grows. Internal to the library; kept apart so
// the rule can be checked for line lengths the log itself never produces.
#pragma once

#include "platform/win32.h"

#include <cstddef>
#include <cstdint>

namespace jx::frame::detail {

constexpr DWORD kStatusGrowth = 1024;

// The capacity needed to append a line of `line` characters and "\r\n" to a
// text of `used` characters in a buffer of `size` bytes: `size` itself when
// the line fits with its line end and the terminator, else `size` grown by
// 1024 (or by the line's length and 3 when the line is longer than 1024),
// repeatedly. A single step is not always enough: a line of 1023 or 1024
// characters after a text that nearly fills the buffer needs two. Returns 0
// when the capacity would not fit in 32 bits.
constexpr DWORD status_capacity(DWORD size, size_t used, size_t line) {
    uint64_t capacity = size;
    const uint64_t needed = static_cast<uint64_t>(used) + line + 3;
    const uint64_t step = line <= kStatusGrowth ? kStatusGrowth : static_cast<uint64_t>(line) + 3;
    while (needed > capacity) {
        capacity += step;
        if (capacity > UINT32_MAX) return 0;
    }
    return static_cast<DWORD>(capacity);
}

} // namespace jx::frame::detail
