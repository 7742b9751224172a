// Text comparison of the "TreeList" control: byte order with ASCII letters folded, as _stricmp does in the
// C locale, so that the order does not depend on the user's locale.
#pragma once

inline unsigned char FoldAscii(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

inline int CompareNoCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        const int x = FoldAscii(static_cast<unsigned char>(*a)), y = FoldAscii(static_cast<unsigned char>(*b));
        if (x != y || !x) return x - y;
    }
}
