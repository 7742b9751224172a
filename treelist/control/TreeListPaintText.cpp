// Texts of cells: plain texts drawn opaque over their area, cut with "..." when they do not fit, and
// highlighted texts in the box their selection, focus or drop state asks for.
#include "treelist/control/TreeListPaint.h"

#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListShared.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr UINT kDraw = DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER;
// A cut highlighted text keeps at most 253 characters before the "..." (the buffer holds them, the "..." and
// the terminator).
constexpr int kMaxKept = 253;
static_assert(kMaxKept + 4 <= kTextBufferSize);

int Measure(HDC dc, const PaintText& t) {
    if (t.cachedWidth && *t.cachedWidth > 0) return *t.cachedWidth;
    if (!t.length) return 0;
    RECT r = {0, 0, 0, 0};
    DrawTextExA(dc, const_cast<char*>(t.text), t.length, &r, kMeasureFormat, nullptr);
    if (t.cachedWidth) *t.cachedWidth = r.right - r.left;
    return r.right - r.left;
}

// How many characters fit into room pixels, and how wide they are.
int FitCharacters(TreeListData* d, HDC dc, const char* text, int length, int room, int* width) {
    if (length > d->fitBufferSize) {
        const int grown = (length + 255) / 256 * 256;
        int* buffer = static_cast<int*>(realloc(d->fitBuffer, sizeof(int) * static_cast<size_t>(grown)));
        if (!buffer) {
            *width = 0;
            return 0;
        }
        d->fitBuffer = buffer;
        d->fitBufferSize = grown;
    }
    int fit = 0;
    SIZE size = {0, 0};
    GetTextExtentExPointA(dc, text, length, room, &fit, d->fitBuffer, &size);
    *width = fit > 0 ? d->fitBuffer[fit - 1] : 0;
    return fit;
}

void PlainText(PaintContext& pc, const PaintRow& row, const PaintText& t, int textTop, int ellipsis, int* end) {
    TreeListData* d = pc.d;
    HDC dc = pc.dc;
    const bool opaque = t.back != CLR_INVALID;
    const UINT options = (opaque ? ETO_OPAQUE : 0) | ETO_CLIPPED;
    RECT area = {t.x, row.top, t.right, row.bottom};
    SetTextColor(dc, t.textColour);
    if (opaque) SetBkColor(dc, t.back);
    if (!t.length) {
        if (opaque) FillArea(dc, area.left, area.top, area.right, area.bottom, t.back);
        *end = t.x;
        return;
    }
    const int width = Measure(dc, t);
    if (t.x + width < t.right) {
        int x = t.x + 2;
        UINT align = TA_LEFT;
        if (t.align == 1) {
            x = (t.x + t.right) / 2;
            align = TA_CENTER;
        } else if (t.align == 2) {
            x = t.right - 2;
            align = TA_RIGHT;
        }
        SetTextAlign(dc, align | TA_TOP);
        ExtTextOutA(dc, x, textTop, options, &area, t.text, static_cast<UINT>(t.length), nullptr);
        SetTextAlign(dc, TA_LEFT | TA_TOP);
        *end = t.x + 2 + width;
        return;
    }
    // Cut: as many whole characters as fit before the "...".
    const int room = t.right - (t.x + 2) - ellipsis;
    int kept = 0, keptWidth = 0;
    if (room >= 3) kept = FitCharacters(d, dc, t.text, t.length, room, &keptWidth);
    ExtTextOutA(dc, t.x + 2, textTop, options, &area, t.text, static_cast<UINT>(kept), nullptr);
    ExtTextOutW(dc, t.x + 2 + keptWidth, textTop, ETO_CLIPPED, &area, L"...", 3, nullptr);
    *end = t.x + 2 + keptWidth + ellipsis;
}

struct Box {
    COLORREF text;
    HBRUSH brush;       // null: no fill
    COLORREF dcBrush;   // CLR_INVALID unless the fill is a DC_BRUSH colour
    bool framed;
    bool shiftLeft;
};

Box ChooseBox(const TreeListData* d, const PaintText& t) {
    const UINT s = t.state;
    const bool selected = s & TVIS_SELECTED;
    const COLORREF own = t.ownText != CLR_INVALID ? t.ownText : t.textColour;
    const COLORREF highlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    HBRUSH highlight = GetSysColorBrush(COLOR_HIGHLIGHT);
    if (selected && d->focused && t.caretCell) return {highlightText, highlight, CLR_INVALID, true, false};
    if ((s & TVIS_DROPHILITED) || (selected && d->focused)) return {highlightText, highlight, CLR_INVALID, false, false};
    if (selected && (d->exStyle & TLX_FULLROWSELECT)) return {own, nullptr, CLR_INVALID, true, false};
    if (selected && (d->exStyle & TLX_ALTERNATEROWS))
        return {own, nullptr, d->colours[kColourUnfocusedBox], false, false};
    if (selected) return {own, GetSysColorBrush(COLOR_BTNFACE), CLR_INVALID, false, false};
    if ((s >> 16) & kDropHilite) return {d->colours[kColourHotText], nullptr, CLR_INVALID, false, true};
    return {own, nullptr, CLR_INVALID, false, true};
}

void HighlightedText(PaintContext& pc, const PaintRow& row, const PaintText& t, int textTop, int ellipsis,
                     int* end) {
    TreeListData* d = pc.d;
    HDC dc = pc.dc;
    if (t.back != CLR_INVALID) FillArea(dc, t.x, row.top, t.right, row.bottom, t.back);
    const UINT flags = (t.state >> 16) & 0xFF;
    const bool dropped = (t.state & TVIS_DROPHILITED) || (flags & kDropHilite);
    const bool tight = row.fullSelected && !(t.caretCell && d->focused) && !dropped;
    RECT r = {t.x + (tight ? 3 : 4), textTop, 0, textTop + d->textHeight + 2};
    const char* text = t.text;
    int length = t.length;
    const int width = Measure(dc, t);
    if (r.left + width > t.right - 2 && length) {
        // Cut into the control's text buffer, with two more pixels kept free.
        const int room = t.right - r.left - ellipsis - 2;
        int kept = 0, keptWidth = 0;
        if (room >= 3) kept = std::min(FitCharacters(d, dc, t.text, t.length, room, &keptWidth), kMaxKept);
        memcpy(d->textBuffer, t.text, static_cast<size_t>(kept));
        memcpy(d->textBuffer + kept, "...", 4);
        text = d->textBuffer;
        length = kept + 3;
        r.right = t.right - 2;
    } else {
        r.right = r.left + width;
        if (!length) {
            r.right -= 2;
            r.bottom -= 1;
        } else if (!t.treeColumn && t.align == 1) {
            OffsetRect(&r, (t.x + t.right) / 2 - (r.left + r.right) / 2, 0);
        } else if (!t.treeColumn && t.align == 2) {
            OffsetRect(&r, t.right - 6 - r.right, 0);
        }
    }
    const Box box = ChooseBox(d, t);
    if (box.shiftLeft) OffsetRect(&r, -1, 0);
    HPEN linePen = GetTreeListShared().linePen;
    if (box.brush || box.dcBrush != CLR_INVALID || box.framed) {
        HGDIOBJ oldPen = SelectObject(dc, box.framed ? static_cast<HGDIOBJ>(linePen) : GetStockObject(NULL_PEN));
        HGDIOBJ brush = box.brush ? static_cast<HGDIOBJ>(box.brush)
                        : box.dcBrush != CLR_INVALID ? GetStockObject(DC_BRUSH)
                                                     : GetStockObject(NULL_BRUSH);
        if (box.dcBrush != CLR_INVALID) SetDCBrushColor(dc, box.dcBrush);
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        Rectangle(dc, r.left - 2, r.top - 1, r.right + 2, r.bottom + 1);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
    }
    if (flags & kDottedFrame) {
        HGDIOBJ oldPen = SelectObject(dc, linePen), oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, r.left - 2, r.top - 1, r.right + 2, r.bottom + 1);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
    }
    SetTextColor(dc, box.text);
    RECT drawn = {r.left + d->pitchFix, r.top, r.right, r.bottom};
    if (length) DrawTextExA(dc, const_cast<char*>(text), length, &drawn, kDraw, nullptr);
    if (((t.state & kStateFocused) || (flags & kDropHilite)) && length) {
        const int y = r.top + d->ascentPlus1;
        FillArea(dc, r.left, y, r.right, y + 1, box.text);
    }
    SetTextColor(dc, d->colours[kColourText]);
    *end = r.right;
}

}  // namespace

void PaintCellText(PaintContext& pc, const PaintRow& row, const PaintText& t) {
    TreeListData* d = pc.d;
    const bool bold = t.state & TVIS_BOLD;
    SelectObject(pc.dc, bold ? d->boldFont : d->measuredFont);
    const int ellipsis = bold ? d->boldEllipsisWidth : d->ellipsisWidth;
    const int textTop = row.top + (row.bottom - row.top - d->textHeight) / 2;
    const UINT flags = (t.state >> 16) & 0xFF;
    const bool highlighted = (t.state & (TVIS_SELECTED | kStateFocused | TVIS_DROPHILITED)) ||
                             (flags & (kDropHilite | kOwnTextColour | kDottedFrame));
    int end = t.x;
    if (highlighted)
        HighlightedText(pc, row, t, textTop, ellipsis, &end);
    else
        PlainText(pc, row, t, textTop, ellipsis, &end);
    if (t.treeColumn) pc.widest = std::max(pc.widest, end + 5 + d->scrollX);
}
