// Window rectangles relative to a parent or dialog, moving and sizing windows in place.
#pragma once

#include <windows.h>

#include "framework/Wnd.h"

// The top-left corner of the window's rectangle, in screen coordinates.
POINT GetWindowTopLeft(HWND window);
inline POINT GetWindowTopLeft(CWnd* window) { return GetWindowTopLeft(window->GetSafeHwnd()); }
// The window rectangle in its parent's client coordinates: 1; 0 (rect in screen coordinates) without a parent.
int GetWindowRectInParent(HWND window, RECT* rect);
// A control's window rectangle in the dialog's client coordinates; 0 without dialog or control.
int GetDlgItemRectInDlg(HWND dialog, int id, RECT* rect);
// Moves and sizes control `id` onto the rectangle of control `placeholderId`; 0 when either is missing.
int MoveDlgItemOver(HWND dialog, int id, int placeholderId);
// Moves the window to (x, y) in its parent, or by (x, y) when `relative` is non-zero; size and Z order stay.
BOOL MoveWindowTo(HWND window, int x, int y, int relative);
// Sizes the window to (cx, cy), or by (cx, cy) when `relative` is non-zero; position and Z order stay.
BOOL ResizeWindow(HWND window, int cx, int cy, int relative);
