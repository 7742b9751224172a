// Where the breadcrumb's parts lie: the hit positions of the root arrow and of every segment's
// text and arrow, the part scrolled off at the left, and the hit code of a point.
#pragma once

#include "treelist/shared/PathText.h"

#include <cstdint>

// Hit codes besides the positions (even: arrow of level code / 2, odd: text of segment (code - 1) / 2).
enum : int {
    HIT_NONE = -1,
    HIT_ICON = 256,
    HIT_EMPTY = 257,
    HIT_BUTTON = 258,
};

struct BreadcrumbLayout {
    int count = 0;       // segments
    int arrowWidth = 0;
    // x boundaries in layout coordinates: [2k] the arrow of level k, [2k + 1] the text of segment k,
    // [2 * count + 1] the end.
    uint16_t positions[2 * kMaxSegments + 2] = {};
    int scrollX = 0;     // pixels scrolled off at the left
    int firstVisible = 0;
    int lastVisible = 0;
};

// The window's fixed parts: the layout starts right of the icon area and ends at the button.
struct BreadcrumbFrame {
    int clientWidth;
    int clientHeight;
    int imageWidth;
    int buttonLeft;
    int buttonRight;
    int LayoutLeft() const { return imageWidth + 4; }
    // The room the segments may take.
    int Available() const { return clientWidth - (buttonRight - buttonLeft) - imageWidth - 24; }
};

// Lays out count segments of the given text widths (each text gets 8 pixels more).
void LayBreadcrumb(BreadcrumbLayout& layout, const int* textWidths, int count, int arrowWidth);

// Scrolls so that the last segments show: from the last one backwards, the first segment that does
// not fit into available pixels and all before it (with the root arrow) go off at the left.
void FitBreadcrumb(BreadcrumbLayout& layout, int available);

// The hit code of client point (x, y).
int HitBreadcrumb(const BreadcrumbLayout& layout, const BreadcrumbFrame& frame, int x, int y);

// The client x range [left, right) of hit position code (0 to 2 * count).
void PositionSpan(const BreadcrumbLayout& layout, const BreadcrumbFrame& frame, int code, int* left, int* right);
