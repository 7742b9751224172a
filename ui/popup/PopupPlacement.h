// Where a popup goes on the screen: inside the work area of the monitor it is meant for.
#pragma once

#include <windows.h>

// The rectangle moved into area; a side longer than the area's is cut to it. An empty area leaves rect as it is.
RECT KeepRectInArea(const RECT& rect, const RECT& area);

// A popup of width x height under the anchor (a field it belongs to), left edges aligned. Where there is
// no room below it goes above, and where neither side holds it, on the roomier side cut to fit.
// Horizontally it is kept inside the area.
RECT PlacePopupAtAnchor(const RECT& anchor, int width, int height, const RECT& area);

// The work area of the monitor that holds most of rect (the primary work area when none does).
RECT WorkAreaForRect(const RECT& rect);
