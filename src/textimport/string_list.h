// The lines of a text file, read whole into memory.
#pragma once

#include "frame/error_handler.h"

// The stored lines of a text file: non-empty lines in file order, without
// their line ends. A line ends at its line feed (a carriage return just
// before it goes too), at the end of the file, or at the first 0 byte in it.
class JX_API string_list {
public:
    char** strings;  // the stored lines; count entries are used
    int* line_index; // one per stored line: its ordinal among the stored lines
    int count;       // number of stored lines

    string_list();
    // Empty, then filled from the file as init_string_list does.
    string_list(Error_Handler* record, const char* file_name);
    ~string_list();
    // Copies duplicate the lines, so each list releases only its own.
    string_list(const string_list& other);
    string_list& operator=(const string_list& other);

    // Replaces the contents with the lines of the file. Failures fill the
    // record and throw its pointer: the open and read failures of jxfileio,
    // 155 for an empty file, 342 (list emptied) for a byte that no text file
    // holds, ERROR_NOT_ENOUGH_MEMORY for a file too large to hold. The
    // previous contents survive every failure but 342.
    void init_string_list(Error_Handler* record, const char* file_name);
    // Length of the longest stored line; 0 for an empty list.
    unsigned get_maxstrlen() const;
};
