// Mouse moves: the tooltip follows the mouse, hot tracking and hot check boxes light up under it, a pressed
// cell check is let go when the mouse leaves it, and a press that moved far enough starts a drag
// (TVN_BEGINDRAGA, then the control's own drag where the style and the rules allow it).
#include "treelist/control/TreeListMouse.h"

#include "treelist/control/TreeListDrag.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListNotify.h"
#include "treelist/control/TreeListSeams.h"
#include "treelist/control/TreeListSelect.h"
#include "treelist/control/TreeListTip.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr UINT kHighlightFlags = TLHT_ONCELLLABEL | TLHT_ONCELLIMAGE | TLHT_ONTEXT | TVHT_ONITEMSTATEICON |
                                 TVHT_ONITEMLABEL | TVHT_ONITEMICON;
constexpr DWORD kStyleInternalDrag = 0x8000;
constexpr int kDragDistance = 2;
constexpr UINT kDragRecordMask = 0x401C;

void DropPressedCheck(TreeListData* d, UINT keys, ItemId item, UINT flags) {
    if (!d->pressedCheckItem) return;
    if ((keys & MK_LBUTTON) && item == d->pressedCheckItem && (flags & TLHT_ONCELLIMAGE) &&
        HitColumn(flags) == d->pressedCheckColumn)
        return;
    InvalidateCell(d, d->pressedCheckItem, d->pressedCheckColumn);
    d->pressedCheckItem = 0;
    d->pressedCheckColumn = 0;
}

// The hot check box under the mouse: the tree column's themed check box, or a check-style cell's.
void UpdateHotCheck(TreeListData* d, UINT keys, ItemId item, UINT flags) {
    ItemId hot = 0;
    int column = 0;
    if (item && (flags & TVHT_ONITEMSTATEICON) && d->themedChecks[kImagesState] && (d->style & TVS_CHECKBOXES)) {
        hot = item;
    } else if (item && (flags & TLHT_ONCELLIMAGE) && d->themedChecks[kImagesState2] && d->columnCount > 1) {
        const int c = HitColumn(flags);
        if (c < d->columnCount && d->columns[c].editMode >= TLEM_CHECK && d->left[c] >= d->left[d->order[1]]) {
            hot = item;
            column = c;
        }
    }
    if (hot == d->hotCheckItem && column == d->hotCheckColumn) return;
    InvalidateHotCheck(d);
    d->hotCheckItem = hot;
    d->hotCheckColumn = column;
    d->hotCheckPressed = hot && (keys & MK_LBUTTON);
    if (hot) RequestMouseLeave(d);
    InvalidateHotCheck(d);
}

bool MayDragInternally(const TreeListData* d, ItemId item) {
    const TreeListItem* it = Item(d, item);
    if (!it || !(d->style & kStyleInternalDrag)) return false;
    if (it->state & static_cast<UINT>(d->options[TLO_DRAG])) return false;
    const UINT rules = static_cast<UINT>(d->options[TLO_DRAGRULES]);
    const UINT pinned = static_cast<UINT>(std::max<LONG_PTR>(d->options[TLO_PINNEDROWS], 0));
    if ((rules & TLDR_PINNED) && it->row && it->row - 1 < pinned) return false;
    return !(rules & TLDR_TOPLEVELONLY) || it->parent == 0;
}

// A left press that moved more than two pixels starts a drag; false while it stays within that distance.
bool StartDrag(TreeListData* d, UINT keys, POINT pt) {
    const POINT last = {GET_X_LPARAM(d->lastMove), GET_Y_LPARAM(d->lastMove)};
    if (!(d->candidateButtons & 1) || !(keys & MK_LBUTTON) || d->pressedCheckItem) return true;
    if (pt.x == last.x && pt.y == last.y) return true;
    if (std::abs(pt.x - last.x) <= kDragDistance && std::abs(pt.y - last.y) <= kDragDistance) return false;
    const ItemId item = d->candidateItem;
    const int column = d->candidateColumn;
    d->candidateButtons = 0;
    d->candidateItem = 0;
    d->pendingSelect = d->editOnRelease = false;
    if (!Item(d, item)) return true;
    const LRESULT answer =
        SendTreeView(d, TVN_BEGINDRAGA, 0, TVITEMA{}, NotifyRecord(d, item, kDragRecordMask, column), pt);
    if (answer != 1 && !IsDying(d) && MayDragInternally(d, item)) BeginInternalDrag(d, item, keys & kDragKeyBits, pt);
    return true;
}

LRESULT MouseMove(TreeListData* d, UINT keys, POINT pt) {
    TVHITTESTINFO hit = {};
    hit.pt = pt;
    ItemId item = HitTestCell(d, &hit);
    if (!(d->style & TVS_NOTOOLTIPS)) {
        UpdateTip(d, d->enabled ? item : 0, d->enabled ? hit.flags : 0);
        if (IsDying(d)) return 0;
        if (!Item(d, item)) item = 0;
    }
    DropPressedCheck(d, keys, item, hit.flags);
    if (d->dragItem) {
        UpdateDragFeedback(d, keys, pt);
    } else if (d->style & TVS_TRACKSELECT) {
        const bool over = d->enabled && item && (hit.flags & kHighlightFlags);
        SetDropHighlight(d, over ? item : 0, over ? HitColumn(hit.flags) : 0);
    }
    if (IsDying(d)) return 0;
    UpdateHotCheck(d, keys, Item(d, item) ? item : 0, hit.flags);
    if (!StartDrag(d, keys, pt) || IsDying(d)) return 0;
    d->lastMove = MAKELPARAM(pt.x, pt.y);
    return 0;
}

}  // namespace

void RequestMouseLeave(TreeListData* d) {
    if (d->leaveTracked || !IsOwnerThread(d)) return;
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, d->window, 0};
    d->leaveTracked = TrackMouseEvent(&track) != FALSE;
}

LRESULT OnMouseMove(TreeListData* d, WPARAM keys, LPARAM lp) {
    return MouseMove(d, static_cast<UINT>(keys), POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
}

LRESULT OnMouseLeave(TreeListData* d) {
    d->leaveTracked = false;
    return MouseMove(d, 0, TreeListCursorIn(d->window));
}
