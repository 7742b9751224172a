// Registers a plain window class for test parent windows (arrow cursor, dialog-face background) and returns its
// name; registering it again is harmless.
#pragma once

#include <windows.h>

inline const char* RegisterTestWindowClass(const char* name, WNDPROC proc) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    RegisterClassA(&wc);
    return name;
}
