// Typed numbers checked against the entry type of the field they were typed
// into, and frequencies written for the same fields.
//
// The entry type selects the characters a field may hold:
//   0, 1   none (every text is invalid)
//   2      "+-.1234567890eE"          3, 16   "+.1234567890"
//   4      "+-.1234567890"            5, 17   "+.1234567890xX"
//   6      "+-.1234567890xX"          7       "+1234567890"
//   8      "+-1234567890"             9       "+-.1234567890 nNsS"
//   10     "+-.1234567890 eEwW"       11      "+-1234567890nNsS"
//   12, 18 "+.1234567890fFmM"         13, 19  "+.1234567890xXfFmM"
//   14     "+-.1234567890xXfFmM"      15      "+-.1234567890 "
// Types 16 to 19 also take a value of zero as no value (doubles only). An
// entry type above 19 is a type without characters: every text is invalid.
//
//   get_valid_double(" 12.5 ", 4)   12.5 (the text is left as "12.5")
//   get_valid_double("-3", 3)       222.222
//   get_valid_double("x", 6)        222.222
//   get_valid_double("0", 17)       222.222
//   get_valid_double("100f", 12)    100 feet in metres when working in metres
//   get_valid_double("45 30 N", 9)  45
//   set_frequency_str: 7.125 "7.125", 100 "100.00", 2.4 "2.40", 222.222 ""
#pragma once

#include "platform/win32.h"

extern "C" {
// The value of the text, or 222.222. Strips the text in place first.
JX_API double get_valid_double(char* text, unsigned char entry_type);
// The value of the text, or the host's integer no-value marker. Strips the
// text in place first.
JX_API int get_valid_int32(char* text, unsigned char entry_type);
// Writes a frequency with two to eight decimals; 222.222 as an empty text.
JX_API void set_frequency_str(char* buffer, unsigned int size, double value);
}
