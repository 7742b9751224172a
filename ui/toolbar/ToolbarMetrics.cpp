// Metrics and colours of the toolbar control: button, image and padding sizes, gaps, indent, width limits,
// dirty marks, key colours, the colour slots and the image scales.
#include "ui/toolbar/ToolbarMessages.h"

#include <algorithm>

LRESULT SetButtonStructSize(ToolbarState* s, UINT size) {
    s->buttonStructSize = size;
    return 0;
}

LRESULT SetButtonSize(ToolbarState* s, int width, int height) {
    if (width < 0 || height < 0) return 0;
    if (width == 0) width = 24;
    if (height == 0) height = 24;
    // The floor is the image plus its padding, so repeating a request never changes the size.
    s->buttonWidth = std::max(width, s->bitmapWidth + s->padX);
    s->buttonHeight = std::max(height, s->bitmapHeight + s->padY);
    s->dirty |= kDirtyAll;
    InvalidateToolbar(s);
    return 1;
}

LRESULT SetBitmapSize(ToolbarState* s, int width, int height) {
    s->bitmapWidth = std::max(width, 2);
    s->bitmapHeight = std::max(height, 2);
    s->dirty |= kDirtyRelayout;
    InvalidateToolbar(s);
    return 1;
}

LRESULT SetPadding(ToolbarState* s, int x, int y) {
    s->padX = std::max(x, 2);
    s->padY = std::max(y, 2);
    s->dirty |= kDirtyAll;
    InvalidateToolbar(s);
    return MAKELONG(s->padX, s->padY);
}

// The second gap comes in the low word of second when its high word is kToolbarCommandMark; else it stays.
LRESULT SetListGap(ToolbarState* s, int gap, LPARAM second) {
    gap = std::max(gap, 0);
    int gap2 = HIWORD(second) == kToolbarCommandMark ? std::max<int>((short)LOWORD(second), 0) : s->gap2;
    if (gap != s->gap || gap2 != s->gap2) {
        s->gap = gap;
        s->gap2 = gap2;
        s->dirty |= kDirtyAll;
        InvalidateToolbar(s);
    }
    return 0;
}

LRESULT SetIndent(ToolbarState* s, int indent) {
    if (indent != s->indent) {
        s->indent = indent;
        s->dirty |= kDirtyMeasure;
        InvalidateToolbar(s);
    }
    return 1;
}

LRESULT SetWidthLimits(ToolbarState* s, int low, int high) {
    s->minWidth = low < 0 ? -1 : low;
    s->maxWidth = high < 0 ? -1 : high;
    s->dirty |= kDirtyAll;
    return 1;
}

LRESULT SetDirty(ToolbarState* s, BYTE flags, bool invalidate) {
    s->dirty |= flags;
    if (invalidate && flags) InvalidateToolbar(s);
    return 1;
}

// which: the key colour 0 or 1, with the top bit set to replace it by color. Answers the colour before.
LRESULT KeyColor(ToolbarState* s, UINT which, COLORREF color) {
    UINT k = which & 0x7FFFFFFFu;
    if (k > 1) return 0;
    COLORREF old = s->keyColors[k];
    if (which & 0x80000000u) {
        s->keyColors[k] = color;
        if (color != old && s->buttonCount > 0) {
            s->dirty |= kDirtyAll;
            InvalidateToolbar(s);
        }
    }
    return old;
}

LRESULT SetColor(ToolbarState* s, WPARAM slot, COLORREF color) {
    if (slot >= 9) return -1;
    COLORREF old = s->colors[slot];
    if (color == CLR_INVALID) {
        s->colorSet[slot] = false;
    } else {
        s->colorSet[slot] = true;
        s->colors[slot] = color;
    }
    ComputeToolbarColors(s);
    if (s->colors[slot] != old) {
        // Painted looks carry the colours, so every strip is drawn again.
        s->dirty |= kDirtyMetrics;
        InvalidateToolbar(s);
    }
    return old;
}

// which -1: the global scale, else a strip's; scale 0 means 256, -1 only reads. Answers the scale before.
LRESULT SetScale(ToolbarState* s, WPARAM which, int scale) {
    bool read = scale == -1;
    if (scale == 0) scale = 256;
    ToolbarLock lock(s, TBX_SETSCALE);
    LRESULT old;
    bool changed = false;
    if ((int)which == -1) {
        old = s->scale;
        if (!read && scale != s->scale) {
            s->scale = scale;
            s->dirty |= kDirtyAll | kDirtyScale;
            changed = true;
        }
    } else if (which < (WPARAM)s->bitmapCount) {
        ToolbarBitmap* bitmap = s->bitmaps[which];
        old = bitmap->scale;
        if (!read && scale != bitmap->scale) {
            bitmap->scale = (WORD)scale;
            s->dirty |= kDirtyAll;
            changed = true;
        }
    } else {
        old = -1;
    }
    if (changed) InvalidateToolbar(s);
    return old;
}
