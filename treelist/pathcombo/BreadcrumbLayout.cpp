#include "treelist/pathcombo/BreadcrumbLayout.h"

#include <algorithm>

namespace {

constexpr int kTextPadding = 8;
constexpr int kMaxPosition = 0xFFFF;

uint16_t Clamp16(int v) { return (uint16_t)std::min(std::max(v, 0), kMaxPosition); }

}  // namespace

void LayBreadcrumb(BreadcrumbLayout& layout, const int* textWidths, int count, int arrowWidth) {
    count = std::min(std::max(count, 0), kMaxSegments);
    layout.count = count;
    layout.arrowWidth = arrowWidth;
    int x = 0;
    layout.positions[0] = 0;
    for (int k = 0; k < count; ++k) {
        x += arrowWidth;
        layout.positions[2 * k + 1] = Clamp16(x);
        x += std::max(textWidths[k], 0) + kTextPadding;
        layout.positions[2 * k + 2] = Clamp16(x);
    }
    layout.positions[2 * count + 1] = Clamp16(x + arrowWidth);
    layout.scrollX = 0;
    layout.firstVisible = 0;
    layout.lastVisible = 2 * count;
}

void FitBreadcrumb(BreadcrumbLayout& layout, int available) {
    const int end = layout.positions[2 * layout.count + 1];
    // Units from the right: each segment's text with the arrow after it, then the root arrow. The
    // last segment shows even when it alone is too wide.
    int first = layout.count ? 2 * layout.count - 1 : 0;
    while (first > 0) {
        const int start = first == 1 ? 0 : first - 2;
        if (end - layout.positions[start] > available) break;
        first = start;
    }
    layout.firstVisible = first;
    layout.scrollX = layout.positions[first];
    layout.lastVisible = 2 * layout.count;
}

int HitBreadcrumb(const BreadcrumbLayout& layout, const BreadcrumbFrame& frame, int x, int y) {
    if (x < 0 || y < 0 || x >= frame.clientWidth || y >= frame.clientHeight) return HIT_NONE;
    if (x >= frame.buttonLeft && x < frame.buttonRight) return HIT_BUTTON;
    if (x < frame.LayoutLeft()) return HIT_ICON;
    const int lx = x - frame.LayoutLeft() + layout.scrollX;
    const int last = 2 * layout.count;
    if (lx >= layout.positions[last + 1]) return HIT_EMPTY;
    for (int code = layout.firstVisible; code <= last; ++code)
        if (lx < layout.positions[code + 1]) return code;
    return HIT_EMPTY;
}

void PositionSpan(const BreadcrumbLayout& layout, const BreadcrumbFrame& frame, int code, int* left, int* right) {
    code = std::min(std::max(code, 0), 2 * layout.count);
    *left = layout.positions[code] - layout.scrollX + frame.LayoutLeft();
    *right = layout.positions[code + 1] - layout.scrollX + frame.LayoutLeft();
}
