// Mouse input for tests of modal mouse loops, safe from the shared pointer: while a PostedMouseOnly
// object lives, the thread sees only the mouse messages a test posted with PostMouseMessage (each with
// MSG::pt set to the point its lParam names); the moves and clicks the system makes itself (when the
// capture changes, or when a test running beside this one moves the pointer) become WM_NULL.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace uitest {

constexpr WPARAM kPostedMouseMark = 0x1000;

// Posts a mouse message at the client point (x, y) of hwnd.
inline void PostMouseMessage(HWND hwnd, UINT msg, WPARAM keys, int x, int y) {
    PostMessageA(hwnd, msg, keys | kPostedMouseMark, MAKELPARAM(x, y));
}

class PostedMouseOnly {
public:
    PostedMouseOnly() { m_hook = SetWindowsHookExA(WH_GETMESSAGE, &Hook, nullptr, GetCurrentThreadId()); }
    ~PostedMouseOnly() { UnhookWindowsHookEx(m_hook); }
    PostedMouseOnly(const PostedMouseOnly&) = delete;
    PostedMouseOnly& operator=(const PostedMouseOnly&) = delete;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        auto* msg = reinterpret_cast<MSG*>(lParam);
        if (code == HC_ACTION && msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST) {
            if (!(msg->wParam & kPostedMouseMark)) {
                msg->message = WM_NULL;
            } else {
                msg->wParam &= ~kPostedMouseMark;
                POINT p = {static_cast<short>(LOWORD(msg->lParam)), static_cast<short>(HIWORD(msg->lParam))};
                ClientToScreen(msg->hwnd, &p);
                msg->pt = p;
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK m_hook;
};

// While it lives, the window ignores WM_CANCELMODE, so a modal loop keeps the capture it set on the window:
// the system sends the message (and DefWindowProc releases the capture) whenever the window loses the
// foreground, which a test running beside this one takes whenever it shows a window of its own.
class KeepsCaptureWhenDeactivated {
public:
    explicit KeepsCaptureWhenDeactivated(HWND hwnd) : m_hwnd(hwnd) { SetWindowSubclass(m_hwnd, &Proc, 1, 0); }
    ~KeepsCaptureWhenDeactivated() { RemoveWindowSubclass(m_hwnd, &Proc, 1); }
    KeepsCaptureWhenDeactivated(const KeepsCaptureWhenDeactivated&) = delete;
    KeepsCaptureWhenDeactivated& operator=(const KeepsCaptureWhenDeactivated&) = delete;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
        return msg == WM_CANCELMODE ? 0 : DefSubclassProc(hwnd, msg, wParam, lParam);
    }
    HWND m_hwnd;
};

}  // namespace uitest
