#include "text/StrSearch.h"

#include "text/CharClass.h"

int StrFindIA(const char* text, const char* what) {
    if (!text || !what) return -1;
    if (!*what) return 0;
    unsigned char first = FoldCaseA(what[0]);
    for (int i = 0; text[i]; ++i) {
        if (FoldCaseA(text[i]) != first) continue;
        int k = 1;
        // A NUL in text ends the match attempt before any read past it.
        while (what[k] && text[i + k] && FoldCaseA(text[i + k]) == FoldCaseA(what[k])) ++k;
        if (!what[k]) return i;
        if (!text[i + k]) return -1;
    }
    return -1;
}

int StrIndexOfCharA(const char* text, char ch) {
    if (!text) return 0;
    int i = 0;
    while (text[i] && text[i] != ch) ++i;
    return i;
}
