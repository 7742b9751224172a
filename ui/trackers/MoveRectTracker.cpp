#include "ui/trackers/DesktopDrag.h"
#include "ui/trackers/Trackers.h"

SIZE TrackMoveRect(HWND window, const RECT* rect, int x, int y) {
    constexpr SIZE kThickness = {4, 4};
    if (!rect) return {0, 0};
    DesktopDrag drag;
    if (!drag.Begin(window, false)) return {0, 0};
    DragFrame frame;
    frame.Draw(drag.Screen(), *rect, kThickness);
    SIZE offset = {0, 0};
    const DragEnd end = drag.Run([&](const MSG& msg) {
        offset = {msg.pt.x - x, msg.pt.y - y};
        RECT moved = *rect;
        ::OffsetRect(&moved, offset.cx, offset.cy);
        frame.Draw(drag.Screen(), moved, kThickness);
    });
    frame.Erase(drag.Screen());
    return end == DragEnd::Cancelled ? SIZE{0, 0} : offset;
}
