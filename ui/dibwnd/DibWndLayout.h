// Geometry of the bitmap window: scroll positions, scroll-bar ranges and what painting covers.
#pragma once

#include <windows.h>

#include <vector>

// Window-style bits that configure the bitmap window.
enum : DWORD {
    kDibWndHScroll = 0x01,
    kDibWndVScroll = 0x02,
    kDibWndKeepHScroll = 0x04, // the bar stays visible, disabled, when nothing scrolls
    kDibWndKeepVScroll = 0x08,
    kDibWndCentre = 0x10,      // centre an image smaller than the window
    kDibWndFixedSize = 0x20,   // resizing the window never resizes the image
    kDibWndPin = 0x40,         // without centring, keep a smaller image at the top-left corner
    kDibWndOptionMask = 0x7f,
};

// The largest image side the window shows.
constexpr int kDibWndMaxSize = 16000;

// The scroll position of one axis: the image coordinate at the client's edge (negative: the image is
// shifted right or down). imageExtent <= 0 means there is no image.
int ClampDibScroll(int request, int imageExtent, int clientExtent, bool centre, bool pin);

struct DibScrollRange {
    int min, max, page, pos;
};
// The scroll bar of one axis for an image and client extent; `pos` is the current scroll position,
// cut into the range (the window keeps the cut value).
DibScrollRange LayoutDibScrollBar(int imageExtent, int clientExtent, int pos, bool centre);

// What a paint covers: the image part copied to the client, and the bands beside it.
struct DibPaintPlan {
    int srcX, srcY;   // image point copied to (dest.left, dest.top)
    RECT dest;        // client rectangle that shows the image
    RECT bands[4];    // client rectangles outside the image, filled with the background
    int bandCount;
};
DibPaintPlan PlanDibPaint(int imageWidth, int imageHeight, int clientWidth, int clientHeight, int scrollX,
                          int scrollY);

// The parts of an update region (disjoint rectangles) gathered into the boxes that painting copies one at a
// time: parts lie in the same box while the box wastes little beyond them, so that far-apart changes are
// copied each on its own and a cluster of small ones in one go.
std::vector<RECT> GroupPaintParts(const std::vector<RECT>& parts);
