// Attribute text: every character carries one attribute byte that picks its font (one of four), its text and
// background colours (from a 32-entry colour table) and an underline. ANSI and UTF-16 forms behave alike.
//
// Attribute byte: bits 0-4 colour code, bit 5 underline, bits 6-7 font index into the caller's four fonts.
// The colour code splits into a text-colour index (low n bits) and a background index (the high 5 - n bits),
// n = 5 - ((flags >> 28) & 3). Text index 0 is the default text colour (table entry 0 with kAttrDefaultFromTable,
// else the DC's); background index b > 0 is table entry 32 - b, 0 the DC's background colour.
#pragma once

#include <windows.h>

#include <cstdint>

typedef uint8_t TextAttr;

// Flag bits above the DrawText / ExtTextOut options.
constexpr UINT kAttrUnderlineFromTable = 0x08000000; // the underline takes table entry 15
constexpr UINT kAttrColourSplitMask = 0x30000000;    // (flags >> 28) & 3 colour-code bits are background
constexpr UINT kAttrRelativeOrigin = 0x40000000;     // AttrExtTextOut: x and y relative to the rectangle
constexpr UINT kAttrDefaultFromTable = 0x80000000;   // text index 0 takes table entry 0
constexpr UINT kAttrBottomLine = 0x00000008;         // runs in different fonts share a bottom line, not a baseline

constexpr TextAttr kAttrUnderline = 0x20;
constexpr TextAttr kAttrFontMask = 0xC0;
constexpr int kAttrFontShift = 6;
constexpr int kAttrColourCount = 32;

// The table used when a caller passes none.
const COLORREF* DefaultTextColorTable();

// Draws one line; returns the line height. DT_CALCRECT sets the rectangle's right and bottom and returns the
// height. length < 0: up to the NUL. attrs, colours and fonts may be null; a null font entry means the DC's font.
int DrawAttrTextA(HDC dc, const char* text, int length, RECT* rect, UINT format, const TextAttr* attrs,
                  const COLORREF* colours, const HFONT* fonts);
int DrawAttrTextW(HDC dc, const wchar_t* text, int length, RECT* rect, UINT format, const TextAttr* attrs,
                  const COLORREF* colours, const HFONT* fonts);

// ExtTextOut run by run; returns the x after the last run.
int AttrExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, const char* text, int length,
                    const TextAttr* attrs, const COLORREF* colours, const HFONT* fonts);
int AttrExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, const wchar_t* text, int length,
                    const TextAttr* attrs, const COLORREF* colours, const HFONT* fonts);

// GetTextExtentExPoint over the runs with their fonts; the partial extents are cumulative across runs.
BOOL GetTextExtentExAttrA(HDC dc, const char* text, int length, int maxExtent, int* fit, int* extents, SIZE* size,
                          const TextAttr* attrs, const HFONT* fonts);
BOOL GetTextExtentExAttrW(HDC dc, const wchar_t* text, int length, int maxExtent, int* fit, int* extents,
                          SIZE* size, const TextAttr* attrs, const HFONT* fonts);

// Width of one line with tabs, runs measured with their fonts. count 1: stops[0] is the tab interval (its
// absolute value; 0 means the default) and there are no explicit stops; otherwise the interval is
// 8 x tmAveCharWidth and a negative stop right-aligns the text before it.
int MeasureTabbedTextA(HDC dc, int x0, const char* text, const TextAttr* attrs, int length, int count,
                       const int* stops, int origin, const HFONT* fonts);
int MeasureTabbedTextW(HDC dc, int x0, const wchar_t* text, const TextAttr* attrs, int length, int count,
                       const int* stops, int origin, const HFONT* fonts);

// Sets the background colour the attribute asks for and returns the previous one; without a background part
// (or background index 0) returns GetBkColor and changes nothing.
COLORREF SetAttrBkColor(HDC dc, UINT flags, TextAttr attr, const COLORREF* colours);
// Sets the attribute's text colour and returns the previous one; index 0 without kAttrDefaultFromTable leaves
// the DC's colour (and returns it).
COLORREF SetAttrTextColor(HDC dc, UINT flags, TextAttr attr, const COLORREF* colours);
