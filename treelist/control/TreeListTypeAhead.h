// Type-ahead search: the characters typed in quick succession, shared by every "TreeList" window of the
// process, and the search for the first row whose text begins with them. Pure: no window is touched here.
#pragma once

#include <windows.h>

struct TreeListTypeAhead {
    static constexpr int kMaxChars = 16;
    char text[kMaxChars + 1];
    int count;
    UINT startRow;     // display row the current search started from (in the control it started in)
    DWORD lastTick;
};

// Upper case as the search compares: a-z and the codes 224 to 254 lose 32.
inline unsigned char TypeAheadUpper(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 224 && c <= 254) ? static_cast<unsigned char>(c - 32) : c;
}

// The longest pause that still continues the buffer: 500 ms while it is empty, 750 ms after one or two
// characters, 1000 ms from three on.
DWORD TypeAheadGap(int count);

// Adds a typed character at time now. A pause longer than the gap, or a full buffer, starts a new buffer
// whose search starts at startRow.
void TypeAheadAdd(TreeListTypeAhead* state, unsigned char character, DWORD now, UINT startRow);

// The characters held, or 0 once 750 ms have passed since the last one.
int TypeAheadHeld(const TreeListTypeAhead& state, DWORD now);

// The row to select for the buffer, or -1. The rows after start (taken modulo the row count, since the
// buffer may have begun in another control) are searched, wrapping round to start itself, for the first
// text that begins with the buffer. Without one, a buffer of the same letter typed again steps from the
// first row starting with that letter to the next ones. textOf(row) returns a row's text, or null to stop.
template <typename TextOf>
long TypeAheadSearch(const TreeListTypeAhead& state, UINT rowCount, TextOf textOf) {
    if (!rowCount || state.count <= 0) return -1;
    const UINT start = state.startRow % rowCount;
    auto begins = [&](const char* text, int n) {
        for (int i = 0; i < n; ++i)
            if (TypeAheadUpper(static_cast<unsigned char>(text[i])) != static_cast<unsigned char>(state.text[i]))
                return false;  // also at the end of a shorter text
        return true;
    };
    long firstLetter = -1;
    for (UINT k = 1; k <= rowCount; ++k) {
        const UINT row = (start + k) % rowCount;
        const char* text = textOf(row);
        if (!text) return -1;
        if (begins(text, state.count)) return static_cast<long>(row);
        if (firstLetter < 0 && begins(text, 1)) firstLetter = static_cast<long>(row);
    }
    if (firstLetter < 0 || state.count < 2) return -1;
    long candidate = firstLetter;
    for (int i = 1; i < state.count; ++i) {
        for (UINT k = 1; k < rowCount; ++k) {
            const UINT row = (static_cast<UINT>(candidate) + k) % rowCount;
            const char* text = textOf(row);
            if (!text) return -1;
            if (TypeAheadUpper(static_cast<unsigned char>(text[0])) == static_cast<unsigned char>(state.text[i])) {
                candidate = static_cast<long>(row);
                break;
            }
        }
    }
    return candidate;
}
