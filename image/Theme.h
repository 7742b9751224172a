// Visual styles bound at run time: the program does not link the theme library. Without it (or with theming
// off) every theme handle is null and callers draw the classic way.
#pragma once

#include <windows.h>
#include <uxtheme.h>

struct ThemeState {
    HMODULE library = nullptr;

    // Bound in this order; null when missing.
    HRESULT(WINAPI* SetWindowTheme)(HWND, LPCWSTR, LPCWSTR) = nullptr;
    HRESULT(WINAPI* EndBufferedPaint)(HPAINTBUFFER, BOOL) = nullptr;
    HPAINTBUFFER(WINAPI* BeginBufferedPaint)(HDC, const RECT*, BP_BUFFERFORMAT, BP_PAINTPARAMS*, HDC*) = nullptr;
    HRESULT(WINAPI* BufferedPaintInit)() = nullptr;
    HRESULT(WINAPI* BufferedPaintUnInit)() = nullptr;
    HRESULT(WINAPI* GetCurrentThemeName)(LPWSTR, int, LPWSTR, int, LPWSTR, int) = nullptr;
    HTHEME(WINAPI* OpenThemeData)(HWND, LPCWSTR) = nullptr;
    HRESULT(WINAPI* CloseThemeData)(HTHEME) = nullptr;
    HRESULT(WINAPI* DrawThemeText)(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, DWORD, const RECT*) = nullptr;
    HRESULT(WINAPI* DrawThemeBackground)(HTHEME, HDC, int, int, const RECT*, const RECT*) = nullptr;
    HRESULT(WINAPI* GetThemePartSize)(HTHEME, HDC, int, int, const RECT*, THEMESIZE, SIZE*) = nullptr;
    HRESULT(WINAPI* GetThemeBackgroundContentRect)(HTHEME, HDC, int, int, const RECT*, RECT*) = nullptr;

    // Opened for these classes, in this order; null when theming is off for the class.
    HTHEME comboBox = nullptr;
    HTHEME treeView = nullptr;
    HTHEME toolBar = nullptr;
    HTHEME button = nullptr;
    HTHEME menu = nullptr;
    HTHEME edit = nullptr;

    SIZE checkSize = {13, 13};
    SIZE radioSize = {13, 13};
    // The kernel's product version (major << 16 | minor), read once at the end of the set-up.
    DWORD kernelVersion = 0;
};

// Fills a state from the named library (the process state uses "UxTheme.dll").
void LoadThemeState(ThemeState& state, LPCSTR libraryName);

// Runs once per process; every function below calls it first.
void InitThemes();
const ThemeState& GetThemeState();

BOOL GetThemeNameA(LPSTR buffer, int size);
BOOL GetThemeNameW(LPWSTR buffer, int size);
// kind 0 check box, 1 radio button.
BOOL GetCheckGlyphSize(int kind, SIZE* size);

// The toolkit's own colour index for the menu gutter.
constexpr int kColorMenuGutter = 31;
// Menu background (COLOR_MENU) and gutter (kColorMenuGutter) as the visual style draws them.
COLORREF GetThemedSysColor(int index);
