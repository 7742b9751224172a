// Measuring attribute text: extents over font runs, and the width of a line with tab stops.
#include "image/attrtext/AttrTextDetail.h"

#include <algorithm>
#include <cstdlib>

namespace attrtext {
namespace {

HGDIOBJ RunFont(HGDIOBJ own, const HFONT* fonts, const TextAttr* attrs, int index) {
    if (!fonts || !attrs) return own;
    const HFONT f = fonts[FontIndex(attrs[index])];
    return f ? f : own;
}

int RunEndByFont(const TextAttr* attrs, int start, int length, bool byFont) {
    if (!byFont) return length;
    int i = start + 1;
    while (i < length && !((attrs[i] ^ attrs[start]) & kAttrFontMask)) ++i;
    return i;
}

template <typename Char>
BOOL GetTextExtentExAttr(HDC dc, const Char* text, int length, int maxExtent, int* fit, int* extents, SIZE* size,
                         const TextAttr* attrs, const HFONT* fonts) {
    if (!dc || !text) return FALSE;
    if (length < 0) length = TextApi<Char>::Length(text);
    const HGDIOBJ own = GetCurrentObject(dc, OBJ_FONT);
    const bool byFont = fonts && attrs;
    int total = 0, height = 0, fitted = 0;
    bool full = false; // a run did not fit wholly: later runs count for nothing
    BOOL ok = TRUE;
    for (int start = 0, end; start < length && ok; start = end) {
        end = RunEndByFont(attrs, start, length, byFont);
        SelectObject(dc, RunFont(own, fonts, attrs, start));
        const bool counting = fit && !full;
        int runFit = 0;
        SIZE run = {0, 0};
        ok = TextApi<Char>::ExtentEx(dc, text + start, end - start, counting ? std::max(0, maxExtent - total) : 0,
                                     counting ? &runFit : nullptr, extents ? extents + start : nullptr, &run);
        if (extents)
            for (int i = start; i < end; ++i) extents[i] += total;
        if (counting) {
            fitted += runFit;
            full = runFit < end - start;
        }
        total += run.cx;
        height = std::max<int>(height, run.cy);
    }
    if (length == 0) {
        SIZE empty = {0, 0};
        ok = TextApi<Char>::Extent(dc, text, 0, &empty);
        height = empty.cy;
    }
    SelectObject(dc, own);
    if (fit) *fit = fitted;
    if (size) *size = SIZE{total, height};
    return ok;
}

// Where the text after `tabs` tab characters ends, by the explicit stops still left. Stops that the pen has
// passed are used up for the rest of the line (*first moves on). Returns false when no stop applies.
bool PlaceAtStop(int& x, int w, int tabs, const int* stops, int count, int& first, int origin) {
    while (count - first > tabs) {
        if (x < origin + std::abs(stops[first])) {
            const int u = stops[first + tabs - 1];
            if (u >= 0) {
                x = origin + u + w;
                return true;
            }
            if (x < origin - u - w) {
                x = origin - u;
                return true;
            }
            return false;
        }
        ++first;
    }
    return false;
}

template <typename Char>
int MeasureTabbedText(HDC dc, int x0, const Char* text, const TextAttr* attrs, int length, int count,
                      const int* stops, int origin, const HFONT* fonts) {
    if (!dc || !text || length < 1) return 0;
    if (!stops) count = 0;
    const HGDIOBJ own = GetCurrentObject(dc, OBJ_FONT);
    int interval = count == 1 ? std::abs(stops[0]) : 0;
    if (interval == 0) {
        TEXTMETRICW tm = {};
        GetTextMetricsW(dc, &tm);
        interval = 8 * tm.tmAveCharWidth;
    }
    const int explicitCount = count == 1 ? 0 : std::max(count, 0);
    const bool byFont = fonts && attrs;
    int x = x0, first = 0;
    for (int i = 0; i < length;) {
        int tabs = 0;
        while (i < length && text[i] == '\t') ++tabs, ++i;
        int end = i;
        while (end < length && text[end] != '\t' && !(byFont && ((attrs[end] ^ attrs[i]) & kAttrFontMask))) ++end;
        SIZE size = {0, 0};
        if (end > i) {
            SelectObject(dc, RunFont(own, fonts, attrs, i));
            TextApi<Char>::Extent(dc, text + i, end - i, &size);
        }
        const int w = size.cx;
        if (tabs == 0)
            x += w;
        else if (!PlaceAtStop(x, w, tabs, stops, explicitCount, first, origin))
            x = interval > 0 ? ((x - origin) / interval + tabs) * interval + origin + w : x + w;
        i = end;
    }
    SelectObject(dc, own);
    return x - x0;
}

} // namespace
} // namespace attrtext

BOOL GetTextExtentExAttrA(HDC dc, const char* text, int length, int maxExtent, int* fit, int* extents, SIZE* size,
                          const TextAttr* attrs, const HFONT* fonts) {
    return attrtext::GetTextExtentExAttr(dc, text, length, maxExtent, fit, extents, size, attrs, fonts);
}

BOOL GetTextExtentExAttrW(HDC dc, const wchar_t* text, int length, int maxExtent, int* fit, int* extents,
                          SIZE* size, const TextAttr* attrs, const HFONT* fonts) {
    return attrtext::GetTextExtentExAttr(dc, text, length, maxExtent, fit, extents, size, attrs, fonts);
}

int MeasureTabbedTextA(HDC dc, int x0, const char* text, const TextAttr* attrs, int length, int count,
                       const int* stops, int origin, const HFONT* fonts) {
    return attrtext::MeasureTabbedText(dc, x0, text, attrs, length, count, stops, origin, fonts);
}

int MeasureTabbedTextW(HDC dc, int x0, const wchar_t* text, const TextAttr* attrs, int length, int count,
                       const int* stops, int origin, const HFONT* fonts) {
    return attrtext::MeasureTabbedText(dc, x0, text, attrs, length, count, stops, origin, fonts);
}
