// The page size and margins of a report template, read from the RTF
// control words of its first section. Nothing else of the RTF is read.
//
//   text                                        result
//   "\pgwsxn12240\pghsxn15840\marglsxn1800..."  page 12240 x 15840 twips
//   "\pgwsxn  +12240"                           12240 (blanks and a sign pass)
//   "\pgwsxn-5"                                 -5 (taken as it is)
//   "\pgwsxn" at the very end, "\pgwsxnNaN"     0 (no number reads as 0)
//   a word missing                              not found
#pragma once

#include <cstddef>

namespace jx::report::detail {

struct RtfPage {
    double page_width = 0;
    double page_height = 0;
    double margin_left = 0;
    double margin_right = 0;
    double margin_top = 0;
    double margin_bottom = 0;
};

// Reads the six values from NUL-terminated `text`, each from the first
// occurrence of its control word. False as soon as one word is missing
// (`page` is then partly filled).
bool read_rtf_page(const char* text, RtfPage& page);

// Reads a decimal number as a floating-point conversion does: blanks
// skipped, an optional sign, digits with an optional point and exponent,
// stopping at the first character that can't continue it. No number reads
// as 0; the words "nan" and "inf" are not numbers here, and neither is the
// locale's decimal comma. Too large a number reads as an infinity.
double read_decimal(const char* text);

} // namespace jx::report::detail
