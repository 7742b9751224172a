// The tree links of the "TreeList" control: parent, children and siblings by handle, and the walks over them.
#include "treelist/control/TreeListItems.h"

namespace {

void SetFollowing(TreeListItem* it) {
    if (it->nextSibling)
        it->flags |= kFollowingSibling;
    else
        it->flags &= ~kFollowingSibling;
}

}  // namespace

ItemId FirstChildOf(const TreeListData* d, ItemId parent) {
    if (!parent) return d->firstRoot;
    const TreeListItem* p = Item(d, parent);
    return p ? p->firstChild : 0;
}

ItemId LastChildOf(const TreeListData* d, ItemId parent) {
    if (!parent) return d->lastRoot;
    const TreeListItem* p = Item(d, parent);
    return p ? p->lastChild : 0;
}

void LinkItem(TreeListData* d, ItemId item, ItemId parent, ItemId after) {
    TreeListItem* it = d->items[item];
    TreeListItem* p = parent ? d->items[parent] : nullptr;
    ItemId& first = p ? p->firstChild : d->firstRoot;
    ItemId& last = p ? p->lastChild : d->lastRoot;
    it->parent = parent;
    it->prevSibling = after;
    it->nextSibling = after ? d->items[after]->nextSibling : first;
    if (after) {
        d->items[after]->nextSibling = item;
        SetFollowing(d->items[after]);
    } else {
        first = item;
    }
    if (it->nextSibling)
        d->items[it->nextSibling]->prevSibling = item;
    else
        last = item;
    SetFollowing(it);
}

void UnlinkItem(TreeListData* d, ItemId item) {
    // A queued row rebuild covers what follows its items in place; a moved or deleted item no longer does.
    d->deferredRowsLast = 0;
    TreeListItem* it = d->items[item];
    TreeListItem* p = it->parent ? d->items[it->parent] : nullptr;
    ItemId& first = p ? p->firstChild : d->firstRoot;
    ItemId& last = p ? p->lastChild : d->lastRoot;
    if (it->prevSibling) {
        d->items[it->prevSibling]->nextSibling = it->nextSibling;
        SetFollowing(d->items[it->prevSibling]);
    } else {
        first = it->nextSibling;
    }
    if (it->nextSibling)
        d->items[it->nextSibling]->prevSibling = it->prevSibling;
    else
        last = it->prevSibling;
    it->prevSibling = it->nextSibling = 0;
    it->parent = 0;
}

ItemId NextInTree(const TreeListData* d, ItemId item, ItemId limit) {
    const TreeListItem* it = d->items[item];
    if (it->firstChild) return it->firstChild;
    while (item && item != limit) {
        it = d->items[item];
        if (it->nextSibling) return it->nextSibling;
        item = it->parent;
    }
    return 0;
}

ItemId LastDescendant(const TreeListData* d, ItemId item) {
    while (d->items[item]->lastChild) item = d->items[item]->lastChild;
    return item;
}

ItemId PreviousInTree(const TreeListData* d, ItemId item) {
    const TreeListItem* it = d->items[item];
    return it->prevSibling ? LastDescendant(d, it->prevSibling) : it->parent;
}

bool IsAncestor(const TreeListData* d, ItemId ancestor, ItemId item) {
    for (ItemId p = d->items[item]->parent; p; p = d->items[p]->parent)
        if (p == ancestor) return true;
    return false;
}

void SetLevels(TreeListData* d, ItemId item, int level) {
    d->items[item]->level = static_cast<USHORT>(level);
    for (ItemId c = d->items[item]->firstChild; c; c = NextInTree(d, c, item))
        d->items[c]->level = static_cast<USHORT>(d->items[d->items[c]->parent]->level + 1);
}
