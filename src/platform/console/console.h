// What a command-line program of the project needs from the system beyond
// the library: how the user's side encodes text, where the program lives, and
// standard input as bytes. Only the jxut tool links this; hosts never see it.
#pragma once

#include <string>

namespace jx::console {

// How the user's side of a console program writes text.
struct Encoding {
    bool output_utf8;    // standard output and error want UTF-8
    bool arguments_utf8; // the program's arguments arrive as UTF-8
};

// Decided once at start-up: UTF-8 when standard output is a terminal or the
// locale asks for UTF-8. On Windows a console is switched to UTF-8 output,
// and arguments arrive in the ANSI code page unless that code page is UTF-8.
Encoding user_encoding();

// The folder that holds the running program, without a trailing separator;
// empty when the system does not say.
std::string program_directory();

// Standard input without any translation of line ends or end-of-file marks.
void binary_stdin();

// ANSI code page to UTF-8; every byte has a character.
std::string ansi_to_utf8(const std::string& ansi);
// UTF-8 to the ANSI code page; false (and `ansi` unspecified) when the text
// is not UTF-8 or holds a character the code page has no byte for.
bool utf8_to_ansi(const std::string& utf8, std::string& ansi);

} // namespace jx::console
