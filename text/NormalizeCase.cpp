#include "text/NormalizeCase.h"

#include "text/CharClass.h"

namespace {
char ToLowerA(char c) {
    unsigned char u = (unsigned char)c;
    if (u >= 'A' && u <= 'Z') return (char)(u + 32);
    if (u >= 0xC0 && u <= 0xDE && u != 0xD7) return (char)(u + 32);
    switch (u) {
    case 0x8A: return (char)0x9A;
    case 0x8C: return (char)0x9C;
    case 0x8E: return (char)0x9E;
    case 0x9F: return (char)0xFF;
    default: return c;
    }
}
}  // namespace

int NormalizeCaseA(char* target, const char* source, unsigned flags) {
    if (!target) return 0;
    if (!source) source = "";
    uint32_t letters = (uint32_t)CC_LETTER | ((flags & NC_LATIN1) ? (uint32_t)CC_LATIN1LETTER : 0u);
    uint32_t small = (uint32_t)CC_LOWER | ((flags & NC_LATIN1) ? (uint32_t)CC_LATIN1LOWER : 0u);
    bool change = true;
    if (flags & NC_ONLY_CAPITALS) {
        for (const char* p = source; *p; ++p) {
            if (CharClassOf(*p) & small) {
                change = false;
                break;
            }
        }
    }
    int i = 0;
    bool inWord = false;
    for (; source[i]; ++i) {
        char c = source[i];
        uint32_t cls = CharClassOf(c);
        if (change && (cls & letters)) {
            // The German sharp s has no capital of its own and stays as it is.
            bool capital = (flags & NC_WORDS) && !inWord;
            if (capital)
                c = (unsigned char)c == 0xDF ? c : (char)FoldCaseA(c);
            else
                c = ToLowerA(c);
        }
        inWord = (cls & (letters | CC_DIGIT | CC_APOSTROPHE)) != 0;
        target[i] = c;
    }
    target[i] = 0;
    return i;
}
