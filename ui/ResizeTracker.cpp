// The modal resize tracker.
#include "ui/ResizeTracker.h"

#include "framework/Gdi.h"
#include "framework/WinApp.h"
#include "image/Splitter.h"

#include <algorithm>

namespace {

constexpr int kFrameThickness = 4;
// Bounds the flush of pending paints: a window that never validates must not hang the tracker.
constexpr int kMaxPendingPaints = 1000;

} // namespace

RECT ResizeRectEdges(const RECT& start, int edges, int dx, int dy, int minWidth, int minHeight) {
    RECT r = start;
    if (edges & kBorderLeft) r.left = std::min<LONG>(start.left + dx, start.right - minWidth);
    if (edges & kBorderRight) r.right = std::max<LONG>(start.right + dx, start.left + minWidth);
    if (edges & kBorderTop) r.top = std::min<LONG>(start.top + dy, start.bottom - minHeight);
    if (edges & kBorderBottom) r.bottom = std::max<LONG>(start.bottom + dy, start.top + minHeight);
    return r;
}

int TrackResizeRect(HWND window, RECT* rect, int x, int y, int minWidth, int minHeight) {
    const int disabled = (minWidth < 0 ? kBorderLeft | kBorderRight : 0) | (minHeight < 0 ? kBorderTop | kBorderBottom : 0);
    HCURSOR sizing = nullptr;
    const int edges = HitTestBorder(*rect, x, y, 0, disabled, &sizing);
    // The window may hold the capture already, taken when the button went down; another may not.
    const HWND holder = GetCapture();
    if (edges == kBorderNone || !window || (holder && holder != window)) return 0;

    HWND desktop = GetDesktopWindow();
    const bool locked = LockWindowUpdate(desktop) != FALSE;
    HDC dc = GetDCEx(desktop, nullptr, DCX_WINDOW | DCX_CACHE | (locked ? DCX_LOCKWINDOWUPDATE : 0));
    // Windows still waiting to paint do so now, before the frame goes on top of them. A quit met here
    // goes back into the queue for the application's own loop.
    MSG msg;
    for (int i = 0; i < kMaxPendingPaints && PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage((int)msg.wParam);
            ReleaseDC(desktop, dc);
            if (locked) LockWindowUpdate(nullptr);
            return 0;
        }
        DispatchMessageA(&msg);
    }

    HCURSOR oldCursor = SetCursor(sizing);
    SetCapture(window);
    SetBkColor(dc, RGB(192, 255, 255));
    const RECT start = *rect;
    // The drag frame, drawn and erased by inverting through the halftone brush.
    const SIZE thickness = {kFrameThickness, kFrameThickness};
    CDC screen;
    screen.Attach(dc);
    RECT now = start;
    screen.DrawDragRect(&now, thickness, nullptr, thickness);
    bool accepted = false, done = false;
    while (!done && GetCapture() == window) {
        if (!fw::GetNextMessage(msg)) {
            PostQuitMessage((int)msg.wParam);
            break;
        }
        switch (msg.message) {
        case WM_LBUTTONUP: accepted = done = true; break;
        case WM_RBUTTONDOWN: done = true; break;
        case WM_KEYDOWN:
            if (msg.wParam == VK_ESCAPE) done = true;
            break;
        case WM_MOUSEMOVE: {
            POINT p = {(short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam)};
            ClientToScreen(msg.hwnd, &p);
            const RECT next = ResizeRectEdges(start, edges, p.x - x, p.y - y, minWidth, minHeight);
            if (!EqualRect(&next, &now)) {
                screen.DrawDragRect(&next, thickness, &now, thickness);
                now = next;
            }
            break;
        }
        default: DispatchMessageA(&msg);
        }
    }
    screen.DrawDragRect(nullptr, thickness, &now, thickness);
    screen.Detach();
    if (accepted) *rect = now;
    SetCursor(oldCursor);
    if (locked) LockWindowUpdate(nullptr);
    if (GetCapture() == window) ReleaseCapture();
    ReleaseDC(desktop, dc);
    return accepted ? 1 : 0;
}
