// Comparisons of ANSI texts: paths, natural order and counted texts.
#pragma once

// Compares at most n characters, case-insensitive, '\' and '/' equal; <0, 0, >0.
int ComparePathCharsNoCaseA(const char* a, const char* b, int n);
// Case-insensitive compare in which runs of digits compare by their value; <0, 0, >0.
// Texts that differ only in leading zeros or letter case are ordered by a plain compare.
int StrCmpNaturalIA(const char* a, const char* b);
// Compares two counted texts byte-wise (unsigned), or case-insensitively with noCase; <0, 0, >0.
int CompareTextNA(const char* a, int lenA, const char* b, int lenB, bool noCase);
