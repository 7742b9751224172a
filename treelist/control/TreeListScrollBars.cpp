// The scroll bars: the horizontal one follows the width of the columns, the vertical one the display rows.
// Only the window's own thread touches them; other threads hand the update to the deferred queue, because
// showing or hiding a bar sends messages to the window's thread, which may be waiting for the caller.
#include "treelist/control/TreeListScroll.h"

#include "treelist/control/TreeListDeferred.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListNotify.h"
#include "treelist/control/TreeListSeams.h"
#include "treelist/control/TreeListTimers.h"

namespace {

constexpr DWORD kRedrawGapMs = 201;

void SetBar(TreeListData* d, int bar, const SCROLLINFO& info, bool redraw, bool leaveLock) {
    const bool setting = d->settingVBar;
    if (bar == SB_VERT) d->settingVBar = true;
    if (!leaveLock) {
        SetScrollInfo(d->window, bar, &info, redraw);
    } else {
        TreeListUnlocked unlocked(d->lock);
        SetScrollInfo(d->window, bar, &info, redraw);
    }
    d->settingVBar = setting;
}

void QueueRefresh(TreeListData* d, DeferredKind kind) {
    if (kind == kDeferRefresh && d->refreshQueued) {
        PostDeferred(d);  // in case the post of the queued refresh failed
        return;
    }
    if (kind == kDeferRefresh) d->refreshQueued = true;
    Defer(d, kind);
}

}  // namespace

void UpdateHScrollBar(TreeListData* d, bool leaveLock) {
    const int total = d->columnCount ? d->lastRight : d->widestRow;
    if (total == d->hScrollMax && d->clientWidth == d->hScrollPage) return;
    if (!IsOwnerThread(d)) {
        Defer(d, kDeferScroll);
        return;
    }
    d->hScrollMax = total;
    d->hScrollPage = d->clientWidth;
    SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS, 0, 0, 0, 0, 0};
    const bool none = total < 2 || (d->style & TVS_NOSCROLL) || (d->exStyle & TLX_NOHSCROLLRANGE);
    info.nMax = none ? 0 : total - 2;
    info.nPage = static_cast<UINT>(d->clientWidth > 0 ? d->clientWidth : 0);
    info.nPos = d->scrollX;
    SetBar(d, SB_HORZ, info, true, leaveLock);
    if (IsDying(d)) return;
    if (static_cast<int>(info.nPage) > info.nMax && d->scrollX) {
        d->scrollX = 0;
        InvalidateItems(d);
        if (d->header) SetWindowPos(d->header, nullptr, 0, 0, d->clientWidth, d->headerHeight,
                                    SWP_NOZORDER | SWP_NOACTIVATE);
    }
    d->hHasRange = info.nMax > static_cast<int>(info.nPage);
}

void UpdateVScrollBar(TreeListData* d, bool leaveLock, bool force) {
    if (!force && d->rowCount == d->vScrollCount && d->wholeRows == d->vScrollWhole) return;
    const UINT oldFirst = d->firstRow;
    if (d->wholeRows > 0) d->firstRow = LimitFirstRow(d, d->firstRow);
    if (!IsOwnerThread(d)) {
        if (d->firstRow != oldFirst) QueueRefresh(d, kDeferFirstRow);
        QueueRefresh(d, kDeferRefresh);
        return;
    }
    // The range is always set; a burst of inserts redraws the bar only now and then.
    const DWORD now = TreeListTick();
    // Setting the values showed the bar: the frame drawn for it drew them, so the size's update has no more
    // to set or draw.
    if (d->settingVBar && d->rowCount == d->vScrollCount && d->wholeRows == d->vScrollWhole &&
        d->firstRow == oldFirst) {
        d->refreshQueued = false;
        d->vScrollTick = now;
        return;
    }
    const bool redraw = force || now - d->vScrollTick >= kRedrawGapMs;
    d->vScrollCount = d->rowCount;
    d->vScrollWhole = d->wholeRows;
    SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS, 0, 0, 0, 0, 0};
    if (d->exStyle & TLX_VSCROLLDISABLENOSCROLL) info.fMask |= SIF_DISABLENOSCROLL;
    info.nMax = (d->style & TVS_NOSCROLL) ? 0 : static_cast<int>(d->rowCount);
    info.nPage = d->wholeRows;
    info.nPos = static_cast<int>(d->firstRow);
    SetBar(d, SB_VERT, info, redraw, leaveLock);
    if (IsDying(d)) return;
    if (static_cast<int>(info.nPage) > info.nMax && d->firstRow) d->firstRow = 0;
    if (!redraw) {
        // Redrawn later on the window's thread.
        if (d->firstRow != oldFirst) QueueRefresh(d, kDeferFirstRow);
        QueueRefresh(d, kDeferRefresh);
        return;
    }
    d->refreshQueued = false;
    d->vScrollTick = now;
    if (d->firstRow != oldFirst) InvalidateItems(d);
}

// The queued "refresh later": the bar is redrawn once the gap since its last redraw has passed, so a fill that
// ends with several passes of the queue redraws it once and not once per pass.
void RefreshVScrollBar(TreeListData* d) {
    const DWORD since = TreeListTick() - d->vScrollTick;
    if (since >= kRedrawGapMs || !SetTimer(d->window, kTimerScrollBar, kRedrawGapMs - since, nullptr))
        UpdateVScrollBar(d, true, true);
}

void OnScrollBarTimer(TreeListData* d) {
    KillTimer(d->window, kTimerScrollBar);
    if (d->refreshQueued) UpdateVScrollBar(d, true, true);  // not yet redrawn by a forced update meanwhile
}
