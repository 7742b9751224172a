// Scrolling: the two position setters (asking the parent first with TLN_SCROLLED), the scroll bars, the
// wheel, TVM_ENSUREVISIBLE and TVM_SELECTITEM's first-visible code. The handlers run inside the lock like every
// other message, so a folder worker rebuilding rows through the direct entry never races them.
#include "treelist/control/TreeListColumns.h"
#include "treelist/control/TreeListDrag.h"
#include "treelist/control/TreeListHandlers.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListMouse.h"
#include "treelist/control/TreeListNotify.h"
#include "treelist/control/TreeListPending.h"

#include <algorithm>

namespace {

constexpr int kHScrollStep = 16;
constexpr UINT kTrackPositionRows = 32512;  // from here the 16-bit thumb position is too short

// TLN_SCROLLED before a change; true when the parent lets it happen.
bool MayScroll(TreeListData* d, WORD action, int reason, int x, UINT first) {
    if (!(d->exStyle & TLX_SCROLLNOTIFY)) return true;
    NMTREELISTSCROLL nm = {};
    nm.action = action;
    nm.reason = static_cast<WORD>(reason);
    nm.scrollX = x;
    nm.firstRow = static_cast<int>(first);
    return SendNotify(d, TLN_SCROLLED, &nm.hdr) == 0 && !IsDying(d);
}

UINT MaxFirstRow(const TreeListData* d) { return LimitFirstRow(d, UINT_MAX); }

int MaxScrollX(const TreeListData* d) {
    return d->columnCount ? std::max(d->lastRight - 2 * (d->clientWidth / 2), 0) : 0;
}

UINT ClampRow(const TreeListData* d, long long row) {
    return static_cast<UINT>(std::clamp<long long>(row, 0, MaxFirstRow(d)));
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

bool EditorOpen(const TreeListData* d) { return d->editor && IsWindowVisible(d->editor); }

bool SetFirstRow(TreeListData* d, UINT row, int reason) {
    row = ClampRow(d, row);
    if (row == d->firstRow) return false;
    if (!MayScroll(d, 1, reason, d->scrollX, row)) return false;
    row = ClampRow(d, row);  // the parent may have changed the rows meanwhile
    d->firstRow = row;
    UpdateVScrollBar(d, true, true);
    InvalidateItems(d);
    return true;
}

bool SetScrollX(TreeListData* d, int x, int reason) {
    x = std::clamp(x, 0, MaxScrollX(d));
    if (x == d->scrollX) return false;
    if (!MayScroll(d, 0, reason, x, d->firstRow)) return false;
    d->scrollX = std::clamp(x, 0, MaxScrollX(d));
    PlaceHeader(d);
    if (IsOwnerThread(d)) {
        SCROLLINFO info = {sizeof info, SIF_POS, 0, 0, 0, d->scrollX, 0};
        TreeListUnlocked unlocked(d->lock);
        SetScrollInfo(d->window, SB_HORZ, &info, TRUE);
    } else {
        d->hScrollMax = -1;  // the deferred refresh gives the bar its position
        Defer(d, kDeferScroll);
        PostDeferred(d);
    }
    InvalidateItems(d);
    return true;
}

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
        SetFirstRow(d, ClampRow(d, row), static_cast<int>(wp & 0xFFFF));
    return 0;
}

LRESULT OnHScroll(TreeListData* d, WPARAM wp) {
    if (EditorOpen(d)) return 0;
    const int code = static_cast<int>(wp & 15);
    long long x;
    if (ScrollTarget(code, d->scrollX, kHScrollStep, d->clientWidth, HIWORD(wp), wp, &x))
        SetScrollX(d, static_cast<int>(std::clamp<long long>(x, 0, MaxScrollX(d))), static_cast<int>(wp & 0xFFFF));
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
    const TreeListItem* it = d->items[item];
    if (!it->row) return 1;
    const UINT row = it->row - 1;
    const UINT pinned = static_cast<UINT>(std::max<LONG_PTR>(d->options[TLO_PINNEDROWS], 0));
    if (mode == -2) {
        SetFirstRow(d, row, kScrollReasonRow);
    } else if (row >= pinned) {
        const UINT shown = d->wholeRows > pinned ? d->wholeRows - pinned : 1;
        if (row < d->firstRow + pinned)
            SetFirstRow(d, row - pinned, kScrollReasonRow);
        else if (row >= d->firstRow + pinned + shown)
            SetFirstRow(d, row - pinned - shown + 1, kScrollReasonRow);
    }
    if (IsDying(d) || !Item(d, item) || column <= 0 || column >= d->columnCount) return 1;
    const int left = d->left[column], right = d->right[JoinedEnd(d, d->items[item]->state, column)];
    if (right - d->scrollX > d->clientWidth) SetScrollX(d, std::min(left, right - d->clientWidth), kScrollReasonRow);
    if (left < d->scrollX) SetScrollX(d, left, kScrollReasonRow);
    return 1;
}

LRESULT EnsureVisibleMessage(TreeListData* d, WPARAM mode, ItemId item) {
    if (item == static_cast<ItemId>(TLI_SELECTEDCELL)) {
        const bool cell = d->selCellItem != 0;
        return EnsureVisible(d, cell ? d->selCellItem : d->caretItem, cell ? d->selCellColumn : d->caretColumn,
                             static_cast<int>(mode));
    }
    return EnsureVisible(d, item, 0, static_cast<int>(mode));
}

LRESULT SelectItemMessage(TreeListData* d, WPARAM code, ItemId item) {
    switch (code) {
    case TVGN_CARET: return SelectCell(d, item, 0, 0x8000) ? 1 : 0;
    case TVGN_DROPHILITE: return SetDropHighlight(d, item, 0);
    case TVGN_FIRSTVISIBLE: {
        const TreeListItem* it = Item(d, item);
        if (!it || !it->row) return 0;
        SetFirstRow(d, it->row - 1, kScrollReasonRow);
        return 1;
    }
    default: return 0;
    }
}
