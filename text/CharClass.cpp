#include "text/CharClass.h"

#include <array>

namespace {

constexpr bool IsLatin1Upper(int c) {
    return (c >= 0xC0 && c <= 0xDE && c != 0xD7) || c == 0x8A || c == 0x8C || c == 0x8E || c == 0x9F;
}
constexpr bool IsLatin1Lower(int c) {
    return (c >= 0xDF && c != 0xF7) || c == 0x9A || c == 0x9C || c == 0x9E;
}

constexpr uint32_t ClassOf(int c) {
    uint32_t m = 0;
    if (c >= '0' && c <= '9') m |= CC_DIGIT;
    if (c >= 'A' && c <= 'Z') m |= CC_UPPER;
    if (c >= 'a' && c <= 'z') m |= CC_LOWER;
    if ((c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f')) m |= CC_HEXLETTER;
    if (IsLatin1Upper(c)) m |= CC_LATIN1UPPER;
    if (IsLatin1Lower(c)) m |= CC_LATIN1LOWER;
    switch (c) {
    case ' ': case '\t': m |= CC_BLANK; break;
    case '\r': case '\n': m |= CC_LINEEND; break;
    case '.': m |= CC_DOT; break;
    case ',': m |= CC_COMMA; break;
    case '-': m |= CC_MINUS; break;
    case '+': m |= CC_PLUS; break;
    case '_': m |= CC_UNDERSCORE; break;
    case ':': m |= CC_COLON; break;
    case ';': m |= CC_SEMICOLON; break;
    case '\\': m |= CC_BACKSLASH; break;
    case '/': m |= CC_SLASH; break;
    case '"': m |= CC_QUOTE; break;
    case '\'': m |= CC_APOSTROPHE; break;
    default: break;
    }
    return m;
}

constexpr unsigned char UpperOf(int c) {
    if (c >= 'a' && c <= 'z') return (unsigned char)(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return (unsigned char)(c - 32);
    switch (c) {
    case 0x9A: return 0x8A;
    case 0x9C: return 0x8C;
    case 0x9E: return 0x8E;
    case 0xFF: return 0x9F;
    default: return (unsigned char)c;
    }
}

template <typename T, typename F>
constexpr std::array<T, 256> MakeTable(F f) {
    std::array<T, 256> t{};
    for (int c = 0; c < 256; ++c) t[c] = f(c);
    return t;
}

constexpr auto kClasses = MakeTable<uint32_t>(ClassOf);
constexpr auto kUpper = MakeTable<unsigned char>(UpperOf);

// Counts while (class & mask) != 0 equals `inClass`; stops at NUL and after maxCount characters.
int Scan(const char* text, uint32_t mask, int maxCount) {
    if (!text) return 0;
    bool until = (mask & CC_UNTIL) != 0;
    mask &= ~CC_UNTIL;
    int n = 0;
    while (n < maxCount) {
        unsigned char c = (unsigned char)text[n];
        if (c == 0) break;
        bool in = (kClasses[c] & mask) != 0;
        if (in == until) break;
        ++n;
    }
    return n;
}

}  // namespace

const uint32_t CharClassTable[256] = {
#define ROW(i) kClasses[i], kClasses[i + 1], kClasses[i + 2], kClasses[i + 3], kClasses[i + 4], kClasses[i + 5], \
               kClasses[i + 6], kClasses[i + 7]
    ROW(0), ROW(8), ROW(16), ROW(24), ROW(32), ROW(40), ROW(48), ROW(56), ROW(64), ROW(72), ROW(80), ROW(88),
    ROW(96), ROW(104), ROW(112), ROW(120), ROW(128), ROW(136), ROW(144), ROW(152), ROW(160), ROW(168), ROW(176),
    ROW(184), ROW(192), ROW(200), ROW(208), ROW(216), ROW(224), ROW(232), ROW(240), ROW(248),
#undef ROW
};

const unsigned char CharUpperTable[256] = {
#define ROW(i) kUpper[i], kUpper[i + 1], kUpper[i + 2], kUpper[i + 3], kUpper[i + 4], kUpper[i + 5], kUpper[i + 6], \
               kUpper[i + 7]
    ROW(0), ROW(8), ROW(16), ROW(24), ROW(32), ROW(40), ROW(48), ROW(56), ROW(64), ROW(72), ROW(80), ROW(88),
    ROW(96), ROW(104), ROW(112), ROW(120), ROW(128), ROW(136), ROW(144), ROW(152), ROW(160), ROW(168), ROW(176),
    ROW(184), ROW(192), ROW(200), ROW(208), ROW(216), ROW(224), ROW(232), ROW(240), ROW(248),
#undef ROW
};

int StrSpnClassA(const char* text, uint32_t mask) { return Scan(text, mask, 0x7FFFFFFF); }

int StrSpnClassNA(const char* text, uint32_t mask, int maxCount) { return Scan(text, mask, maxCount); }

int StrCSpnClassNA(const char* text, uint32_t mask, int maxCount) { return Scan(text, mask ^ CC_UNTIL, maxCount); }
