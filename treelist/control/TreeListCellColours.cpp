// Own text and background colours of items and cells.
#include "treelist/control/TreeListItemOps.h"

#include "treelist/control/TreeListItems.h"
#include "treelist/control/TreeListLayout.h"

namespace {

bool Paint(BYTE flags, bool background) { return flags & (background ? kOwnBkColour : kOwnTextColour); }

template <typename Record>
void Store(Record* r, COLORREF colour, bool background) {
    const BYTE flag = background ? kOwnBkColour : kOwnTextColour;
    if (colour == CLR_INVALID) {
        r->flags &= ~flag;
        return;
    }
    r->flags |= flag;
    (background ? r->bkColour : r->textColour) = colour;
}

}  // namespace

LRESULT GetCellColour(TreeListData* d, ItemId item, int column, bool background) {
    const TreeListItem* it = Item(d, item);
    if (!it || column < 0 || column >= (d->columnCount ? d->columnCount : 1)) return -1;
    if (column == 0)
        return Paint(it->flags, background) ? static_cast<LRESULT>(background ? it->bkColour : it->textColour) : -1;
    const TreeListCell* cell = Cell(d, item, column);
    if (!cell || !Paint(cell->flags, background)) return -1;
    return static_cast<LRESULT>(background ? cell->bkColour : cell->textColour);
}

LRESULT SetCellColour(TreeListData* d, WPARAM wp, COLORREF colour, bool background) {
    const ItemId item = PackedItem(wp);
    const int column = PackedColumn(wp);
    TreeListItem* it = Item(d, item);
    const int count = d->columnCount ? d->columnCount : 1;
    if (!it || (column >= count && column != kAllColumns)) return -1;
    if (column == 0 || column == kAllColumns) Store(it, colour, background);
    for (int c = column == kAllColumns ? 1 : column; c < count && c > 0; ++c) {
        if (colour == CLR_INVALID && !Cell(d, item, c)) continue;
        if (TreeListCell* cell = EnsureCell(d, item, c)) Store(cell, colour, background);
        if (column != kAllColumns) break;
    }
    if (column == kAllColumns)
        InvalidateRow(d, item);
    else
        InvalidateCell(d, item, column);
    return 1;
}

LRESULT SetCellColourRecord(TreeListData* d, ItemId item, const TreeListCellColour* r) {
    if (!r || r->mode > 1 || item > kMaxTableSize) return 0;
    return SetCellColour(d, PackItemColumn(item, r->column), r->colour, r->mode == 1);
}
