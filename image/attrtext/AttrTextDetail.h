// Shared pieces of the attribute-text operations: the A/W text calls, colour picking, line metrics, runs and
// the DC state they change.
#pragma once

#include "image/attrtext/AttrText.h"

#include <cstring>
#include <cwchar>

namespace attrtext {

// The flag bits of this library above the DrawText / ExtTextOut ones.
constexpr UINT kAttrFlagBits = 0xF8000000;

// The text calls of one character type.
template <typename Char>
struct TextApi;

template <>
struct TextApi<char> {
    static int Length(const char* s) { return (int)strlen(s); }
    static int Draw(HDC dc, const char* s, int n, RECT* r, UINT f) {
        return DrawTextExA(dc, const_cast<char*>(s), n, r, f, nullptr);
    }
    static BOOL Output(HDC dc, int x, int y, UINT o, const RECT* r, const char* s, int n) {
        return ExtTextOutA(dc, x, y, o, r, s, (UINT)n, nullptr);
    }
    static BOOL Extent(HDC dc, const char* s, int n, SIZE* size) { return GetTextExtentPoint32A(dc, s, n, size); }
    static BOOL ExtentEx(HDC dc, const char* s, int n, int max, int* fit, int* dx, SIZE* size) {
        return GetTextExtentExPointA(dc, s, n, max, fit, dx, size);
    }
    static bool IsBlank(char c) { return c == ' ' || (unsigned char)c == 160; }
};

template <>
struct TextApi<wchar_t> {
    static int Length(const wchar_t* s) { return (int)wcslen(s); }
    static int Draw(HDC dc, const wchar_t* s, int n, RECT* r, UINT f) {
        return DrawTextExW(dc, const_cast<wchar_t*>(s), n, r, f, nullptr);
    }
    static BOOL Output(HDC dc, int x, int y, UINT o, const RECT* r, const wchar_t* s, int n) {
        return ExtTextOutW(dc, x, y, o, r, s, (UINT)n, nullptr);
    }
    static BOOL Extent(HDC dc, const wchar_t* s, int n, SIZE* size) {
        return GetTextExtentPoint32W(dc, s, n, size);
    }
    static BOOL ExtentEx(HDC dc, const wchar_t* s, int n, int max, int* fit, int* dx, SIZE* size) {
        return GetTextExtentExPointW(dc, s, n, max, fit, dx, size);
    }
    static bool IsBlank(wchar_t c) { return c == L' ' || c == 160; }
};

// Colour picking, free of any DC: the DC's own colour comes in as dcColour.
int TextIndexBits(UINT flags);          // n
bool HasBackgroundPart(UINT flags);     // n < 5
TextAttr BackgroundBits(UINT flags);    // the colour-code bits that pick the background
COLORREF AttrTextColour(UINT flags, TextAttr attr, const COLORREF* table, COLORREF dcColour);
COLORREF AttrBkColour(UINT flags, TextAttr attr, const COLORREF* table, COLORREF dcColour);
COLORREF UnderlineColour(UINT flags, TextAttr attr, const COLORREF* table, COLORREF dcColour);

inline int FontIndex(TextAttr a) { return (a & kAttrFontMask) >> kAttrFontShift; }

// Font, colours and background mode of a DC, put back when the object ends.
class DcState {
public:
    explicit DcState(HDC dc);
    ~DcState();
    DcState(const DcState&) = delete;
    DcState& operator=(const DcState&) = delete;

    HDC dc;
    HGDIOBJ font;
    COLORREF text, back;
    int mode;
};

// Per-call metrics of the four fonts (or the DC's font alone). offset[i] moves a run in font i so that all
// runs share one baseline, or with kAttrBottomLine one bottom line.
struct LineMetrics {
    HFONT font[4];
    int height[4], ascent[4], offset[4];
    int lineHeight, lineAscent;

    void Measure(HDC dc, const HFONT* fonts, UINT flags);
    void Select(HDC dc, int index) const;
};

// Puts the font and colours of a run with attribute `a` into the DC; returns the run's font index and puts
// the extent of its `length` characters into `size`.
template <typename Char>
int SelectRun(HDC dc, const LineMetrics& m, bool byFont, UINT flags, TextAttr a, const COLORREF* table,
              const DcState& state, const Char* text, int length, SIZE* size) {
    const int f = byFont ? FontIndex(a) : 0;
    m.Select(dc, f);
    SetTextColor(dc, AttrTextColour(flags, a, table, state.text));
    SetBkColor(dc, AttrBkColour(flags, a, table, state.back));
    *size = SIZE{0, 0};
    TextApi<Char>::Extent(dc, text, length, size);
    return f;
}

// Draws a 1-pixel line from x to x + width at row y.
void DrawUnderline(HDC dc, int x, int y, int width, COLORREF colour);

// End of the run starting at `start`: characters whose attribute bytes agree in `mask`. With `blankMask`,
// a space or no-break space whose byte differs only in those bits continues the run.
template <typename Char>
int RunEnd(const Char* text, const TextAttr* attrs, int start, int length, TextAttr mask, TextAttr blankMask = 0) {
    const TextAttr key = attrs[start] & mask;
    int i = start + 1;
    while (i < length) {
        const TextAttr a = attrs[i] & mask;
        if (a != key && !(TextApi<Char>::IsBlank(text[i]) && ((a ^ key) & ~blankMask) == 0)) break;
        ++i;
    }
    return i;
}

} // namespace attrtext
