#include "tests/support/ScreenPixels.h"

std::vector<COLORREF> ScreenPixels(HWND wnd, const RECT& area, int step) {
    POINT origin = {0, 0};
    ClientToScreen(wnd, &origin);
    HDC screen = GetDC(nullptr);
    std::vector<COLORREF> pixels;
    for (LONG y = area.top; y < area.bottom; y += step)
        for (LONG x = area.left; x < area.right; x += step) pixels.push_back(GetPixel(screen, origin.x + x, origin.y + y));
    ReleaseDC(nullptr, screen);
    return pixels;
}

COLORREF ScreenPixel(HWND wnd, int x, int y) { return ScreenPixels(wnd, RECT{x, y, x + 1, y + 1})[0]; }
