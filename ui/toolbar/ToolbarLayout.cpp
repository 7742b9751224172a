// Geometry of the toolbar control: measuring each button, stacking small buttons, and fitting the bar to a
// width or height (the layout passes that flow the buttons into rows are in ToolbarLayoutPass.cpp). Runs on
// the state alone; a window is touched only to move embedded child windows and to invalidate.
#include "ui/toolbar/ToolbarMessages.h"

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

// --- Messages ---

LRESULT GetIdealSize(ToolbarState* s) {
    ToolbarLock lock(s, TBX_GETIDEALSIZE);
    EnsureToolbarLayout(s);
    return MAKELONG(s->idealWidth, s->idealHeight);
}

LRESULT FitToSize(ToolbarState* s, int extent, UINT flags) {
    ToolbarLock lock(s, TBX_FITTOSIZE);
    return FitToolbar(s, extent, flags);
}
