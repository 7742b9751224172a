// Monitor helpers.
#include "ui/Monitor.h"

namespace {

MonitorTable g_monitors;

BOOL CALLBACK CollectMonitor(HMONITOR, HDC, LPRECT rect, LPARAM data) {
    auto* table = reinterpret_cast<MonitorTable*>(data);
    if (table->fillPosition >= kMaxMonitors) return FALSE;
    table->rows[table->fillPosition++] = *rect;
    return table->fillPosition < kMaxMonitors;
}

RECT PrimaryScreen() { return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

bool IsValidMonitor(int monitor) { return monitor >= 0 && monitor < g_monitors.count; }

POINT Centre(const RECT& r) {
    return {static_cast<LONG>((static_cast<long long>(r.left) + r.right) / 2),
            static_cast<LONG>((static_cast<long long>(r.top) + r.bottom) / 2)};
}

// Moves r (kept in size) onto the monitor; false when nothing moves.
bool MoveOnto(RECT& r, int monitor, int mode) {
    if (!IsValidMonitor(monitor) || g_monitors.count < 2) return false;
    const RECT& target = g_monitors.rows[monitor];
    if (mode == kMonitorKeepOffset) {
        int current = MonitorIndexFromRect(&r);
        if (current < 0 || current == monitor) return false;
        const RECT& from = g_monitors.rows[current];
        OffsetRect(&r, target.left - from.left, target.top - from.top);
        return true;
    }
    if (mode != kMonitorCentre) return false;
    LONG width = r.right > r.left ? r.right - r.left : 0;
    LONG height = r.bottom > r.top ? r.bottom - r.top : 0;
    POINT c = Centre(target);
    r.left = c.x - width / 2;
    r.top = c.y - height / 2;
    r.right = r.left + width;
    r.bottom = r.top + height;
    return true;
}

}  // namespace

MonitorTable& GetMonitorTable() { return g_monitors; }

void UpdateMonitorTable(BOOL force) {
    if (g_monitors.count > 0 && !force) return;
    int count = GetSystemMetrics(SM_CMONITORS);
    if (count > kMaxMonitors) count = kMaxMonitors;
    g_monitors.fillPosition = 0;
    if (count < 2) {
        g_monitors.rows[0] = PrimaryScreen();
        g_monitors.count = 1;
        g_monitors.fillPosition = 1;
        return;
    }
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&g_monitors));
    for (int i = g_monitors.fillPosition; i < count; ++i) g_monitors.rows[i] = {-1, -1, -1, -1};
    g_monitors.count = count;
    g_monitors.fillPosition = count;
}

int MonitorIndexFromPoint(int x, int y) {
    POINT p = {x, y};
    for (int i = 0; i < g_monitors.count; ++i)
        if (PtInRect(&g_monitors.rows[i], p)) return i;
    return -1;
}

int MonitorIndexFromRect(const RECT* rect) {
    if (!rect) return -1;
    POINT c = Centre(*rect);
    return MonitorIndexFromPoint(c.x, c.y);
}

int MonitorIndexFromWindow(HWND window) {
    RECT r;
    if (!GetWindowRect(window, &r)) return -1;
    return MonitorIndexFromRect(&r);
}

int MonitorIndexFromPlacement(const MonitorPlacement* placement) {
    if (!placement) return -1;
    long long x = placement->x, y = placement->y;
    if (placement->cx > 0) x += placement->cx / 2;
    if (placement->cy > 0) y += placement->cy / 2;
    return MonitorIndexFromPoint(static_cast<int>(x), static_cast<int>(y));
}

BOOL IsRectVisibleOnMonitor(int monitor, int x, int y, int cx, int cy, int margin) {
    RECT r = IsValidMonitor(monitor) ? g_monitors.rows[monitor] : PrimaryScreen();
    // Sums in 64 bits: saved values come from the registry and may be anything.
    long long right = static_cast<long long>(x) + cx, bottom = static_cast<long long>(y) + cy;
    return cx >= margin && cy >= margin && right >= static_cast<long long>(r.left) + margin &&
           bottom >= static_cast<long long>(r.top) + margin && static_cast<long long>(x) + margin <= r.right &&
           static_cast<long long>(y) + margin <= r.bottom;
}

BOOL MoveRectToMonitor(RECT* rect, int monitor, int mode) {
    if (!rect) return FALSE;
    RECT r = *rect;
    if (!MoveOnto(r, monitor, mode)) return FALSE;
    *rect = r;
    return TRUE;
}

BOOL MoveWindowToMonitor(HWND window, int monitor, int mode) {
    RECT r;
    if (!GetWindowRect(window, &r) || !MoveOnto(r, monitor, mode)) return FALSE;
    POINT topLeft = {r.left, r.top};
    HWND parent = GetParent(window);
    if ((GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) && parent) ScreenToClient(parent, &topLeft);
    return SetWindowPos(window, nullptr, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER);
}

BOOL MovePlacementToMonitor(MonitorPlacement* placement, int monitor, int mode) {
    if (!placement) return FALSE;
    const int notSet = static_cast<int>(CW_USEDEFAULT);
    RECT r;
    r.left = placement->x == notSet ? 20 : placement->x;
    r.top = placement->y == notSet ? 20 : placement->y;
    const RECT& primary = g_monitors.count > 0 ? g_monitors.rows[0] : PrimaryScreen();
    // A size that is not set takes the primary monitor's less 100 pixels; other non-positive sizes count as none.
    if (placement->cx > 0)
        r.right = r.left + placement->cx;
    else if (placement->cx == notSet)
        r.right = r.left + (primary.right - primary.left - 100);
    else
        r.right = r.left;
    if (placement->cy > 0)
        r.bottom = r.top + placement->cy;
    else if (placement->cy == notSet)
        r.bottom = r.top + (primary.bottom - primary.top - 100);
    else
        r.bottom = r.top;
    if (!MoveRectToMonitor(&r, monitor, mode)) return FALSE;
    placement->x = r.left;
    placement->y = r.top;
    if (placement->cx > 0) placement->cx = r.right - r.left;
    if (placement->cy > 0) placement->cy = r.bottom - r.top;
    return TRUE;
}
