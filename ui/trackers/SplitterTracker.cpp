#include "ui/trackers/DesktopDrag.h"
#include "ui/trackers/Trackers.h"

int TrackSplitterBar(HWND window, int mode, const RECT* area, int pos, int grabX, int grabY, int barWidth,
                     int trackWidth, int trackOffset) {
    if (!area) return 0;
    SplitterTrack track = StartSplitterTrack(mode, *area, pos, grabX, grabY, barWidth, trackWidth, trackOffset);
    DesktopDrag drag;
    if (!drag.Begin(window, false)) return 0;
    DragFrame frames[3];
    auto draw = [&] {
        RECT rects[3];
        const int count = SplitterTrackRects(track, rects);
        for (int i = 0; i < count; ++i) frames[i].Draw(drag.Screen(), rects[i]);
    };
    draw();
    const DragEnd end = drag.Run([&](const MSG& msg) {
        MoveSplitterTrack(&track, msg.pt);
        draw();
    });
    for (DragFrame& frame : frames) frame.Erase(drag.Screen());
    return end == DragEnd::Cancelled ? 0 : SplitterTrackResult(track);
}
