// Process-wide font cache: controls that ask for the same face, size and style share one HFONT, and nobody
// deletes a font another window still uses. On top: the four UI fonts and text measuring. Cached fonts live
// until the process exits; callers never delete them.
#pragma once

#include <windows.h>

struct FontCacheEntry {
    HFONT font;
    BYTE italic;
    BYTE underline;
    BYTE charSet;
    BYTE pitchAndFamily;
    WORD weight;
    SHORT height;
    SHORT width;
    char faceName[LF_FACESIZE];
};

HFONT CreateCachedFont(const LOGFONTA* font);
HFONT CreateCachedFontW(const LOGFONTW* font);
HFONT CreateBoldFont(HFONT font);
HFONT CreateFixedPitchFont(HFONT font);

// style: bit 0 bold, bit 1 fixed pitch.
HFONT GetUiFont(int style);
int GetUiFontMetrics(int* width, int* height, int style);
int GetWindowTextHeight(HWND window, LPARAM unused = 0);

// MeasureText flags (besides the DrawText format bits it passes on).
constexpr DWORD kMeasureCentreX = 0x1, kMeasureRight = 0x2, kMeasureCentreY = 0x4, kMeasureBottom = 0x8;
constexpr DWORD kMeasureFitRect = 1u << 29;   // out is a RECT fitted to the text
constexpr DWORD kMeasureSize = 1u << 30;      // out is int[2]: width, height
constexpr DWORD kMeasurePacked = 1u << 31;    // result width | height << 16
// dc 0: a screen DC is used and out is the HFONT to measure with (nothing is written).
DWORD MeasureTextA(HDC dc, LPCSTR text, int length, DWORD flags, void* out);
DWORD MeasureTextW(HDC dc, LPCWSTR text, int length, DWORD flags, void* out);

void FreeFontCache();
// Entries and capacity of the cache table.
void GetFontCacheInfo(int* count, int* capacity);
