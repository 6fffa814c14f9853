// Entry names between the library's ANSI and the zip format, and the test
// that keeps an unpacked entry inside its target folder.
#pragma once

#include <string>

namespace jx::archive {

// An ANSI name as stored in an entry: UTF-8. False when it has no UTF-8 form
// (every ANSI byte has one; a failing conversion call is the reason).
bool ansi_to_entry_name(const char* ansi, std::string& entry);

// A stored entry name in ANSI. With the UTF-8 flag the bytes are UTF-8;
// without it they are code page 437, except that a name which is well-formed
// UTF-8 with characters beyond ASCII is read as UTF-8, because the archivers
// of Unix systems store their UTF-8 names without setting the flag. False
// when a character has no ANSI form: the name is never guessed. `ansi` then
// holds the name with '?' for those characters, for display only.
bool entry_name_to_ansi(const char* entry, bool utf8_flag, std::string& ansi);

// Whether an ANSI entry name stays below the folder it is unpacked into, on
// Windows and POSIX alike:
//   "net.dat", "maps\a.dem", "sub/x"            safe
//   "", "\x", "/x", "\\srv\s\x", "\\.\COM1"       not: absolute or device
//   "C:\x", "C:x", "a:stream"                   not: any colon
//   "..\x", "a/../../x", ".. \x", "..."         not: dot-and-blank components
//   "CON", "nul.txt", "sub\LPT1"                not: DOS device names
//   "a\tb", "a?b", "a|b"                        not: characters Windows refuses
bool is_safe_entry_name(const char* name);

} // namespace jx::archive
