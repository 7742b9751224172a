// What all path combo boxes of the process share beyond the folder widgets' look: the arrow font, the
// theme entry points, the lock around their data and the popup type-ahead.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>

#include "framework/Sync.h"
#include "treelist/shared/TypeAhead.h"

// Held around every access to a combo's path, segments and level lists by its own thread or its
// worker.
extern CCriticalSection PathComboLock;

struct PathComboShared {
    HFONT marlett;  // arrows and the drop glyph, as high as the look's font
    // From "UxTheme.dll" when present (all null otherwise).
    HRESULT(WINAPI* setWindowTheme)(HWND, LPCWSTR, LPCWSTR);
    HTHEME(WINAPI* openThemeData)(HWND, LPCWSTR);
    HRESULT(WINAPI* closeThemeData)(HTHEME);
    HRESULT(WINAPI* drawThemeBackground)(HTHEME, HDC, int, int, const RECT*, const RECT*);
    HRESULT(WINAPI* getThemePartSize)(HTHEME, HDC, int, int, const RECT*, THEMESIZE, SIZE*);
    HRESULT(WINAPI* drawThemeEdge)(HTHEME, HDC, int, int, const RECT*, UINT, UINT, RECT*);
    HRESULT(WINAPI* getThemeBackgroundContentRect)(HTHEME, HDC, int, int, const RECT*, RECT*);
    TypeAheadState typeAhead;  // popup type-ahead (UI threads only)
};

// Created on first use, never freed.
PathComboShared& GetPathComboShared();

// Measures texts in the look's font on a DC of its own (usable from any thread).
class PathTextMeasure {
public:
    PathTextMeasure();
    ~PathTextMeasure();
    PathTextMeasure(const PathTextMeasure&) = delete;
    PathTextMeasure& operator=(const PathTextMeasure&) = delete;
    int Width(const char* text, int length) const;

private:
    HDC m_dc;
    HGDIOBJ m_oldFont;
};
