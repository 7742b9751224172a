// The hot-track and drop highlight: flag 0x08 on one item or cell, set by TLM_SETDROPHILITE,
// TLM_SETHOTHILITE, TVM_SELECTITEM (TVGN_DROPHILITE) and by the mouse with TVS_TRACKSELECT.
#include "treelist/control/TreeListSelect.h"

#include "treelist/control/TreeListItems.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListMouse.h"

#include <algorithm>

namespace {

// The flag byte that carries the highlight; create makes a missing cell (the messages do, the mouse does not).
BYTE* HighlightFlags(TreeListData* d, ItemId item, int column, bool create = false) {
    if (TreeListItem* it = Item(d, item); it && column == 0) return &it->flags;
    TreeListCell* cell = create ? EnsureCell(d, item, column) : Cell(d, item, column);
    return cell ? &cell->flags : nullptr;
}

void ClearHighlight(TreeListData* d) {
    if (BYTE* flags = HighlightFlags(d, d->dropItem, d->dropColumn)) {
        *flags &= ~kDropHilite;
        InvalidateCell(d, d->dropItem, d->dropColumn);
    }
    d->dropItem = 0;
    d->dropColumn = 0;
}

}  // namespace

LRESULT SetDropHighlight(TreeListData* d, ItemId item, int column, bool anyColumn, bool createCell) {
    if (!anyColumn && !(d->exStyle & TLX_CELLDROPHILITE)) column = 0;
    if (column < 0 || column >= std::max(d->columnCount, 1) || (item && !Item(d, item))) {
        ClearHighlight(d);
        return 0;
    }
    if (item == d->dropItem && column == d->dropColumn) return 1;
    ClearHighlight(d);
    if (!item) return 1;
    RequestMouseLeave(d);
    BYTE* flags = HighlightFlags(d, item, column, createCell);
    if (!flags) return 0;
    *flags |= kDropHilite;
    d->dropItem = item;
    d->dropColumn = column;
    InvalidateCell(d, item, column);
    return 1;
}

LRESULT SetHighlightMessage(TreeListData* d, WPARAM column, ItemId item, bool anyColumn) {
    return SetDropHighlight(d, item, static_cast<int>(static_cast<LONG_PTR>(column)), anyColumn, true);
}
