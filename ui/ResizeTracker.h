// A modal rubber-band tracker: the user drags the edges of a screen rectangle with the mouse.
#pragma once

#include <windows.h>

#include "framework/Wnd.h"

// `start` with the edges in `edges` (1 left, 2 right, 4 top, 8 bottom) moved by (dx, dy); a moved edge
// stays at least minWidth (minHeight) away from the opposite one.
RECT ResizeRectEdges(const RECT& start, int edges, int dx, int dy, int minWidth, int minHeight);

// Tracks the edges of `rect` (screen coordinates) under the screen point (x, y) where the button went
// down, with the mouse captured for `window`. minWidth < 0 keeps the left and right edges, minHeight < 0
// the top and bottom ones. Returns 1 and the new rectangle when the left button is released; 0 with
// `rect` unchanged when no edge lies under the point, another window holds the capture, or the user
// cancels (Escape, right button, or the application quitting).
int TrackResizeRect(HWND window, RECT* rect, int x, int y, int minWidth, int minHeight);
inline int TrackResizeRect(CWnd* window, RECT* rect, int x, int y, int minWidth, int minHeight) {
    return TrackResizeRect(window->GetSafeHwnd(), rect, x, y, minWidth, minHeight);
}
