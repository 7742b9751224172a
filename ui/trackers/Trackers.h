// Modal mouse trackers for splitter bars and whole frames. Both run until the left button is released and
// move nothing themselves: the caller applies the result. Escape, the right button, a quit (which stays
// queued) or another window holding the capture at the call give 0.
#pragma once

#include <windows.h>

#include "framework/Wnd.h"
#include "ui/trackers/SplitterGeometry.h"

// Drags a splitter bar inside `area` (screen coordinates) with the mouse captured for `window`: mode 0 a
// horizontal bar, 1 a vertical bar, 2 the cross of both (pos, the grab point and the result then hold the
// horizontal value in the low and the vertical one in the high 16 bits). Returns how far the bar moved.
int TrackSplitterBar(HWND window, int mode, const RECT* area, int pos, int grabX, int grabY, int barWidth,
                     int trackWidth, int trackOffset);
inline int TrackSplitterBar(CWnd* window, int mode, const RECT* area, int pos, int grabX, int grabY, int barWidth,
                            int trackWidth, int trackOffset) {
    return TrackSplitterBar(window ? window->GetSafeHwnd() : nullptr, mode, area, pos, grabX, grabY, barWidth,
                            trackWidth, trackOffset);
}

// Drags the frame of `rect` (screen coordinates) from the screen point (x, y) where the button went down.
// Returns the offset (dx, dy) of the last mouse move.
SIZE TrackMoveRect(HWND window, const RECT* rect, int x, int y);
inline SIZE TrackMoveRect(CWnd* window, const RECT* rect, int x, int y) {
    return TrackMoveRect(window ? window->GetSafeHwnd() : nullptr, rect, x, y);
}
