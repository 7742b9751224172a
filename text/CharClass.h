// Character classes of the Windows-1252 byte values and the scans over them.
#pragma once

#include <cstdint>

// Class bits of CharClassTable.
enum : uint32_t {
    CC_DIGIT = 0x1,            // '0'-'9'
    CC_UPPER = 0x2,            // 'A'-'Z'
    CC_LOWER = 0x4,            // 'a'-'z'
    CC_LETTER = CC_UPPER | CC_LOWER,
    CC_BLANK = 0x8,            // space and tab
    CC_LINEEND = 0x10,         // CR and LF
    CC_LATIN1UPPER = 0x20,     // capital letters above 127 (À-Þ, Š, Œ, Ž, Ÿ)
    CC_LATIN1LOWER = 0x40,     // small letters above 127 (ß-ÿ, š, œ, ž)
    CC_LATIN1LETTER = CC_LATIN1UPPER | CC_LATIN1LOWER,
    CC_DOT = 0x80,             // single punctuation characters, one bit each
    CC_COMMA = 0x100,
    CC_MINUS = 0x200,
    CC_PLUS = 0x400,
    CC_UNDERSCORE = 0x800,
    CC_COLON = 0x1000,
    CC_SEMICOLON = 0x2000,
    CC_BACKSLASH = 0x4000,
    CC_SLASH = 0x8000,
    CC_QUOTE = 0x10000,        // '"'
    CC_APOSTROPHE = 0x20000,   // '\''
    CC_HEXLETTER = 0x40000,    // 'A'-'F' and 'a'-'f'
    CC_ABOVE255 = 0x40000000,  // characters above 255 (only wide scans meet them)
    CC_UNTIL = 0x80000000,     // in a mask argument: scan until the class instead of while in it
};

// 256 class masks indexed by byte value.
extern const uint32_t CharClassTable[256];
// Upper-case twin of every byte value (Windows-1252 letters folded, others unchanged).
extern const unsigned char CharUpperTable[256];

inline uint32_t CharClassOf(char ch) { return CharClassTable[(unsigned char)ch]; }
inline unsigned char FoldCaseA(char ch) { return CharUpperTable[(unsigned char)ch]; }

// Number of leading characters whose class shares a bit with mask (with CC_UNTIL: shares none).
// The terminating NUL never counts.
int StrSpnClassA(const char* text, uint32_t mask);
// The same, looking at no more than maxCount characters.
int StrSpnClassNA(const char* text, uint32_t mask, int maxCount);
// Number of leading characters outside the class (the complement of StrSpnClassNA).
int StrCSpnClassNA(const char* text, uint32_t mask, int maxCount);
