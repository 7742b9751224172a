// Reading what a window shows: through the X server (after the window's picture reached it), or from the
// window's own device context.
#pragma once

#include <windows.h>

#include <vector>

// The colour on screen at a client point of the window.
COLORREF ScreenPixel(HWND wnd, int x, int y);

// The colours on screen of every step-th pixel of a client area of the window, row by row.
std::vector<COLORREF> ScreenPixels(HWND wnd, const RECT& area, int step = 1);

// The colour at a client point as the window's own device context holds it: what the window painted,
// whatever another program's window covers on the X screen (Wine stacks a newly shown window of another
// process above ours there, even above a topmost one). Parts hidden by a window above ours are not painted.
COLORREF ClientPixel(HWND wnd, int x, int y);
