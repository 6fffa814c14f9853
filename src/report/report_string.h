// The plain text of a report, accumulated in one growing buffer: a title
// line stamped with the date and time, text pieces and line breaks.
#pragma once

#include "platform/win32.h"

class JX_API report_string {
public:
    DWORD capacity; // bytes allocated for buffer; starts at 1024, only grows
    DWORD length;   // characters before the terminator
    char* buffer;   // always NUL-terminated

    report_string();
    ~report_string();
    // Copies duplicate the buffer, so each object releases its own.
    report_string(const report_string& other);
    report_string& operator=(const report_string& other);

    // Appends "TITLE - Www Mmm dd hh:mm:ss yyyy\r\n". A title longer than 994
    // characters is cut to its first 994, so the stamp and the line end are
    // never lost.
    void set_title(const char* title);
    // When the buffer cannot grow, the piece is dropped and the text so far
    // stays as it was.
    void add_string(const char* text);
    void add_line();
    char* get_rept_buff();
    unsigned int get_buff_len();
};
