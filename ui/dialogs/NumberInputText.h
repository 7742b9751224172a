// The number dialog's text forms: a whole number written and read in decimal, hexadecimal, binary or octal.
#pragma once

#include "framework/CString.h"

#include <cstdint>

// Text of value in a format: 0 signed decimal, 1 "0x1A", 2 "0b11010", 3 "0o32", 4 "1Ah", 5 "11010b", 6 "32o",
// anything else unsigned decimal. Formats 1 to 6 show the 32-bit pattern unsigned.
CString FormatNumberInput(int32_t value, int format);

// Reads what the user typed: blanks and tabs, an optional sign, then a number with a 0x/0o/0b prefix, an
// h/o/b suffix or plain decimal digits. Nothing is rejected: no digits give 0, values beyond 32 bits saturate.
int32_t ParseNumberInput(const char* text);
