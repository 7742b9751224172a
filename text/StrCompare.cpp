#include "text/StrCompare.h"

#include "text/CharClass.h"

#include <cstring>

namespace {
inline unsigned char PathFold(char c) { return c == '/' ? (unsigned char)'\\' : FoldCaseA(c); }
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

int ComparePathCharsNoCaseA(const char* a, const char* b, int n) {
    if (!a) a = "";
    if (!b) b = "";
    for (int i = 0; i < n; ++i) {
        int d = (int)PathFold(a[i]) - (int)PathFold(b[i]);
        if (d) return d;
        if (!a[i]) break;
    }
    return 0;
}

int StrCmpNaturalIA(const char* a, const char* b) {
    if (!a) a = "";
    if (!b) b = "";
    const char* p = a;
    const char* q = b;
    while (*p && *q) {
        if (IsDigit(*p) && IsDigit(*q)) {
            // Compare the digit runs by value: skip leading zeros, then the longer run is larger,
            // then the first differing digit decides. Works for runs of any length.
            while (*p == '0') ++p;
            while (*q == '0') ++q;
            const char* ps = p;
            const char* qs = q;
            while (IsDigit(*p)) ++p;
            while (IsDigit(*q)) ++q;
            long lp = p - ps, lq = q - qs;
            if (lp != lq) return lp < lq ? -1 : 1;
            int d = memcmp(ps, qs, (size_t)lp);
            if (d) return d;
            continue;
        }
        int d = (int)FoldCaseA(*p) - (int)FoldCaseA(*q);
        if (d) return d;
        ++p;
        ++q;
    }
    // Texts equal by this rule ("abc"/"ABC", "a01"/"a1") compare 0; a sort that needs a fixed order for them
    // breaks the tie itself.
    if (*p || *q) return *p ? 1 : -1;
    return 0;
}

int CompareTextNA(const char* a, int lenA, const char* b, int lenB, bool noCase) {
    int n = lenA < lenB ? lenA : lenB;
    if (noCase) {
        for (int i = 0; i < n; ++i) {
            int d = (int)FoldCaseA(a[i]) - (int)FoldCaseA(b[i]);
            if (d) return d;
        }
    } else {
        int d = memcmp(a, b, (size_t)n);
        if (d) return d;
    }
    return lenA - lenB;
}
