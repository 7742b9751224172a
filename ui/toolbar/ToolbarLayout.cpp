// Geometry of the toolbar control: measuring each button, flowing the buttons into rows (or one per row),
// stacking small buttons, and fitting the bar to a width or height. Runs on the state alone; a window is
// touched only to move embedded child windows and to invalidate.
#include "ui/toolbar/ToolbarState.h"

#include "image/FontCache.h"
#include "image/Theme.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace {

constexpr WORD kPlacementBits = kLookFixed | kLookHasImage | kLookTextBelow | kLookTextRight;

int Clamp(int value, int lower, int upper) {
    if (value > upper) value = upper;
    if (value < lower) value = lower;
    return value;
}

// Text below the image unless the bar is a list (or the button asks for text at the right).
bool TextBelow(const ToolbarState* s, const ToolbarButton* b) {
    return (!(s->style & TBSTYLE_LIST) || (b->extra & TBXF_TEXTBELOW)) && !(b->extra & TBXF_TEXTRIGHT);
}

LRESULT MeasureSize(ToolbarState* s, ToolbarButton* b, bool rowFlow, WORD* bits) {
    *bits = 0;
    if (IsSeparator(b)) {
        *bits = kLookFixed;
        return rowFlow ? MAKELONG(8, 0) : MAKELONG(0, 8);
    }
    if (b->extra & TBXF_NOSTACK) *bits = kLookFixed;
    int tw = 0, th = 0;
    if (const ToolbarString* text = ButtonString(s, b); text && text->length) {
        UINT format = DT_SINGLELINE | ((b->fsStyle & BTNS_NOPREFIX) ? DT_NOPREFIX : 0);
        LRESULT size = MeasureToolbarText(s, text->text, text->length, format);
        tw = LOWORD(size);
        th = HIWORD(size);
    }
    bool hasText = tw || th;
    if ((b->extra & TBXF_FIXEDWIDTH) && !(b->extra & (TBXF_VALUE | TBXF_WINDOW))) tw = std::max(tw, (int)b->dwData);
    int lower = s->minWidth > 0 ? s->minWidth - s->padX : INT_MIN;
    int upper = s->maxWidth > 0 ? s->maxWidth - s->padX : INT_MAX;
    int w, h;
    if (b->extra & TBXF_WINDOW) {
        int cw, ch;
        GetChildWindowSize((HWND)b->dwData, &cw, &ch);
        w = cw + s->gap + 2;
        if (hasText) {
            w = std::max(w, Clamp(tw + 4, lower, upper));
            h = ch + th + 1;
            *bits |= kLookTextBelow;
        } else {
            h = ch;
        }
    } else if (b->extra & (TBXF_RADIO | TBXF_CHECK)) {
        SIZE glyph = {13, 13};
        GetCheckGlyphSize(0, &glyph);
        int widen = s->gap - s->gap / 2 - 2;
        if (hasText) {
            h = std::max<int>(glyph.cy, th) + s->gap2;
            w = s->gap + glyph.cx + tw + 4;
            if (widen < 0) w -= widen;
            *bits |= kLookTextRight;
        } else {
            w = s->gap + glyph.cx + 2;
            h = s->gap2 + glyph.cy + 2;
        }
    } else {
        ToolbarImageRef image;
        if (b->iBitmap >= 0 && FindButtonImage(s, b->iBitmap, &image)) {
            int iw, ih;
            ScaledImageSize(s, image, &iw, &ih);
            *bits |= kLookHasImage;
            w = iw;
            h = ih;
            if (b->fsStyle & BTNS_DROPDOWN) w += DropArrowWidth(ih);
            if (hasText) {
                if (TextBelow(s, b)) {
                    w = Clamp(std::max(w, tw), lower, upper) + s->padX;
                    h = ih + th + 1;
                    *bits |= kLookTextBelow;
                } else {
                    int widen = s->gap - s->gap / 2 - 2;
                    h = std::max(ih + 2, th);
                    w = w + tw + 2;
                    if (widen < 0) w -= widen;
                    *bits |= kLookTextRight;
                }
            }
        } else if (TextBelow(s, b)) {
            w = Clamp(std::max(tw, 4) + 8, lower, upper);
            h = s->bitmapHeight + th + 1;
            *bits |= kLookTextBelow | kLookTextOnlyBelow;
        } else {
            h = std::max(th + 2, s->bitmapHeight);
            w = std::max(tw + 4, s->bitmapWidth);
            *bits |= kLookTextRight;
        }
        w += s->gap + s->padX;
        h += s->gap2 + s->padY;
    }
    return MAKELONG(std::max(w, 0), std::max(h, 0));
}

bool IsWrapped(const ToolbarButton* b) { return (b->fsState & TBSTATE_WRAP) != 0; }

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

// The saved fields of every button while a fit tries wrap points.
struct SavedButton {
    WORD look, measW, measH, laidW, laidH;
    BYTE state;
};

// Wraps the buttons into rows no wider than extent; the size of the last measuring layout.
LRESULT FitWidth(ToolbarState* s, int extent) {
    for (int i = 0; i < s->buttonCount; ++i) s->buttons[i]->fsState &= ~TBSTATE_WRAP;
    if (extent >= 16384) return LayoutToolbar(s, kLayoutMeasure | kLayoutRowFlow);
    if (extent <= 4) {
        for (int i = 0; i < s->buttonCount; ++i)
            if (IsButtonVisible(s->buttons[i])) s->buttons[i]->fsState |= TBSTATE_WRAP;
        return LayoutToolbar(s, kLayoutMeasure | kLayoutOnePerRow);
    }
    int total = s->buttonCount;
    // Without stacks a row's end is a sum of widths: prefix sums answer each candidate at once. With
    // stacks a measuring layout of the first n buttons tells.
    bool sums = !(s->style & 0x20);
    std::vector<long long> prefix;
    int firstVisible = -1;
    if (sums) {
        prefix.assign(total + 1, 0);
        for (int i = 0; i < total; ++i) {
            const ToolbarButton* b = s->buttons[i];
            int w = !IsButtonVisible(b) ? 0 : IsSeparator(b) ? 8 : b->measW;
            if (firstVisible < 0 && IsButtonVisible(b)) firstVisible = i;
            prefix[i + 1] = prefix[i] + w;
        }
    }
    int start = 0;
    while (start < total) {
        long long base = start == 0 ? s->indent : 0;
        if (sums) {
            // A separator that opens a row (not the bar) takes no room.
            int first = start;
            while (first < total && !IsButtonVisible(s->buttons[first])) ++first;
            if (first < total && first != firstVisible && IsSeparator(s->buttons[first])) base -= 8;
        }
        auto rowEnd = [&](int n) -> long long {
            if (sums) return base + prefix[n] - prefix[start];
            s->buttonCount = n;
            LayoutToolbar(s, kLayoutMeasure);
            s->buttonCount = total;
            return s->endPos;
        };
        // The largest n whose row, from start, ends within the extent (at least one button per row).
        int low = start + 1, high = total, best = start + 1;
        while (low <= high) {
            int n = (low + high) / 2;
            if (rowEnd(n) <= extent) {
                best = n;
                low = n + 1;
            } else {
                high = n - 1;
            }
        }
        if (best >= total) break;
        // A wrap on a hidden button would be ignored: break the row at the last visible one.
        int wrap = best - 1;
        while (wrap > start && !IsButtonVisible(s->buttons[wrap])) --wrap;
        s->buttons[wrap]->fsState |= TBSTATE_WRAP;
        start = best;
    }
    return LayoutToolbar(s, kLayoutMeasure);
}

}  // namespace

LRESULT MeasureToolbarText(ToolbarState* s, const WCHAR* text, int length, UINT format) {
    // A memory DC of the state's own, holding the font, spares a screen DC for every text.
    HFONT font = ToolbarFont(s);
    if (!s->measureDC) {
        s->measureDC = CreateCompatibleDC(nullptr);
        s->measureFont = nullptr;
    }
    if (!s->measureDC) return MeasureTextW(nullptr, text, length, format | kMeasurePacked, (void*)font);
    if (s->measureFont != font) {
        SelectObject(s->measureDC, font);
        s->measureFont = font;
    }
    return MeasureTextW(s->measureDC, text, length, format | kMeasurePacked, nullptr);
}

int DropArrowWidth(int imageHeight) { return Clamp((imageHeight + 2) / 4, 4, 6) * 13 / 4; }

BOOL GetChildWindowSize(HWND window, int* width, int* height) {
    RECT r;
    if (!window || !GetWindowRect(window, &r)) {
        *width = *height = 8;
        return FALSE;
    }
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return TRUE;
}

int MeasureButton(ToolbarState* s, ToolbarButton* b, bool rowFlow) {
    WORD bits;
    LRESULT size = MeasureSize(s, b, rowFlow, &bits);
    WORD w = LOWORD(size), h = HIWORD(size);
    WORD placement = kPlacementBits | kLookTextOnlyBelow;
    if ((b->look & kLookValid) && w == b->measW && h == b->measH) {
        if ((b->look & kPlacementBits) == (bits & kPlacementBits)) return 1;
        b->look = (WORD)((b->look & ~kPlacementBits) | (bits & placement) | kLookRerender);
        return 2;
    }
    b->measW = b->laidW = w;
    b->measH = b->laidH = h;
    b->look = (WORD)((b->look & ~kPlacementBits) | (bits & placement) | kLookValid | kLookRerender);
    return 3;
}

void StackSmallButtons(ToolbarState* s, int first, int end, int available) {
    if (!s->rowFlow || !(s->style & 0x20)) {
        for (int i = first; i < end; ++i) s->buttons[i]->look &= ~(kLookStacked | kLookStackHead | kLookStackEnd);
        return;
    }
    int g = s->gap2 / 2;
    int i = first;
    while (i + 1 < end) {
        ToolbarButton* head = s->buttons[i];
        ToolbarButton* next = s->buttons[i + 1];
        int total = head->measH + next->measH - g;
        if (!IsButtonVisible(head) || IsWrapped(head) || (head->look & kLookFixed) || head->measH + 3 >= available ||
            (next->look & kLookFixed) || total > available) {
            ++i;
            continue;
        }
        head->look |= kLookStackHead;
        next->look |= kLookStacked;
        next->laidH = (WORD)(next->measH - g);
        int width = std::max(head->measW, next->measW);
        int last = i + 1;
        if (!IsWrapped(next)) {
            for (int k = i + 2; k < end; ++k) {
                ToolbarButton* c = s->buttons[k];
                if (!IsButtonVisible(c)) continue;
                if ((c->look & kLookFixed) || total + head->measH - g > available) break;
                total += head->measH - g;
                c->laidH = (WORD)(head->measH - g);
                c->look |= kLookStacked;
                width = std::max<int>(width, c->measW);
                last = k;
                if (IsWrapped(c)) break;
            }
        }
        int n = last - i + 1;
        int spare = available - total;
        for (int k = i; k <= last; ++k) {
            ToolbarButton* c = s->buttons[k];
            c->laidH = (WORD)(c->laidH + spare / n);
            c->laidW = (WORD)width;
        }
        head->laidH = (WORD)(head->measH + spare / n);
        s->buttons[last]->laidH = (WORD)(s->buttons[last]->laidH + spare % n);
        s->buttons[last]->look |= kLookStackEnd;
        i = last + 1;
    }
}

LRESULT LayoutToolbar(ToolbarState* s, int mode) {
    bool measuring = (mode & kLayoutMeasure) != 0;
    BYTE dirty = s->dirty;
    // Labels follow their buttons, so their positions are computed again at the next paint.
    for (ToolbarLabel* label = s->labels; label; label = label->next) label->flags |= kLabelRecompute;
    if (!measuring) s->dirty = 0;
    bool rowFlow = (mode & kLayoutRowFlow) ? true : (mode & kLayoutOnePerRow) ? false : ChooseRowFlow(s);
    s->rowFlow = rowFlow;
    int lineExtent = rowFlow ? s->bitmapHeight : s->bitmapWidth;
    int band = rowFlow ? ScanTextBand(s) : 0;
    if (!rowFlow)
        for (int i = 0; i < s->buttonCount; ++i) s->buttons[i]->look &= ~(kLookBand | kLookStackEnd);

    // Measuring pass: sizes, line extent, groups and their stacks.
    WORD allLooks = 0, raiserLooks = 0;
    int groupStart = 0, groupHeight = s->bitmapHeight;
    for (int i = 0; i < s->buttonCount; ++i) {
        ToolbarButton* b = s->buttons[i];
        b->look &= ~(kLookGroupCaption | kLookStacked | kLookStackHead);
        if (dirty & kDirtyScale) b->look &= ~kLookValid;
        if (!IsButtonVisible(b)) {
            if (!measuring) b->rect = {};
            continue;
        }
        if ((dirty & (kDirtyLayout | kDirtyMetrics)) || !(b->look & kLookValid)) {
            int result = MeasureButton(s, b, rowFlow);
            if (result >= 2 || (dirty & kDirtyMetrics)) b->look |= kLookRerender;
        }
        if (IsSeparator(b)) {
            if ((rowFlow ? b->measW : b->measH) == 0) {
                b->look &= ~kLookValid;
                if (MeasureButton(s, b, rowFlow) != 1 && !measuring) {
                    b->look |= kLookRerender;
                    b->rect.right = b->rect.left;
                }
            }
            bool caption = rowFlow && IsCaptionSeparator(b) && !(raiserLooks & kLookTextBelow);
            if (caption) lineExtent = std::max(lineExtent, groupHeight + s->lineHeight + 1);
            StackSmallButtons(s, groupStart, i, lineExtent - band);
            if (caption) {
                for (int k = groupStart; k < i; ++k) {
                    ToolbarButton* member = s->buttons[k];
                    if (IsButtonVisible(member) && !(member->look & (kLookStacked | kLookStackHead)))
                        member->look |= kLookBand | kLookGroupCaption;
                }
            }
            groupStart = i + 1;
            groupHeight = s->bitmapHeight;
            raiserLooks = 0;
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
    StackSmallButtons(s, groupStart, s->buttonCount, lineExtent - band);
    for (int i = 0; i < s->buttonCount; ++i) allLooks |= s->buttons[i]->look & kLookGroupCaption;

    // Positioning pass.
    int x = rowFlow ? s->indent : 0, y = rowFlow ? 0 : s->indent;
    int rows = 1, width = 0, rowBottom = 0;
    int prevD = 0;
    bool rowStart = true, firstVisible = true, endedRow = false;
    bool anyText = (allLooks & (kLookTextBelow | kLookGroupCaption)) != 0;
    for (int i = 0; i < s->buttonCount; ++i) {
        ToolbarButton* b = s->buttons[i];
        if (!IsButtonVisible(b)) continue;
        int w, h, d = 0;
        if (!rowFlow) {
            w = lineExtent;
            h = IsSeparator(b) ? 8 : b->measH;
        } else if (IsSeparator(b)) {
            if (rowStart && !firstVisible) w = h = 0;
            else w = 8, h = lineExtent;
        } else if (b->look & kLookStackHead) {
            w = b->laidW;
            h = b->laidH;
            d = lineExtent - h;
        } else if (b->look & kLookStacked) {
            w = b->laidW;
            h = b->laidH;
            d = prevD - h;
        } else {
            w = b->measW;
            h = lineExtent;
            if (anyText && !(b->look & (kLookTextBelow | kLookGroupCaption))) b->look |= kLookBand;
        }
        if ((b->look & kLookStackHead) && (b->look & kLookBand) &&
            !((b->look & kLookTextBelow) && (b->extra & TBXF_TEXTOVERLAP))) {
            d -= s->lineHeight + 1;
            h += s->lineHeight + 1;
        }
        if (!measuring) {
            RECT r = {x, y + d, x + w, y + d + h};
            if (!EqualRect(&r, &b->rect)) {
                b->rect = r;
                b->laidW = (WORD)w;
                b->laidH = (WORD)h;
                if (b->extra & TBXF_WINDOW) PlaceChildWindow(s, b, x, y + d, w, h);
                if (IsWrapped(b) && s->wnd) InvalidateRect(s->wnd, &r, FALSE);
                if (s->markIndex == i) UpdateInsertMark(s, i, s->markFlags, true);
            }
            // Hit testing reads where the content ends; it is known before the first paint.
            UpdateButtonContent(s, i);
        }
        firstVisible = false;
        if (!rowFlow) {
            y += h;
            width = std::max(width, w);
            ++rows;
            endedRow = true;
        } else if (!IsWrapped(b)) {
            if (!(d >= 4 && !(b->look & kLookStackEnd))) x += w;
            rowBottom = std::max(rowBottom, d + h);
            rowStart = false;
            endedRow = false;
        } else {
            y += (IsSeparator(b) && x == s->indent) ? h : lineExtent;
            width = std::max(width, x + w);
            x = 0;
            ++rows;
            rowStart = true;
            endedRow = true;
            rowBottom = 0;
        }
        prevD = d;
    }
    width = std::max(width, x);
    if (x == 0 && rows > 1) --rows;
    int height = y + (endedRow ? 0 : rowBottom);
    if (measuring) {
        s->endPos = rowFlow ? x : width;
        return MAKELONG(width, height);
    }
    s->idealWidth = width;
    s->idealHeight = height;
    s->rows = rows;
    return 1;
}

void EnsureToolbarLayout(ToolbarState* s) {
    if (s->dirty) LayoutToolbar(s, 0);
}

LRESULT FitToolbar(ToolbarState* s, int extent, UINT flags) {
    if (s->buttonCount == 0) return 0;
    std::vector<SavedButton> saved(s->buttonCount);
    for (int i = 0; i < s->buttonCount; ++i) {
        const ToolbarButton* b = s->buttons[i];
        saved[i] = {b->look, b->measW, b->measH, b->laidW, b->laidH, b->fsState};
    }
    BYTE dirty = s->dirty;
    // Measure once; the trials below then only move buttons.
    LayoutToolbar(s, kLayoutMeasure);
    s->dirty &= kDirtyMeasure;
    LRESULT size;
    if (flags & TBXFIT_HEIGHT) {
        // The narrowest width whose rows stay lower than the extent; widths up to a single column mean one
        // button per row.
        int column = LOWORD(FitWidth(s, 0));
        int low = column, high = LOWORD(FitWidth(s, kToolbarFitOneRow)) + 16;
        while (low < high) {
            int mid = low + (high - low) / 2;
            if (HIWORD(FitWidth(s, mid > column ? mid : 0)) >= extent) low = mid + 1;
            else high = mid;
        }
        size = FitWidth(s, low > column ? low : 0);
    } else {
        size = FitWidth(s, extent);
    }
    if (flags & TBXFIT_COMMIT) {
        // The chosen wrap points stay; everything else is laid out anew.
        s->dirty = dirty;
        LayoutToolbar(s, 0);
    } else {
        for (int i = 0; i < s->buttonCount; ++i) {
            ToolbarButton* b = s->buttons[i];
            const SavedButton& v = saved[i];
            b->look = v.look;
            b->measW = v.measW;
            b->measH = v.measH;
            b->laidW = v.laidW;
            b->laidH = v.laidH;
            b->fsState = v.state;
        }
        s->dirty = dirty;
    }
    return size;
}
