// The running internal drag: its start, the feedback at every mouse move (where the item would go: a bar
// between rows or a whole row to drop onto, and a cursor that tells whether it may), and its end by the
// button-up, by Escape or by a right press.
#include "treelist/control/TreeListDrag.h"

#include "treelist/control/TreeListItems.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListMouse.h"
#include "treelist/control/TreeListNotify.h"
#include "treelist/control/TreeListSeams.h"
#include "treelist/control/TreeListSelect.h"
#include "treelist/control/TreeListShared.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kBetweenBar = 3, kBarFromBottom = 5, kHoverReach = 2;
constexpr int kAutoScrollStartMs = 100;
constexpr UINT kOutsideFlags = TVHT_ABOVE | TVHT_BELOW | TVHT_TORIGHT | TVHT_TOLEFT;

UINT Rules(const TreeListData* d) { return static_cast<UINT>(d->options[TLO_DRAGRULES]); }
UINT Pinned(const TreeListData* d) { return static_cast<UINT>(std::max<LONG_PTR>(d->options[TLO_PINNEDROWS], 0)); }
bool IsPinnedRow(const TreeListData* d, ItemId item) {
    const TreeListItem* it = Item(d, item);
    return it && it->row && it->row - 1 < Pinned(d);
}
int LevelOf(const TreeListData* d, ItemId item) { return Item(d, item) ? d->items[item]->level : 0; }

void StopDrag(TreeListData* d) {
    d->dragItem = 0;
    d->dragFlags = 0;
    SetDropTarget(d, 0, 0, 0);
    SetAutoScrollTimer(d, 0, 0);
    if (IsOwnerThread(d) && GetCapture() == d->window) ReleaseCapture();
}

bool HasText(TreeListData* d, ItemId item) {
    const TreeListItem* it = Item(d, item);
    if (!it) return false;
    if (!(it->callbacks & kCallbackText)) return it->textLength > 0;
    TVITEMA answer;
    return FetchCallbacks(d, item, 0, TVIF_TEXT, &answer) && answer.pszText[0];
}

// Whether some selected item may go to the target (a drag of a multi-selection).
bool AnySelectedMayDrop(const TreeListData* d, ItemId target, int mode) {
    const UINT rules = Rules(d);
    for (ItemId i = d->firstRoot; i; i = NextInTree(d, i)) {
        const TreeListItem* it = d->items[i];
        if (!(it->state & TVIS_SELECTED)) continue;
        if ((rules & TLDR_LEAVESONLY) && it->firstChild) continue;
        ItemId t = target == kItemLast ? 0 : target;
        int m = mode;
        if ((rules & (TLDR_KEEPLEVEL | TLDR_KEEPPARENT)) && AdjustDropLevel(d, i, &t, &m)) continue;
        if (CanDropAt(d, i, t, m)) return true;
    }
    return false;
}

}  // namespace

BOOL BeginInternalDrag(TreeListData* d, ItemId item, UINT flags, POINT point) {
    if (!Item(d, item)) return FALSE;
    if ((Rules(d) & TLDR_NEEDSTEXT) && !HasText(d, d->caretItem)) return FALSE;
    if (IsDying(d) || !Item(d, item)) return FALSE;
    d->dragItem = item;
    d->dragFlags = flags & (kDragByMessage | kDragLeftButton);
    if (IsOwnerThread(d)) SetCapture(d->window);
    SetDropHighlight(d, 0, 0);
    UpdateDragFeedback(d, flags & kDragKeyBits, point);
    if (d->dragItem) SetAutoScrollTimer(d, 0, kAutoScrollStartMs);
    return TRUE;
}

void UpdateDragFeedback(TreeListData* d, UINT keys, POINT point) {
    if ((d->dragFlags & kDragLeftButton) && !(keys & MK_LBUTTON)) {
        d->dragKeys = keys;
        d->dragPos = point;
        StopDrag(d);
        return;
    }
    const UINT rules = Rules(d);
    const bool onto = (keys & MK_CONTROL) && !(rules & TLDR_NOCTRLONTO);
    int height = onto ? d->rowHeight : kBetweenBar, offset = 0;
    TVHITTESTINFO hit = {};
    hit.pt = point;
    if (!onto) hit.pt.y += d->rowHeight / 2;
    const ItemId hitItem = HitTestCell(d, &hit);
    if (std::abs(point.x - d->dragPos.x) > kHoverReach || std::abs(point.y - d->dragPos.y) > kHoverReach)
        d->hoverTicks = 0;
    d->dragKeys = keys;
    d->dragPos = point;
    const TreeListShared& shared = GetTreeListShared();
    if (hit.flags & kOutsideFlags) {
        SetDropTarget(d, 0, 0, 0);
        SetCursor(shared.arrow);
        return;
    }
    ItemId target = hitItem ? hitItem : kItemLast;
    if (!onto && d->rowHeight > 0 && (hit.pt.y - d->headerHeight) % d->rowHeight < d->rowHeight / 2) {
        // The cursor is in the lower half of the row above: a bar at its bottom when its level differs.
        const UINT row = hitItem ? d->items[hitItem]->row - 1 : d->rowCount;
        const ItemId above = row ? RowItem(d, row - 1) : 0;
        const bool pinnedBlock = (rules & TLDR_PINNED) && hitItem && row + 1 < Pinned(d);
        const bool parentBlock = (rules & TLDR_KEEPPARENT) && hitItem && above == d->items[hitItem]->parent;
        if (above && LevelOf(d, above) != (hitItem ? LevelOf(d, hitItem) : 0) && !pinnedBlock && !parentBlock) {
            target = above;
            offset = d->rowHeight - kBarFromBottom;
        }
    }
    const int mode = onto ? kDropOntoFirst : offset ? kDropAfter : kDropBefore;
    HCURSOR cursor = shared.hand;
    const bool byMessage = d->dragFlags & kDragByMessage;
    if (!Item(d, d->dragItem) || ((rules & TLDR_PINNED) && IsPinnedRow(d, target))) {
        cursor = shared.no;
    } else if (d->selectedCount >= 2 && !byMessage) {
        if (!AnySelectedMayDrop(d, target, mode)) cursor = shared.no;
    } else {
        const ItemId moved = d->selectedCount == 1 && !byMessage && d->caretItem ? d->caretItem : d->dragItem;
        if (target != kItemLast && (target == moved || IsAncestor(d, moved, target))) {
            cursor = shared.no;
        } else if ((rules & (TLDR_KEEPLEVEL | TLDR_KEEPPARENT)) && target != kItemLast) {
            ItemId t = target;
            int m = mode;
            if (AdjustDropLevel(d, moved, &t, &m)) {
                cursor = shared.no;
            } else if (!onto && (t != target || m != mode)) {
                target = t;
                height = kBetweenBar;
                offset = m == kDropAfter ? d->rowHeight - kBarFromBottom : 0;
            }
        }
        if (target == kItemLast && (rules & TLDR_NOTBELOWLAST)) cursor = shared.no;
        if ((rules & TLDR_LEAVESONLY) && Item(d, moved) && d->items[moved]->firstChild) cursor = shared.no;
    }
    SetDropTarget(d, target, height, offset);
    SetCursor(cursor);
}

void RefreshDragFeedback(TreeListData* d) {
    if (!d->dragItem) return;
    UpdateDragFeedback(d, d->dragKeys, TreeListCursorIn(d->window));
}

void SetDragCopyKey(TreeListData* d, bool down) {
    if (!d->dragItem) return;
    const bool ontoNow = d->dropBarHeight >= kBarFromBottom;
    if (down && !ontoNow) UpdateDragFeedback(d, d->dragKeys | MK_CONTROL, d->dragPos);
    if (!down && ontoNow) UpdateDragFeedback(d, d->dragKeys & ~static_cast<UINT>(MK_CONTROL), d->dragPos);
}

void CancelInternalDrag(TreeListData* d, bool report) {
    const ItemId dragged = d->dragItem;
    if (!dragged) return;
    const bool byMessage = d->dragFlags & kDragByMessage;
    StopDrag(d);
    SetCursor(GetTreeListShared().arrow);
    if (!report || !(Rules(d) & TLDR_REPORTCANCEL)) return;
    NMTREEVIEWA nm = {};
    nm.action = TLDROP_CANCELLED |
                (byMessage ? TLDROP_BYMESSAGE | 1u : static_cast<UINT>(std::max<UINT>(d->selectedCount, 1)));
    nm.itemOld.mask = nm.itemNew.mask = TVIF_HANDLE;
    nm.itemNew.hItem = ToHandle(Item(d, dragged) ? dragged : 0);
    nm.ptDrag = d->dragPos;
    SendNotify(d, TLN_DROP, &nm.hdr);
}

void EndInternalDrag(TreeListData* d, UINT keys) {
    const ItemId dragged = d->dragItem;
    const ItemId target = d->dropTarget;
    if (IsOwnerThread(d) && GetCapture() == d->window) ReleaseCapture();
    if (Item(d, dragged)) InternalDrop(d, target, dragged, keys);
    if (IsDying(d)) return;
    StopDrag(d);
    SetCursor(GetTreeListShared().arrow);
}

LRESULT StartDragMessage(TreeListData* d, ItemId item) {
    const UINT flags = kDragByMessage | (GetAsyncKeyState(VK_LBUTTON) < 0 ? kDragLeftButton : 0u);
    return BeginInternalDrag(d, item, flags, TreeListCursorIn(d->window));
}

bool DragKey(TreeListData* d, UINT key, bool down) {
    if (!d->dragItem) return false;
    if (key == VK_CONTROL)
        SetDragCopyKey(d, down);
    else if (key == VK_ESCAPE && down)
        CancelInternalDrag(d, true);
    return true;
}
