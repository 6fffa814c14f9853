// Fonts of the POSIX layer: a LOGFONTA resolved to a font file through
// fontconfig and measured with FreeType from the font's own tables, the way
// the Windows font mapper and GetTextMetricsA derive them. Internal to the
// layer.
#pragma once

#include "../win32.h"

#include <string>

namespace jx::posix::fonts {

// The face used when a LOGFONTA names a face that is not installed (or
// none), as the system's mapper falls back to its default sans face.
constexpr const char* kDefaultFace = "Liberation Sans";

struct Face {
    std::string file; // the font file
    int index = 0;    // face index inside the file
    std::string family;
};

// The installed face for the description: its family when installed by that
// exact name (at most 31 characters of lfFaceName count), otherwise the
// default face; the style nearest to lfWeight and lfItalic. False when not
// even the default face is installed.
bool resolve(const LOGFONTA& font, Face& face);

// Text metrics of `font` on a device of `dpi_x` by `dpi_y` dots per inch.
// False when no face can be found or read.
bool measure(const LOGFONTA& font, int dpi_x, int dpi_y, TEXTMETRICA& metrics);

} // namespace jx::posix::fonts
