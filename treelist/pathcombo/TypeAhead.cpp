#include "treelist/pathcombo/TypeAhead.h"

#include "text/TextList.h"

namespace {

uint32_t PauseFor(int length) {
    if (length >= 3) return 1000;
    return length == 1 ? 750 : 500;
}

bool BeginsWith(const char* text, int textLength, const TypeAheadSearch& search) {
    if (textLength < search.length) return false;
    for (int i = 0; i < search.length; ++i)
        if (FoldTypeAheadChar(text[i]) != search.prefix[i]) return false;
    return true;
}

}  // namespace

char FoldTypeAheadChar(char c) {
    const unsigned char u = (unsigned char)c;
    if ((u >= 'a' && u <= 'z') || (u >= 224 && u <= 254)) return (char)(u - 32);
    return c;
}

TypeAheadSearch FeedTypeAhead(TypeAheadState& state, char c, uint32_t now) {
    if (now - state.lastKey > PauseFor(state.length)) state.length = 0;
    state.lastKey = now;
    if (state.length < (int)sizeof state.buffer) state.buffer[state.length++] = FoldTypeAheadChar(c);
    bool repeated = true;
    for (int i = 1; i < state.length; ++i) repeated = repeated && state.buffer[i] == state.buffer[0];
    if (repeated) return {state.buffer, 1, true};
    return {state.buffer, state.length, false};
}

int FindTypeAhead(const CTextList& list, int current, const TypeAheadSearch& search) {
    const int count = list.GetCount();
    if (count == 0) return -1;
    if (current < 0 || current >= count) current = search.step ? -1 : 0;
    const int first = search.step ? current + 1 : current;
    for (int i = 0; i < count; ++i) {
        const int index = (first + i) % count;
        if (BeginsWith(list.GetItemText(index), list.GetItemLength(index), search)) return index;
    }
    return -1;
}
