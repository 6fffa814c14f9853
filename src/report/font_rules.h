// The font conventions that the report and screen records share.
#pragma once

#include "platform/win32.h"

namespace jx::report::detail {

// A LOGFONTA height from a size in tenths of a point: whole points only
// (10.5 points make a 10-point font), at `dpi` dots per inch, negative so
// that the system matches the character height rather than the cell.
LONG font_height(int point_size_tenths, int dpi);

// A double as a 32-bit value, truncated toward zero; values beyond the range
// (a template of absurd size) stop at its ends, and NaN reads as 0.
LONG truncate_to_long(double value);
// The same for the smallest whole number not below `value`.
LONG ceiling_to_long(double value);

// Runs the font dialog on one font description with the flags the records
// use; on OK stores the chosen size and colour. `log_font` is edited in
// place by the dialog. Returns whether the user pressed OK.
bool choose_font(HWND owner, LOGFONTA& log_font, int& point_size, COLORREF& color);

} // namespace jx::report::detail
