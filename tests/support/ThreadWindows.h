// Finding a test's own menus, dialogs and boxes. Test programs running beside this one show windows of
// the same classes and captions at the same time: a test looks among its own thread's windows, never over
// the whole desktop (FindWindow).
#pragma once

#include <windows.h>

#include <cstring>
#include <functional>

// The first visible top-level window of the thread that matches, or 0.
inline HWND VisibleThreadWindow(const std::function<bool(HWND)>& matches, DWORD threadId = GetCurrentThreadId()) {
    struct Search {
        const std::function<bool(HWND)>& matches;
        HWND found;
    } search{matches, nullptr};
    EnumThreadWindows(
        threadId,
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (!IsWindowVisible(hwnd) || !s->matches(hwnd)) return TRUE;
            s->found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The same for a window class ("#32768" for a popup menu, "#32770" for a dialog or message box).
inline HWND VisibleThreadWindow(const char* className, DWORD threadId = GetCurrentThreadId()) {
    return VisibleThreadWindow(
        [className](HWND hwnd) {
            char cls[64] = {};
            GetClassNameA(hwnd, cls, sizeof cls);
            return std::strcmp(cls, className) == 0;
        },
        threadId);
}
