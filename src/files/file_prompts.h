// Checks and repairs of typed file names, and the questions asked around
// saving: replace an existing file, save changed data, pick a folder.
//
//   fix_illegal_char("C:\data\a*b?.dat", '_')   "C:\data\a_b_.dat", true
//   fix_illegal_char("C:\data\a*b?.dat", 0)     "C:\data\ab.dat", true
//   fix_illegal_char("C:\da|ta\x.dat", '_')     "C:\da_ta\x.dat", true
//   fix_illegal_char("C:a<b.dat", '_')          "C:\a_b.dat", true
//   fix_illegal_char(" \"C:\data\x.dat\"", '_')  "C:\data\x.dat", false
//   fix_illegal_char("a?b.dat", '_')            "a_b.dat", true
#pragma once

#include "platform/win32.h"

// Trims the path as strip_space_quotes does, then replaces every character
// that Windows refuses (in the file name: " * / : < > ? \ |; in the folders:
// * / : < > ? | except the drive's colon) by `replacement`, or drops it when
// that is 0. True when anything was illegal. The result is cut to fit `size`.
JX_API bool fix_illegal_char(char* path, unsigned int size, char replacement);

// 0 nothing illegal (the path may have been trimmed); 1 too long (259
// characters at most; the message has been shown and the path is unchanged);
// 2 repaired and now empty; 3 repaired with underscores.
JX_API int validate_file_name(HWND owner, char* path, unsigned int size);

// IDYES when there is no such file, else the answer to "Replace existing
// file?" (Yes, No or Cancel).
JX_API int check_overwrite_file(HWND owner, const char* path);

// The answer to "<name> has changed. Save?" (Yes, No and, when offered,
// Cancel); an empty path stands for an unnamed file.
JX_API int check_for_filesave(const char* caption, const char* path, bool offer_cancel);

// Lets the user pick a folder, starting at the one in `directory`. The
// chosen folder replaces it; a cancelled dialog leaves it empty; an item
// without a file-system path leaves the initial folder. One dialog at a time.
JX_API void set_fdir(HWND owner, const char* title, char* directory, unsigned int size);
