// Stand-ins for operations of the parts still to come (see TreeListPending.h). Each does the least the
// storage needs, so that nothing is left half done: a part that brings the real operation deletes its
// stand-in here.
#include "treelist/control/TreeListPending.h"

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

BOOL SetItem(TreeListData*, TVITEMA*) { return FALSE; }

BOOL SelectCell(TreeListData* d, ItemId item, int column, UINT) {
    if (!Item(d, item) || column < 0 || column >= (d->columnCount ? d->columnCount : 1)) return FALSE;
    InvalidateRow(d, d->caretItem);
    d->caretItem = item;
    d->caretColumn = column;
    InvalidateRow(d, item);
    return TRUE;
}

void CancelEditOn(TreeListData*, ItemId, int) {}

bool PasteIntoEditor(TreeListData*) { return false; }
