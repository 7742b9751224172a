#include "treelist/shared/TypeAhead.h"

#include "text/TextList.h"

namespace {

uint32_t PauseFor(int length) {
    if (length >= 3) return 1000;
    return length == 1 ? 750 : 500;
}

}  // namespace

char FoldTypeAheadChar(char c) {
    const unsigned char u = (unsigned char)c;
    if ((u >= 'a' && u <= 'z') || (u >= 224 && u <= 254)) return (char)(u - 32);
    return c;
}

TypeAheadSearch FeedTypeAhead(TypeAheadState& state, char c, uint32_t now, int maxLength) {
    if (now - state.lastKey > PauseFor(state.length)) state.length = 0;
    state.lastKey = now;
    if (maxLength > (int)sizeof state.buffer) maxLength = (int)sizeof state.buffer;
    if (state.length < maxLength) state.buffer[state.length++] = FoldTypeAheadChar(c);
    bool repeated = true;
    for (int i = 1; i < state.length; ++i) repeated = repeated && state.buffer[i] == state.buffer[0];
    if (repeated) return {state.buffer, 1, true};
    return {state.buffer, state.length, false};
}

int FindTypeAhead(const CTextList& list, int current, const TypeAheadSearch& search) {
    return FindTypeAheadIn(list.GetCount(), current, search, [&](int index) { return list.GetItemText(index); });
}
