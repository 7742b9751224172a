// Owner-draw primitives, themed and classic.
#include "image/OwnerDraw.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <vsstyle.h>

#include "image/FontCache.h"
#include "image/Theme.h"

namespace {

using namespace OwnerDraw;

int StateOf(DWORD flags) { return static_cast<int>(flags & kStateMask); }

RECT Inset(const RECT* rect, DWORD flags, LONG inset) {
    RECT r = *rect;
    if (inset) {
        int dx = inset, dy = inset;
        if (flags & kInsetXY) {
            dx = static_cast<SHORT>(LOWORD(inset));
            dy = static_cast<SHORT>(HIWORD(inset));
        }
        InflateRect(&r, -dx, -dy);
    }
    return r;
}

void FillFace(HDC dc, const RECT& r) { FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE)); }

// Fills the four strips between the outer and the inner rectangle.
void FillBorder(HDC dc, const RECT& outer, const RECT& inner) {
    RECT strips[4] = {
        {outer.left, outer.top, outer.right, inner.top},
        {outer.left, inner.bottom, outer.right, outer.bottom},
        {outer.left, inner.top, inner.left, inner.bottom},
        {inner.right, inner.top, outer.right, inner.bottom},
    };
    for (const RECT& s : strips)
        if (s.right > s.left && s.bottom > s.top) FillFace(dc, s);
}

COLORREF Average(COLORREF a, COLORREF b) {
    return RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2,
               (GetBValue(a) + GetBValue(b)) / 2);
}

bool Themed(HTHEME theme, DWORD flags) {
    return theme && !(flags & kNoTheme) && GetThemeState().DrawThemeBackground;
}

// The caption as UTF-16: ANSI captions are widened by zero extension, at most 64 characters.
struct WideText {
    WCHAR buffer[65];
    const WCHAR* text;
    WideText(const void* source, DWORD flags) {
        if (!source) {
            buffer[0] = 0;
            text = buffer;
        } else if (flags & kAnsiText) {
            auto* a = static_cast<const unsigned char*>(source);
            int i = 0;
            for (; i < 64 && a[i]; ++i) buffer[i] = a[i];
            buffer[i] = 0;
            text = buffer;
        } else {
            text = static_cast<const WCHAR*>(source);
        }
    }
};

int DrawCaption(HDC dc, const void* text, DWORD flags, RECT* r, UINT format) {
    if (!text) return 0;
    if (flags & kAnsiText) return DrawTextA(dc, static_cast<LPCSTR>(text), -1, r, format);
    return DrawTextW(dc, static_cast<LPCWSTR>(text), -1, r, format);
}

template <typename Char>
int TextLength(const Char* text, int length) {
    if (length >= 0) return length;
    if constexpr (sizeof(Char) == 1)
        return static_cast<int>(strlen(text));
    else
        return static_cast<int>(wcslen(text));
}

template <typename Char>
POINT DisabledTextOrigin(HDC dc, const Char* text, int length, const RECT* rect, DWORD flags) {
    POINT origin = {rect->left, rect->top};
    if (!(flags & (kDisabledCentreX | kDisabledRight | kDisabledCentreY | kDisabledBottom))) return origin;
    length = TextLength(text, length);
    SIZE size = {0, 0};
    if constexpr (sizeof(Char) == 1)
        GetTextExtentPoint32A(dc, text, length, &size);
    else
        GetTextExtentPoint32W(dc, text, length, &size);
    if (!(flags & kDisabledShowAmpersand)) {
        int ampersands = 0;
        for (int i = 0; i < length; ++i) ampersands += text[i] == '&';
        if (ampersands) {
            SIZE amp = {0, 0};
            if constexpr (sizeof(Char) == 1)
                GetTextExtentPoint32A(dc, "&", 1, &amp);
            else
                GetTextExtentPoint32W(dc, L"&", 1, &amp);
            size.cx -= amp.cx * ampersands;
        }
    }
    int excess = rect->right - rect->left - size.cx;
    if (excess > 0) {
        if (flags & kDisabledCentreX)
            origin.x += excess / 2;
        else if (flags & kDisabledRight)
            origin.x += excess - 1;
    }
    excess = rect->bottom - rect->top - size.cy;
    if (excess > 0) {
        if (flags & kDisabledCentreY)
            origin.y += excess / 2;
        else if (flags & kDisabledBottom)
            origin.y += excess - 1;
    }
    return origin;
}

template <typename Char>
BOOL DrawDisabledText(HDC dc, const Char* text, int length, const RECT* rect, DWORD flags) {
    if (!rect || IsRectEmpty(rect)) return FALSE;
    static const Char kEmpty[1] = {0};
    if (!text) text = kEmpty;
    length = TextLength(text, length);
    if constexpr (sizeof(Char) == 1) {
        if (length == 0) return TRUE;
    }
    POINT at = DisabledTextOrigin(dc, text, length, rect, flags);
    UINT kind = DSS_DISABLED | ((flags & kDisabledShowAmpersand) ? DST_TEXT : DST_PREFIXTEXT);
    if constexpr (sizeof(Char) == 1)
        return DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(text), length, at.x, at.y, 0, 0, kind);
    else
        return DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(text), length, at.x, at.y, 0, 0, kind);
}

// Radio and check items share everything but the glyph.
BOOL DrawButtonItem(HDC dc, const void* text, const RECT* rect, DWORD flags, LONG inset, bool radio) {
    if (!rect) return FALSE;
    static constexpr UINT kStateFlags[9] = {
        0, 0, DFCS_HOT, DFCS_PUSHED, DFCS_INACTIVE, DFCS_CHECKED, DFCS_CHECKED | DFCS_HOT,
        DFCS_CHECKED | DFCS_PUSHED, DFCS_CHECKED | DFCS_INACTIVE,
    };
    const ThemeState& theme = GetThemeState();
    if (flags & kFillFace) FillFace(dc, *rect);
    RECT r = Inset(rect, flags, inset);
    int state = StateOf(flags);
    SIZE glyph;
    GetCheckGlyphSize(radio ? 1 : 0, &glyph);
    RECT box = {r.left, r.top, r.left + glyph.cx, r.top + glyph.cy};
    int excess = (r.bottom - r.top) - glyph.cy;
    if (excess > 0) OffsetRect(&box, 0, (excess + 1) / 2);
    if (Themed(theme.button, flags)) {
        theme.DrawThemeBackground(theme.button, dc, radio ? BP_RADIOBUTTON : BP_CHECKBOX, state, &box, nullptr);
    } else {
        DrawFrameControl(dc, &box, DFC_BUTTON,
                         (radio ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK) | (state <= 8 ? kStateFlags[state] : 0));
    }
    if (!text) return TRUE;
    int margin = static_cast<int>((flags >> kMarginShift) & 0xFF);
    RECT caption = {box.right + (margin ? margin : 3), r.top, r.right, r.bottom};
    HGDIOBJ oldFont = nullptr;
    if (flags & kUiFont)
        oldFont = SelectObject(dc, GetUiFont(0));
    else if (flags & kAnsiVarFont)
        oldFont = SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
    int oldMode = SetBkMode(dc, TRANSPARENT);
    UINT kind = DST_PREFIXTEXT | ((state == 4 || state == 8) ? DSS_DISABLED : DSS_NORMAL);
    SIZE size = {0, 0};
    if (flags & kAnsiText) {
        auto* a = static_cast<LPCSTR>(text);
        GetTextExtentPoint32A(dc, a, static_cast<int>(strlen(a)), &size);
        int y = caption.top + ((caption.bottom - caption.top) - size.cy) / 2;
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(a), static_cast<WPARAM>(strlen(a)), caption.left, y,
                   0, 0, kind);
    } else {
        auto* w = static_cast<LPCWSTR>(text);
        GetTextExtentPoint32W(dc, w, static_cast<int>(wcslen(w)), &size);
        int y = caption.top + ((caption.bottom - caption.top) - size.cy) / 2;
        DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(w), static_cast<WPARAM>(wcslen(w)), caption.left, y,
                   0, 0, kind);
    }
    SetBkMode(dc, oldMode);
    if (oldFont) SelectObject(dc, oldFont);
    return TRUE;
}

// The symbol font of the classic glyphs: two slots keep the last two sizes.
HFONT GlyphFont(int size) {
    struct Slot {
        HFONT font;
        int size;
        unsigned stamp;
    };
    static Slot slots[2];
    static unsigned counter;
    ++counter;
    for (Slot& s : slots) {
        if (s.font && s.size == size) {
            s.stamp = counter;
            return s.font;
        }
    }
    Slot& victim = slots[0].stamp <= slots[1].stamp ? slots[0] : slots[1];
    LOGFONTW lf = {};
    lf.lfHeight = size;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    wcscpy(lf.lfFaceName, L"Marlett");
    victim = {CreateCachedFontW(&lf), size, counter};
    return victim.font;
}

void DrawExpander(HDC dc, const RECT& r, int state) {
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, GetStockObject(GRAY_BRUSH));
    SelectObject(dc, GetStockObject(NULL_PEN));
    int m = (r.top + r.bottom) / 2;
    Rectangle(dc, r.left + 2, m, r.right - 1, m + 2);
    if (state == 1) {
        int c = (r.left + r.right) / 2;
        Rectangle(dc, c, r.top + 2, c + 2, r.bottom - 1);
    }
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
}

void DrawSymbol(HDC dc, RECT r, WCHAR symbol, COLORREF color) {
    int size = std::min(r.right - r.left, r.bottom - r.top);
    if (size < 1) return;
    HGDIOBJ oldFont = SelectObject(dc, GlyphFont(size));
    COLORREF oldColor = SetTextColor(dc, color);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, &symbol, 1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColor);
    SelectObject(dc, oldFont);
}

}  // namespace

POINT DisabledTextOriginA(HDC dc, LPCSTR text, int length, const RECT* rect, DWORD flags) {
    return DisabledTextOrigin(dc, text ? text : "", length, rect, flags);
}

POINT DisabledTextOriginW(HDC dc, LPCWSTR text, int length, const RECT* rect, DWORD flags) {
    return DisabledTextOrigin(dc, text ? text : L"", length, rect, flags);
}

BOOL DrawDisabledTextA(HDC dc, LPCSTR text, int length, const RECT* rect, DWORD flags) {
    return DrawDisabledText(dc, text, length, rect, flags);
}

BOOL DrawDisabledTextW(HDC dc, LPCWSTR text, int length, const RECT* rect, DWORD flags) {
    return DrawDisabledText(dc, text, length, rect, flags);
}

void Draw3dFrame(HDC dc, int x, int y, int width, int height, DWORD flags) {
    if (width < 1 || height < 1) return;
    COLORREF oldBack = GetBkColor(dc);
    auto strip = [&](COLORREF color, int l, int t, int r, int b, bool keepable) {
        if (!(keepable && (flags & kFrameKeepColor))) SetBkColor(dc, color);
        RECT rc = {l, t, r, b};
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rc, L"", 0, nullptr);
    };
    COLORREF white = RGB(255, 255, 255), shadow = GetSysColor(COLOR_BTNSHADOW);
    COLORREF topLeft = (flags & kFrameSunken) ? shadow : white;
    COLORREF bottomRight = (flags & kFrameSunken) ? white : shadow;
    strip(topLeft, x, y, x + width - 1, y + 1, true);
    strip(topLeft, x, y + 1, x + 1, y + height - 1, true);
    strip(bottomRight, x, y + height - 1, x + width, y + height, true);
    strip(bottomRight, x + width - 1, y, x + width, y + height - 1, true);
    if ((flags & kFrameFill) && width > 2 && height > 2)
        strip(GetSysColor((flags & kFrameFillLight) ? COLOR_3DLIGHT : COLOR_BTNFACE), x + 1, y + 1, x + width - 1,
              y + height - 1, false);
    SetBkColor(dc, oldBack);
}

BOOL DrawPushButton(HDC dc, const void* text, const RECT* rect, DWORD flags, LONG inset) {
    if (!rect) return FALSE;
    const ThemeState& theme = GetThemeState();
    RECT r = Inset(rect, flags, inset);
    int state = StateOf(flags);
    int margin = static_cast<int>((flags >> kMarginShift) & 0xFF);
    UINT format = margin ? (DT_VCENTER | DT_SINGLELINE) : (DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (Themed(theme.button, flags)) {
        if (flags & kFillFace) FillBorder(dc, *rect, r);
        theme.DrawThemeBackground(theme.button, dc, BP_PUSHBUTTON, state, &r, nullptr);
        RECT content = r;
        if (theme.GetThemeBackgroundContentRect)
            theme.GetThemeBackgroundContentRect(theme.button, dc, BP_PUSHBUTTON, state, &r, &content);
        content.left += margin;
        if (text && theme.DrawThemeText) {
            WideText caption(text, flags);
            theme.DrawThemeText(theme.button, dc, BP_PUSHBUTTON, state, caption.text, -1, format, 0, &content);
        }
        return TRUE;
    }
    FillFace(dc, (flags & kFillFace) ? *rect : r);
    COLORREF textColor = GetSysColor(COLOR_BTNTEXT);
    UINT edge = EDGE_RAISED;
    switch (state) {
    case 1: case 5: break;
    case 2: textColor = Average(GetSysColor(COLOR_BTNTEXT), GetSysColor(COLOR_HIGHLIGHTTEXT)); break;
    case 3: edge = EDGE_SUNKEN; break;
    case 4: break;
    default: edge = BDR_RAISEDOUTER | BDR_SUNKENOUTER | BDR_RAISEDINNER | BDR_SUNKENINNER; break;
    }
    RECT caption = r;
    caption.left += margin;
    COLORREF oldColor = SetTextColor(dc, textColor);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    if (state == 4 && text) {
        DWORD placement = margin ? kDisabledCentreY : (kDisabledCentreX | kDisabledCentreY);
        if (flags & kAnsiText)
            DrawDisabledTextA(dc, static_cast<LPCSTR>(text), -1, &caption, placement);
        else
            DrawDisabledTextW(dc, static_cast<LPCWSTR>(text), -1, &caption, placement);
    } else {
        DrawCaption(dc, text, flags, &caption, format);
    }
    DrawEdge(dc, &r, edge, BF_RECT);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColor);
    return TRUE;
}

BOOL DrawRadioItem(HDC dc, const void* text, const RECT* rect, DWORD flags, LONG inset) {
    return DrawButtonItem(dc, text, rect, flags, inset, true);
}

BOOL DrawCheckItem(HDC dc, const void* text, const RECT* rect, DWORD flags, LONG inset) {
    return DrawButtonItem(dc, text, rect, flags, inset, false);
}

BOOL DrawCheckGlyph(HDC dc, const RECT* rect, DWORD flags, LONG inset) {
    if (!rect) return FALSE;
    const ThemeState& theme = GetThemeState();
    if (flags & kFillFace) FillFace(dc, *rect);
    RECT r = Inset(rect, flags, inset);
    int state = static_cast<int>(flags & 0xF);
    int kind = static_cast<int>((flags >> 4) & 0xF);
    HTHEME handle = kind == 0 ? theme.treeView : kind == 1 ? theme.menu : kind == 2 ? theme.toolBar : nullptr;
    int part = kind == 0 ? static_cast<int>(TVP_GLYPH)
               : kind == 1 ? static_cast<int>(MENU_POPUPCHECK) : static_cast<int>(TP_SPLITBUTTONDROPDOWN);
    if (Themed(handle, flags) && SUCCEEDED(theme.DrawThemeBackground(handle, dc, part, state, &r, nullptr)))
        return TRUE;
    switch (kind) {
    case 0:
        DrawExpander(dc, r, state);
        return TRUE;
    case 1:
        if (state < 1 || state > 4) return TRUE;
        DrawSymbol(dc, r, state <= 2 ? L'a' : L'h', GetSysColor((state & 1) ? COLOR_MENUTEXT : COLOR_GRAYTEXT));
        return TRUE;
    case 2: {
        COLORREF color = GetSysColor(COLOR_MENUTEXT);
        if (state == 2 || state == 6)
            color = Average(GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_MENUTEXT));
        else if (state == 4)
            color = GetSysColor(COLOR_GRAYTEXT);
        if (state == 3 || state == 5 || state == 6) OffsetRect(&r, 1, 1);
        DrawSymbol(dc, r, L'u', color);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

BOOL DrawComboButton(HDC dc, const RECT* rect, DWORD flags, LONG inset) {
    if (!rect) return FALSE;
    const ThemeState& theme = GetThemeState();
    RECT r = Inset(rect, flags, inset);
    int state = StateOf(flags);
    if (Themed(theme.comboBox, flags)) {
        if (flags & kFillFace) FillBorder(dc, *rect, r);
        int part = static_cast<int>((flags >> 16) & 0xF);
        bool vista = theme.kernelVersion >= 0x60000;
        if (!part) part = vista ? CP_DROPDOWNBUTTONRIGHT : CP_DROPDOWNBUTTON;
        if (!vista && !inset) InflateRect(&r, -1, -1);
        theme.DrawThemeBackground(theme.comboBox, dc, part, state, &r, nullptr);
        return TRUE;
    }
    if (flags & kFillFace) FillFace(dc, *rect);
    Draw3dFrame(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, state == 2 ? 6 : state == 3 ? 3 : 2);
    InflateRect(&r, -2, -2);
    DWORD glyph = state == 2 ? 0x422 : state == 3 ? 0x420 : state == 4 ? 0x424 : 0x420;
    return DrawCheckGlyph(dc, &r, glyph, 0);
}
