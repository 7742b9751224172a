// Type-ahead in a level's popup list: typed characters gather into a short buffer that restarts
// after a pause; the list moves to the next entry that begins with it.
#pragma once

#include <cstdint>
#include <cstring>

class CTextList;

struct TypeAheadState {
    char buffer[16] = {};
    int length = 0;
    uint32_t lastKey = 0;  // tick count of the last character
};

// What to look for after a character.
struct TypeAheadSearch {
    const char* prefix;
    int length;
    bool step;  // begin after the current entry (one character repeated steps through its entries)
};

// Letters a-z and 224-254 as capitals; other characters stay.
char FoldTypeAheadChar(char c);

// Adds character c typed at tick count now. The buffer restarts after 500 ms without a key (750 ms
// when it holds one character, 1,000 ms when it holds three or more) and keeps at most maxLength
// characters (16 at most).
TypeAheadSearch FeedTypeAhead(TypeAheadState& state, char c, uint32_t now, int maxLength = 16);

inline bool TypeAheadBeginsWith(const char* text, int textLength, const TypeAheadSearch& search) {
    if (textLength < search.length) return false;
    for (int i = 0; i < search.length; ++i)
        if (FoldTypeAheadChar(text[i]) != search.prefix[i]) return false;
    return true;
}

// The entry of count entries (textOf(index) gives its text) that the search finds, starting at
// current (after it when stepping) and wrapping around; -1 when none begins with the prefix.
template <typename TextOf>
int FindTypeAheadIn(int count, int current, const TypeAheadSearch& search, TextOf textOf) {
    if (count <= 0) return -1;
    if (current < 0 || current >= count) current = search.step ? -1 : 0;
    const int first = search.step ? current + 1 : current;
    for (int i = 0; i < count; ++i) {
        const int index = (first + i) % count;
        const char* text = textOf(index);
        if (text && TypeAheadBeginsWith(text, (int)strlen(text), search)) return index;
    }
    return -1;
}

// The entry of list that the search finds, starting at current (after it when stepping) and
// wrapping around; -1 when none begins with the prefix.
int FindTypeAhead(const CTextList& list, int current, const TypeAheadSearch& search);
