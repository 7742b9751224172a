// The drop-target bar of an internal drag, automatic scrolling near the top and bottom edges, and the
// expansion of a collapsed item the cursor hovers over; both driven by their timers.
#include "treelist/control/TreeListDrag.h"

#include "treelist/control/TreeListItemOps.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListMouse.h"
#include "treelist/control/TreeListNotify.h"
#include "treelist/control/TreeListSeams.h"
#include "treelist/control/TreeListTimers.h"

#include <algorithm>

namespace {

constexpr UINT kHoverMs = 500;
constexpr int kHoverExpandTick = 5;
constexpr int kScrollTickCycle = 12, kMaxScrollSteps = 11;
constexpr int kLastStripHeight = 3;
constexpr BYTE kScrollEdgeOnly = 0x1, kScrollImageColumn = 0x2;

void InvalidateTarget(TreeListData* d, ItemId target) {
    if (!target) return;
    if (target != kItemLast) {
        InvalidateRow(d, target);
        return;
    }
    // The place below the last row: a strip under it, never above the item area.
    const long long rows = static_cast<long long>(d->rowCount) - d->firstRow;
    const long long y = std::clamp<long long>(rows * d->rowHeight + d->headerHeight, d->headerHeight,
                                              std::max(d->clientHeight, d->headerHeight));
    RECT r = {0, static_cast<int>(y), d->clientWidth, static_cast<int>(y) + kLastStripHeight};
    if (!d->redrawOff) InvalidateRect(d->window, &r, FALSE);
}

}  // namespace

ItemId SetDropTarget(TreeListData* d, ItemId item, int height, int offset) {
    if (item && item != kItemLast && !Item(d, item)) return d->dropTarget;
    if (height <= 0 || height >= d->rowHeight) {
        offset = 0;
        height = d->rowHeight;
    } else if (height + offset >= d->rowHeight) {
        offset = d->rowHeight - height - 1;
    }
    offset = std::max(offset, 0);
    if (!item) height = offset = 0;
    if (item == d->dropTarget && height == d->dropBarHeight && offset == d->dropBarOffset) return item;
    if (!item) {
        KillTimer(d->window, kTimerHover);
        d->hoverTicks = 0;
    } else if (!d->dropTarget) {
        d->hoverTicks = 0;
        SetTimer(d->window, kTimerHover, kHoverMs, nullptr);
    }
    InvalidateTarget(d, d->dropTarget);
    d->dropTarget = item;
    d->dropBarHeight = height;
    d->dropBarOffset = offset;
    InvalidateTarget(d, item);
    return item;
}

LRESULT SetDropTargetMessage(TreeListData* d, WPARAM height, ItemId item) {
    return static_cast<LRESULT>(SetDropTarget(d, item, static_cast<int>(std::min<WPARAM>(height, 0x7FFF)), 0));
}

UINT AutoScrollInterval(UINT interval) { return std::clamp(interval, 30u, 900u); }

LRESULT SetAutoScrollTimer(TreeListData* d, int mode, UINT interval) {
    if (!interval) return KillTimer(d->window, kTimerAutoScroll);
    d->autoScrollMode = static_cast<BYTE>(mode);
    const UINT_PTR timer = SetTimer(d->window, kTimerAutoScroll, AutoScrollInterval(interval), nullptr);
    if (timer) d->autoScrollTicks = 0;
    return static_cast<LRESULT>(timer);
}

LRESULT AutoScrollMessage(TreeListData* d, WPARAM mode, LPARAM interval) {
    return SetAutoScrollTimer(d, static_cast<int>(mode & 0xFF), static_cast<UINT>(interval));
}

void OnAutoScrollTimer(TreeListData* d) {
    const POINT cursor = TreeListCursorIn(d->window);
    const BYTE mode = d->autoScrollMode;
    const bool up = cursor.y < d->clientHeight / 2;
    int distance = up ? d->headerHeight - cursor.y : cursor.y - d->clientHeight + 1;
    if (mode & kScrollEdgeOnly) {
        if (up ? cursor.y < 0 : distance > 1) return;
    }
    if (mode & kScrollImageColumn) {
        if (cursor.x < 0 || cursor.x >= d->imageSize[kImagesItem].cx) return;
        distance += d->rowHeight;
    }
    if (distance < 0) return;
    const int steps = std::min((mode & kScrollEdgeOnly) ? distance + 2 : distance / 3, kMaxScrollSteps);
    if (++d->autoScrollTicks < kScrollTickCycle - steps) return;
    d->autoScrollTicks = 0;
    SendMessageA(d->window, WM_VSCROLL, up ? SB_LINEUP : SB_LINEDOWN, 0);
    if (!IsDying(d) && d->dragItem) RefreshDragFeedback(d);
}

void OnHoverTimer(TreeListData* d) {
    if (++d->hoverTicks < kHoverExpandTick) return;
    TVHITTESTINFO hit = {};
    hit.pt = TreeListCursorIn(d->window);
    const ItemId item = HitTestCell(d, &hit);
    if (!item || !(hit.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL))) return;
    if (!(d->items[item]->state & TVIS_EXPANDED) && AskShowsButton(d, item)) {
        ExpandItem(d, item, TVE_EXPAND);
        if (!IsDying(d) && d->dragItem) RefreshDragFeedback(d);
    }
}
