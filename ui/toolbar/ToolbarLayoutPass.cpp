// LayoutToolbar: a measuring pass sizes the visible buttons, finds the line extent and stacks and captions the
// groups between separators; a positioning pass then moves a row cursor over the buttons and places them.
#include "ui/toolbar/ToolbarState.h"

#include <algorithm>

namespace {

// Row flow unless every visible button but the last one wraps.
bool ChooseRowFlow(const ToolbarState* s) {
    if (s->buttonCount < 2) return true;
    int counted = 0;
    for (int i = 0; i < s->buttonCount; ++i) {
        const ToolbarButton* b = s->buttons[i];
        if (!IsButtonVisible(b)) continue;
        bool last = i == s->buttonCount - 1;
        bool counts = !IsWrapped(b) && !last && !(IsSeparator(b) && counted == 0);
        if (counts) {
            if (++counted == 2) return true;
        } else if (counted > 0 && (IsWrapped(b) || last)) {
            return true;
        }
    }
    return false;
}

bool IsCaptionSeparator(const ToolbarButton* b) { return IsSeparator(b) && (b->extra & TBXF_FIXEDWIDTH); }

// Reserves the row's text band when any button has text below its image or a group caption.
int ScanTextBand(ToolbarState* s) {
    bool band = false;
    for (int i = 0; i < s->buttonCount && !band; ++i) {
        const ToolbarButton* b = s->buttons[i];
        if (!IsButtonVisible(b)) continue;
        if (IsSeparator(b)) band = IsCaptionSeparator(b);
        else band = (b->look & kLookGroupCaption) ||
                    ((b->look & kLookTextBelow) && !(b->extra & TBXF_TEXTOVERLAP) && !(b->look & kLookTextOnlyBelow));
    }
    for (int i = 0; i < s->buttonCount; ++i) {
        ToolbarButton* b = s->buttons[i];
        b->look &= ~(kLookBand | kLookStackEnd);
        if (band && IsButtonVisible(b) && !IsSeparator(b)) b->look |= kLookBand;
    }
    return band ? s->lineHeight + 1 : 0;
}

void PlaceChildWindow(ToolbarState* s, ToolbarButton* b, int x, int y, int w, int h) {
    HWND child = (HWND)b->dwData;
    if (!s->wnd || !child || GetParent(child) != s->wnd) return;
    int cw, ch;
    GetChildWindowSize(child, &cw, &ch);
    if (b->look & (kLookTextBelow | kLookGroupCaption | kLookBand)) h -= s->fontHeight + 1;
    SetWindowPos(child, nullptr, x + (w - cw) / 2, y + (h - ch) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(child, SW_SHOW);
}

// The measuring pass: each visible button's size, the extent of a line (row height, or column width when one
// button stands per row), and the groups between separators with their stacks and captions.
struct MeasurePass {
    ToolbarState* s;
    bool rowFlow;
    bool measuring;  // a trial layout: buttons keep their rectangles
    BYTE dirty;
    int band;        // the rows' text band
    int lineExtent;
    int groupStart = 0;
    int groupHeight;
    WORD raiserLooks = 0;  // looks of the buttons that raised the open group's height
    WORD allLooks = 0;

    MeasurePass(ToolbarState* state, bool flow, bool trial, BYTE dirtyFlags)
        : s(state), rowFlow(flow), measuring(trial), dirty(dirtyFlags),
          band(flow ? ScanTextBand(state) : 0),
          lineExtent(flow ? state->bitmapHeight : state->bitmapWidth),
          groupHeight(state->bitmapHeight) {}

    void Run() {
        for (int i = 0; i < s->buttonCount; ++i) Visit(i);
        StackSmallButtons(s, groupStart, s->buttonCount, lineExtent - band);
        for (int i = 0; i < s->buttonCount; ++i) allLooks |= s->buttons[i]->look & kLookGroupCaption;
    }

    void Visit(int i) {
        ToolbarButton* b = s->buttons[i];
        b->look &= ~(kLookGroupCaption | kLookStacked | kLookStackHead);
        if (dirty & kDirtyScale) b->look &= ~kLookValid;
        if (!IsButtonVisible(b)) {
            if (!measuring) b->rect = {};
            return;
        }
        Measure(b);
        if (IsSeparator(b)) {
            CloseGroup(i);
        } else if (rowFlow) {
            lineExtent = std::max<int>(lineExtent, b->measH);
            if (b->measH > groupHeight) {
                groupHeight = b->measH;
                raiserLooks |= b->look;
            }
        } else {
            lineExtent = std::max<int>(lineExtent, b->measW);
        }
        allLooks |= b->look;
    }

    void Measure(ToolbarButton* b) {
        if ((dirty & (kDirtyLayout | kDirtyMetrics)) || !(b->look & kLookValid)) {
            int result = MeasureButton(s, b, rowFlow);
            if (result >= 2 || (dirty & kDirtyMetrics)) b->look |= kLookRerender;
        }
        // A separator measured across the other flow has no length here: measured again.
        if (IsSeparator(b) && (rowFlow ? b->measW : b->measH) == 0) {
            b->look &= ~kLookValid;
            if (MeasureButton(s, b, rowFlow) != 1 && !measuring) {
                b->look |= kLookRerender;
                b->rect.right = b->rect.left;
            }
        }
    }

    // The separator at end closes the open group: its small buttons are stacked, and a caption separator gives
    // the others a caption band.
    void CloseGroup(int end) {
        bool caption = rowFlow && IsCaptionSeparator(s->buttons[end]) && !(raiserLooks & kLookTextBelow);
        if (caption) lineExtent = std::max(lineExtent, groupHeight + s->lineHeight + 1);
        StackSmallButtons(s, groupStart, end, lineExtent - band);
        if (caption) {
            for (int k = groupStart; k < end; ++k) {
                ToolbarButton* member = s->buttons[k];
                if (IsButtonVisible(member) && !(member->look & (kLookStacked | kLookStackHead)))
                    member->look |= kLookBand | kLookGroupCaption;
            }
        }
        groupStart = end + 1;
        groupHeight = s->bitmapHeight;
        raiserLooks = 0;
    }
};

// A button's box in the positioning pass: its size and its drop from the line's top.
struct ButtonBox {
    int w, h, d = 0;
};

// The positioning pass's cursor: where the next button goes and what the laid-out rows cover.
struct RowCursor {
    int x, y;
    int rows = 1, width = 0, rowBottom = 0;
    int prevD = 0;  // the previous button's drop, from which a stacked button hangs
    bool rowStart = true, firstVisible = true, endedRow = false;

    // Past a button: along the row, or to the next row after a wrapped button (every button when one stands per
    // row).
    void Advance(const ToolbarButton* b, const ButtonBox& box, bool rowFlow, int indent, int lineExtent) {
        firstVisible = false;
        if (!rowFlow) {
            y += box.h;
            width = std::max(width, box.w);
            ++rows;
            endedRow = true;
        } else if (!IsWrapped(b)) {
            if (!(box.d >= 4 && !(b->look & kLookStackEnd))) x += box.w;
            rowBottom = std::max(rowBottom, box.d + box.h);
            rowStart = false;
            endedRow = false;
        } else {
            y += (IsSeparator(b) && x == indent) ? box.h : lineExtent;
            width = std::max(width, x + box.w);
            x = 0;
            ++rows;
            rowStart = true;
            endedRow = true;
            rowBottom = 0;
        }
        prevD = box.d;
    }
};

// The box of a visible button at the cursor. A plain button beside text below others gets the text band.
ButtonBox LaidBox(const ToolbarState* s, ToolbarButton* b, const RowCursor& at, bool rowFlow, int lineExtent,
                  bool anyText) {
    ButtonBox box;
    if (!rowFlow) {
        box.w = lineExtent;
        box.h = IsSeparator(b) ? 8 : b->measH;
    } else if (IsSeparator(b)) {
        if (at.rowStart && !at.firstVisible) box.w = box.h = 0;
        else box.w = 8, box.h = lineExtent;
    } else if (b->look & kLookStackHead) {
        box = {b->laidW, b->laidH, lineExtent - b->laidH};
    } else if (b->look & kLookStacked) {
        box = {b->laidW, b->laidH, at.prevD - b->laidH};
    } else {
        box.w = b->measW;
        box.h = lineExtent;
        if (anyText && !(b->look & (kLookTextBelow | kLookGroupCaption))) b->look |= kLookBand;
    }
    if ((b->look & kLookStackHead) && (b->look & kLookBand) &&
        !((b->look & kLookTextBelow) && (b->extra & TBXF_TEXTOVERLAP))) {
        box.d -= s->lineHeight + 1;
        box.h += s->lineHeight + 1;
    }
    return box;
}

// Moves button i to its box at (x, y): its rectangle, its window and its insert mark.
void PlaceButton(ToolbarState* s, int i, int x, int y, const ButtonBox& box) {
    ToolbarButton* b = s->buttons[i];
    RECT r = {x, y + box.d, x + box.w, y + box.d + box.h};
    if (!EqualRect(&r, &b->rect)) {
        b->rect = r;
        b->laidW = (WORD)box.w;
        b->laidH = (WORD)box.h;
        if (b->extra & TBXF_WINDOW) PlaceChildWindow(s, b, x, y + box.d, box.w, box.h);
        if (IsWrapped(b) && s->wnd) InvalidateRect(s->wnd, &r, FALSE);
        if (s->markIndex == i) UpdateInsertMark(s, i, s->markFlags, true);
    }
    // Hit testing reads where the content ends; it is known before the first paint.
    UpdateButtonContent(s, i);
}

// The positioning pass: the visible buttons in order, placed unless the layout only measures.
RowCursor PositionButtons(ToolbarState* s, const MeasurePass& measure) {
    const bool rowFlow = measure.rowFlow;
    const bool anyText = (measure.allLooks & (kLookTextBelow | kLookGroupCaption)) != 0;
    RowCursor at;
    at.x = rowFlow ? s->indent : 0;
    at.y = rowFlow ? 0 : s->indent;
    for (int i = 0; i < s->buttonCount; ++i) {
        ToolbarButton* b = s->buttons[i];
        if (!IsButtonVisible(b)) continue;
        const ButtonBox box = LaidBox(s, b, at, rowFlow, measure.lineExtent, anyText);
        if (!measure.measuring) PlaceButton(s, i, at.x, at.y, box);
        at.Advance(b, box, rowFlow, s->indent, measure.lineExtent);
    }
    return at;
}

}  // namespace

LRESULT LayoutToolbar(ToolbarState* s, int mode) {
    bool measuring = (mode & kLayoutMeasure) != 0;
    BYTE dirty = s->dirty;
    // Labels follow their buttons, so their positions are computed again at the next paint.
    for (ToolbarLabel* label = s->labels; label; label = label->next) label->flags |= kLabelRecompute;
    if (!measuring) s->dirty = 0;
    bool rowFlow = (mode & kLayoutRowFlow) ? true : (mode & kLayoutOnePerRow) ? false : ChooseRowFlow(s);
    s->rowFlow = rowFlow;
    MeasurePass measure(s, rowFlow, measuring, dirty);
    if (!rowFlow)
        for (int i = 0; i < s->buttonCount; ++i) s->buttons[i]->look &= ~(kLookBand | kLookStackEnd);
    measure.Run();

    RowCursor end = PositionButtons(s, measure);
    int width = std::max(end.width, end.x);
    int rows = end.x == 0 && end.rows > 1 ? end.rows - 1 : end.rows;
    int height = end.y + (end.endedRow ? 0 : end.rowBottom);
    if (measuring) {
        s->endPos = rowFlow ? end.x : width;
        return MAKELONG(width, height);
    }
    s->idealWidth = width;
    s->idealHeight = height;
    s->rows = rows;
    return 1;
}

