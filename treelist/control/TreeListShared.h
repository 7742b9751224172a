// Drawing resources shared by every "TreeList" window of the process: the dotted line pen, the checker brush
// of drop bars, three cursors and the visual-style entry points. The first window makes them, the last one
// deletes the pen and the brush; the visual-style library stays loaded.
#pragma once

#include <windows.h>
#include <uxtheme.h>

struct TreeListShared {
    HPEN linePen;
    HBRUSH checkerBrush;
    HCURSOR arrow, hand, no;

    // Visual-style entry points, each possibly null.
    HRESULT(WINAPI* SetWindowTheme)(HWND, LPCWSTR, LPCWSTR);
    HRESULT(WINAPI* EndBufferedPaint)(HANDLE, BOOL);
    HANDLE(WINAPI* BeginBufferedPaint)(HDC, const RECT*, int, void*, HDC*);
    HRESULT(WINAPI* BufferedPaintInit)();
    HRESULT(WINAPI* BufferedPaintUnInit)();
    HTHEME(WINAPI* OpenThemeData)(HWND, LPCWSTR);
    HRESULT(WINAPI* CloseThemeData)(HTHEME);
    HRESULT(WINAPI* DrawThemeBackground)(HTHEME, HDC, int, int, const RECT*, const RECT*);
    HRESULT(WINAPI* GetThemePartSize)(HTHEME, HDC, int, int, const RECT*, int, SIZE*);
    HRESULT(WINAPI* GetThemeBackgroundContentRect)(HTHEME, HDC, int, int, const RECT*, RECT*);
};

// Takes a reference (making the resources on the first); false when they cannot be made.
bool AcquireTreeListShared();
void ReleaseTreeListShared();
// Valid while the caller holds a reference.
const TreeListShared& GetTreeListShared();
// References held now (-1 when none), for tests.
LONG TreeListSharedUsers();
