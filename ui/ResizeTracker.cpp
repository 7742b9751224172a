// The modal resize tracker.
#include "ui/ResizeTracker.h"

#include "image/Splitter.h"
#include "ui/trackers/DesktopDrag.h"

#include <algorithm>

namespace {

constexpr int kFrameThickness = 4;

} // namespace

RECT ResizeRectEdges(const RECT& start, int edges, int dx, int dy, int minWidth, int minHeight) {
    RECT r = start;
    if (edges & kBorderLeft) r.left = std::min<LONG>(start.left + dx, start.right - minWidth);
    if (edges & kBorderRight) r.right = std::max<LONG>(start.right + dx, start.left + minWidth);
    if (edges & kBorderTop) r.top = std::min<LONG>(start.top + dy, start.bottom - minHeight);
    if (edges & kBorderBottom) r.bottom = std::max<LONG>(start.bottom + dy, start.top + minHeight);
    return r;
}

int TrackResizeRect(HWND window, RECT* rect, int x, int y, int minWidth, int minHeight) {
    const int disabled = (minWidth < 0 ? kBorderLeft | kBorderRight : 0) | (minHeight < 0 ? kBorderTop | kBorderBottom : 0);
    HCURSOR sizing = nullptr;
    const int edges = HitTestBorder(*rect, x, y, 0, disabled, &sizing);
    if (edges == kBorderNone) return 0;
    // The window may hold the capture already, taken when the button went down; another may not.
    DesktopDrag drag;
    if (!drag.Begin(window, true)) return 0;
    HCURSOR oldCursor = SetCursor(sizing);
    const RECT start = *rect;
    const SIZE thickness = {kFrameThickness, kFrameThickness};
    DragFrame frame;
    frame.Draw(drag.Screen(), start, thickness);
    const DragEnd end = drag.Run([&](const MSG& msg) {
        POINT p = {(short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam)};
        ClientToScreen(msg.hwnd, &p);
        const RECT next = ResizeRectEdges(start, edges, p.x - x, p.y - y, minWidth, minHeight);
        if (!EqualRect(&next, &frame.Last())) frame.Draw(drag.Screen(), next, thickness);
    });
    frame.Erase(drag.Screen());
    SetCursor(oldCursor);
    if (end != DragEnd::Released) return 0;
    *rect = frame.Last();
    return 1;
}
