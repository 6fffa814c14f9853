// Trimming and splitting of text lines: the small tools of the text import
// and of the application's own column readers.
#pragma once

#include "platform/win32.h"

extern "C" {
// Removes leading blanks and tabs and every trailing character of code 1 to
// 32, in place. A null pointer is accepted.
JX_API void strip_space(char* text);
// Removes leading blanks, tabs and double quotes and trailing blanks, line
// ends, tabs and double quotes, in place.
JX_API void strip_space_quotes(char* text);
JX_API void strip_space_quotes_wide(WCHAR* text);
// Field n (0-based) of a line, without quote handling; false when there is
// no such field or it does not fit the destination.
JX_API bool get_field_data(const char* line, int n, char* destination, int size, char delimiter);
// Field n of a line, with a quote character (0 for none) that protects
// delimiters inside a field.
JX_API bool GetFieldData(const char* line, int n, char* destination, int size, char delimiter,
                         char quote);
}

// Splits a string at a delimiter, reporting empty fields; null continues the
// last string. The string is modified in place.
JX_API char* get_delimited_fields(char* text, char delimiter);
