// DrawAttrText: one line of attribute text in a rectangle, aligned like DrawText.
#include "image/attrtext/AttrTextDetail.h"

#include <algorithm>

namespace attrtext {
namespace {

constexpr UINT kNotForDrawText = DT_WORDBREAK | DT_EXPANDTABS | DT_EXTERNALLEADING | DT_EDITCONTROL |
                                 DT_END_ELLIPSIS | DT_MODIFYSTRING | kAttrFlagBits;

// Width of the line and height of its largest run, runs split where the font changes.
template <typename Char>
SIZE MeasureLine(HDC dc, const Char* text, const TextAttr* attrs, int length, const LineMetrics& m, bool byFont) {
    SIZE line = {0, 0};
    for (int start = 0, end; start < length; start = end) {
        end = byFont ? RunEnd(text, attrs, start, length, kAttrFontMask) : length;
        m.Select(dc, byFont ? FontIndex(attrs[start]) : 0);
        SIZE run = {0, 0};
        TextApi<Char>::Extent(dc, text + start, end - start, &run);
        line.cx += run.cx;
        line.cy = std::max(line.cy, run.cy);
    }
    return line;
}

// Clips to the rectangle for the object's life, then puts the DC's own clip region back.
class RectClip {
public:
    RectClip(HDC dc, const RECT& r, bool active) : m_dc(dc), m_saved(active ? CreateRectRgn(0, 0, 0, 0) : nullptr) {
        if (!m_saved) return;
        m_hadRegion = GetClipRgn(dc, m_saved) == 1;
        IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
    ~RectClip() {
        if (!m_saved) return;
        SelectClipRgn(m_dc, m_hadRegion ? m_saved : nullptr);
        DeleteObject(m_saved);
    }
    RectClip(const RectClip&) = delete;
    RectClip& operator=(const RectClip&) = delete;

private:
    HDC m_dc;
    HRGN m_saved;
    bool m_hadRegion = false;
};

template <typename Char>
int DrawAttrText(HDC dc, const Char* text, int length, RECT* rect, UINT flags, const TextAttr* attrs,
                 const COLORREF* table, const HFONT* fonts) {
    using Api = TextApi<Char>;
    if (!dc || !rect) return 0;
    const UINT format = (flags & ~kNotForDrawText) | DT_SINGLELINE | DT_NOPREFIX;
    static const Char empty[1] = {0};
    if (!text) text = empty, length = 0;
    if (length < 0) length = Api::Length(text);
    if (length == 0 || !attrs) return Api::Draw(dc, text, length, rect, format);

    const bool byFont = fonts != nullptr;
    LineMetrics m;
    m.Measure(dc, fonts, flags);
    const HGDIOBJ ownFont = GetCurrentObject(dc, OBJ_FONT);
    SIZE line = {0, 0};
    if (flags & (DT_CENTER | DT_RIGHT | DT_CALCRECT)) {
        line = MeasureLine(dc, text, attrs, length, m, byFont);
        SelectObject(dc, ownFont);
        if (flags & DT_CALCRECT) {
            rect->right = rect->left + line.cx;
            rect->bottom = rect->top + line.cy;
            return line.cy;
        }
    }

    int top = rect->top;
    if (flags & DT_BOTTOM)
        top = rect->bottom - m.lineHeight;
    else if (flags & DT_VCENTER)
        top = (rect->top + rect->bottom - m.lineHeight) / 2;
    int x = rect->left;
    if (flags & DT_CENTER)
        x = (rect->left + rect->right - line.cx) / 2;
    else if (flags & DT_RIGHT)
        x = rect->right - line.cx;
    const bool clip = !(flags & DT_NOCLIP);
    // Text wider than the rectangle starts left of it all the same, but is clipped to it.
    RectClip clipToRect(dc, *rect, clip && x < rect->left);

    DcState state(dc);
    const bool background = HasBackgroundPart(flags);
    const bool fillCells = background || state.mode == OPAQUE;
    if (background) SetBkMode(dc, OPAQUE);
    const UINT runFormat = format & ~(DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM | DT_CALCRECT);
    const TextAttr key = byFont ? 0xFF : 0x3F;
    int tallest = 0;
    for (int start = 0, end; start < length && x < rect->right; start = end) {
        end = RunEnd(text, attrs, start, length, key);
        const TextAttr a = attrs[start];
        SIZE size;
        const int f = SelectRun(dc, m, byFont, flags, a, table, state, text + start, end - start, &size);
        const int right = clip ? std::min<int>(x + size.cx, rect->right) : x + size.cx;
        if (fillCells) {
            const RECT cell = {x, top, right, top + m.lineHeight};
            ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &cell, nullptr, 0, nullptr);
        }
        RECT r = {x, top + m.offset[f], rect->right, top + m.offset[f] + m.height[f]};
        Api::Draw(dc, text + start, end - start, &r, runFormat);
        if (a & kAttrUnderline)
            DrawUnderline(dc, x, top + m.offset[f] + m.ascent[f] + 1, right - x,
                          UnderlineColour(flags, a, table, state.text));
        tallest = std::max<int>(tallest, size.cy);
        x += size.cx;
    }
    return tallest;
}

} // namespace
} // namespace attrtext

int DrawAttrTextA(HDC dc, const char* text, int length, RECT* rect, UINT format, const TextAttr* attrs,
                  const COLORREF* colours, const HFONT* fonts) {
    return attrtext::DrawAttrText(dc, text, length, rect, format, attrs, colours, fonts);
}

int DrawAttrTextW(HDC dc, const wchar_t* text, int length, RECT* rect, UINT format, const TextAttr* attrs,
                  const COLORREF* colours, const HFONT* fonts) {
    return attrtext::DrawAttrText(dc, text, length, rect, format, attrs, colours, fonts);
}
