// The directory chooser's geometry: how each control follows a change of the client size, the smallest
// window, and whether a remembered window rectangle may be used again.
#pragma once

#include <windows.h>

// How a control follows the client size: its position moves, its size grows by the change (0 or 1 each).
struct LayoutFactor {
    int id;
    BYTE moveX, moveY, growX, growY;
};
constexpr int kPathDlgLayoutCount = 10;
extern const LayoutFactor kPathDlgLayout[kPathDlgLayoutCount];

// The layout as first recorded: client size and each control's rectangle (client coordinates).
struct LayoutRecord {
    bool taken = false;
    SIZE client = {};
    SIZE window = {};
    RECT rects[kPathDlgLayoutCount] = {};
};

// A control's rectangle for client size cx x cy.
RECT FollowClientSize(const LayoutRecord& record, int index, int cx, int cy);

// WM_SIZING: keeps the window at least minWidth x minHeight, moving the dragged edge.
void LimitSizing(RECT* r, UINT edge, int minWidth, int minHeight);

// A remembered window rectangle is used when it lies in the work area: left above work-left − 100 and
// below work-right − 100, top above work-top − 10 and below work-bottom − 100, both sizes above 16.
bool RememberedRectFits(const RECT& r, const RECT& work);
