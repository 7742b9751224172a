// Small window-layer services: a console for printf output, and bringing a window to the front.
#pragma once

#include <windows.h>

#include <cstdio>

// The first call opens a console window and makes it the C runtime's standard output; later calls do
// nothing. Returns the standard output stream (null when the console could not be opened).
FILE* OpenDebugConsole();

// Brings the window to the top even when another thread owns the foreground (its input is attached to
// this thread's for the time), shown maximised when it is maximised, else restored.
void BringWindowToFront(HWND hwnd);
