#include "ui/popup/PopupPlacement.h"

#include <algorithm>

namespace {

// Moves [low, high) into [areaLow, areaHigh), cut to the area's length when longer.
void KeepSpanIn(LONG& low, LONG& high, LONG areaLow, LONG areaHigh) {
    const long long length = std::min<long long>(static_cast<long long>(high) - low, static_cast<long long>(areaHigh) - areaLow);
    long long start = std::clamp<long long>(low, areaLow, static_cast<long long>(areaHigh) - length);
    low = static_cast<LONG>(start);
    high = static_cast<LONG>(start + std::max<long long>(length, 0));
}

}  // namespace

RECT KeepRectInArea(const RECT& rect, const RECT& area) {
    if (area.right <= area.left || area.bottom <= area.top) return rect;
    RECT r = rect;
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    KeepSpanIn(r.left, r.right, area.left, area.right);
    KeepSpanIn(r.top, r.bottom, area.top, area.bottom);
    return r;
}

RECT PlacePopupAtAnchor(const RECT& anchor, int width, int height, const RECT& area) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    RECT r{anchor.left, anchor.bottom, anchor.left + width, anchor.bottom + height};
    if (area.right <= area.left || area.bottom <= area.top) return r;
    const long long below = static_cast<long long>(area.bottom) - anchor.bottom;
    const long long above = static_cast<long long>(anchor.top) - area.top;
    if (below < height) {
        if (above >= height) {
            r.top = anchor.top - height;
        } else if (above > below) {
            r.top = area.top;
            height = static_cast<int>(std::max<long long>(above, 0));
        } else {
            height = static_cast<int>(std::max<long long>(below, 0));
        }
        r.bottom = r.top + height;
    }
    // Horizontally only; vertically it is settled above (and may touch the anchor's row when cut).
    KeepSpanIn(r.left, r.right, area.left, area.right);
    return r;
}

RECT WorkAreaForRect(const RECT& rect) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(MonitorFromRect(&rect, MONITOR_DEFAULTTOPRIMARY), &info)) return info.rcWork;
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}
