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

namespace {

long long Area(const RECT& r) { return (long long)(r.right - r.left) * (r.bottom - r.top); }

RECT Box(const RECT& a, const RECT& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

// Two groups share a box while it wastes at most a quarter of what they cover, or a small square's worth.
constexpr long long kSmallWaste = 32 * 32;

}  // namespace

std::vector<RECT> GroupPaintParts(const std::vector<RECT>& parts) {
    struct Group {
        RECT box;
        long long covered;
    };
    std::vector<Group> groups;
    for (const RECT& r : parts)
        if (r.left < r.right && r.top < r.bottom) groups.push_back({r, Area(r)});
    // Merges the pair that wastes least, as long as one is worth merging.
    for (;;) {
        size_t best = 0, other = 0;
        long long leastWaste = -1;
        for (size_t i = 0; i < groups.size(); ++i)
            for (size_t j = i + 1; j < groups.size(); ++j) {
                const long long covered = groups[i].covered + groups[j].covered;
                const long long waste = Area(Box(groups[i].box, groups[j].box)) - covered;
                if (waste <= std::max(kSmallWaste, covered / 4) && (leastWaste < 0 || waste < leastWaste)) {
                    leastWaste = waste;
                    best = i;
                    other = j;
                }
            }
        if (leastWaste < 0) break;
        groups[best] = {Box(groups[best].box, groups[other].box), groups[best].covered + groups[other].covered};
        groups.erase(groups.begin() + other);
    }
    std::vector<RECT> boxes;
    for (const Group& g : groups) boxes.push_back(g.box);
    return boxes;
}
