// TVM_DELETEITEM: subtrees are deleted children first, each item with its notifications, the links mended
// and the rows rebuilt. The parent may send messages back from its notification handlers, deletes included.
#include "treelist/control/TreeListItems.h"

#include "treelist/control/TreeListDeferred.h"
#include "treelist/control/TreeListDrag.h"
#include "treelist/control/TreeListEdit.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListNotify.h"

#include <cstdlib>

namespace {

constexpr ItemId kAfterPinned = static_cast<ItemId>(TLI_AFTERPINNED);

// Drops every reference the window keeps to the item.
void Forget(TreeListData* d, ItemId item) {
    if (d->caretItem == item) {
        d->caretItem = 0;
        d->caretColumn = 0;
    }
    if (d->selCellItem == item) d->selCellItem = 0;
    if (d->dropItem == item) d->dropItem = 0;
    if (d->dropTarget == item) d->dropTarget = 0;
    if (d->dragItem == item) d->dragItem = kDraggedItemGone;
    if (d->hotItem == item) d->hotItem = 0;
    if (d->hotCheckItem == item) d->hotCheckItem = 0;
    if (d->anchorItem == item) d->anchorItem = 0;
    if (d->lastChecked == item) d->lastChecked = 0;
    if (d->candidateItem == item) d->candidateItem = d->candidateButtons = 0;
    if (d->pressedCheckItem == item) d->pressedCheckItem = 0;
    if (d->insertMark == item) d->insertMark = 0;
    if (d->tipItem == item) d->tipItem = d->tipCountdown = 0;
}

void RemoveLeaf(TreeListData* d, ItemId item) {
    TreeListItem* it = d->items[item];
    const ItemId parent = it->parent;
    if (it->state & TVIS_SELECTED) --d->selectedCount;
    Forget(d, item);
    UnlinkItem(d, item);
    FreeItemRecord(d, item);
    --d->itemCount;
    if (TreeListItem* p = Item(d, parent); p && !p->firstChild && (p->flags & kChildrenOpen))
        p->flags &= ~kHasChildren;
}

// Deletes the item's subtree, children first from the last child. Returns false when a notification handler
// destroyed the window, or when the walk meets an item whose own notification is still out (a delete
// nested in a TVN_DELETEITEMA handler stops there and leaves that item to the outer delete).
bool DeleteSubtree(TreeListData* d, ItemId root, bool notify, bool* selectionWent) {
    while (Item(d, root)) {
        ItemId leaf = LastDescendant(d, root);
        TreeListItem* it = d->items[leaf];
        if (it->layoutFlags & kBeingDeleted) return false;
        CancelEditOn(d, leaf, -1);
        if (notify) {
            it->layoutFlags |= kBeingDeleted;
            if (it->state & TVIS_SELECTED) {
                const bool wasCaret = d->caretItem == leaf;
                if (wasCaret) d->caretItem = 0;
                NotifyTreeView(d, TVN_SELCHANGEDA, TVC_UNKNOWN, leaf, 0);
                if (IsDying(d)) return false;
            }
            NotifyTreeView(d, TVN_DELETEITEMA, 0, leaf, 0);
            if (IsDying(d)) return false;
            it->layoutFlags &= ~kBeingDeleted;
            if (it->firstChild) continue;  // the handler gave it children: those go first
        } else if (it->state & TVIS_SELECTED) {
            *selectionWent = true;
        }
        RemoveLeaf(d, leaf);
    }
    return true;
}

// The rows after a deletion: rebuilt from the item before the deleted ones.
void AfterDelete(TreeListData* d, DeleteMode mode, ItemId parent, ItemId before, bool selectionWent) {
    const bool queued = mode == kDeleteQueued || mode == kDeleteChildrenQueued;
    if (mode == kDeleteNoRows) {
        Defer(d, kDeferRows, 0);
        return;
    }
    ItemId from = Item(d, before) ? before : Item(d, parent) ? parent : 0;
    RebuildRows(d, from);
    if (queued) Defer(d, kDeferDeleted, parent, selectionWent);
}

BOOL DeleteChildren(TreeListData* d, DeleteMode mode, ItemId parent) {
    const bool notify = mode != kDeleteChildrenQueued;
    bool selectionWent = false;
    if (!FirstChildOf(d, parent)) return FALSE;
    for (ItemId c = LastChildOf(d, parent); c && !IsDying(d); c = LastChildOf(d, parent))
        if (!DeleteSubtree(d, c, notify, &selectionWent)) break;
    if (IsDying(d)) return TRUE;
    AfterDelete(d, mode, parent, parent, selectionWent);
    return TRUE;
}

BOOL DeleteAfterPinned(TreeListData* d, DeleteMode mode) {
    const bool notify = mode != kDeleteQueued;
    bool selectionWent = false;
    // The last item kept; with fewer top-level items than are kept there is nothing to delete.
    const LONG_PTR pinned = d->options[TLO_PINNEDROWS];
    ItemId keep = pinned > 0 ? d->firstRoot : 0;
    for (LONG_PTR n = pinned; keep && n > 1; --n) keep = d->items[keep]->nextSibling;
    if (pinned > 0 && !keep) return FALSE;
    bool any = false;
    while (d->lastRoot && d->lastRoot != keep && !IsDying(d)) {
        any = true;
        if (!DeleteSubtree(d, d->lastRoot, notify, &selectionWent)) break;
    }
    if (!IsDying(d) && any) AfterDelete(d, mode, 0, keep, selectionWent);
    return any;
}

}  // namespace

DeleteMode DeleteModeOf(WPARAM wParam) {
    switch (wParam) {
    case TLD_NOROWS: return kDeleteNoRows;
    case TLD_CHILDREN: return kDeleteChildren;
    case TLD_QUEUED: return kDeleteQueued;
    case TLD_CHILDRENQUEUED: return kDeleteChildrenQueued;
    default: return kDeleteNormal;
    }
}

BOOL DeleteItemMessage(TreeListData* d, WPARAM wParam, ItemId item) {
    if (!MayChangeTree(d)) return FALSE;
    const DeleteMode mode = DeleteModeOf(wParam);
    if (item == kAfterPinned) return DeleteAfterPinned(d, mode);
    if (item == kItemRoot || item == 0) {
        if (item == 0 && mode != kDeleteChildren && mode != kDeleteChildrenQueued) return FALSE;
        if (!d->firstRoot) return TRUE;  // an empty tree: nothing left to delete
        return DeleteChildren(d, mode == kDeleteQueued ? kDeleteChildrenQueued
                                 : mode == kDeleteNormal ? kDeleteChildren : mode, 0);
    }
    TreeListItem* it = Item(d, item);
    if (!it) return FALSE;
    if (mode == kDeleteChildren || mode == kDeleteChildrenQueued) return DeleteChildren(d, mode, item);
    const ItemId parent = it->parent;
    const ItemId before = ShownPredecessor(d, item);
    bool selectionWent = false;
    DeleteSubtree(d, item, mode != kDeleteQueued, &selectionWent);
    if (IsDying(d)) return TRUE;
    AfterDelete(d, mode, parent, before, selectionWent);
    return TRUE;
}

void DeleteAllSilently(TreeListData* d) {
    CancelEditOn(d, 0, -1);
    for (UINT h = 1; h <= d->tableSize && d->itemCount; ++h)
        if (d->items[h]) {
            FreeItemRecord(d, h);
            --d->itemCount;
        }
    d->itemCount = 0;
    d->firstRoot = d->lastRoot = 0;
    d->rowCount = 0;
    d->firstRow = 0;
    d->selectedCount = 0;
    d->caretItem = d->selCellItem = d->dropItem = d->dropTarget = d->dragItem = d->hotItem = 0;
    d->hotCheckItem = d->anchorItem = d->lastChecked = 0;
    d->candidateItem = d->pressedCheckItem = d->insertMark = d->tipItem = 0;
}
