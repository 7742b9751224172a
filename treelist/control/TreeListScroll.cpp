// Scroll setters: the first shown row and the horizontal position, each announced to the parent first
// (TLN_SCROLLED, extended bit 0x8), and scrolling a cell into view.
#include "treelist/control/TreeListScroll.h"

#include "treelist/control/TreeListColumns.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListNotify.h"

#include <algorithm>

namespace {

// True when the parent refuses the change.
bool ScrollRefused(TreeListData* d, WORD action, UINT reason, int scrollX, UINT firstRow) {
    if (!(d->exStyle & TLX_SCROLLNOTIFY)) return false;
    NMTREELISTSCROLL nm = {};
    nm.action = action;
    nm.reason = static_cast<WORD>(reason);
    nm.scrollX = scrollX;
    nm.firstRow = static_cast<int>(firstRow);
    return SendNotify(d, TLN_SCROLLED, &nm.hdr) != 0 || IsDying(d);
}

UINT PinnedRows(const TreeListData* d) {
    return static_cast<UINT>(std::max<LONG_PTR>(d->options[TLO_PINNEDROWS], 0));
}

}  // namespace

// The right edge of the last column less the client width (rounded down to even), and never past what the
// scroll bar can show (its maximum is that edge - 2, its page the client width).
int MaxScrollX(const TreeListData* d) {
    if (!d->columnCount) return 0;
    return std::max(std::min(d->lastRight - 2 * (d->clientWidth / 2), d->lastRight - 1 - d->clientWidth), 0);
}

bool SetFirstRow(TreeListData* d, UINT firstRow, UINT reason) {
    firstRow = LimitFirstRow(d, firstRow);
    if (firstRow == d->firstRow || ScrollRefused(d, 1, reason, d->scrollX, firstRow)) return false;
    d->firstRow = LimitFirstRow(d, firstRow);  // the rows may have changed while the parent was asked
    InvalidateItems(d);
    UpdateVScrollBar(d, !(reason & kScrollUnlocked), true);
    return true;
}

bool SetScrollX(TreeListData* d, int scrollX, UINT reason) {
    scrollX = std::clamp(scrollX, 0, MaxScrollX(d));
    if (scrollX == d->scrollX || ScrollRefused(d, 0, reason, scrollX, d->firstRow)) return false;
    d->scrollX = std::clamp(scrollX, 0, MaxScrollX(d));
    InvalidateItems(d);
    if (d->header && IsOwnerThread(d)) {
        HWND header = d->header;
        const int x = d->scrollX, width = d->clientWidth + d->scrollX, height = d->headerHeight;
        TreeListUnlocked unlocked(d->lock);
        SetWindowPos(header, nullptr, -x, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (IsDying(d)) return true;
    d->hScrollMax = -1;  // the position goes to the bar with the next update
    UpdateHScrollBar(d, !(reason & kScrollUnlocked));
    return true;
}

void ScrollIntoView(TreeListData* d, ItemId item, int column) {
    const TreeListItem* it = Item(d, item);
    if (!it || !it->row || (d->style & TVS_NOSCROLL)) return;
    const UINT row = it->row - 1, pinned = PinnedRows(d);
    if (row >= pinned && d->wholeRows > pinned) {
        UINT first = d->firstRow;
        if (row < first + pinned)
            first = row - pinned;
        else if (row >= first + d->wholeRows)
            first = row + 1 - d->wholeRows;
        if (first != d->firstRow) SetFirstRow(d, first, kScrollReasonRow);
        if (IsDying(d) || !(it = Item(d, item))) return;
    }
    if (!d->columnCount || column < 0 || column >= d->columnCount) return;
    const int left = ColumnLeft(d, column), right = ColumnRight(d, JoinedEnd(d, it->state, column));
    int x = d->scrollX;
    if (right - x > d->clientWidth) x = right - d->clientWidth;
    if (left < x) x = left;
    if (x != d->scrollX) SetScrollX(d, x, kScrollReasonRow);
}
