// The message catalog's functions: texts by number for the library and the
// host, the message box of `error_handler`, and the lines of the interference
// log and of the duplicate-code report.
#include "catalog.h"
#include "catalog_ids.h"

#include "message_text.h"
#include "startup.h"
#include "platform/ui_hooks.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

using jx::frame::load_catalog_text;

namespace {

using namespace jx::catalog;

// The buffers texts are loaded into. A line of a report takes at most 79
// characters of its text; error_handler takes 258 of a catalog text and 259
// of a system text, and composes at most 1023.
constexpr int kLineText = 80;
constexpr int kBoxText = 259;
constexpr int kSystemText = 260;
constexpr int kBoxComposed = 1024;

const char* or_empty(const char* text) {
    return text ? text : "";
}

// Appends formatted text to what the buffer already holds, never writing
// past its size.
__attribute__((format(printf, 3, 4))) void append(char* buffer, size_t size, const char* format,
                                                  ...) {
    const size_t used = std::strlen(buffer);
    if (used + 1 >= size) return;
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer + used, size - used, format, args);
    va_end(args);
}

} // namespace

namespace jx::frame {

// String-table ids are 16 bits wide. Windows would fold a larger or negative
// id onto one of them (it keeps the low 16 bits), which would hand a caller
// an unrelated text; here such ids simply have no entry.
int load_catalog_text(int id, char* buffer, int size) {
    if (!buffer || size <= 0) return 0;
    buffer[0] = '\0';
    if (id < 0 || id > 0xFFFF) return 0;
    int length = LoadStringA(module_handle(), static_cast<UINT>(id), buffer, size);
    if (length <= 0) {
        buffer[0] = '\0';
        return 0;
    }
    if (length > size - 1) length = size - 1;
    buffer[length] = '\0';
    return length;
}

} // namespace jx::frame

int get_error_string(int id, char* buffer, int size) {
    return load_catalog_text(id, buffer, size);
}

int error_handler(HWND owner, int message_id, int title_id, const char* context, int line_number,
                  bool question) {
    UINT style;
    if (question)
        style = MB_YESNO | MB_ICONQUESTION;
    else if (title_id == kStatusTitle)
        style = MB_OK | MB_ICONINFORMATION;
    else if (title_id == kWarningTitle)
        style = MB_OK | MB_ICONWARNING;
    else
        style = MB_OK | MB_ICONERROR;

    char title[kBoxText];
    load_catalog_text(title_id, title, sizeof title);

    char message[kSystemText];
    if (message_id == kWindowsError) {
        // Taken only now: loading the title may itself have changed the
        // thread's error code, as it does on Windows when the title is missing.
        const DWORD code = GetLastError();
        char* text = jx::frame::detail::copy_system_text(code);
        jx::frame::detail::copy_bounded(text, message, sizeof message);
        jx::frame::detail::release_text(text);
    } else if (message_id == kSyntaxError) {
        char pattern[kBoxText];
        load_catalog_text(kSyntaxError, pattern, sizeof pattern);
        jx::frame::detail::fill_line_number(pattern, line_number, message, sizeof message);
    } else {
        load_catalog_text(message_id, message, kBoxText);
    }

    char text[kBoxComposed];
    if (context && *context) {
        if (question)
            std::snprintf(text, sizeof text, "%s\r\n%s\r\nContinue?", context, message);
        else
            std::snprintf(text, sizeof text, "%s\r\n%s", context, message);
    } else {
        std::snprintf(text, sizeof text, "%s%s", message, question ? "\r\nContinue?" : "");
    }
    return jx_message_box(owner, text, title, style);
}

void intrfere_errstr(int id, const char* place, const char* container, char* buffer, int size) {
    if (!buffer || size <= 0) return;
    // A place without its container is not a line of the log: the buffer
    // keeps what it held.
    if (place && !container) return;
    char text[kLineText];
    load_catalog_text(id, text, sizeof text);
    if (place)
        std::snprintf(buffer, size, "%s at %s in %s\r\n", text, place, container);
    else if (container)
        std::snprintf(buffer, size, "%s - %s\r\n", text, container);
    else
        std::snprintf(buffer, size, "%s\r\n\r\n", text);
}

// A missing code or entry is reported as an empty one rather than refused,
// so the report still says which index was left unchanged.
void cant_add_code(const char* code, const char* existing, const char* new_entry, bool antenna,
                   char* buffer, int size) {
    if (!buffer || size <= 0) return;
    char text[kLineText];
    buffer[0] = '\0';
    load_catalog_text(antenna ? kDuplicateAntennaCode : kDuplicateRadioCode, text, sizeof text);
    append(buffer, size, "%s - %s\r\n", text, or_empty(code));
    load_catalog_text(kExistingCode, text, sizeof text);
    append(buffer, size, "%s - %s\r\n", text, or_empty(existing));
    load_catalog_text(kNewCode, text, sizeof text);
    append(buffer, size, "%s - %s\r\n", text, or_empty(new_entry));
    load_catalog_text(kCodeNotAdded, text, sizeof text);
    append(buffer, size, "%s\r\n\r\n", text);
}
