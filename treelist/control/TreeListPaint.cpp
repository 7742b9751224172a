// WM_PAINT and the frame of a paint pass: clip regions per column, row colours, the row loop, the empty area
// below the rows and the widest row for the horizontal scroll bar.
#include "treelist/control/TreeListPaint.h"

#include "treelist/control/TreeListColumns.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListNotify.h"
#include "treelist/control/TreeListScroll.h"
#include "treelist/control/TreeListShared.h"

#include <algorithm>

namespace {

void MakeRegions(PaintContext& pc) {
    TreeListData* d = pc.d;
    pc.columns = std::max(d->columnCount, 1);
    for (int c = 0; c < pc.columns; ++c) {
        RECT r = {ColumnLeft(d, c) - d->scrollX, pc.update.top, ColumnRight(d, c) - d->scrollX, pc.update.bottom};
        if (!IntersectRect(&r, &r, &pc.update)) continue;
        pc.regions[c] = CreateRectRgnIndirect(&r);
    }
}

void PrepareColours(PaintContext& pc) {
    const TreeListData* d = pc.d;
    const COLORREF* c = d->colours;
    const bool alternate = d->exStyle & TLX_ALTERNATEROWS;
    const bool disabled = !d->enabled && (d->exStyle & TLX_DISABLEDCOLOURS);
    pc.background = disabled ? c[kColourDisabled] : c[kColourBack];
    const COLORREF markedEven = alternate ? c[kColourMarkedEven] : c[kColourMarked];
    const COLORREF markedOdd = alternate ? c[kColourMarkedOdd] : c[kColourMarked];
    pc.rowColour[0][1] = markedEven;
    pc.rowColour[1][1] = markedOdd;
    pc.rowColour[0][0] = disabled ? markedEven : alternate ? c[kColourEven] : c[kColourBack];
    pc.rowColour[1][0] = disabled ? markedOdd : alternate ? c[kColourOdd] : c[kColourBack];
    pc.selectedRow[1] = c[kColourSelectedOdd];
    pc.selectedRow[0] = alternate ? c[kColourSelectedEven] : c[kColourSelectedOdd];
}

// The display row shown in screen row k: pinned rows stay at the top.
UINT DisplayRow(const TreeListData* d, int k) {
    const LONG_PTR pinned = d->options[TLO_PINNEDROWS];
    return k < pinned ? static_cast<UINT>(k) : d->firstRow + static_cast<UINT>(k);
}

void FillEmptyArea(PaintContext& pc, int top) {
    TreeListData* d = pc.d;
    if (top >= pc.update.bottom) return;
    FillArea(pc.dc, pc.update.left, top, pc.update.right, pc.update.bottom, pc.background);
    const bool disabled = !d->enabled && (d->exStyle & TLX_DISABLEDCOLOURS);
    for (int c = 0; c < d->columnCount && !disabled; ++c)
        if (d->columns[c].mark1)
            FillArea(pc.dc, ColumnLeft(d, c) - d->scrollX, top, ColumnRight(d, c) - d->scrollX, pc.update.bottom,
                     d->colours[kColourMarked]);
    if (d->dropTarget == kItemLast) {
        PaintRow below = {};
        below.top = top;
        below.bottom = top + d->rowHeight;
        const int last = d->columnCount ? d->order[d->columnCount - 1] : 0;
        PaintDropBar(pc, below, ColumnLeft(d, d->columnCount ? d->order[0] : 0) - d->scrollX,
                     ColumnRight(d, last) - d->scrollX);
    }
}

void PaintTreeList(TreeListData* d, HDC dc, const RECT* rect) {
    PaintContext pc = {};
    PaintCopies images, buttons;
    pc.images = &images;
    pc.buttons = &buttons;
    pc.d = d;
    pc.dc = dc;
    RECT client = {0, 0, d->clientWidth, d->clientHeight};
    GetClientRect(d->window, &client);
    pc.update = rect ? *rect : client;
    pc.joinedFirst = pc.joinedLast = -1;
    MakeRegions(pc);
    PrepareColours(pc);
    const int saved = SaveDC(dc);
    SelectObject(dc, d->measuredFont);
    SelectObject(dc, GetTreeListShared().linePen);
    SetBkColor(dc, d->colours[kColourBack]);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_TOP);

    const int h = std::max(d->rowHeight, 1);
    int top = d->headerHeight;
    bool complete = true;
    for (int k = 0; top < pc.update.bottom; ++k, top += h) {
        const UINT r = DisplayRow(d, k);
        if (r >= d->rowCount) break;
        if (top + h <= pc.update.top) continue;
        PaintRow row = {};
        row.item = RowItem(d, r);
        row.it = Item(d, row.item);
        if (!row.it) {
            complete = false;
            break;
        }
        row.row = r;
        row.top = top;
        row.bottom = top + h;
        row.odd = r & 1;
        row.fullSelected = (d->exStyle & TLX_FULLROWSELECT) && (row.it->state & TVIS_SELECTED);
        if (!PaintTreeColumn(pc, row) || !PaintCells(pc, row)) {
            complete = false;
            break;
        }
        PaintPinnedSeparator(pc, row, k, pc.update.left, pc.update.right);
    }
    SelectClipRgn(dc, nullptr);
    if (complete) {
        FillEmptyArea(pc, top);
    } else if (!IsDying(d)) {
        // An item went away during a call-back: what is left of the area is drawn again in a later pass.
        RECT rest = {pc.update.left, top, pc.update.right, pc.update.bottom};
        InvalidateRect(d->window, &rest, FALSE);
    }
    RestoreDC(dc, saved);
    if (pc.widest != d->widestRow && complete) {
        d->widestRow = pc.widest;
        if (!d->columnCount) UpdateHScrollBar(d, true);
    }
    for (HRGN& region : pc.regions)
        if (region) DeleteObject(region);
    if (pc.joined) DeleteObject(pc.joined);
}

}  // namespace

void FillArea(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
    if (right <= left || bottom <= top) return;
    const RECT r = {left, top, right, bottom};
    const COLORREF old = SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    SetBkColor(dc, old);
}

void SelectColumnClip(PaintContext& pc, int column, int lastJoined) {
    if (lastJoined <= column) {
        SelectClipRgn(pc.dc, pc.regions[column]);
        return;
    }
    if (pc.joinedFirst != column || pc.joinedLast != lastJoined) {
        if (pc.joined) DeleteObject(pc.joined);
        pc.joined = CreateRectRgn(0, 0, 0, 0);
        for (int c = column; c <= lastJoined; ++c)
            if (pc.regions[c]) CombineRgn(pc.joined, pc.joined, pc.regions[c], RGN_OR);
        pc.joinedFirst = column;
        pc.joinedLast = lastJoined;
    }
    SelectClipRgn(pc.dc, pc.joined);
}

COLORREF RowColour(const PaintContext& pc, const PaintRow& row, int column) {
    if (row.fullSelected) return pc.selectedRow[row.odd];
    const bool marked = pc.d->columnCount && pc.d->columns[column].mark1;
    return pc.rowColour[row.odd][marked];
}

void PaintDropBar(PaintContext& pc, const PaintRow& row, int left, int right) {
    const TreeListData* d = pc.d;
    const int top = row.top + d->dropBarOffset;
    const int height = d->dropBarHeight ? d->dropBarHeight : row.bottom - row.top;
    HGDIOBJ old = SelectObject(pc.dc, GetTreeListShared().checkerBrush);
    const COLORREF text = SetTextColor(pc.dc, RGB(0, 0, 0)), back = SetBkColor(pc.dc, RGB(255, 255, 255));
    PatBlt(pc.dc, left, top, right - left, height, PATINVERT);
    SetTextColor(pc.dc, text);
    SetBkColor(pc.dc, back);
    SelectObject(pc.dc, old);
}

void PaintPinnedSeparator(PaintContext& pc, const PaintRow& row, int screenRow, int left, int right) {
    const TreeListData* d = pc.d;
    if (screenRow + 1 != d->options[TLO_PINNEDROWS] || (d->exStyle & TLX_GRIDLINES)) return;
    if (!d->firstRow && !d->options[TLO_PINNEDSEPARATOR]) return;
    SelectClipRgn(pc.dc, nullptr);
    FillArea(pc.dc, left, row.bottom - 2, right, row.bottom - 1, d->colours[kColourSeparator]);
}

LRESULT OnPaint(TreeListData* d, HDC dc) {
    if (dc) {
        PaintTreeList(d, dc, nullptr);
        return 0;
    }
    PAINTSTRUCT ps;
    HDC paint = BeginPaint(d->window, &ps);
    if (paint) PaintTreeList(d, paint, &ps.rcPaint);
    EndPaint(d->window, &ps);
    return 0;
}
