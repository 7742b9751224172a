// The drop of an internal drag: where an item may go (CanDropAt, AdjustDropLevel under the keep-level and
// keep-parent rules) and the move of the dragged item or of every selected item, reported with TLN_DROP.
#include "treelist/control/TreeListDrag.h"

#include "treelist/control/TreeListItemOps.h"
#include "treelist/control/TreeListItems.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListNotify.h"

#include <algorithm>
#include <vector>

namespace {

UINT Rules(const TreeListData* d) { return static_cast<UINT>(d->options[TLO_DRAGRULES]); }

bool IsOnto(int mode) { return mode & 2; }

int LevelBelow(const TreeListData* d, ItemId parent) { return parent ? d->items[parent]->level + 1 : 0; }

// The drop mode from the bar and the keys: before or after by the bar, onto with Ctrl (first child with Shift).
int DropModeFor(const TreeListData* d, UINT keys) {
    const bool after = d->dropBarOffset != 0;
    if (!(Rules(d) & TLDR_NOCTRLONTO) && (keys & MK_CONTROL))
        return (keys & MK_SHIFT) ? kDropOntoFirst : kDropOntoLast;
    return after ? kDropAfter : kDropBefore;
}

LRESULT NotifyDrop(TreeListData* d, UINT action, ItemId target, ItemId item) {
    NMTREEVIEWA nm = {};
    nm.action = action;
    nm.itemOld.mask = nm.itemNew.mask = TVIF_HANDLE;
    nm.itemOld.hItem = ToHandle(target);
    nm.itemNew.hItem = ToHandle(item);
    nm.ptDrag = d->dragPos;
    return SendNotify(d, TLN_DROP, &nm.hdr);
}

// The rules one item must pass before it moves; target and mode may change under the level rules.
bool Passes(const TreeListData* d, ItemId item, ItemId* target, int* mode) {
    const UINT rules = Rules(d);
    if ((rules & TLDR_LEAVESONLY) && d->items[item]->firstChild) return false;
    return !(rules & (TLDR_KEEPLEVEL | TLDR_KEEPPARENT)) || AdjustDropLevel(d, item, target, mode) == 0;
}

// Moves an item (target 0: to the end of the top level); a target it goes onto opens.
int Move(TreeListData* d, ItemId item, ItemId target, int mode) {
    const int result = MoveItem(d, item, target, mode);
    if (result && IsOnto(mode) && !IsDying(d) && Item(d, target) && !(d->items[target]->state & TVIS_EXPANDED))
        ExpandItem(d, target, TVE_EXPAND);
    return result;
}

int DropOne(TreeListData* d, ItemId target, ItemId dragged, int mode) {
    const bool byMessage = d->dragFlags & kDragByMessage;
    const ItemId item = d->selectedCount == 1 && !byMessage && Item(d, d->caretItem) ? d->caretItem : dragged;
    if (!Item(d, item) || !Passes(d, item, &target, &mode)) return 0;
    const int result = Move(d, item, target, mode);
    if (!result || IsDying(d)) return 0;
    NotifyDrop(d, static_cast<UINT>(mode) << 24 | static_cast<UINT>(result) << 30 | 1, target,
               Item(d, item) ? item : 0);
    return 1;
}

int DropSelected(TreeListData* d, ItemId target, int mode) {
    std::vector<ItemId> moved;
    auto isMoved = [&](ItemId i) { return std::find(moved.begin(), moved.end(), i) != moved.end(); };
    ItemId first = 0, firstTarget = target;
    int firstMode = mode, lastResult = 0;
    for (ItemId i = d->firstRoot; Item(d, i);) {
        const ItemId enter = NextInTree(d, i);
        const ItemId skip = NextInTree(d, LastDescendant(d, i));
        if (isMoved(i)) {
            i = skip;
            continue;
        }
        if (!(d->items[i]->state & TVIS_SELECTED)) {
            i = enter;
            continue;
        }
        ItemId t = target;
        int m = mode;
        if (!first) {
            first = i;
            firstTarget = target;
            firstMode = mode;
        }
        const int result = Passes(d, i, &t, &m) ? Move(d, i, t, m) : 0;
        if (IsDying(d)) return 0;
        if (result && Item(d, i)) {
            moved.push_back(i);
            lastResult = result;
            target = i;  // the next one follows this one, so that the items keep their order
            mode = kDropAfter;
            i = skip;
        } else {
            i = enter;
        }
    }
    const int count = static_cast<int>(moved.size());
    // The mode word gets bit 24 once an item moved: the items after the first were placed after it.
    if (count)
        NotifyDrop(d, static_cast<UINT>(count) | static_cast<UINT>(firstMode | 1) << 24 |
                          static_cast<UINT>(lastResult) << 30,
                   firstTarget, Item(d, first) ? first : 0);
    return count;
}

}  // namespace

int CanDropAt(const TreeListData* d, ItemId item, ItemId target, int mode) {
    if (d->sortThread || !Item(d, item)) return 0;
    if (item == target) return 1;
    const TreeListItem* it = d->items[item];
    if (!target || target == kItemLast) {
        if (it->firstChild) return 2;
        for (ItemId i = item; i; i = d->items[i]->parent)
            if (d->items[i]->nextSibling) return 2;
        return 0;
    }
    if (!Item(d, target)) return 0;
    if ((mode == kDropAfter && d->items[target]->nextSibling == item) ||
        (mode == kDropBefore && d->items[target]->prevSibling == item))
        return 1;
    return IsAncestor(d, item, target) ? 0 : 2;
}

int AdjustDropLevel(const TreeListData* d, ItemId item, ItemId* target, int* mode) {
    if (!Item(d, item)) return 1;
    if (*target == kItemLast) *target = 0;
    if (*target && !Item(d, *target)) return 1;
    const TreeListItem* it = d->items[item];
    const ItemId parent = IsOnto(*mode) ? *target : *target ? d->items[*target]->parent : 0;
    if (LevelBelow(d, parent) == it->level)
        return (Rules(d) & TLDR_KEEPPARENT) && it->parent != parent ? 1 : 0;
    if (IsOnto(*mode)) return 1;
    // Between rows at another level: climb from the row above the gap to an item at the item's own level
    // whose branch ends at the gap, and drop after it.
    ItemId candidate;
    if (*mode == kDropAfter && *target) {
        candidate = *target;
    } else {
        const UINT row = *target ? d->items[*target]->row : d->rowCount + 1;
        if (row <= 1) return 1;
        candidate = RowItem(d, row - 2);
    }
    ItemId p = 0;
    while (candidate) {
        p = d->items[candidate]->parent;
        const int level = LevelBelow(d, p);
        if (level == it->level) break;
        if (it->level >= level || !p || d->items[p]->nextSibling) return 1;
        candidate = p;
    }
    if (!candidate || ((Rules(d) & TLDR_KEEPPARENT) && it->parent != p)) return 1;
    *target = candidate;
    *mode = kDropAfter;
    return 0;
}

int InternalDrop(TreeListData* d, ItemId target, ItemId dragged, UINT keys) {
    const UINT rules = Rules(d);
    if (target == kItemLast) {
        if (rules & TLDR_NOTBELOWLAST) return 0;
        target = 0;
    } else if (target && !Item(d, target)) {
        return 0;
    } else if (!target) {
        RECT client;
        GetClientRect(d->window, &client);
        const bool outside = static_cast<UINT>(d->dragPos.x) >= static_cast<UINT>(client.right) ||
                             static_cast<UINT>(d->dragPos.y) >= static_cast<UINT>(client.bottom);
        if (!(rules & TLDR_REPORTOUTSIDE) || !outside) return 0;
        const bool byMessage = d->dragFlags & kDragByMessage;
        const ItemId item = !byMessage && d->selectedCount && Item(d, d->caretItem) ? d->caretItem : dragged;
        NotifyDrop(d, TLDROP_OUTSIDE | (byMessage ? TLDROP_BYMESSAGE | 1u : std::max<UINT>(d->selectedCount, 1)),
                   0, Item(d, item) ? item : 0);
        return 0;
    }
    const int mode = DropModeFor(d, keys);
    if ((rules & TLDR_PINNED) && target && d->items[target]->row &&
        d->items[target]->row - 1 < static_cast<UINT>(std::max<LONG_PTR>(d->options[TLO_PINNEDROWS], 0)))
        return 0;
    if (d->selectedCount < 2 || (d->dragFlags & kDragByMessage)) return DropOne(d, target, dragged, mode);
    return DropSelected(d, target, mode);
}
