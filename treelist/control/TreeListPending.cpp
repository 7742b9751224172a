// Stand-ins for operations of the parts still to come (see TreeListPending.h). Each does the least the
// storage needs, so that nothing is left half done: a part that brings the real operation deletes its
// stand-in here.
#include "treelist/control/TreeListPending.h"

#include "treelist/control/TreeListItems.h"
#include "treelist/control/TreeListLayout.h"

void ApplyDeferredState(TreeListData* d, ItemId item, UINT bits) {
    TreeListItem* it = d->items[item];
    it->state |= bits & (TVIS_EXPANDED | TVIS_EXPANDPARTIAL);
    if ((bits & TVIS_SELECTED) && !(it->state & TVIS_SELECTED)) {
        it->state |= TVIS_SELECTED;
        ++d->selectedCount;
        if (!d->caretItem) d->caretItem = item;
    }
    if (bits & TVIS_EXPANDED) RebuildRows(d, item);
    InvalidateRow(d, item);
}

// Text, state and image of an item or cell, without notifications.
BOOL SetItem(TreeListData* d, TVITEMA* r) {
    const ItemId item = ToItem(r->hItem);
    if (!Item(d, item)) return FALSE;
    const int column = (r->mask & TLIF_CELL) ? r->cChildren : 0;
    if (column > 0) {
        TreeListCell* cell = EnsureCell(d, item, column);
        if (!cell) return FALSE;
        if ((r->mask & TVIF_TEXT) && r->pszText) StoreText(&cell->text, &cell->textLength, r->pszText);
        if (r->mask & TVIF_STATE) cell->state = (cell->state & ~r->stateMask) | (r->state & r->stateMask);
        if (r->mask & TVIF_IMAGE) cell->image = r->iImage;
        cell->textWidth = 0;
        InvalidateCell(d, item, column);
        return TRUE;
    }
    TreeListItem* it = d->items[item];
    if ((r->mask & TVIF_TEXT) && r->pszText) StoreText(&it->text, &it->textLength, r->pszText);
    if (r->mask & TVIF_STATE) it->state = (it->state & ~r->stateMask) | (r->state & r->stateMask);
    if (r->mask & TVIF_IMAGE) it->image = r->iImage;
    if (r->mask & TVIF_SELECTEDIMAGE) it->selectedImage = r->iSelectedImage;
    it->textWidth = 0;
    InvalidateRow(d, item);
    return TRUE;
}

int ExpandItem(TreeListData* d, ItemId item, UINT code) {
    TreeListItem* it = Item(d, item);
    if (!it) return -1;
    const UINT action = code & 15;
    const bool expand = action == TVE_EXPAND || (action == 0 && !(it->state & TVIS_EXPANDED));
    if (expand == ((it->state & TVIS_EXPANDED) != 0)) return 0;
    it->state ^= TVIS_EXPANDED;
    if (expand) it->state |= TVIS_EXPANDEDONCE;
    RebuildRows(d, item);
    return 0;
}

int ToggleItemSelection(TreeListData* d, ItemId item, UINT) {
    TreeListItem* it = Item(d, item);
    if (!it) return 0;
    it->state ^= TVIS_SELECTED;
    (it->state & TVIS_SELECTED) ? ++d->selectedCount : --d->selectedCount;
    InvalidateRow(d, item);
    return 1;
}

int MoveItem(TreeListData*, ItemId, ItemId, int) { return 0; }

BOOL SelectCell(TreeListData* d, ItemId item, int column, UINT flags) {
    if (!item) {
        InvalidateRow(d, d->caretItem);
        d->caretItem = 0;
        d->caretColumn = 0;
        return TRUE;
    }
    if (!Item(d, item) || column < 0 || column >= (d->columnCount ? d->columnCount : 1)) return FALSE;
    const bool multi = d->exStyle & TLX_MULTISELECT;
    if (!multi || (flags & 0x8000))
        for (UINT h = 1; h <= d->tableSize; ++h)
            if (d->items[h] && h != item && (d->items[h]->state & TVIS_SELECTED)) {
                d->items[h]->state &= ~TVIS_SELECTED;
                --d->selectedCount;
                InvalidateRow(d, h);
            }
    TreeListItem* it = d->items[item];
    if (!(it->state & TVIS_SELECTED)) {
        it->state |= TVIS_SELECTED;
        ++d->selectedCount;
    }
    InvalidateRow(d, d->caretItem);
    d->caretItem = item;
    d->caretColumn = column;
    InvalidateRow(d, item);
    return TRUE;
}

