// The deepest child window under a screen point.
#pragma once

#include <windows.h>

class CWnd;

// Descends from parent through the first child whose window rectangle holds the point
// (hidden children skipped when visibleOnly); parent itself when no child holds it.
HWND ChildWindowFromPointDeep(POINT point, HWND parent, BOOL visibleOnly);
// The same as a framework object (null for none).
CWnd* ChildWindowFromPointDeep(POINT point, CWnd* parent, BOOL visibleOnly);
