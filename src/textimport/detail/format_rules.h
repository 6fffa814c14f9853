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

} // namespace jx::textimport
