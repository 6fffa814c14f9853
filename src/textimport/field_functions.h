// Trimming and splitting of text lines: the small tools of the text import
// and of the application's own column readers.
#pragma once

#include "platform/win32.h"

extern "C" {
// Removes leading blanks and tabs and every trailing character of code 1 to
// 32, in place. Characters 128 to 255 stay. A null pointer is accepted.
JX_API void strip_space(char* text);
// Removes leading blanks, tabs and double quotes and trailing blanks, line
// ends, tabs and double quotes, in place. Quotes are not paired.
JX_API void strip_space_quotes(char* text);
JX_API void strip_space_quotes_wide(WCHAR* text);
// Field n (0-based; a negative n reads field 0) of a line, without quote
// handling: with a blank delimiter fields are runs of non-blanks, with any
// other every delimiter separates two fields. The field is trimmed as
// strip_space does, then loses one leading and one trailing double quote.
// False when there is no such field or the result does not fit `size` bytes
// (terminator included); the destination is then left untouched.
JX_API bool get_field_data(const char* line, int n, char* destination, int size, char delimiter);
// Field n of a line, with a quote character (0 for none) that protects
// delimiters inside a field. Leading blanks and double quotes and one
// trailing double quote are removed; blanks before a delimiter stay. False,
// with the destination untouched, as for get_field_data.
JX_API bool GetFieldData(const char* line, int n, char* destination, int size, char delimiter,
                         char quote);
}

// Splits a string at a delimiter, reporting empty fields (but not an empty
// field after a final delimiter); null continues the last string. The string
// is modified in place and must stay alive until the splitting ends. The
// cursor is shared by the whole process: one splitting at a time.
JX_API char* get_delimited_fields(char* text, char delimiter);
