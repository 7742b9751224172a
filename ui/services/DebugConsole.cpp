#include "ui/services/DebugConsole.h"

#include <atomic>

FILE* OpenDebugConsole() {
    static std::atomic<bool> opened{false};
    if (opened.exchange(true)) return stdout;
    ::AllocConsole();
    // The runtime's own stdout stream is reopened on the console (copying a FILE is not valid here).
    return std::freopen("CONOUT$", "w", stdout);
}

void BringWindowToFront(HWND hwnd) {
    if (!hwnd) return;
    const DWORD self = ::GetCurrentThreadId();
    const HWND foreground = ::GetForegroundWindow();
    const DWORD other = foreground ? ::GetWindowThreadProcessId(foreground, nullptr) : self;
    const bool attach = other != self && ::AttachThreadInput(other, self, TRUE);
    ::BringWindowToTop(hwnd);
    ::ShowWindow(hwnd, ::IsZoomed(hwnd) ? SW_MAXIMIZE : SW_RESTORE);
    if (attach) ::AttachThreadInput(other, self, FALSE);
}
