// The message catalog: numbered texts in the library's string-table resource,
// and the functions that lend them to the host.
#pragma once

#include "platform/win32.h"

extern "C" {
// Copies catalog text `id` into the buffer, cut to fit and zero-terminated;
// returns the number of characters copied (0 when the id has no text).
JX_API int get_error_string(int id, char* buffer, int size);
// Writes one line of the interference error log into the buffer.
JX_API void intrfere_errstr(int id, const char* place, const char* container, char* buffer,
                            int size);
// Writes the four-line duplicate-code report into the buffer.
JX_API void cant_add_code(const char* code, const char* existing, const char* new_entry,
                          bool antenna, char* buffer, int size);
}

// Shows a message box built from a message id and a title id; returns the
// box's answer.
JX_API int error_handler(HWND owner, int message_id, int title_id, const char* context,
                         int line_number, bool question);

namespace jx::frame {
// Loads catalog text `id` into a buffer of `size` bytes (at most size - 1
// characters); an id without an entry gives an empty text. Returns the length.
int load_catalog_text(int id, char* buffer, int size);
} // namespace jx::frame
