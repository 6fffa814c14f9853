// Readings of txtimport_format fields that several of its members share.
#pragma once

#include "textimport/txtimport_format.h"

#include <algorithm>

namespace jx::textimport {

// A first line below 1 has no meaning; the preview and the import read it
// as 1, so that no line before the first stored one is ever addressed.
inline int first_line_of(const txtimport_format& f) {
    return std::max(f.first_line, 1);
}

// The line buffer is allocated a few zero bytes longer than line_buffer_size
// says, so that the field walk may read it eight bytes at a time up to its
// terminator without ever reading past the allocation.
constexpr size_t kLineBufferSlack = 8;

inline char* allocate_line_buffer(size_t size) {
    return new char[size + kLineBufferSlack]();
}

} // namespace jx::textimport
