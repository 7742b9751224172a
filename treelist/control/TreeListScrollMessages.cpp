// Scrolling by the scroll bars, the wheel, TVM_ENSUREVISIBLE and TVM_SELECTITEM's first-visible code, all
// through the shared position setters. The handlers run inside the lock like every other message, so a folder
// worker rebuilding rows through the direct entry never races them.
#include "treelist/control/TreeListScroll.h"

#include "treelist/control/TreeListDrag.h"
#include "treelist/control/TreeListEdit.h"
#include "treelist/control/TreeListItemOps.h"
#include "treelist/control/TreeListLayout.h"

#include <algorithm>

namespace {

constexpr int kHScrollStep = 16;
constexpr UINT kTrackPositionRows = 32512;  // from here the 16-bit thumb position is too short

UINT ClampRow(const TreeListData* d, long long row) {
    return static_cast<UINT>(std::clamp<long long>(row, 0, LimitFirstRow(d, UINT_MAX)));
}

// The new value a scroll-bar code asks for; false for the codes that change nothing.
bool ScrollTarget(int code, long long current, long long line, long long page, long long thumb, WPARAM wp,
                  long long* target) {
    switch (code) {
    case SB_LINEUP: *target = current - line; return true;
    case SB_LINEDOWN: *target = current + line; return true;
    case SB_PAGEUP: *target = current - page; return true;
    case SB_PAGEDOWN: *target = current + page; return true;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: *target = thumb; return true;
    case kScrollReasonRow: *target = static_cast<long long>(wp >> 4 & 0x0FFFFFFF); return true;
    default: return false;
    }
}

}  // namespace

LRESULT OnVScroll(TreeListData* d, WPARAM wp) {
    if (EditorOpen(d)) return 0;
    const int code = static_cast<int>(wp & 15);
    const long long page = std::max<long long>(static_cast<long long>(d->wholeRows) - 1, 1);
    long long thumb = HIWORD(wp);
    if ((code == SB_THUMBPOSITION || code == SB_THUMBTRACK) && d->rowCount >= kTrackPositionRows) {
        SCROLLINFO info = {sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        TreeListUnlocked unlocked(d->lock);
        if (GetScrollInfo(d->window, SB_VERT, &info)) thumb = info.nTrackPos;
    }
    long long row;
    if (ScrollTarget(code, d->firstRow, 1, page, thumb, wp, &row))
        SetFirstRow(d, ClampRow(d, row), static_cast<UINT>(wp & 0xFFFF));
    return 0;
}

LRESULT OnHScroll(TreeListData* d, WPARAM wp) {
    if (EditorOpen(d)) return 0;
    const int code = static_cast<int>(wp & 15);
    long long x;
    if (ScrollTarget(code, d->scrollX, kHScrollStep, d->clientWidth, HIWORD(wp), wp, &x))
        SetScrollX(d, static_cast<int>(std::clamp<long long>(x, 0, MaxScrollX(d))), static_cast<UINT>(wp & 0xFFFF));
    return 0;
}

LRESULT OnMouseWheel(TreeListData* d, WPARAM wp) {
    const UINT keys = LOWORD(wp);
    if ((keys & (MK_RBUTTON | MK_MBUTTON)) || EditorOpen(d)) return 0;
    int rows = static_cast<short>(HIWORD(wp)) / 60;
    if (keys & MK_LBUTTON) {
        if (!d->dragItem) return 0;
    } else if (keys & MK_CONTROL) {
        rows *= 9;
    } else if (keys & MK_SHIFT) {
        rows *= 3;
    }
    const UINT row = ClampRow(d, static_cast<long long>(d->firstRow) - rows);
    if (row != d->firstRow && !(d->style & TVS_NOSCROLL) && SetFirstRow(d, row, kScrollReasonWheel) &&
        d->dragItem)
        RefreshDragFeedback(d);
    return 1;
}

int EnsureVisible(TreeListData* d, ItemId item, int column, int mode) {
    if (!Item(d, item)) return -1;
    // Collapsed ancestors open from the top down; the parent's handlers may lose the item on the way.
    for (;;) {
        ItemId hidden = 0;
        for (ItemId p = d->items[item]->parent; p; p = d->items[p]->parent)
            if (!ShowsChildren(d, d->items[p])) hidden = p;
        if (!hidden) break;
        if (d->items[hidden]->state & TVIS_EXPANDED) return 1;  // expanded, but its children are not shown
        const int result = ExpandItem(d, hidden, TVE_EXPAND);
        if (!Item(d, item)) return -1;
        if (result != 0 || !Item(d, hidden) || !(d->items[hidden]->state & TVIS_EXPANDED)) return 1;
    }
    if (mode == -2)
        ShowAtTop(d, item);
    else
        ScrollIntoView(d, item, column);
    return Item(d, item) ? 1 : -1;
}

LRESULT EnsureVisibleMessage(TreeListData* d, WPARAM mode, ItemId item) {
    if (item == static_cast<ItemId>(TLI_SELECTEDCELL)) {
        const bool cell = d->selCellItem != 0;
        return EnsureVisible(d, cell ? d->selCellItem : d->caretItem, cell ? d->selCellColumn : d->caretColumn,
                             static_cast<int>(mode));
    }
    return EnsureVisible(d, item, 0, static_cast<int>(mode));
}

LRESULT ShowAtTop(TreeListData* d, ItemId item) {
    const TreeListItem* it = Item(d, item);
    if (!it || !it->row) return 0;
    SetFirstRow(d, it->row - 1, kScrollReasonRow);
    return 1;
}
