// Drawing routines for owner-drawn menus, buttons and list items: disabled (embossed) text, a one-pixel 3D frame,
// a push-button face, radio and check items, a combo-box drop button and small glyphs. The themed routines draw
// through the visual style when one is active and the caller allows it, else the classic way.
#pragma once

#include <windows.h>

// Flag word of the themed routines.
namespace OwnerDraw {
constexpr DWORD kStateMask = 0xFF;       // theme state id: 1 normal, 2 hot, 3 pressed, 4 disabled, 5-8 checked forms
constexpr DWORD kAnsiText = 0x100;       // the text is ANSI, else UTF-16
constexpr DWORD kFillFace = 0x200;       // fill the background with COLOR_BTNFACE first
constexpr DWORD kNoTheme = 0x400;        // draw the classic look even under a visual style
constexpr DWORD kInsetXY = 0x800;        // inset = x in the low, y in the high 16 bits (signed)
constexpr DWORD kAnsiVarFont = 0x1000;   // radio and check captions in ANSI_VAR_FONT
constexpr DWORD kUiFont = 0x2000;        // radio and check captions in the UI font
constexpr int kMarginShift = 16;         // bits 16-23: left text margin (0 = centred)
// DrawCheckGlyph: bits 0-3 state, bits 4-7 kind.
constexpr DWORD kGlyphExpander = 0x00, kGlyphMenuCheck = 0x10, kGlyphDropArrow = 0x20;
}  // namespace OwnerDraw

// DrawDisabledText flags.
constexpr DWORD kDisabledCentreX = 1, kDisabledRight = 2, kDisabledCentreY = 4, kDisabledBottom = 8,
                kDisabledShowAmpersand = 0x800;

BOOL DrawDisabledTextA(HDC dc, LPCSTR text, int length, const RECT* rect, DWORD flags);
BOOL DrawDisabledTextW(HDC dc, LPCWSTR text, int length, const RECT* rect, DWORD flags);
// Where DrawDisabledText puts the text's top-left corner (the text's own size less the '&' prefixes).
POINT DisabledTextOriginA(HDC dc, LPCSTR text, int length, const RECT* rect, DWORD flags);
POINT DisabledTextOriginW(HDC dc, LPCWSTR text, int length, const RECT* rect, DWORD flags);

// Draw3dFrame flags.
constexpr DWORD kFrameSunken = 1, kFrameFill = 2, kFrameFillLight = 4, kFrameKeepColor = 8;
void Draw3dFrame(HDC dc, int x, int y, int width, int height, DWORD flags);

BOOL DrawPushButton(HDC dc, const void* text, const RECT* rect, DWORD flags, LONG inset);
BOOL DrawRadioItem(HDC dc, const void* text, const RECT* rect, DWORD flags, LONG inset);
BOOL DrawCheckItem(HDC dc, const void* text, const RECT* rect, DWORD flags, LONG inset);
BOOL DrawCheckGlyph(HDC dc, const RECT* rect, DWORD flags, LONG inset);
BOOL DrawComboButton(HDC dc, const RECT* rect, DWORD flags, LONG inset);
