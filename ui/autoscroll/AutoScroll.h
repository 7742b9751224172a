// Middle-button autoscroll for any window with scroll bars: a modal mouse loop shows a mark at the
// starting point and a direction cursor, and a worker thread scrolls the window every tick by posting
// scroll messages whose step grows with the mouse's distance from the mark.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>

#include "framework/Wnd.h"

// Waits for the worker's next tick (200 ms by default); `stopping` turns true when the mode ends.
using AutoScrollTick = std::function<void(const std::atomic<bool>& stopping)>;
// Replaces the tick of the autoscrolls started later on (tests); null restores the 200 ms tick.
void SetAutoScrollTick(AutoScrollTick tick);

// Runs the mode from the client point (x, y) of `wnd`; axes 1 horizontal, 2 vertical, 3 both. A click of
// any mouse button, Escape, losing the focus or the capture, or a quit (which stays queued) ends it; then
// the window is told to settle at the position reached (SB_THUMBPOSITION). Returns 1, or 0 without doing
// anything for axes outside 1-3 or a null or destroyed window.
int StartAutoScroll(CWnd* wnd, int x, int y, int axes);

// The worker: `param` is the autoscroll's shared state, handed over by StartAutoScroll.
UINT AutoScrollThread(LPVOID param);
