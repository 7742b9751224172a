// Where the splitter tracker draws its bars while the mouse drags them, and how far the bar moved: pure
// geometry in screen coordinates.
#pragma once

#include <windows.h>

// Stands for "not set" in the grab point and for "centred" in the track offset.
constexpr int kSplitterDefault = 12345;

enum SplitterMode { kSplitterHorizontal = 0, kSplitterVertical = 1, kSplitterCross = 2 };

struct SplitterTrack {
    int mode = kSplitterVertical;
    RECT area = {};
    int barWidth = 1, trackWidth = 1, offset = 0;
    int lastLeft = 0, lastTop = 0;  // right' and bottom': the furthest the tracking bar may go
    int grabX = 0, grabY = 0;       // the grab point as seen from the tracking bar
    int posX = 0, posY = 0;         // the start position brought into the area
    int left = 0, top = 0;          // the tracking bar now (the vertical bar's left, the horizontal bar's top)
};

// Applies the defaults (barWidth at least 1, trackWidth 0 = barWidth, offset 12345 = centred, grab
// 12345/12345 = the bar's middle; in the cross mode pos and offset are 16-bit halves) and brings pos into
// the area. Modes other than 0-2 act as 1.
SplitterTrack StartSplitterTrack(int mode, const RECT& area, int pos, int grabX, int grabY, int barWidth,
                                 int trackWidth, int trackOffset);
// Follows the mouse at pt (screen coordinates), within the area.
void MoveSplitterTrack(SplitterTrack* track, POINT pt);
// The rectangles to invert: one bar, or for the cross the vertical bar above and below the horizontal
// one, then the horizontal bar (so that the crossing is not inverted twice). Returns their number.
int SplitterTrackRects(const SplitterTrack& track, RECT rects[3]);
// The bar's change of position; for the cross the horizontal change in the low 16 bits, the vertical
// change in the high 16 bits.
int SplitterTrackResult(const SplitterTrack& track);
