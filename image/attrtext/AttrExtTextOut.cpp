// AttrExtTextOut: ExtTextOut run by run, each run in its attribute's font and colours.
#include "image/attrtext/AttrTextDetail.h"

namespace attrtext {
namespace {

constexpr UINT kOwnOptions = kAttrFlagBits | kAttrRelativeOrigin | kAttrBottomLine;

template <typename Char>
int PlainTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, const Char* text, int length,
                 const HFONT* fonts) {
    const HGDIOBJ own = GetCurrentObject(dc, OBJ_FONT);
    if (fonts && fonts[0]) SelectObject(dc, fonts[0]);
    TextApi<Char>::Output(dc, x, y, options, rect, text, length);
    SIZE size = {0, 0};
    if (length > 0) TextApi<Char>::Extent(dc, text, length, &size);
    SelectObject(dc, own);
    return x + size.cx;
}

template <typename Char>
int AttrExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, const Char* text, int length,
                   const TextAttr* attrs, const COLORREF* table, const HFONT* fonts) {
    using Api = TextApi<Char>;
    if (!dc) return x;
    if ((options & kAttrRelativeOrigin) && rect) x += rect->left, y += rect->top;
    static const Char empty[1] = {0};
    if (!text) text = empty, length = 0;
    if (length < 0) length = Api::Length(text);
    const UINT eto = options & ~kOwnOptions;
    if (length == 0 || !attrs) return PlainTextOut(dc, x, y, eto, rect, text, length, fonts);

    const bool byFont = fonts != nullptr;
    LineMetrics m;
    m.Measure(dc, fonts, options);
    DcState state(dc);
    if (HasBackgroundPart(options)) SetBkMode(dc, OPAQUE);
    if ((eto & ETO_OPAQUE) && rect) {
        SetBkColor(dc, AttrBkColour(options, attrs[0], table, state.back));
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
    }
    const bool clipped = (eto & ETO_CLIPPED) && rect;
    const UINT runOptions = eto & ~ETO_OPAQUE;
    const TextAttr key = byFont ? 0xFF : 0x3F;
    const TextAttr blankMay = BackgroundBits(options);
    const int firstOffset = m.offset[byFont ? FontIndex(attrs[0]) : 0];
    for (int start = 0, end; start < length && !(clipped && x >= rect->right); start = end) {
        end = RunEnd(text, attrs, start, length, key, blankMay);
        const TextAttr a = attrs[start];
        SIZE size;
        const int f = SelectRun(dc, m, byFont, options, a, table, state, text + start, end - start, &size);
        const int runY = y + m.offset[f] - firstOffset;
        Api::Output(dc, x, runY, runOptions, clipped ? rect : nullptr, text + start, end - start);
        if (a & kAttrUnderline) {
            const int right = clipped && x + size.cx > rect->right ? rect->right : x + size.cx;
            DrawUnderline(dc, x, runY + m.ascent[f] + 1, right - x, UnderlineColour(options, a, table, state.text));
        }
        x += size.cx;
    }
    return x;
}

} // namespace
} // namespace attrtext

int AttrExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, const char* text, int length,
                    const TextAttr* attrs, const COLORREF* colours, const HFONT* fonts) {
    return attrtext::AttrExtTextOut(dc, x, y, options, rect, text, length, attrs, colours, fonts);
}

int AttrExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, const wchar_t* text, int length,
                    const TextAttr* attrs, const COLORREF* colours, const HFONT* fonts) {
    return attrtext::AttrExtTextOut(dc, x, y, options, rect, text, length, attrs, colours, fonts);
}
