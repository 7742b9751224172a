// Rows and their geometry: item rectangles, row numbers, cell visibility, the row height and drag images.
#include "treelist/control/TreeListLayout.h"

#include "treelist/control/TreeListColumns.h"
#include "treelist/control/TreeListGeometry.h"
#include "treelist/control/TreeListScroll.h"

#include <algorithm>

namespace {

constexpr WPARAM kTextOnly = 0x1, kCellRect = 0x80, kBelowClient = 0x100;

// The top of an item's row on the screen; false when it is not shown there.
bool RowTop(const TreeListData* d, const TreeListItem* it, bool belowClient, int* top) {
    if (!it->row) return false;
    int k = ScreenRow(d, it->row - 1);
    if (k < 0) {
        if (!belowClient || it->row - 1 < d->firstRow) return false;
        k = static_cast<int>(it->row - 1 - d->firstRow);
    }
    *top = d->headerHeight + k * d->rowHeight;
    return true;
}

}  // namespace

LRESULT GetItemRect(TreeListData* d, WPARAM flags, RECT* rect) {
    if (!rect) return 0;
    // The item handle arrives in the first pointer-sized bytes of the rectangle.
    const ItemId item = ToItem(*reinterpret_cast<HTREEITEM*>(rect));
    TreeListItem* it = Item(d, item);
    *rect = RECT{0, 0, 0, 0};
    int top;
    if (!it || !RowTop(d, it, flags & kBelowClient, &top)) return 0;
    rect->top = top;
    rect->bottom = top + d->rowHeight;
    if ((flags & 0xFC) == kCellRect) {
        int column = PackedColumn(flags);
        if (column >= d->columnCount) column = 0;
        rect->left = ColumnLeft(d, column) - d->scrollX;
        rect->right = ColumnRight(d, JoinedEnd(d, it->state, column)) - d->scrollX;
    } else if (flags & kTextOnly) {
        const TreeCellLayout l = LayoutTreeCell(d, it, ShowsItemImage(d, it));
        const int x = ColumnLeft(d, 0) - d->scrollX + l.textLeft;
        rect->left = x + 2;
        rect->right = x + 6 + ItemTextWidth(d, it);
    } else {
        rect->left = -d->scrollX;
        rect->right = d->clientWidth;
    }
    return 1;
}

LRESULT GetItemRow(TreeListData* d, ItemId item) {
    const TreeListItem* it = Item(d, item);
    return it && it->row ? static_cast<LRESULT>(it->row) - 1 : -1;
}

LRESULT GetRowItem(TreeListData* d, LPARAM row) {
    return row < 0 || row > static_cast<LPARAM>(UINT_MAX) ? 0 : RowItem(d, static_cast<UINT>(row));
}

LRESULT CellVisibility(TreeListData* d, ItemId item, int column) {
    const TreeListItem* it = Item(d, item);
    if (!it) return -1;
    if (!it->row) return 0;
    const int k = ScreenRow(d, it->row - 1);
    if (k < 0) return 1;
    const bool partial = static_cast<UINT>(k) >= d->wholeRows;
    if (column < 0 || column >= std::max(d->columnCount, 1)) return partial ? 2 : 4;
    const int left = ColumnLeft(d, column) - d->scrollX, right = ColumnRight(d, column) - d->scrollX;
    if (right <= 0 || left >= d->clientWidth) return 1;
    if (partial) return 2;
    return left < 0 || right > d->clientWidth ? 3 : 4;
}

LRESULT SetItemHeight(TreeListData* d, int height) {
    const int old = d->rowHeight;
    if (height == -1) {
        d->rowHeightSet = false;
        ComputeRowHeight(d);
    } else {
        // A height below 1 would divide by zero wherever rows are counted. Odd heights are rounded down to even
        // unless the style allows them (TVS_NONEVENHEIGHT); a height of 1 stays.
        height = std::max(height, 1);
        if (height > 1 && !(d->style & TVS_NONEVENHEIGHT)) height &= ~1;
        d->rowHeight = height;
        d->rowHeightSet = true;
        ComputeVisibleRows(d);
    }
    if (d->rowHeight != old) {
        ComputeVisibleRows(d);
        UpdateVScrollBar(d, true, true);
        InvalidateItems(d);
    }
    return old;
}

LRESULT CreateDragImage(TreeListData* d, int column, ItemId item) {
    return reinterpret_cast<LRESULT>(CreateItemDragImage(d, item, column));
}
