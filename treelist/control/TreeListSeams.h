// The clock, the message post and the cursor position of the "TreeList" control, replaceable so that tests can
// drive the timing rules, make a post fail and put the mouse where the timers look. Process-wide.
#pragma once

#include <windows.h>

using TreeListTickFn = DWORD (*)();
using TreeListPostFn = BOOL(WINAPI*)(HWND, UINT, WPARAM, LPARAM);
using TreeListCursorFn = BOOL(WINAPI*)(POINT*);

DWORD TreeListTick();
BOOL TreeListPost(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The cursor in screen coordinates, and in the client coordinates of a window.
BOOL TreeListCursorPos(POINT* point);
POINT TreeListCursorIn(HWND window);

// Whether paint passes copy repeated item images (on unless a test compares with drawing every one).
bool TreeListPaintCopiesOn();
bool SetTreeListPaintCopies(bool on);

// Null restores GetTickCount / PostMessageA / GetCursorPos; each returns the function it replaces.
TreeListTickFn SetTreeListTickSource(TreeListTickFn tick);
TreeListPostFn SetTreeListPostFunction(TreeListPostFn post);
TreeListCursorFn SetTreeListCursorSource(TreeListCursorFn cursor);
