#include "ui/trackers/SplitterGeometry.h"

namespace {

// Lowers to high first, then raises to low: low wins when the range is empty.
int Clamp(int value, int low, int high) {
    if (value > high) value = high;
    if (value < low) value = low;
    return value;
}

int Low16(int value) { return static_cast<short>(value & 0xFFFF); }
int High16(int value) { return static_cast<short>((static_cast<unsigned>(value) >> 16) & 0xFFFF); }

bool Moves(int mode, int axis) { return mode == axis || mode == kSplitterCross; }

}  // namespace

SplitterTrack StartSplitterTrack(int mode, const RECT& area, int pos, int grabX, int grabY, int barWidth,
                                 int trackWidth, int trackOffset) {
    SplitterTrack s;
    s.mode = mode == kSplitterHorizontal || mode == kSplitterCross ? mode : kSplitterVertical;
    s.area = area;
    s.barWidth = barWidth < 1 ? 1 : barWidth;
    s.trackWidth = trackWidth <= 0 ? s.barWidth : trackWidth;
    if (trackOffset == kSplitterDefault)
        s.offset = (s.barWidth - s.trackWidth + 1) / 2;
    else
        s.offset = s.mode == kSplitterCross ? Low16(trackOffset) : trackOffset;
    if (grabX == kSplitterDefault && grabY == kSplitterDefault) grabX = grabY = s.barWidth / 2;
    const int t = s.trackWidth, o = s.offset;
    s.lastLeft = area.right - t < area.left ? area.left : area.right - t;
    s.lastTop = area.bottom - t < area.top ? area.top : area.bottom - t;
    s.grabX = grabX - o;
    s.grabY = grabY - o;
    if (s.mode == kSplitterCross) {
        s.posX = Clamp(Low16(pos), 0, s.lastLeft - area.left);
        s.posY = Clamp(High16(pos), 0, s.lastTop - area.top);
    } else if (s.mode == kSplitterHorizontal) {
        s.posY = Clamp(pos, 0, s.lastTop - area.top);
    } else {
        s.posX = Clamp(pos, 0, s.lastLeft - area.left);
    }
    s.left = area.left + s.posX + o;
    s.top = area.top + s.posY + o;
    return s;
}

void MoveSplitterTrack(SplitterTrack* s, POINT pt) {
    if (Moves(s->mode, kSplitterHorizontal)) s->top = Clamp(pt.y - s->grabY, s->area.top, s->lastTop);
    if (Moves(s->mode, kSplitterVertical)) s->left = Clamp(pt.x - s->grabX, s->area.left, s->lastLeft);
}

int SplitterTrackRects(const SplitterTrack& s, RECT rects[3]) {
    const int t = s.trackWidth;
    const RECT& a = s.area;
    switch (s.mode) {
    case kSplitterHorizontal: rects[0] = {a.left, s.top, a.right, s.top + t}; return 1;
    case kSplitterVertical: rects[0] = {s.left, a.top, s.left + t, a.bottom}; return 1;
    default:
        rects[0] = {s.left, a.top, s.left + t, s.top};
        rects[1] = {s.left, s.top + t, s.left + t, s.lastTop + t};
        rects[2] = {a.left + s.offset, s.top, s.lastLeft + t, s.top + t};
        return 3;
    }
}

int SplitterTrackResult(const SplitterTrack& s) {
    const int slack = s.barWidth - s.trackWidth + s.offset;
    const int x = Clamp(s.left, s.area.left + s.offset, s.lastLeft + slack) - (s.area.left + s.offset) - s.posX;
    const int y = Clamp(s.top, s.area.top + s.offset, s.lastTop + slack) - (s.area.top + s.offset) - s.posY;
    switch (s.mode) {
    case kSplitterHorizontal: return y;
    case kSplitterVertical: return x;
    default: return static_cast<int>((static_cast<unsigned>(x) & 0xFFFFu) | (static_cast<unsigned>(y) << 16));
    }
}
