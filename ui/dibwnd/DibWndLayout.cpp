// Geometry of the bitmap window.
#include "ui/dibwnd/DibWndLayout.h"

#include <algorithm>

int ClampDibScroll(int request, int imageExtent, int clientExtent, bool centre, bool pin) {
    if (imageExtent <= 0) return 0;
    const int d = std::min(imageExtent, kDibWndMaxSize) - clientExtent;
    int pos;
    if (d < 0) {
        // A smaller image: centred, pinned to the corner, or anywhere inside the client.
        pos = centre ? d / 2 : std::min(std::max(pin ? 0 : request, d), 0);
    } else {
        pos = std::max(request, 0);
    }
    return d >= 0 ? std::min(pos, d) : pos;
}

DibScrollRange LayoutDibScrollBar(int imageExtent, int clientExtent, int pos, bool centre) {
    const int e = std::min(imageExtent, kDibWndMaxSize);
    DibScrollRange r = {0, e, clientExtent, pos};
    if (centre && clientExtent > e) r.min = r.max = r.pos = (e - clientExtent) / 2;
    r.page = std::min(r.page, r.max - r.min);
    r.pos = std::max(std::min(std::min(r.pos, r.max - r.page), r.max), r.min);
    return r;
}

DibPaintPlan PlanDibPaint(int imageWidth, int imageHeight, int clientWidth, int clientHeight, int scrollX,
                          int scrollY) {
    DibPaintPlan plan = {};
    auto axis = [](int extent, int scroll, int* src, int* dst, int* length) {
        const int e = std::min(extent, kDibWndMaxSize);
        *src = scroll >= 0 ? scroll : 0;
        *dst = scroll >= 0 ? 0 : -scroll;
        *length = scroll >= 0 ? e - scroll : e;
    };
    int dstX, dstY, lenX, lenY;
    axis(imageWidth, scrollX, &plan.srcX, &dstX, &lenX);
    axis(imageHeight, scrollY, &plan.srcY, &dstY, &lenY);
    plan.dest = {dstX, dstY, dstX + lenX, dstY + lenY};
    auto band = [&plan](int l, int t, int r, int b) {
        if (l < r && t < b) plan.bands[plan.bandCount++] = {l, t, r, b};
    };
    band(0, 0, clientWidth, dstY);                                  // above the image
    band(0, dstY, dstX, dstY + lenY);                               // left of the image rows
    band(0, dstY + lenY, clientWidth, clientHeight);                // below the image rows
    band(dstX + lenX, dstY, clientWidth, dstY + lenY);              // right of the image rows
    return plan;
}
