// Repaint requests for a cell, a column strip, a row or the item area; all without erasing, and none while
// the redraw switch is off.
#include "treelist/control/TreeListLayout.h"

#include "treelist/control/TreeListColumns.h"

#include <algorithm>

int ScreenRow(const TreeListData* d, UINT row) {
    const UINT pinned = static_cast<UINT>(std::max<LONG_PTR>(d->options[TLO_PINNEDROWS], 0));
    if (row < pinned && row < d->rowsTouched) return static_cast<int>(row);
    if (row < d->firstRow) return -1;
    const UINT k = row - d->firstRow;
    return k >= pinned && k < d->rowsTouched ? static_cast<int>(k) : -1;
}

namespace {

bool RowSpan(const TreeListData* d, ItemId item, RECT* r) {
    const TreeListItem* it = Item(d, item);
    if (!it || !it->row) return false;
    const int k = ScreenRow(d, it->row - 1);
    if (k < 0) return false;
    r->top = d->headerHeight + k * d->rowHeight;
    r->bottom = r->top + d->rowHeight;
    return true;
}

// The horizontal span of a column and the columns its cells join into.
void ColumnSpan(const TreeListData* d, int column, int last, RECT* r) {
    r->left = ColumnLeft(d, column) - d->scrollX;
    r->right = ColumnRight(d, last) - d->scrollX;
}

void Invalidate(const TreeListData* d, const RECT& r, bool erase = false) {
    if (!d->redrawOff) InvalidateRect(d->window, &r, erase);
}

}  // namespace

int InvalidateCell(TreeListData* d, ItemId item, int column) {
    RECT r;
    if (!RowSpan(d, item, &r)) return 0;
    const int count = std::max(d->columnCount, 1);
    if (column < 0 || column >= count) return 0;
    ColumnSpan(d, column, JoinedEnd(d, d->items[item]->state, column), &r);
    if (r.right <= 0 || r.left >= d->clientWidth) return 0;
    Invalidate(d, r);
    return 1;
}

int InvalidateColumn(TreeListData* d, int column) {
    if (column < 0 || column >= std::max(d->columnCount, 1)) return 0;
    int last = column;
    while (last < 16 && last + 1 < d->columnCount && (d->joinMask & (1u << last))) ++last;
    RECT r = {0, d->headerHeight, 0, d->clientHeight};
    ColumnSpan(d, column, last, &r);
    if (r.right <= 0 || r.left >= d->clientWidth) return 0;
    Invalidate(d, r);
    return 1;
}

int InvalidateRow(TreeListData* d, ItemId item) {
    RECT r = {0, 0, d->clientWidth, 0};
    if (!RowSpan(d, item, &r)) return 0;
    Invalidate(d, r);
    return 1;
}

void InvalidateItems(TreeListData* d, bool erase) {
    RECT r = {0, d->headerHeight, d->clientWidth, d->clientHeight};
    if (r.bottom > r.top) Invalidate(d, r, erase);
}

void InvalidateRowsFrom(TreeListData* d, UINT row) {
    const UINT pinned = static_cast<UINT>(std::max<LONG_PTR>(d->options[TLO_PINNEDROWS], 0));
    int k = row < pinned ? static_cast<int>(row) : row < d->firstRow ? 0 : static_cast<int>(row - d->firstRow);
    if (row >= pinned && k < static_cast<int>(pinned) && d->firstRow) k = static_cast<int>(pinned);
    if (k >= static_cast<int>(d->rowsTouched) && d->rowsTouched) return;
    RECT r = {0, d->headerHeight + k * d->rowHeight, d->clientWidth, d->clientHeight};
    if (r.bottom > r.top) Invalidate(d, r);
}
