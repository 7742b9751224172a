// Columns of the "TreeList" control: records kept in column order, the header ("SysHeader32") created on the
// first insert, the display order, and column widths that are either fixed or shares of the free width.
#include "treelist/control/TreeListColumns.h"

#include "image/FontCache.h"
#include "treelist/control/TreeListEdit.h"
#include "treelist/control/TreeListItems.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListNotify.h"
#include "treelist/control/TreeListScroll.h"
#include "treelist/control/TreeListSelect.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr UINT kOwnMark1 = 0x10000000, kOwnCollapse = 0x20000000, kOwnWeight = 0x40000000, kOwnMark2 = 0x80000000;
constexpr int kRememberedWidth = 0x44332211;
constexpr int kDefaultMinimum = 16;
constexpr int kCollapsedDefault = 100;

// The header takes the caller's format as it is (alignment, images, owner drawing...), always with a string.
int HeaderFormat(int fmt) { return fmt | HDF_STRING; }

BYTE Alignment(int fmt) {
    const int align = fmt & LVCFMT_JUSTIFYMASK;
    return align == LVCFMT_RIGHT ? 2 : align == LVCFMT_CENTER ? 1 : 0;
}

int Clamp16(int v) { return std::clamp(v, -32768, 32767); }

void GiveWidth(TreeListData* d, int column) {
    HDITEMA hd = {};
    hd.mask = HDI_WIDTH;
    hd.cxy = Clamp16(std::max(d->columns[column].width, 0));
    SendHeader(d, HDM_SETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&hd));
}

bool IsWeighted(const TreeListColumn& c) { return c.fixedWidth == 0 && c.weight > 0; }

void UpdateSums(TreeListData* d) {
    d->fixedSum = d->weightedSum = d->weightSum = 0;
    for (int c = 0; c < d->columnCount; ++c) {
        const TreeListColumn& col = d->columns[c];
        if (IsWeighted(col)) {
            d->weightedSum += col.width;
            d->weightSum += col.weight;
        } else {
            d->fixedSum += col.width;
        }
    }
}

void RenumberPositions(TreeListData* d) {
    for (int p = 0; p < d->columnCount; ++p) d->columns[d->order[p]].position = static_cast<BYTE>(p);
}

// Edges, joins, scroll range and a repaint after the columns changed.
void Relayout(TreeListData* d) {
    ComputeColumnEdges(d);
    UpdateJoinedColumns(d);
    UpdateHScrollBar(d, true);
    InvalidateItems(d);
}

// The free width (client width minus the fixed widths) is shared among the weighted columns anew, by weight.
void FillFreeWidth(TreeListData* d) {
    UpdateSums(d);
    for (int c = 0; c < d->columnCount; ++c)
        if (IsWeighted(d->columns[c])) d->columns[c].requested = 0;
    DistributeColumnWidth(d, std::max(d->clientWidth - d->fixedSum, 0));
}

bool CreateHeader(TreeListData* d) {
    HFONT font = GetUiFont(0);
    int height = 0;
    if (!(d->exStyle & TLX_NOHEADER)) {
        int fontHeight = 0;
        GetUiFontMetrics(nullptr, &fontHeight, 0);
        height = fontHeight + GetSystemMetrics(SM_CYHSCROLL);
    }
    HWND header = CreateWindowExA(0, WC_HEADERA, "", WS_CHILD | WS_VISIBLE | HDS_BUTTONS | HDS_HORZ | HDS_DRAGDROP,
                                  -d->scrollX, 0, d->clientWidth + d->scrollX, height, d->window,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kHeaderId)),
                                  reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(d->window, GWLP_HINSTANCE)), nullptr);
    if (!header) return false;
    d->header = header;
    d->headerHeight = height;
    HIMAGELIST images = d->images[kImagesHeader] ? d->images[kImagesHeader] : d->images[kImagesItem];
    if (images) SendHeader(d, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    SendHeader(d, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    ComputeVisibleRows(d);
    UpdateVScrollBar(d, true, true);
    return true;
}

// Moves the column-indexed references along when a column comes in at (shift 1) or leaves (shift -1) index.
void ShiftColumnReferences(TreeListData* d, int index, int shift) {
    for (int* c : {&d->caretColumn, &d->dropColumn, &d->selCellColumn, &d->dropTargetColumn, &d->hotCheckColumn})
        if (*c >= index && (shift > 0 || *c > index)) *c += shift;
}

}  // namespace

LRESULT SendHeader(TreeListData* d, UINT msg, WPARAM wp, LPARAM lp) {
    if (!d->header) return 0;
    HWND header = d->header;
    TreeListUnlocked unlocked(d->lock);
    return SendMessageA(header, msg, wp, lp);
}

void ShareWidth(int delta, int clientWidth, const int* weights, int count, int* shares) {
    int total = 0;
    for (int i = 0; i < count; ++i) total += weights[i];
    if (count <= 0 || total <= 0) return;
    int given = 0;
    for (int i = 0; i < count; ++i) {
        shares[i] = static_cast<int>(static_cast<long long>(delta) * weights[i] / total);
        given += shares[i];
    }
    int rest = delta - given;
    if (!rest) return;
    // Start where the running sum of weights first exceeds clientWidth mod total, and cycle.
    const int mark = ((clientWidth % total) + total) % total;
    int start = 0;
    for (int running = 0; start < count; ++start) {
        running += weights[start];
        if (running > mark) break;
    }
    // Only columns whose exact share has a fraction take a pixel, so every share stays within one pixel of
    // delta x weight / total (there are always more of them than pixels left).
    const int step = rest > 0 ? 1 : -1;
    for (int i = start % count; rest; i = (i + 1) % count) {
        if (static_cast<long long>(delta) * weights[i] % total == 0) continue;
        shares[i] += step;
        rest -= step;
    }
}

void DistributeColumnWidth(TreeListData* d, int delta) {
    int columns[kTreeListMaxColumns], weights[kTreeListMaxColumns], shares[kTreeListMaxColumns] = {};
    int n = 0;
    for (int c = 0; c < d->columnCount; ++c)
        if (IsWeighted(d->columns[c])) {
            columns[n] = c;
            weights[n++] = d->columns[c].weight;
        }
    if (!n) {
        UpdateSums(d);
        return;
    }
    if (n == 1)
        shares[0] = delta;
    else
        ShareWidth(delta, d->clientWidth, weights, n, shares);
    bool changed[kTreeListMaxColumns] = {};
    for (int i = 0; i < n; ++i) {
        TreeListColumn& col = d->columns[columns[i]];
        col.requested += shares[i];
        const int width = std::max(col.requested, col.minWidth);
        changed[i] = width != col.width;
        col.width = width;
    }
    UpdateSums(d);
    ComputeColumnEdges(d);
    for (int i = 0; i < n; ++i) {
        if (!changed[i]) continue;
        GiveWidth(d, columns[i]);
        if (d->exStyle & TLX_COLUMNNOTIFY) NotifyColumnChanged(d, columns[i]);
    }
    if (delta > 0 && d->header) InvalidateRect(d->header, nullptr, FALSE);
}

void NotifyColumnChanged(TreeListData* d, int column) {
    if (column < 0 || column >= d->columnCount) return;
    NMTREELISTCOLUMN nm = {};
    nm.column = column;
    nm.position = d->columns[column].position;
    nm.left = d->left[column];
    nm.width = d->columns[column].width;
    SendNotify(d, TLN_COLUMNCHANGED, &nm.hdr);
}

void PlaceHeader(TreeListData* d) {
    if (d->header)
        SetWindowPos(d->header, nullptr, -d->scrollX, 0, d->clientWidth + d->scrollX, d->headerHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT InsertColumn(TreeListData* d, WPARAM where, const LVCOLUMNA* r) {
    if (!r || d->columnCount >= kTreeListMaxColumns) return -1;
    if (!d->header && !CreateHeader(d)) return -1;
    // Column 0 is the tree column: once it exists, an insert at 0 comes in right of it.
    int index = static_cast<int>(std::min<WPARAM>(where, static_cast<WPARAM>(d->columnCount)));
    if (index == 0 && d->columnCount) index = 1;

    TreeListColumn col = {};
    col.minWidth = kDefaultMinimum;
    col.keepMinimum = true;
    if (r->mask & LVCF_ORDER) {
        col.minWidth = std::abs(r->iOrder);
        col.keepMinimum = r->iOrder >= 0;
    }
    if (r->mask & LVCF_FMT) col.align = Alignment(r->fmt);
    if (r->mask & LVCF_WIDTH) {
        col.fixedWidth = r->cx;
        col.width = col.requested = r->cx;
    } else {
        col.weight = static_cast<BYTE>(std::clamp((r->mask & LVCF_SUBITEM) ? r->cx : 1, 1, 255));
        UpdateSums(d);
        const int weights = d->weightSum + col.weight;
        const int free = std::max(d->clientWidth - d->fixedSum, 0);
        col.requested = free * col.weight / weights;
        col.width = std::max(col.requested, col.minWidth);
    }
    if ((r->mask & kOwnMark1) && (r->fmt & kOwnMark1)) col.mark1 = true;
    if ((r->mask & kOwnCollapse) && (r->fmt & kOwnCollapse)) col.remembered = r->cx > 0 ? r->cx : kCollapsedDefault;
    if ((r->mask & kOwnMark2) && r->fmt < 0) col.mark2 = true;

    HDITEMA hd = {};
    hd.mask = HDI_FORMAT | HDI_WIDTH;
    hd.fmt = HeaderFormat((r->mask & LVCF_FMT) ? r->fmt : 0);
    hd.cxy = Clamp16(std::max(col.width, 0));
    if ((r->mask & LVCF_TEXT) && r->pszText) {
        hd.mask |= HDI_TEXT;
        hd.pszText = r->pszText;
        hd.cchTextMax = r->cchTextMax;
    }
    if (r->mask & LVCF_IMAGE) {
        hd.mask |= HDI_IMAGE;
        hd.fmt |= HDF_IMAGE;
        hd.iImage = r->iImage;
    }
    TreeListCell** table = nullptr;
    if (index > 0 && !(table = static_cast<TreeListCell**>(calloc(d->tableSize + 1, sizeof(TreeListCell*)))))
        return -1;
    if (SendHeader(d, HDM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&hd)) < 0 ||
        IsDying(d)) {
        free(table);
        return -1;
    }

    const int count = d->columnCount;
    for (int c = count; c > index; --c) {
        d->cells[c] = d->cells[c - 1];
        d->columns[c] = d->columns[c - 1];
    }
    if (index > 0) d->cells[index] = table;
    d->columns[index] = col;
    // The new column is shown at the display position of its number; later positions move right.
    for (int p = 0; p < count; ++p)
        if (d->order[p] >= index) ++d->order[p];
    const int position = std::min(index, count);
    memmove(d->order + position + 1, d->order + position, static_cast<size_t>(count - position));
    d->order[position] = static_cast<BYTE>(index);
    d->columnCount = count + 1;
    RenumberPositions(d);
    if (count) ShiftColumnReferences(d, index, 1);
    d->markedColumns += col.mark1;

    FillFreeWidth(d);
    ComputeRowHeight(d);
    Relayout(d);
    if (d->exStyle & TLX_COLUMNNOTIFY) NotifyColumnChanged(d, index);
    return index;
}

BOOL DeleteColumn(TreeListData* d, int column) {
    if (column < 0 || column >= d->columnCount || (column == 0 && d->columnCount > 1)) return FALSE;
    if (column > 0) {
        if (d->caretColumn == column) SelectCell(d, d->caretItem, 0, 0);
        CancelEditOn(d, 0, column);
        if (d->selCellColumn == column) d->selCellItem = 0;
        if (d->dropColumn == column) {
            if (TreeListCell* cell = Cell(d, d->dropItem, column)) cell->flags &= ~kDropHilite;
            d->dropItem = 0;
            d->dropColumn = 0;
        }
    }
    SendHeader(d, HDM_DELETEITEM, static_cast<WPARAM>(column), 0);
    if (IsDying(d) || column >= d->columnCount) return FALSE;
    d->markedColumns -= d->columns[column].mark1;
    FreeCellTable(d, column);
    const int count = d->columnCount - 1;
    for (int c = column; c < count; ++c) {
        d->cells[c] = d->cells[c + 1];
        d->columns[c] = d->columns[c + 1];
    }
    d->cells[count] = nullptr;
    d->columns[count] = TreeListColumn{};
    int p = 0;
    for (int q = 0; q <= count; ++q) {
        if (d->order[q] == column) continue;
        d->order[p++] = static_cast<BYTE>(d->order[q] > column ? d->order[q] - 1 : d->order[q]);
    }
    d->columnCount = count;
    RenumberPositions(d);
    ShiftColumnReferences(d, column, -1);
    FillFreeWidth(d);
    ComputeRowHeight(d);
    Relayout(d);
    return TRUE;
}

LRESULT SetColumn(TreeListData* d, int column, const LVCOLUMNA* r) {
    if (!r || !d->header || column < 0 || column >= d->columnCount) return 0;
    TreeListColumn& col = d->columns[column];
    if (r->mask & kOwnCollapse) {
        if (!(r->fmt & kOwnCollapse))
            col.remembered = 0;
        else if (!col.remembered)
            col.remembered = col.width ? col.width : kCollapsedDefault;
    }
    HDITEMA hd = {};
    if (r->mask & LVCF_FMT) {
        hd.mask |= HDI_FORMAT;
        hd.fmt = HeaderFormat(r->fmt);
        if (Alignment(r->fmt) != col.align) {
            col.align = Alignment(r->fmt);
            InvalidateColumn(d, column);
        }
    }
    if (r->mask & LVCF_IMAGE) {
        hd.mask |= HDI_IMAGE;
        hd.fmt |= HDF_IMAGE;
        hd.iImage = r->iImage;
    }
    int width = col.width;
    if (r->mask & LVCF_WIDTH) {
        width = r->cx == kRememberedWidth ? (col.remembered ? col.remembered : col.width) : r->cx;
        if (r->cx == kRememberedWidth) col.remembered = 0;
        hd.mask |= HDI_WIDTH;
        hd.cxy = Clamp16(std::max(width, 0));
        col.requested = col.width = width;
        if (!IsWeighted(col)) col.fixedWidth = width;
    }
    if ((r->mask & LVCF_TEXT) && r->pszText) {
        hd.mask |= HDI_TEXT;
        hd.pszText = r->pszText;
        hd.cchTextMax = r->cchTextMax;
    }
    const LRESULT answer = hd.mask ? SendHeader(d, HDM_SETITEMA, static_cast<WPARAM>(column),
                                                reinterpret_cast<LPARAM>(&hd))
                                   : 1;
    if (IsDying(d) || column >= d->columnCount) return answer;
    for (auto [bit, mark] : {std::pair<UINT, bool*>{kOwnMark1, &col.mark1}, {kOwnMark2, &col.mark2}}) {
        if (!(r->mask & bit)) continue;
        const bool on = bit == kOwnMark2 ? r->fmt < 0 : (r->fmt & bit) != 0;
        if (on == *mark) continue;
        *mark = on;
        if (bit == kOwnMark1) d->markedColumns += on ? 1 : -1;
        InvalidateColumn(d, column);
    }
    if ((r->mask & kOwnWeight) && (r->mask & LVCF_WIDTH)) {
        if (r->fmt & kOwnWeight) {
            col.fixedWidth = 0;
            if (!col.weight) col.weight = 1;
        } else {
            col.fixedWidth = width ? width : 1;
            col.weight = 0;
        }
        FillFreeWidth(d);
    }
    if (r->mask & (kOwnCollapse | kOwnWeight | LVCF_WIDTH)) {
        UpdateSums(d);
        Relayout(d);
    }
    return answer;
}

LRESULT GetColumn(TreeListData* d, int column, LVCOLUMNA* r) {
    if (!r || !d->header || column < 0 || column >= d->columnCount) return 0;
    HDITEMA hd = {};
    if (r->mask & LVCF_FMT) hd.mask |= HDI_FORMAT;
    if (r->mask & LVCF_WIDTH) hd.mask |= HDI_WIDTH;
    if (r->mask & LVCF_TEXT) {
        hd.mask |= HDI_TEXT;
        hd.pszText = r->pszText;
        hd.cchTextMax = r->cchTextMax;
    }
    if (r->mask & LVCF_IMAGE) hd.mask |= HDI_IMAGE;
    const LRESULT answer = SendHeader(d, HDM_GETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&hd));
    UINT mask = 0;
    if (hd.mask & HDI_FORMAT) {
        mask |= LVCF_FMT;
        r->fmt = (hd.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT    ? LVCFMT_RIGHT
                 : (hd.fmt & HDF_JUSTIFYMASK) == HDF_CENTER ? LVCFMT_CENTER
                                                            : LVCFMT_LEFT;
    }
    if (hd.mask & HDI_WIDTH) {
        mask |= LVCF_WIDTH;
        r->cx = hd.cxy;
    }
    if (hd.mask & HDI_TEXT) mask |= LVCF_TEXT;
    if (hd.mask & HDI_IMAGE) {
        mask |= LVCF_IMAGE;
        r->iImage = hd.iImage;
    }
    r->mask = mask;
    return answer;
}

bool IsWeightedColumn(const TreeListColumn& c) { return IsWeighted(c); }

void ApplyColumnWidth(TreeListData* d, int column, int width) {
    TreeListColumn& col = d->columns[column];
    col.requested = col.width = width;
    if (!IsWeighted(col) && width) col.fixedWidth = width;
    UpdateSums(d);
    GiveWidth(d, column);
    if (IsDying(d)) return;
    ComputeColumnEdges(d);
    UpdateJoinedColumns(d);
    UpdateHScrollBar(d, true);
}

LRESULT GetColumnWidth(TreeListData* d, int column) {
    if (!d->header || column < 0 || column >= d->columnCount) return 0;
    HDITEMA hd = {};
    hd.mask = HDI_WIDTH;
    return SendHeader(d, HDM_GETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&hd)) ? hd.cxy : 0;
}

LRESULT SetColumnWidth(TreeListData* d, int column, int width) {
    if (!d->header || column < 0 || column >= d->columnCount || width < 0) return 0;
    TreeListColumn& col = d->columns[column];
    col.requested = col.width = width;
    if (!IsWeighted(col)) col.fixedWidth = width ? width : col.fixedWidth;
    HDITEMA hd = {};
    hd.mask = HDI_WIDTH;
    hd.cxy = Clamp16(width);
    const LRESULT answer =
        SendHeader(d, HDM_SETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&hd));
    if (IsDying(d) || column >= d->columnCount) return answer;
    UpdateSums(d);
    Relayout(d);
    NotifyColumnChanged(d, column);
    return answer;
}

LRESULT SetColumnOrder(TreeListData* d, WPARAM count, const BYTE* order) {
    BYTE fromHeader[kTreeListMaxColumns];
    const bool readHeader = count == kTreeListOrderFromHeader;
    if (readHeader) {
        int got[kTreeListMaxColumns] = {};
        if (!SendHeader(d, HDM_GETORDERARRAY, static_cast<WPARAM>(d->columnCount), reinterpret_cast<LPARAM>(got)))
            return 0;
        for (int p = 0; p < d->columnCount; ++p) fromHeader[p] = static_cast<BYTE>(got[p]);
        order = fromHeader;
        count = static_cast<WPARAM>(d->columnCount);
    }
    if (!order || count != static_cast<WPARAM>(d->columnCount) || !count) return 0;
    bool seen[kTreeListMaxColumns] = {};
    for (WPARAM p = 0; p < count; ++p) {
        if (order[p] >= count || seen[order[p]]) return 0;
        seen[order[p]] = true;
    }
    if (memcmp(order, d->order, count) == 0) return 1;
    memcpy(d->order, order, count);
    RenumberPositions(d);
    if (!readHeader) {
        int array[kTreeListMaxColumns];
        for (WPARAM p = 0; p < count; ++p) array[p] = order[p];
        SendHeader(d, HDM_SETORDERARRAY, count, reinterpret_cast<LPARAM>(array));
    }
    Relayout(d);
    for (int c = 0; c < d->columnCount; ++c) NotifyColumnChanged(d, c);
    return 1;
}

LRESULT GetColumnOrder(TreeListData* d, WPARAM count, int* order) {
    if (!d->header || !order) return 0;
    return SendHeader(d, HDM_GETORDERARRAY, count, reinterpret_cast<LPARAM>(order));
}
