// The hit test: which item, and which part of its row, lies under a point. TVM_HITTEST and every mouse
// handler use it; the geometry follows the tree-cell layout painting uses.
#include "treelist/control/TreeListMouse.h"

#include "treelist/control/TreeListColumns.h"
#include "treelist/control/TreeListGeometry.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListNotify.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kEmptyTextReach = 20;  // an empty text is hit this far from where it would start
constexpr int kTextSlack = 5;

UINT PinnedRows(const TreeListData* d) { return static_cast<UINT>(std::max<LONG_PTR>(d->options[TLO_PINNEDROWS], 0)); }

// The tree column: x from the column's left edge, y within the row. A call-back children count is asked of
// the parent when the point lies on the button's place: the item may be gone afterwards.
UINT HitTreeCell(TreeListData* d, ItemId item, int x, int y) {
    TreeListItem* it = d->items[item];
    const int indent = d->indent;
    const int rel = x + (d->linesAtRoot ? 0 : indent) - it->level * indent;
    if (rel < indent) {
        const int dx = rel - d->lineOffset, dy = y - d->rowHeight / 2;
        const bool onButton = (d->style & TVS_HASBUTTONS) && dx >= -6 && dx <= 7 && dy >= -6 && dy <= 7 &&
                              AskShowsButton(d, item);
        return onButton ? TVHT_ONITEMBUTTON : TVHT_ONITEMINDENT;
    }
    int p = rel - indent;
    if ((d->exStyle & TLX_GRIDLINES) || (!d->linesAtRoot && it->level == 0)) --p;
    if (HasImages(d, kImagesState)) {
        if (p < d->imageSize[kImagesState].cx) return TVHT_ONITEMSTATEICON;
        p -= d->imageSize[kImagesState].cx;
    }
    if (ShowsItemImage(d, it)) {
        const int w = d->imageSize[kImagesItem].cx + ((d->exStyle & TLX_GRIDLINES) ? 1 : 0);
        if (p < w) return TVHT_ONITEMICON;
        p -= w;
    }
    if (!it->textLength && !(it->callbacks & kCallbackText))
        return TVHT_ONITEMLABEL | (p < kEmptyTextReach ? TLHT_ONTEXT : 0u);
    return p < ItemTextWidth(d, it) + kTextSlack ? TVHT_ONITEMLABEL | TLHT_ONTEXT : TVHT_ONITEMRIGHT;
}

// A further column's cell: x from the cell's left edge, width the (joined) cell's width.
UINT HitCell(TreeListData* d, ItemId item, int column, int x, int width) {
    TreeListCell* cell = Cell(d, item, column);
    const int image = CellImageWidth(d, column, cell);
    const bool imageRight = cell && (cell->state & TLIS_IMAGERIGHT);
    int a0 = 0, a1 = width;
    if (image) {
        if (imageRight ? x >= width - image : x < image) return TLHT_ONCELLIMAGE;
        imageRight ? a1 -= image : a0 += image;
    }
    const BYTE align = d->columns[column].align;
    if (!cell || (!cell->textLength && !(cell->callbacks & kCallbackText))) {
        const int reach = align == 2 ? a1 - x : x - a0;
        return TLHT_ONCELLLABEL | (reach < kEmptyTextReach ? TLHT_ONCELLTEXT : 0u);
    }
    const int w = CellTextWidth(d, cell);
    bool onText;
    if (align == 1)
        onText = std::abs(x - (a0 + a1) / 2) <= w / 2 + 3;
    else if (align == 2)
        onText = a1 - x <= w + kTextSlack;
    else
        onText = x - a0 < w + kTextSlack;
    return onText ? TLHT_ONCELLLABEL | TLHT_ONCELLTEXT : TLHT_ONCELLRIGHT;
}

}  // namespace

int CellImageWidth(const TreeListData* d, int column, const TreeListCell* cell) {
    if (column <= 0 || column >= d->columnCount) return 0;
    if (d->columns[column].editMode >= TLEM_CHECK) return d->imageSize[kImagesState2].cx;
    if (!cell || cell->image == kImageNone) return 0;
    return d->imageSize[d->images[kImagesCell] ? kImagesCell : kImagesItem].cx;
}

ItemId HitTestCell(TreeListData* d, TVHITTESTINFO* hit) {
    const int x = hit->pt.x, y = hit->pt.y;
    hit->hItem = nullptr;
    if (static_cast<unsigned>(x) >= static_cast<unsigned>(std::max(d->clientWidth, 0))) {
        hit->flags = x < 0 ? TVHT_TOLEFT : TVHT_TORIGHT;
        return 0;
    }
    const int yi = y - d->headerHeight;
    if (yi < 0 || yi >= d->clientHeight - d->headerHeight) {
        hit->flags = yi < 0 ? TVHT_ABOVE : TVHT_BELOW;
        return 0;
    }
    hit->flags = TVHT_NOWHERE;
    if (d->rowHeight <= 0) return 0;
    const UINT k = static_cast<UINT>(yi / d->rowHeight);
    const UINT row = k < PinnedRows(d) ? k : k + d->firstRow;
    const ItemId item = RowItem(d, row);
    if (!item) return 0;
    TreeListItem* it = d->items[item];
    const int rowY = yi - static_cast<int>(k) * d->rowHeight;
    const int xi = x + d->scrollX;
    const int treeRight = d->columnCount ? d->right[JoinedEnd(d, it->state, 0)] : INT_MAX;
    hit->hItem = ToHandle(item);
    if (xi < treeRight) {
        hit->flags = HitTreeCell(d, item, xi - ColumnLeft(d, 0), rowY);
        if (Item(d, item) && !IsDying(d)) return item;
        hit->hItem = nullptr;
        hit->flags = TVHT_NOWHERE;
        return 0;
    }
    for (int p = 1; p < d->columnCount;) {
        const int c = d->order[p];
        const int end = JoinedEnd(d, it->state, c);
        if (d->right[end] > xi) {
            hit->flags = HitCell(d, item, c, xi - d->left[c], d->right[end] - d->left[c]) |
                         static_cast<UINT>(c) << 24;
            return item;
        }
        p = d->columns[end].position + 1;
    }
    hit->flags = TLHT_RIGHTOFCOLUMNS;
    return item;
}

bool CellTextRect(TreeListData* d, ItemId item, int column, RECT* rect) {
    TreeListItem* it = Item(d, item);
    if (!it || !it->row || d->rowHeight <= 0) return false;
    const int k = ScreenRow(d, it->row - 1);
    if (k < 0) return false;
    if (column < 0 || column >= d->columnCount) column = 0;
    rect->top = d->headerHeight + k * d->rowHeight;
    rect->bottom = rect->top + d->rowHeight;
    const int end = JoinedEnd(d, it->state, column);
    rect->right = std::min(ColumnRight(d, end) - d->scrollX, d->clientWidth);
    if (column == 0) {
        const TreeCellLayout l = LayoutTreeCell(d, it, ShowsItemImage(d, it));
        rect->left = ColumnLeft(d, 0) - d->scrollX + l.textLeft;
        if (!d->columnCount) rect->right = d->clientWidth;
    } else {
        // The cell's text part is the whole cell, but a shown check box of a check-style column stays free.
        const TreeListCell* cell = Cell(d, item, column);
        rect->left = ColumnLeft(d, column) - d->scrollX;
        if (cell && d->columns[column].editMode >= TLEM_CHECK && (cell->state & TLIS_CHECKBOXSHOWN)) {
            const int image = CellImageWidth(d, column, cell);
            (cell->state & TLIS_IMAGERIGHT) ? rect->right -= image : rect->left += image;
        }
    }
    return true;
}

LRESULT HitTestMessage(TreeListData* d, TVHITTESTINFO* hit) {
    return hit ? HitTestCell(d, hit) : 0;
}
