// What all path combo boxes of the process share: fonts, the small system image list, the theme
// entry points, the lock around their data, the popup type-ahead and the clock.
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
    HFONT font;         // the icon-title font
    int fontHeight;
    HFONT marlett;      // arrows and the drop glyph, same height
    HIMAGELIST images;  // small system image list
    int imageWidth;
    int imageHeight;
    int folderIcon;     // default folder icon
    int rowHeight;      // popup and list rows: larger of font and image height + 2
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

// The clock of timed behaviour (type-ahead, popup reopening); tests may replace it (null restores
// GetTickCount).
using PathComboClock = DWORD (*)();
void SetPathComboClock(PathComboClock clock);
DWORD PathComboNow();

// Measures texts in the shared font on a DC of its own (usable from any thread).
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
