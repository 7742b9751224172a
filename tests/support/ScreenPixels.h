// Reading what the screen shows of a window (through the X server, so after the window's picture reached it).
#pragma once

#include <windows.h>

#include <vector>

// The colour on screen at a client point of the window.
COLORREF ScreenPixel(HWND wnd, int x, int y);

// The colours on screen of every step-th pixel of a client area of the window, row by row.
std::vector<COLORREF> ScreenPixels(HWND wnd, const RECT& area, int step = 1);
