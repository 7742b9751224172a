// Multi-selection ranges: Shift-click ranges, the selected-cell frame, unselecting with the hidden items below,
// and a subtree selected at once (TLM_SELECTSUBTREE).
#include "treelist/control/TreeListSelect.h"

#include "treelist/control/TreeListItems.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListNotify.h"
#include "treelist/control/TreeListScroll.h"

#include <utility>

namespace {

constexpr UINT kSelectAction = 1, kToggleSelect = 2;

bool IsSelected(const TreeListData* d, ItemId item) { return d->items[item]->state & TVIS_SELECTED; }

ItemId Walk(const TreeListData* d, ItemId item, ItemId root, bool selected) {
    const ItemId limit = root == kItemRoot ? 0 : root;
    ItemId i;
    if (item == root)
        i = root == kItemRoot ? d->firstRoot : Item(d, root) ? d->items[root]->firstChild : 0;
    else
        i = Item(d, item) ? NextInTree(d, item, limit) : 0;
    for (; i; i = NextInTree(d, i, limit))
        if (IsSelected(d, i) == selected) return i;
    return 0;
}

// The item itself when it has a display row, else its nearest ancestor that has one.
ItemId ShownAncestor(const TreeListData* d, ItemId item) {
    while (item && !d->items[item]->row) item = d->items[item]->parent;
    return item;
}

// Every item from the upper end to the lower one in tree order, hidden ones included, gets selected.
void SelectBetween(TreeListData* d, ItemId upper, ItemId lower) {
    for (ItemId i = upper; Item(d, i); i = NextInTree(d, i)) {
        if (!IsSelected(d, i)) ToggleItemSelection(d, i, kToggleSelect);
        if (i == lower || IsDying(d) || !Item(d, lower)) return;
    }
}

// The hidden descendants of a collapsed row item follow its new selection state.
void FollowHidden(TreeListData* d, ItemId item) {
    if (!Item(d, item) || !d->items[item]->firstChild || ShowsChildren(d, d->items[item])) return;
    const bool selected = IsSelected(d, item);
    for (ItemId i = Walk(d, item, item, !selected); i && Item(d, item); i = Walk(d, i, item, !selected))
        if (!ToggleItemSelection(d, i, kSelectAction) || IsDying(d) || !Item(d, i)) return;
}

BYTE* MarkFlags(TreeListData* d, ItemId item, int column) {
    if (column == 0) return Item(d, item) ? &d->items[item]->flags : nullptr;
    TreeListCell* cell = Cell(d, item, column);
    return cell ? &cell->flags : nullptr;
}

}  // namespace

void MarkSelectedCell(TreeListData* d, ItemId item, int column) {
    if (BYTE* flags = MarkFlags(d, d->selCellItem, d->selCellColumn)) {
        *flags &= ~kDottedFrame;
        InvalidateCell(d, d->selCellItem, d->selCellColumn);
    }
    d->selCellItem = 0;
    d->selCellColumn = 0;
    BYTE* flags = MarkFlags(d, item, column);
    if (!flags) return;
    *flags |= kDottedFrame;
    d->selCellItem = item;
    d->selCellColumn = column;
    InvalidateCell(d, item, column);
}

void UnselectWithHidden(TreeListData* d, ItemId item) {
    if (!Item(d, item) || !IsSelected(d, item)) return;
    if (!ToggleItemSelection(d, item, kSelectAction) || IsDying(d)) return;
    FollowHidden(d, item);
}

void SelectRange(TreeListData* d, ItemId item, int column) {
    d->editOnRelease = false;
    ItemId start = d->caretItem ? d->caretItem : d->ctrlAnchor ? d->selCellItem : 0;
    start = Item(d, start) ? ShownAncestor(d, start) : 0;
    if (!start || !Item(d, item) || !d->items[item]->row) return;
    if (d->selectedCount < 2) d->anchorItem = start;
    if (d->ctrlAnchor) {
        if (!SelectCell(d, item, 0, kSelectOnly | kSelectAction) || IsDying(d)) return;
        EnsureCaretVisible(d);
        d->ctrlAnchor = false;
        if (!Item(d, start) || !Item(d, item)) return;
        ItemId upper = start, lower = item;
        if (d->items[upper]->row > d->items[lower]->row) std::swap(upper, lower);
        SelectBetween(d, upper, lower);
        return;
    }
    // The rows from the start to the item flip, but the anchor keeps its selection; an anchor on the far
    // side of the start keeps the start's row too, so that the range grows from the anchor or shrinks back.
    ItemId anchor = Item(d, d->anchorItem) ? ShownAncestor(d, d->anchorItem) : 0;
    if (!anchor) anchor = start;
    const UINT from = d->items[start]->row - 1;
    if (!SelectCell(d, item, column, kSelectAction) || IsDying(d) || !Item(d, item) || !d->items[item]->row) return;
    const UINT to = d->items[item]->row - 1;
    const int step = to >= from ? 1 : -1;
    UINT r = from;
    if (from != to && Item(d, anchor) && d->items[anchor]->row) {
        const UINT a = d->items[anchor]->row - 1;
        if (step > 0 ? a < from : a > from) r += step;
    }
    for (;; r += step) {
        const ItemId rowItem = RowItem(d, r);
        // The item, now the caret, keeps the selection SelectCell gave it.
        if (rowItem && rowItem != d->caretItem && !(rowItem == anchor && IsSelected(d, rowItem))) {
            if (!ToggleItemSelection(d, rowItem, kSelectAction) || IsDying(d)) return;
            FollowHidden(d, rowItem);
            if (IsDying(d)) return;
        }
        if (r == to) break;
    }
    if (!Item(d, item)) return;
    const int markColumn = (d->exStyle & TLX_CELLDROPHILITE) ? column : 0;
    MarkSelectedCell(d, item, markColumn);
    if (SelectCell(d, item, markColumn, kSelectAction) && !IsDying(d)) EnsureCaretVisible(d);
}

LRESULT SelectSubtree(TreeListData* d, WPARAM flags, ItemId item) {
    if (!(d->exStyle & TLX_MULTISELECT)) return 0;
    const bool all = item == kItemRoot;
    if (!all && !Item(d, item)) return 0;
    const bool select = flags & 2;
    const ItemId limit = all ? 0 : item;
    ItemId i = all ? d->firstRoot : item;
    while (i) {
        TreeListItem* it = d->items[i];
        if (((it->state & TVIS_SELECTED) != 0) != select) {
            it->state ^= TVIS_SELECTED;
            select ? ++d->selectedCount : --d->selectedCount;
            InvalidateRow(d, i);
        }
        if (!(flags & 1) && !all) break;
        i = NextInTree(d, i, limit);
    }
    return 1;
}
