// The modal resize tracker.
#include "ui/ResizeTracker.h"

#include "image/Splitter.h"

#include <algorithm>

namespace {

constexpr int kFrameThickness = 4;
// Bounds the flush of pending paints: a window that never validates must not hang the tracker.
constexpr int kMaxPendingPaints = 1000;

// The drag frame, drawn and erased by inverting through a halftone brush.
class DragFrame {
public:
    explicit DragFrame(HDC dc) : dc_(dc) {
        static const WORD kHalftone[8] = {0x55, 0xaa, 0x55, 0xaa, 0x55, 0xaa, 0x55, 0xaa};
        pattern_ = CreateBitmap(8, 8, 1, 1, kHalftone);
        brush_ = CreatePatternBrush(pattern_);
    }
    ~DragFrame() {
        DeleteObject(brush_);
        DeleteObject(pattern_);
    }
    void Show(const RECT& r) {
        if (shown_) Invert(current_);
        current_ = r;
        Invert(current_);
        shown_ = true;
    }
    void Hide() {
        if (shown_) Invert(current_);
        shown_ = false;
    }
    bool IsAt(const RECT& r) const { return shown_ && EqualRect(&r, &current_); }

private:
    void Invert(const RECT& r) {
        HGDIOBJ old = SelectObject(dc_, brush_);
        const int w = r.right - r.left, h = r.bottom - r.top, t = kFrameThickness;
        PatBlt(dc_, r.left, r.top, w, t, PATINVERT);
        PatBlt(dc_, r.left, r.bottom - t, w, t, PATINVERT);
        PatBlt(dc_, r.left, r.top + t, t, h - 2 * t, PATINVERT);
        PatBlt(dc_, r.right - t, r.top + t, t, h - 2 * t, PATINVERT);
        SelectObject(dc_, old);
    }
    HDC dc_;
    HBITMAP pattern_;
    HBRUSH brush_;
    RECT current_ = {};
    bool shown_ = false;
};

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
    bool accepted = false;
    {
        DragFrame frame(dc);
        frame.Show(start);
        RECT now = start;
        bool done = false;
        while (!done && GetCapture() == window) {
            const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
            if (got == 0 || got == -1) {
                if (got == 0) PostQuitMessage((int)msg.wParam);
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
                now = ResizeRectEdges(start, edges, p.x - x, p.y - y, minWidth, minHeight);
                if (!frame.IsAt(now)) frame.Show(now);
                break;
            }
            default: DispatchMessageA(&msg);
            }
        }
        frame.Hide();
        if (accepted) *rect = now;
    }
    SetCursor(oldCursor);
    if (locked) LockWindowUpdate(nullptr);
    if (GetCapture() == window) ReleaseCapture();
    ReleaseDC(desktop, dc);
    return accepted ? 1 : 0;
}
