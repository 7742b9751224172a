// DC state, line metrics and the underline of the attribute-text operations.
#include "image/attrtext/AttrTextDetail.h"

#include <algorithm>

namespace attrtext {

DcState::DcState(HDC target)
    : dc(target), font(GetCurrentObject(target, OBJ_FONT)), text(GetTextColor(target)), back(GetBkColor(target)),
      mode(GetBkMode(target)) {}

DcState::~DcState() {
    SelectObject(dc, font);
    SetTextColor(dc, text);
    SetBkColor(dc, back);
    SetBkMode(dc, mode);
}

void LineMetrics::Measure(HDC dc, const HFONT* fonts, UINT flags) {
    HGDIOBJ own = GetCurrentObject(dc, OBJ_FONT);
    int maxHeight = 0, maxDescent = 0;
    lineAscent = 0;
    for (int i = 0; i < 4; ++i) {
        font[i] = fonts && fonts[i] ? fonts[i] : (HFONT)own;
        TEXTMETRICW tm = {};
        if (i == 0 || font[i] != font[i - 1]) {
            SelectObject(dc, font[i]);
            GetTextMetricsW(dc, &tm);
            height[i] = tm.tmHeight;
            ascent[i] = tm.tmAscent;
        } else {
            height[i] = height[i - 1];
            ascent[i] = ascent[i - 1];
        }
        maxHeight = std::max(maxHeight, height[i]);
        lineAscent = std::max(lineAscent, ascent[i]);
        maxDescent = std::max(maxDescent, height[i] - ascent[i]);
    }
    SelectObject(dc, own);
    lineHeight = std::max(maxHeight, lineAscent + maxDescent);
    for (int i = 0; i < 4; ++i)
        offset[i] = (flags & kAttrBottomLine) ? lineHeight - height[i] : lineAscent - ascent[i];
}

void LineMetrics::Select(HDC dc, int index) const { SelectObject(dc, font[index]); }

void DrawUnderline(HDC dc, int x, int y, int width, COLORREF colour) {
    if (width <= 0) return;
    const COLORREF back = SetBkColor(dc, colour);
    const RECT line = {x, y, x + width, y + 1};
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &line, nullptr, 0, nullptr);
    SetBkColor(dc, back);
}

} // namespace attrtext
