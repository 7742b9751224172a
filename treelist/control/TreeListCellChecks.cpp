// The check boxes under the mouse: the hot check box the mouse is over and a check-style cell pressed with
// the left button, which reports its click at the button-up (TLN_CHECKCHANGED 0x10003) and then opens the
// column editor.
#include "treelist/control/TreeListMouse.h"

#include "treelist/control/TreeListEdit.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListNotify.h"

void InvalidateHotCheck(TreeListData* d) { InvalidateCell(d, d->hotCheckItem, d->hotCheckColumn); }

void ReleaseCellCheck(TreeListData* d, POINT point) {
    const ItemId item = d->pressedCheckItem;
    const int column = d->pressedCheckColumn;
    if (!item) return;
    d->pressedCheckItem = 0;
    d->pressedCheckColumn = 0;
    InvalidateCell(d, item, column);
    if (!Item(d, item)) return;
    if (SendTreeView(d, TLN_CHECKCHANGED, kCellCheckAction, TVITEMA{}, TextRecord(d, item, column), point) || IsDying(d) || !Item(d, item))
        return;
    if (column < d->columnCount && (d->columns[column].editFlags & TLEF_IMAGECLICK) && d->columns[column].editMode)
        OpenColumnEditor(d, item, column, TLET_CTRLRETURN);
}
