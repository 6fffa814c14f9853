// The zip format's default code page for entry names (the original PC
// character set), for MultiByteToWideChar. Internal to the POSIX layer.
#pragma once

namespace jx::posix {

// The character of a byte in code page 437. Bytes below 0x80 are ASCII and
// the control codes stay control codes, as Windows converts them without
// MB_USEGLYPHCHARS.
char16_t cp437_to_unicode(unsigned char byte);

} // namespace jx::posix
