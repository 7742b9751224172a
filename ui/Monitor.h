// Monitor helpers: a process-wide table of the display monitors' rectangles, the monitor of a point, rectangle,
// window or saved placement, a visibility test for saved rectangles, and moves onto a given monitor.
#pragma once

#include <windows.h>

constexpr int kMaxMonitors = 16;

struct MonitorTable {
    RECT rows[kMaxMonitors];
    int count;
    int fillPosition;
};

// The process-wide table (rows filled by UpdateMonitorTable).
MonitorTable& GetMonitorTable();

// The tail of a CREATESTRUCT, in its order. CW_USEDEFAULT in x or y means not set; a size of 0 or less is none.
struct MonitorPlacement {
    int cy;
    int cx;
    int y;
    int x;
};

void UpdateMonitorTable(BOOL force);
int MonitorIndexFromPoint(int x, int y);
int MonitorIndexFromRect(const RECT* rect);
int MonitorIndexFromWindow(HWND window);
int MonitorIndexFromPlacement(const MonitorPlacement* placement);
BOOL IsRectVisibleOnMonitor(int monitor, int x, int y, int cx, int cy, int margin);

// mode 0 keeps the offset within the monitor, mode 1 centres.
constexpr int kMonitorKeepOffset = 0, kMonitorCentre = 1;
BOOL MoveWindowToMonitor(HWND window, int monitor, int mode);
BOOL MoveRectToMonitor(RECT* rect, int monitor, int mode);
BOOL MovePlacementToMonitor(MonitorPlacement* placement, int monitor, int mode);
