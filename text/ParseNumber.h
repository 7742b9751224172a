// Integer parsing of ANSI texts.
#pragma once

#include <cstdint>

// Hexadecimal digits to an unsigned 32-bit integer after leading blanks and tabs. Stops at the first
// character that is not a hexadecimal digit or after `length` characters (blanks included);
// -1 = no limit. More than eight digits keep the low 32 bits.
uint32_t ParseHexNA(const char* text, int length);

// Radix part of ParseInt32A's flags: 0 = by prefix ("0x" hexadecimal, "0b" binary, else decimal),
// 2-36 = that radix.
enum : int { PI_RADIX_MASK = 0xFF };
// Text to a signed 32-bit integer: blanks and tabs, an optional sign, then digits. Gives 0 when no
// number stands there. Decimal values beyond the 32-bit range saturate; other radixes take values
// up to 0xFFFFFFFF as their 32-bit pattern. consumedOut (may be null) receives the characters read
// (0 when there is no number).
int32_t ParseInt32A(const char* text, int flags, int* consumedOut);
