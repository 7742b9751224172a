// Moving an item with its subtree before or after another item, or under it as its first or last child
// (TLM_MOVEITEM to TLM_MOVEITEM + 3, and the internal drop).
#include "treelist/control/TreeListItemOps.h"

#include "treelist/control/TreeListItems.h"
#include "treelist/control/TreeListLayout.h"

namespace {

enum : int { kBefore = 0, kAfter = 1, kFirstChild = 2, kLastChild = 3 };

// The item is the last one in tree order: no children, and neither it nor an ancestor has a next sibling.
bool LastInTree(const TreeListData* d, ItemId item) {
    if (d->items[item]->firstChild) return false;
    for (ItemId i = item; i; i = d->items[i]->parent)
        if (d->items[i]->nextSibling) return false;
    return true;
}

// Resolves the target and mode; false when the move is refused.
bool ResolveTarget(const TreeListData* d, ItemId* target, int* mode) {
    if (*target == kItemLast || *target == 0) {
        *target = 0;
        return true;
    }
    if (*target > d->tableSize) {
        if (*target != kItemRoot || *mode < kFirstChild) return false;
        // Before the first top-level item, or after the last one.
        *target = *mode == kFirstChild ? d->firstRoot : d->lastRoot;
        *mode = *mode == kFirstChild ? kBefore : kAfter;
        return *target != 0;
    }
    return d->items[*target] != nullptr;
}

UINT RowOf(const TreeListData* d, ItemId item) {
    const TreeListItem* it = Item(d, item);
    return it ? it->row : 0;
}

void LinkAt(TreeListData* d, ItemId item, ItemId target, int mode) {
    if (!target) {
        LinkItem(d, item, 0, d->lastRoot);
        return;
    }
    TreeListItem* t = d->items[target];
    switch (mode) {
    case kBefore: LinkItem(d, item, t->parent, t->prevSibling); break;
    case kAfter: LinkItem(d, item, t->parent, target); break;
    case kFirstChild: LinkItem(d, item, target, 0); break;
    default: LinkItem(d, item, target, t->lastChild); break;
    }
    if (mode >= kFirstChild) t->flags |= kHasChildren;
}

}  // namespace

int MoveItem(TreeListData* d, ItemId item, ItemId target, int mode) {
    if (mode < kBefore || mode > kLastChild || !MayChangeTree(d) || !Item(d, item)) return 0;
    if (item == target) return 1;
    if (!ResolveTarget(d, &target, &mode)) return 0;
    if (item == target) return 1;
    TreeListItem* it = d->items[item];
    if (target) {
        const TreeListItem* t = d->items[target];
        if ((mode == kBefore && t->prevSibling == item) || (mode == kAfter && t->nextSibling == item)) return 1;
        if (IsAncestor(d, item, target)) return 0;
    } else if (LastInTree(d, item)) {
        return 0;
    }
    const UINT oldRow = it->row;
    const ItemId oldBefore = ShownPredecessor(d, item);
    const ItemId oldParent = it->parent;
    const int oldLevel = it->level;

    UnlinkItem(d, item);
    if (TreeListItem* p = Item(d, oldParent); p && !p->firstChild) p->flags &= ~kHasChildren;
    LinkAt(d, item, target, mode);
    const int level = it->parent ? d->items[it->parent]->level + 1 : 0;
    if (level != oldLevel) SetLevels(d, item, level);

    // The rows change from the earlier of the old and the new place on.
    if (!oldRow) {
        RebuildRows(d, item);
        return 2;
    }
    const ItemId newBefore = ShownPredecessor(d, item);
    ItemId from = 0;  // the item was or is now the first row
    if (oldBefore && newBefore) {
        const UINT a = RowOf(d, oldBefore), b = RowOf(d, newBefore);
        from = b && b < a ? newBefore : oldBefore;
    }
    RebuildRows(d, from);
    return 2;
}

LRESULT MoveItemMessage(TreeListData* d, int mode, ItemId target, ItemId item) {
    return MoveItem(d, item, target, mode);
}
