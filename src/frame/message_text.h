// Text helpers shared by the error record, the catalog functions and the
// worksheet log. Internal to the library: nothing here is exported.
#pragma once

#include "platform/win32.h"

#include <cstddef>

namespace jx::frame::detail {

// The FormatMessageA flags and language of every system text the library
// shows: allocate the buffer, ignore inserts, from the system (0x1300), in
// the user's default language (0x0400).
constexpr DWORD kSystemTextFlags =
    FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM;
constexpr DWORD kUserDefaultLanguage = 0x0400;

// A heap copy of `text` (new[]); null stays null.
char* copy_text(const char* text);
// Releases a text made by copy_text and nulls the pointer.
void release_text(char*& text);

// Windows' own text for a system error code, exactly as FormatMessageA gives
// it (with the line break that ends it), as a heap copy; an empty text when
// Windows has none.
char* copy_system_text(DWORD code);

// Copies at most size - 1 characters of `text` into `out` and terminates it;
// returns the number of characters copied. Does nothing when size is 0.
size_t copy_bounded(const char* text, char* out, size_t size);

// Fills a catalog text that carries a line number: every "%d" becomes the
// number and "%%" a single percent sign; anything else is copied as it is, so
// a text with other conversions can never read arguments that are not there.
// Writes at most size - 1 characters and terminates; does nothing when size
// is 0.
void fill_line_number(const char* pattern, int line, char* out, size_t size);

} // namespace jx::frame::detail
