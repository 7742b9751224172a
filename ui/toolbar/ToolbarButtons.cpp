// The button table of the toolbar control: addressing, inserting and deleting, groups and looks.
#include "ui/toolbar/ToolbarState.h"

#include <algorithm>
#include <cstring>

namespace {

bool IsInStack(const ToolbarButton* b) { return (b->look & (kLookStacked | kLookStackHead)) != 0; }

// A button inserted after a stack changes the stack: its head and followers are measured again.
void RemeasureStackBefore(ToolbarState* s, int index) {
    int i = index - 1;
    if (i < 0 || !IsInStack(s->buttons[i])) return;
    while (i > 0 && !(s->buttons[i]->look & kLookStackHead)) --i;
    s->buttons[i]->look &= ~kLookValid;
    for (++i; i < s->buttonCount && i != index && (s->buttons[i]->look & kLookStacked); ++i)
        s->buttons[i]->look &= ~kLookValid;
}

// After a button comes or goes: on a single row only the rest of the row moves, else everything may.
void InvalidateAfterChange(ToolbarState* s, int index) {
    if (s->rows < 2 && index > 0 && index <= s->buttonCount) {
        const RECT& prev = s->buttons[index - 1]->rect;
        RECT rest = {prev.right, prev.top, s->clientWidth, prev.bottom};
        if (s->wnd) InvalidateRect(s->wnd, &rest, TRUE);
    } else {
        InvalidateToolbar(s);
    }
}

}  // namespace

int ResolveButton(const ToolbarState* s, WPARAM value) {
    UINT v = (UINT)value;
    WORD low = LOWORD(v);
    if (HIWORD(v) == kToolbarIndexMark) return low < s->buttonCount ? low : -1;
    if (HIWORD(v) == kToolbarCommandMark) {
        for (int i = 0; i < s->buttonCount; ++i)
            if (s->buttons[i]->idCommand == (int)low) return i;
        return -1;
    }
    if ((v >> 23) == (kToolbarNthMark >> 23)) {
        int k = (v >> 16) & kToolbarNthMask;
        bool byFlags = (v & ~kToolbarFlaggedBits & 0xFFFF) == kToolbarFlaggedMark;
        WORD flags = (WORD)(v & kToolbarFlaggedBits);
        for (int i = 0; i < s->buttonCount; ++i) {
            const ToolbarButton* b = s->buttons[i];
            bool match = byFlags ? (b->extra & flags) != 0 : b->idCommand == (int)low;
            if (match && k-- == 0) return i;
        }
        return -1;
    }
    for (int i = 0; i < s->buttonCount; ++i)
        if (s->buttons[i]->idCommand == (int)v) return i;
    return -1;
}

int ResolveButtonIndex(const ToolbarState* s, WPARAM value) {
    if (IsToolbarReference((UINT)value)) return ResolveButton(s, value);
    return (INT_PTR)value >= 0 && (INT_PTR)value < s->buttonCount ? (int)value : -1;
}

bool IsButtonVisible(const ToolbarButton* b) { return !(b->fsState & TBSTATE_HIDDEN); }

WORD RestingLook(const ToolbarButton* b) {
    bool down = (b->fsState & (TBSTATE_CHECKED | TBSTATE_PRESSED)) != 0;
    if ((b->fsState & TBSTATE_ENABLED) && !(b->fsState & TBSTATE_INDETERMINATE))
        return down ? kLookChecked : kLookNormal;
    return down ? kLookDisabledChecked : kLookDisabled;
}

void InvalidateToolbar(ToolbarState* s) {
    if (s->wnd) InvalidateRect(s->wnd, nullptr, TRUE);
}

void InvalidateButton(ToolbarState* s, int index) {
    ToolbarButton* b = ButtonAt(s, index);
    if (b && s->wnd) InvalidateRect(s->wnd, &b->rect, FALSE);
}

void MarkButtonForLayout(ToolbarState* s, int index) {
    if (ToolbarButton* b = ButtonAt(s, index)) b->look &= ~kLookValid;
    s->dirty |= kDirtyRelayout;
    InvalidateToolbar(s);
}

int InsertToolbarButton(ToolbarState* s, int index, const TBBUTTON* source, bool clearExtra, bool invalidate) {
    if (!source) return -1;
    index = std::clamp(index, 0, s->buttonCount);
    if (s->buttonCount == s->buttonCapacity) {
        int capacity = s->buttonCapacity + s->buttonCapacity / 2 + 16;
        auto** table = (ToolbarButton**)ToolbarAlloc(capacity * sizeof(ToolbarButton*));
        if (!table) return -1;
        if (s->buttonCount) memcpy(table, s->buttons, s->buttonCount * sizeof(ToolbarButton*));
        ToolbarFree(s->buttons);
        s->buttons = table;
        s->buttonCapacity = capacity;
    }
    auto* b = (ToolbarButton*)ToolbarAlloc(sizeof(ToolbarButton));
    if (!b) return -1;
    memcpy(b, source, sizeof(TBBUTTON));
    if (clearExtra) b->extra = 0;
    memmove(&s->buttons[index + 1], &s->buttons[index], (s->buttonCount - index) * sizeof(ToolbarButton*));
    s->buttons[index] = b;
    s->buttonCount++;
    if (s->hot >= index) s->hot++;
    if (s->markIndex >= index) s->markIndex++;
    b->look = kLookRerender;
    if (IsButtonVisible(b) && !IsSeparator(b)) b->look |= RestingLook(b);
    RemeasureStackBefore(s, index);
    s->dirty |= kDirtyMeasure;
    if (invalidate) InvalidateAfterChange(s, index);
    return index;
}

bool DeleteToolbarButton(ToolbarState* s, int index, bool invalidate) {
    ToolbarButton* b = ButtonAt(s, index);
    if (!b) return false;
    memmove(&s->buttons[index], &s->buttons[index + 1], (s->buttonCount - index - 1) * sizeof(ToolbarButton*));
    s->buttonCount--;
    FreeButtonStrip(b);
    if ((b->extra & TBXF_WINDOW) && s->wnd && GetParent((HWND)b->dwData) == s->wnd)
        ShowWindow((HWND)b->dwData, SW_HIDE);
    if (s->hot == index) s->hot = -1;
    else if (s->hot > index) s->hot--;
    if (s->markIndex == index) s->markIndex = -1;
    else if (s->markIndex > index) s->markIndex--;
    ToolbarFree(b);
    if (invalidate) InvalidateAfterChange(s, index);
    return true;
}

void ClearToolbarButtons(ToolbarState* s) {
    while (s->buttonCount > 0) {
        ToolbarButton* b = s->buttons[--s->buttonCount];
        FreeButtonStrip(b);
        ToolbarFree(b);
    }
    s->hot = s->markIndex = -1;
}

int AddToolbarButtons(ToolbarState* s, WPARAM wParam, const TBBUTTON* source, bool clearExtra) {
    int count = LOWORD(wParam);
    WORD where = HIWORD(wParam);
    if (count == 0 || count > kToolbarLastPosition || !source) return 0;
    int position = s->buttonCount;
    if ((where & ~kToolbarLastPosition) == kToolbarAddAtMark) position = where & kToolbarLastPosition;
    else if (where != 0) return 0;
    // The buttons behind the first one all move: one invalidation covers them.
    int first = -1;
    for (int i = 0; i < count; ++i) {
        int at = InsertToolbarButton(s, position, &source[i], clearExtra, false);
        if (at < 0) break;
        if (first < 0) first = at;
        position = at + 1;
    }
    if (first >= 0) InvalidateAfterChange(s, first);
    return position - (first < 0 ? position : first) == count ? 1 : 0;
}

int FindCheckedInGroup(const ToolbarState* s, int index) {
    for (int j = index; j >= 0; --j) {
        const ToolbarButton* b = s->buttons[j];
        if (!(b->fsStyle & BTNS_GROUP)) break;
        if (b->fsState & TBSTATE_CHECKED) return j;
        if (b->fsStyle & 0x80) break;
    }
    for (int j = index + 1; j < s->buttonCount; ++j) {
        const ToolbarButton* b = s->buttons[j];
        if (!(b->fsStyle & BTNS_GROUP) || (b->fsStyle & 0x80)) break;
        if (b->fsState & TBSTATE_CHECKED) return j;
    }
    return -1;
}

bool ReleaseGroupCheck(ToolbarState* s, int index) {
    int checked = FindCheckedInGroup(s, index);
    if (checked == index) return false;
    if (checked >= 0) {
        s->buttons[checked]->fsState &= ~TBSTATE_CHECKED;
        RefreshButtonLook(s, checked);
        InvalidateButton(s, checked);
    }
    return true;
}

int FindWindowButton(const ToolbarState* s, HWND child) {
    for (int i = 0; i < s->buttonCount; ++i) {
        const ToolbarButton* b = s->buttons[i];
        if ((b->extra & TBXF_WINDOW) && (HWND)b->dwData == child) return i;
    }
    return -1;
}

void RefreshButtonLook(ToolbarState* s, int index) {
    ToolbarButton* b = ButtonAt(s, index);
    if (!b || IsSeparator(b) || !IsButtonVisible(b)) return;
    if (index == s->hot) {
        // The hot look follows the state too: tracking recomputes it from the stored hit and keys.
        int hit = s->hot | (s->dropPart ? (int)kHitDropPart : 0);
        BYTE keys = s->lastKeys;
        s->hot = -1;
        s->lastKeys = 0xFF;
        TrackHotButton(s, hit, keys);
        return;
    }
    b->look = (WORD)((b->look & ~kLookMask) | RestingLook(b));
}
