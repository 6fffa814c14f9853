// The line rules of the translators' text files: language texts, menu texts
// and the identifier header. The classes read their files through these, and
// so does jxut's checker, which therefore sees exactly what a compilation
// sees.
#pragma once

#include <cstdio>

namespace jx::uitext {

// What a reader consumed to produce one logical line.
struct LineInfo {
    int lines = 0;         // physical lines read (skipped ones included)
    bool too_long = false; // a line did not fit the buffer and was split
};

// Language text line, read into `buffer` (`size` bytes, so at most size - 1
// characters of a line at once):
//   "  7, Open file   // menu"   7, "Open file"
//   "7,"                        7, ""
//   "JXW60-STR v2"              -2, "JXW60-STR v2" (no comma)
//   "   \t"                     skipped, the next line is read
//   end of file                 -1
// Ids are read like atoi (a sign is allowed), saturating at the int range.
int read_text_line(FILE* file, char* buffer, unsigned size, LineInfo* info = nullptr);

// Kinds of menu line.
enum MenuLine {
    kMenuEnd = 1,       // end of file
    kMenuPopup = 2,     // text | child count
    kMenuSeparator = 3, // # and an optional number
    kMenuCommand = 4,   // text | identifier name
    kMenuPlain = 5,     // a line without a bar
};

// Menu line, read into `buffer` (128 bytes: at most 127 characters). Lines
// beginning with "MENU_DEF" or "//", and empty lines, are passed over. For a
// popup or command the buffer holds the text with every "~" turned into a
// tab and trailing blanks removed, `length` its length and `number` the
// child count (or the separator's number); for a command `name` points at
// the identifier name inside the buffer.
//   "File|3"                  popup "File", 3
//   "Open~Ctrl+O |IDM_OPEN"   command "Open\tCtrl+O", name "IDM_OPEN"
//   "#2"                      separator, 2 ("#" alone gives 1)
MenuLine read_menu_line(FILE* file, char* buffer, unsigned size, unsigned& length,
                        unsigned short& number, const char*& name, LineInfo* info = nullptr);

// Kinds of identifier header line.
enum HeaderLine {
    kHeaderEnd,        // "#endif" or the end of the file
    kHeaderDefinition, // "#define NAME 123"
    kHeaderNotDefinition,
};

// Identifier header line, read into an 80-byte buffer (at most 79
// characters). Include-guard lines ("#ifndef __", "#define __"), comments
// and empty lines are passed over. `name` receives at most 79 characters and
// its NUL; the number is kept in 16 bits, as a short would hold it.
HeaderLine read_header_line(FILE* file, char* name, unsigned short& value,
                            LineInfo* info = nullptr);

// The longest text a compiled language file can hold: its length byte
// counts the NUL too.
constexpr unsigned kMaxTextLength = 254;
// The most texts a language file may declare. More would only be a typing
// error, and the count sizes an allocation.
constexpr long kMaxTexts = 1 << 20;

} // namespace jx::uitext
