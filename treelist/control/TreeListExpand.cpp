// Expanding and collapsing: ExpandItem with its notifications, and TVM_EXPAND with the control's own bits
// (queued, silent, walks over siblings and descendants, the parent, the ancestors).
#include "treelist/control/TreeListItemOps.h"

#include "treelist/control/TreeListDeferred.h"
#include "treelist/control/TreeListItems.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListNotify.h"
#include "treelist/control/TreeListSelect.h"

namespace {

constexpr UINT kPartly = 0x80;
constexpr UINT kQueued = 0x2000000, kQuiet = 0x4000000, kSiblings = 0x8000000, kDescendants = 0x10000000,
               kOnParent = 0x20000000, kNeverPartly = 0x40000000, kAncestors = 0x80000000;
constexpr UINT kWalkBits = 0x8 | kSiblings | kDescendants | kOnParent | kAncestors;
constexpr UINT kOnceAndPartly = TVIS_EXPANDEDONCE | TVIS_EXPANDPARTIAL;

// TVN_ITEMEXPANDINGA / TVN_ITEMEXPANDEDA. False when the item went away meanwhile.
bool NotifyExpand(TreeListData* d, UINT code, UINT action, ItemId item, LRESULT* answer) {
    const TVITEMA none = {};
    *answer = SendTreeView(d, code, action, none, NotifyRecord(d, item, TVIF_HANDLE | TVIF_STATE | TVIF_PARAM));
    return !IsDying(d) && Item(d, item);
}

// The caret when it has a display row, else 0.
ItemId ShownCaret(const TreeListData* d) {
    const TreeListItem* caret = Item(d, d->caretItem);
    return caret && caret->row ? d->caretItem : 0;
}

// After a collapse: a caret that lost its display row (shownBefore: the caret while it still had one) moves
// to its nearest shown ancestor. A caret that had no row before, such as one just selected inside a closed
// branch, stays where it is.
void KeepCaretShown(TreeListData* d, ItemId shownBefore) {
    const TreeListItem* caret = Item(d, d->caretItem);
    if (!caret) {
        d->caretItem = 0;
        return;
    }
    if (caret->row || d->caretItem != shownBefore) return;
    ItemId p = caret->parent;
    while (p && !d->items[p]->row) p = d->items[p]->parent;
    if (p) SelectCell(d, p, d->caretColumn, 0);
}

// Deletes the children one by one from the last, as TVM_DELETEITEM does, until none is left or one stays.
void DeleteChildrenOneByOne(TreeListData* d, ItemId item) {
    for (ItemId c = LastChildOf(d, item); c; c = LastChildOf(d, item)) {
        if (!DeleteItemMessage(d, 0, c) || IsDying(d) || !Item(d, item) || LastChildOf(d, item) == c) return;
    }
}

// The per-item work of TVM_EXPAND; 1 when something was done or the item already was as asked.
LRESULT ExpandStep(TreeListData* d, ItemId item, UINT code) {
    TreeListItem* it = Item(d, item);
    if (!it) return 0;
    switch (code & 15) {
    case TVE_COLLAPSE:
        if (it->state & TVIS_EXPANDED) {
            if (ExpandItem(d, item, TVE_COLLAPSE) != 0) return 0;
        } else {
            it->state &= ~TVIS_EXPANDPARTIAL;
        }
        if ((code & TVE_COLLAPSERESET) && (it = Item(d, item)) != nullptr) {
            it->state &= ~TVIS_EXPANDEDONCE;
            DeleteChildrenOneByOne(d, item);
        }
        return 1;
    case TVE_EXPAND:
        if (!(it->state & TVIS_EXPANDED))
            return ExpandItem(d, item, (code & TVE_EXPANDPARTIAL) ? kPartly : 0) == 0;
        if ((code & TVE_EXPANDPARTIAL) && !(code & kNeverPartly) && (it->state & kOnceAndPartly) != kOnceAndPartly)
            ExpandItem(d, item, kPartly | TVE_EXPAND);
        else if (!(code & TVE_EXPANDPARTIAL) && (it->state & TVIS_EXPANDPARTIAL))
            ExpandItem(d, item, TVE_EXPAND);
        return 1;
    case TVE_TOGGLE: return ExpandItem(d, item, 0) == 0;
    default: return 0;
    }
}

LRESULT ExpandWithAncestors(TreeListData* d, ItemId item, UINT code) {
    LRESULT result = 0;
    for (ItemId cur = item; cur;) {
        result |= ExpandStep(d, cur, code);
        if (!(code & kAncestors) || IsDying(d) || !Item(d, cur)) break;
        cur = d->items[cur]->parent;
    }
    return result;
}

// Rows of a walk are rebuilt once at its end, from the first shown item that changed; a walk started from
// a notification handler inside another walk leaves that to the outer one.
class RowBatch {
public:
    explicit RowBatch(TreeListData* d) : m_d(d), m_outer(!d->batchRows), m_shownCaret(ShownCaret(d)) {
        if (m_outer) {
            d->batchRows = true;
            d->batchFrom = 0;
        }
    }
    ~RowBatch() {
        if (!m_outer) return;
        m_d->batchRows = false;
        const ItemId from = m_d->batchFrom;
        m_d->batchFrom = 0;
        if (!from || IsDying(m_d)) return;
        RebuildRows(m_d, Item(m_d, from) ? from : 0);
        if (!IsDying(m_d)) KeepCaretShown(m_d, m_shownCaret);
    }
    RowBatch(const RowBatch&) = delete;
    RowBatch& operator=(const RowBatch&) = delete;

private:
    TreeListData* m_d;
    bool m_outer;
    ItemId m_shownCaret;
};

// Every item in tree order from start (children only with kDescendants) up to its next sibling, or to the
// end of its parent's subtree when it has none or kSiblings is set.
LRESULT ExpandWalk(TreeListData* d, ItemId start, UINT code) {
    const TreeListItem* s = d->items[start];
    const ItemId parent = s->parent;
    const ItemId end = (code & kSiblings) || !s->nextSibling ? parent : s->nextSibling;
    if (end == start) return 0;
    const bool deep = code & kDescendants;
    const UINT itemCode = code & ~kWalkBits;
    RowBatch batch(d);
    LRESULT result = 0;
    for (ItemId cur = start; cur && cur != end;) {
        result |= ExpandStep(d, cur, itemCode);
        if (IsDying(d) || !Item(d, cur)) break;
        cur = deep ? NextInTree(d, cur, parent) : d->items[cur]->nextSibling;
    }
    return result;
}

}  // namespace

int ExpandItem(TreeListData* d, ItemId item, UINT code) {
    if (!item || item > d->tableSize) return 0;
    TreeListItem* it = d->items[item];
    if (!it) return -1;
    const UINT action = code & 15;
    const bool expand = action == 0 ? (it->state & (TVIS_EXPANDED | TVIS_EXPANDPARTIAL)) != TVIS_EXPANDED
                                    : action == TVE_EXPAND;
    const UINT notifyAction = expand ? TVE_EXPAND : TVE_COLLAPSE;
    LRESULT answer = 0;
    if (!d->quietExpand) {
        if (!NotifyExpand(d, TVN_ITEMEXPANDINGA, notifyAction, item, &answer)) return -1;
        if (answer) return 1;
        it = d->items[item];
    }
    const ItemId shownCaret = ShownCaret(d);
    const UINT old = it->state;
    UINT state = expand ? old | TVIS_EXPANDED : old & ~TVIS_EXPANDED;
    state = (state & ~TVIS_EXPANDPARTIAL) | ((code & kPartly) ? TVIS_EXPANDPARTIAL : 0);
    it->state = state;
    const bool changed = ((old ^ state) & TVIS_EXPANDED) != 0;
    if (changed && it->row) {
        if (!d->batchRows)
            RebuildRows(d, item);
        else if (!d->batchFrom)
            d->batchFrom = item;
        if (IsDying(d) || !Item(d, item)) return -1;
    }
    if (!d->quietExpand && !NotifyExpand(d, TVN_ITEMEXPANDEDA, notifyAction, item, &answer)) return -1;
    if (expand)
        d->items[item]->state |= TVIS_EXPANDEDONCE;
    else if (changed && !d->batchRows)
        KeepCaretShown(d, shownCaret);
    if (!changed) InvalidateRow(d, item);
    return 0;
}

LRESULT ExpandMessage(TreeListData* d, UINT code, ItemId item) {
    ItemId start = item;
    if (item == kItemRoot || !item || item > d->tableSize) {
        if (item != kItemRoot || !(code & kDescendants)) return 0;
        start = d->firstRoot;
        code |= kSiblings;
    } else if (!d->items[item]) {
        return 0;
    } else if (code & kOnParent) {
        start = d->items[item]->parent;
        if (!start) {
            if (!(code & kDescendants)) return 0;
            start = d->firstRoot;
            code |= kSiblings;
        }
    }
    if (!start) return 0;
    if (code & kQueued) {
        Defer(d, kDeferExpand, static_cast<LPARAM>(item), code & ~kQueued);
        return 1;
    }
    const bool quiet = d->quietExpand;
    if (code & kQuiet) d->quietExpand = true;
    const LRESULT result =
        (code & (kSiblings | kDescendants)) ? ExpandWalk(d, start, code) : ExpandWithAncestors(d, start, code);
    d->quietExpand = quiet;
    return result;
}
