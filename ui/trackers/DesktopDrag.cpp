#include "ui/trackers/DesktopDrag.h"

namespace {

// Bounds the flush of pending paints: a window that never validates must not hang the tracker.
constexpr int kMaxPendingPaints = 1000;

// Lets the windows still waiting to paint do so before a frame goes on top of them. False when the
// application quits meanwhile; the quit goes back into the queue for the application's own loop.
bool FlushPaints() {
    MSG msg;
    for (int i = 0; i < kMaxPendingPaints && ::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        ::DispatchMessageA(&msg);
    }
    return true;
}

}  // namespace

void DragFrame::Draw(CDC& dc, const RECT& rect, SIZE thickness) {
    if (thickness.cx <= 0 && thickness.cy <= 0) thickness = {rect.right - rect.left, rect.bottom - rect.top};
    dc.DrawDragRect(&rect, thickness, m_drawn ? &m_last : nullptr, m_size);
    m_last = rect;
    m_size = thickness;
    m_drawn = true;
}

void DragFrame::Erase(CDC& dc) {
    if (m_drawn) dc.DrawDragRect(nullptr, m_size, &m_last, m_size);
    m_drawn = false;
}

bool DesktopDrag::Begin(HWND window, bool ownCaptureAllowed) {
    const HWND holder = ::GetCapture();
    if (!window || (holder && !(ownCaptureAllowed && holder == window))) return false;
    m_desktop = ::GetDesktopWindow();
    m_locked = ::LockWindowUpdate(m_desktop) != FALSE;
    m_dc = ::GetDCEx(m_desktop, nullptr, DCX_WINDOW | DCX_CACHE | (m_locked ? DCX_LOCKWINDOWUPDATE : 0));
    if (!m_dc || !FlushPaints()) return false;
    m_window = window;
    ::SetCapture(window);
    ::SetBkColor(m_dc, RGB(192, 255, 255));
    m_screen.Attach(m_dc);
    return true;
}

DragEnd DesktopDrag::Run(const std::function<void(const MSG&)>& onMove) {
    MSG msg;
    while (::GetCapture() == m_window) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));
        if (got == 0 || got == -1) return DragEnd::Cancelled;
        switch (msg.message) {
        case WM_LBUTTONUP: return DragEnd::Released;
        case WM_RBUTTONDOWN: return DragEnd::Cancelled;
        case WM_KEYDOWN:
            if (msg.wParam == VK_ESCAPE) return DragEnd::Cancelled;
            break;
        case WM_MOUSEMOVE: onMove(msg); break;
        default: ::DispatchMessageA(&msg);
        }
    }
    return DragEnd::CaptureLost;
}

DesktopDrag::~DesktopDrag() {
    m_screen.Detach();
    if (m_locked) ::LockWindowUpdate(nullptr);
    if (m_window && ::GetCapture() == m_window) ::ReleaseCapture();
    if (m_dc) ::ReleaseDC(m_desktop, m_dc);
}
