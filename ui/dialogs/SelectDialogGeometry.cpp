#include "ui/dialogs/SelectDialogGeometry.h"

#include "ui/dialogs/InputDialogs.h"
#include "ui/dialogs/SelectEntries.h"

#include <algorithm>

int32_t DesignSizeDelta(int32_t size, int32_t change, int32_t designSize) {
    const int64_t s = size;
    if (designSize == 0) return 0;
    if ((static_cast<uint32_t>(change) & 0xFFFF0000u) == static_cast<uint32_t>(kInputTargetWidthTag))
        return static_cast<int32_t>(s * (change & 0xFFFF) / designSize - s);
    return static_cast<int32_t>(s * change / designSize);
}

ListSelectPlacement LayOutListSelect(const ListSelectMeasures& m, int cx, int cy, bool cancelAllowed) {
    ListSelectPlacement p;
    p.list = {m.listLeft, m.listTop, cx - m.listLeft, cy - m.listBottom};
    const int top = cy - m.buttonTop;
    const int okLeft = cancelAllowed ? (cx - 2 * m.buttonWidth - m.gap) / 2 : (cx - m.buttonWidth) / 2;
    p.ok = {okLeft, top, okLeft + m.buttonWidth, top + m.buttonHeight};
    const int cancelLeft = p.ok.right + m.gap;
    p.cancel = {cancelLeft, top, cancelLeft + m.buttonWidth, top + m.buttonHeight};
    return p;
}

void KeepMinimumSize(RECT* r, UINT side, int minWidth, int minHeight) {
    if (r->right - r->left < minWidth) {
        if (side == WMSZ_LEFT || side == WMSZ_TOPLEFT || side == WMSZ_BOTTOMLEFT)
            r->left = r->right - minWidth;
        else
            r->right = r->left + minWidth;
    }
    if (r->bottom - r->top < minHeight) {
        if (side == WMSZ_TOP || side == WMSZ_TOPLEFT || side == WMSZ_TOPRIGHT)
            r->top = r->bottom - minHeight;
        else
            r->bottom = r->top + minHeight;
    }
}

bool UsableSavedPosition(POINT p, int screenWidth, int screenHeight) {
    return p.x > -20 && p.x < screenWidth - 50 && p.y > -20 && p.y < screenHeight - 50;
}

int SelectTypeAhead::Type(unsigned char ch, DWORD now, int current, int count, const TextAt& text) {
    const unsigned char c = FoldSelectChar(ch);
    const DWORD pause = m_typed == 0 ? 500 : m_typed <= 2 ? 750 : 1000;
    if (now - m_last > pause || m_typed == 16 || (m_typed == 1 && m_chars[0] == c)) m_typed = 0;
    m_chars[m_typed++] = c;
    m_last = now;
    if (count <= 0) return -1;
    const int after = current < 0 ? 0 : current + 1;
    int found = Search(m_typed > 1 ? after - 1 : after, count, text);
    if (found < 0 && m_typed > 1) {
        m_chars[0] = c;
        m_typed = 1;
        found = Search(after, count, text);
    }
    return found;
}

int SelectTypeAhead::Search(int start, int count, const TextAt& text) const {
    start = ((start % count) + count) % count;
    for (int step = 0; step < count; ++step) {
        const int i = (start + step) % count;
        const char* entry = text(i);
        if (!entry) continue;
        int k = 0;
        while (k < m_typed && entry[k] && FoldSelectChar(static_cast<unsigned char>(entry[k])) == m_chars[k]) ++k;
        if (k == m_typed) return i;
    }
    return -1;
}
