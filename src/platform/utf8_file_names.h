// File names for code that opens files by UTF-8 names itself (the zip
// library does, on every system). Library names are ANSI; this gives the
// name under which such code finds the same file.
#pragma once

#include <string>

// On Windows the same path in UTF-8; on POSIX the native path (drive
// letters resolved, backslashes turned, UTF-8), as the layer's own file calls
// use it. False, with `utf8` empty, when the name has no such form.
bool jx_utf8_file_name(const char* ansi, std::string& utf8);
