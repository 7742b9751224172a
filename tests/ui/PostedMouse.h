// Mouse input for tests of modal mouse loops, safe from the shared pointer: while a PostedMouseOnly
// object lives, the thread sees only the mouse messages a test posted with PostMouseMessage (each with
// MSG::pt set to the point its lParam names); the moves and clicks the system makes itself (when the
// capture changes, or when a test running beside this one moves the pointer) become WM_NULL.
#pragma once

#include <windows.h>

namespace uitest {

constexpr WPARAM kPostedMouseMark = 0x1000;

// Posts a mouse message at the client point (x, y) of hwnd.
inline void PostMouseMessage(HWND hwnd, UINT msg, WPARAM keys, int x, int y) {
    PostMessageA(hwnd, msg, keys | kPostedMouseMark, MAKELPARAM(x, y));
}

class PostedMouseOnly {
public:
    PostedMouseOnly() { hook_ = SetWindowsHookExA(WH_GETMESSAGE, &Hook, nullptr, GetCurrentThreadId()); }
    ~PostedMouseOnly() { UnhookWindowsHookEx(hook_); }
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
    HHOOK hook_;
};

}  // namespace uitest
