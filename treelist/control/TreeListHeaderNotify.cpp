// What the column header tells the control: clicks go on to the parent, dividers are tracked under the
// column width rules (minimum widths, a weighted neighbour that absorbs the change), a divider double click
// fits the column to its contents, and the columns may be dragged to new places except the tree column.
#include "treelist/control/TreeListColumns.h"

#include "treelist/control/TreeListGeometry.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListNotify.h"
#include "treelist/control/TreeListSeams.h"
#include "treelist/control/TreeListTip.h"

#include <algorithm>

namespace {

constexpr int kContentMargin = 8;

void TakeFocus(TreeListData* d) {
    if (GetFocus() == d->window) return;
    HWND window = d->window;
    TreeListUnlocked unlocked(d->lock);
    SetFocus(window);
}

bool ValidColumn(const TreeListData* d, int column) { return column >= 0 && column < d->columnCount; }

// The next column after this one in display order that has a weight; -1 for none.
int NextWeighted(const TreeListData* d, int column) {
    for (int p = d->columns[column].position + 1; p < d->columnCount; ++p)
        if (IsWeightedColumn(d->columns[d->order[p]])) return d->order[p];
    return -1;
}

void Repaint(TreeListData* d, int column) {
    RECT r = {ColumnLeft(d, column) - d->scrollX, d->headerHeight, d->clientWidth, d->clientHeight};
    if (!d->redrawOff && r.right > r.left && r.bottom > r.top) InvalidateRect(d->window, &r, FALSE);
}

// The width rules of a moved divider; w may be raised to the column's minimum in the header's record.
void TrackWidth(TreeListData* d, int column, HDITEMA* record) {
    if (!ValidColumn(d, column) || !record || !(record->mask & HDI_WIDTH)) return;
    TreeListColumn& col = d->columns[column];
    int w = record->cxy;
    if (IsWeightedColumn(col)) {
        if (w < col.minWidth) record->cxy = w = col.minWidth;
        if (w == col.requested) return;
    }
    if (d->exStyle & TLX_NEIGHBOURWIDTH) {
        const int n = NextWeighted(d, column);
        if (n < 0) return;
        if (column == 0) w = std::max(w, 1);
        TreeListColumn& nb = d->columns[n];
        const int floor = IsWeightedColumn(nb) ? std::max(nb.minWidth, 0) : 0;
        int give = std::max(nb.width + col.width - w, floor);
        w = col.width + nb.width - give;
        if (give == nb.width) return;  // the neighbour cannot give or take anything
        {
            ApplyColumnWidth(d, n, give);
            if (IsDying(d)) return;
            if (d->exStyle & TLX_COLUMNNOTIFY) NotifyColumnChanged(d, n);
            if (IsDying(d)) return;
        }
    }
    const bool changed = w != col.width;
    ApplyColumnWidth(d, column, w);
    if (IsDying(d)) return;
    Repaint(d, column);
    if (changed && (d->exStyle & TLX_COLUMNNOTIFY)) NotifyColumnChanged(d, column);
}

// Posts a button-up and a new press to the header at x, so that the tracking continues at another divider.
void MoveTracking(TreeListData* d, int x) {
    const POINT cursor = TreeListCursorIn(d->header);
    TreeListPost(d->header, WM_LBUTTONUP, 0, MAKELPARAM(x, cursor.y));
    TreeListPost(d->header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, cursor.y));
}

LRESULT BeginTrack(TreeListData* d, int column) {
    TakeFocus(d);
    if (d->exStyle & TLX_FIXEDCOLUMNWIDTHS) return 1;
    if (!ValidColumn(d, column)) return 0;
    if ((d->exStyle & TLX_NEIGHBOURWIDTH) && NextWeighted(d, column) < 0) return 1;
    if (IsWeightedColumn(d->columns[column])) return 0;
    // A fixed column cannot be widened; a hidden one (width 0) hands the tracking to the divider left of it.
    if (d->columns[column].width == 0 && d->columns[column].position > 0) MoveTracking(d, d->left[column] - 2);
    return 1;
}

LRESULT DividerDoubleClick(TreeListData* d, int column) {
    TakeFocus(d);
    if ((d->exStyle & TLX_FIXEDCOLUMNWIDTHS) || !ValidColumn(d, column)) return 0;
    const TreeListColumn& col = d->columns[column];
    if (!IsWeightedColumn(col)) return 0;
    int w = OptimalColumnWidth(d, column);
    if (!w) return 0;
    w = std::max(w, col.minWidth);
    HDITEMA record = {};
    record.mask = HDI_WIDTH;
    record.cxy = w;
    TrackWidth(d, column, &record);
    return 0;
}

LRESULT HeaderRightClick(TreeListData* d) {
    NMTREELISTHEADERCLICK nm = {};
    nm.hit.pt = TreeListCursorIn(d->header);
    HWND header = d->header;
    {
        TreeListUnlocked unlocked(d->lock);
        SendMessageA(header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&nm.hit));
    }
    if (IsDying(d) || nm.hit.iItem < 0 || !(nm.hit.flags & (HHT_ONHEADER | HHT_ONDIVIDER | HHT_ONDIVOPEN)))
        return 0;
    return SendNotify(d, TLN_HEADERRCLICK, &nm.hdr);
}

LRESULT OnHeaderNotify(TreeListData* d, NMHDR* hdr) {
    auto* nm = reinterpret_cast<NMHEADERA*>(hdr);
    switch (hdr->code) {
    case HDN_ITEMCHANGEDA:
        if (nm->pitem && (nm->pitem->mask & HDI_WIDTH) && ValidColumn(d, nm->iItem) &&
            nm->pitem->cxy != d->columns[nm->iItem].width)
            TrackWidth(d, nm->iItem, nm->pitem);
        return 0;
    case HDN_ITEMCLICKA:
    case HDN_ITEMDBLCLICKA: {
        TakeFocus(d);
        NMHEADERA copy = *nm;
        return IsDying(d) ? 0 : SendNotify(d, hdr->code, &copy.hdr);
    }
    case HDN_DIVIDERDBLCLICKA: return DividerDoubleClick(d, nm->iItem);
    case HDN_BEGINTRACKA: return BeginTrack(d, nm->iItem);
    case HDN_ENDTRACKA: TakeFocus(d); [[fallthrough]];
    case HDN_TRACKA:
        if (!IsDying(d)) TrackWidth(d, nm->iItem, nm->pitem);
        return 0;
    case HDN_BEGINDRAG: return (d->exStyle & TLX_HEADERDRAGDROP) && nm->iItem > 0 ? 0 : 1;
    case HDN_ENDDRAG:
        if (!(d->exStyle & TLX_HEADERDRAGDROP) || nm->iItem <= 0 || !nm->pitem || nm->pitem->iOrder <= 0) return 1;
        TreeListPost(d->window, TLM_SETCOLUMNORDER, kTreeListOrderFromHeader, 0);
        return 0;
    case NM_RCLICK: return HeaderRightClick(d);
    default: return 0;
    }
}

}  // namespace

int OptimalColumnWidth(TreeListData* d, int column) {
    if (column < 0 || column >= std::max(d->columnCount, 1)) return 0;
    int widest = 0;
    for (UINT r = 0; r < d->rowCount; ++r) {
        const ItemId item = RowItem(d, r);
        if (!item) continue;
        TreeListItem* it = d->items[item];
        int w;
        if (column == 0) {
            w = it->level * d->indent + ItemTextWidth(d, it) + kContentMargin;
            if (ShowsItemImage(d, it)) w += d->imageSize[kImagesItem].cx;
        } else {
            TreeListCell* cell = Cell(d, item, column);
            w = CellTextWidth(d, cell) + kContentMargin;
            if (cell && d->images[kImagesCell] && cell->image != kImageNone) w += d->imageSize[kImagesCell].cx;
        }
        widest = std::max(widest, w);
    }
    if (column == 0) {
        if (d->exStyle & TLX_GRIDLINES) widest += 1;
        if (d->linesAtRoot) widest += d->indent;
        if (HasImages(d, kImagesState)) widest += d->imageSize[kImagesState].cx;
    }
    return widest;
}

LRESULT OnNotify(TreeListData* d, NMHDR* hdr) {
    if (!hdr) return 0;
    if (d->header && hdr->hwndFrom == d->header) return OnHeaderNotify(d, hdr);
    if (d->tooltip && hdr->hwndFrom == d->tooltip && hdr->code == TTN_NEEDTEXTA)
        return OnTipNeedText(d, reinterpret_cast<NMTTDISPINFOA*>(hdr));
    return 0;
}
