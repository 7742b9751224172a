// The clock and the message post of the "TreeList" control, replaceable so that tests can drive the timing
// rules and make a post fail. Process-wide.
#pragma once

#include <windows.h>

using TreeListTickFn = DWORD (*)();
using TreeListPostFn = BOOL(WINAPI*)(HWND, UINT, WPARAM, LPARAM);

DWORD TreeListTick();
BOOL TreeListPost(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Null restores GetTickCount / PostMessageA; each returns the function it replaces.
TreeListTickFn SetTreeListTickSource(TreeListTickFn tick);
TreeListPostFn SetTreeListPostFunction(TreeListPostFn post);
