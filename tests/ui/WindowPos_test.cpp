// Window positions and the resize tracker, on real windows under Xvfb.
#include "ui/ResizeTracker.h"
#include "ui/WindowPos.h"

#include "tests/ui/RectTestSupport.h"
#include "tests/ui/UiTestSupport.h"

#include <gtest/gtest.h>

using uitest::TestParent;

namespace {

RECT WindowRect(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return r;
}

// Posts a mouse message to `hwnd` at a screen point.
void PostMouse(HWND hwnd, UINT msg, int screenX, int screenY) {
    POINT p = {screenX, screenY};
    ScreenToClient(hwnd, &p);
    PostMessageA(hwnd, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(p.x, p.y));
}

} // namespace

TEST(WindowPos, RectanglesInParentAndDialog) {
    TestParent parent;
    HWND a = parent.AddChild("STATIC", 101, 0, 0, 10, 20, 50, 30);
    HWND b = parent.AddChild("STATIC", 102, 0, 0, 100, 120, 70, 40);
    RECT r;
    EXPECT_EQ(1, GetWindowRectInParent(a, &r));
    EXPECT_EQ((RECT{10, 20, 60, 50}), r);
    EXPECT_EQ(0, GetWindowRectInParent(parent.hwnd, &r));
    EXPECT_EQ(WindowRect(parent.hwnd), r);
    const POINT topLeft = GetWindowTopLeft(a);
    EXPECT_EQ(WindowRect(a).left, topLeft.x);
    EXPECT_EQ(WindowRect(a).top, topLeft.y);

    EXPECT_EQ(1, GetDlgItemRectInDlg(parent.hwnd, 102, &r));
    EXPECT_EQ((RECT{100, 120, 170, 160}), r);
    EXPECT_EQ(0, GetDlgItemRectInDlg(parent.hwnd, 999, &r));
    EXPECT_EQ(0, GetDlgItemRectInDlg(nullptr, 102, &r));

    EXPECT_EQ(1, MoveDlgItemOver(parent.hwnd, 101, 102));
    GetWindowRectInParent(a, &r);
    EXPECT_EQ((RECT{100, 120, 170, 160}), r);
    EXPECT_EQ(0, MoveDlgItemOver(parent.hwnd, 101, 999));
    EXPECT_EQ(0, MoveDlgItemOver(parent.hwnd, 999, 102));
    (void)b;
}

TEST(WindowPos, MoveAndResizeKeepTheRest) {
    TestParent parent;
    HWND a = parent.AddChild("STATIC", 101, 0, 0, 10, 20, 50, 30);
    HWND b = parent.AddChild("STATIC", 102, 0, 0, 10, 20, 50, 30);
    EXPECT_TRUE(MoveWindowTo(a, 5, 7, 1));
    RECT r;
    GetWindowRectInParent(a, &r);
    EXPECT_EQ((RECT{15, 27, 65, 57}), r);
    EXPECT_TRUE(MoveWindowTo(a, 1, 2, 0));
    GetWindowRectInParent(a, &r);
    EXPECT_EQ((RECT{1, 2, 51, 32}), r);
    // The Z order stays: a was created first and is still above b.
    EXPECT_EQ(a, GetWindow(parent.hwnd, GW_CHILD));
    EXPECT_TRUE(ResizeWindow(a, -10, 0, 1));
    GetWindowRectInParent(a, &r);
    EXPECT_EQ((RECT{1, 2, 41, 32}), r);
    EXPECT_EQ(a, GetWindow(parent.hwnd, GW_CHILD));
    EXPECT_TRUE(ResizeWindow(b, 80, 90, 0));
    GetWindowRectInParent(b, &r);
    EXPECT_EQ((RECT{10, 20, 90, 110}), r);
}

TEST(WindowPos, ResizeGeometryKeepsTheMinimum) {
    const RECT start = {100, 100, 300, 200};
    EXPECT_EQ((RECT{120, 100, 300, 200}), ResizeRectEdges(start, 1, 20, 0, 50, 10));
    // Dragging the left edge past the right edge stops 50 pixels before it.
    EXPECT_EQ((RECT{250, 100, 300, 200}), ResizeRectEdges(start, 1, 400, 0, 50, 10));
    EXPECT_EQ((RECT{100, 100, 150, 200}), ResizeRectEdges(start, 2, -400, 0, 50, 10));
    EXPECT_EQ((RECT{100, 90, 300, 190}), ResizeRectEdges(start, 4 | 8, 0, -10, 50, 10));
    EXPECT_EQ((RECT{90, 95, 300, 200}), ResizeRectEdges(start, 5, -10, -5, 50, 10));
}

TEST(WindowPos, TrackerFollowsTheMouseUntilRelease) {
    TestParent parent(300, 200);
    RECT rect = WindowRect(parent.hwnd);
    const RECT start = rect;
    const int x = rect.right - 2, y = (rect.top + rect.bottom) / 2; // on the right edge
    PostMouse(parent.hwnd, WM_MOUSEMOVE, x + 30, y);
    PostMouse(parent.hwnd, WM_MOUSEMOVE, x + 40, y + 5);
    PostMouse(parent.hwnd, WM_LBUTTONUP, x + 40, y + 5);
    EXPECT_EQ(1, TrackResizeRect(parent.hwnd, &rect, x, y, 50, 50));
    EXPECT_EQ((RECT{start.left, start.top, start.right + 40, start.bottom}), rect);
    EXPECT_EQ(nullptr, GetCapture());

    PostMouse(parent.hwnd, WM_MOUSEMOVE, start.left - 500, y);
    PostMouse(parent.hwnd, WM_LBUTTONUP, start.left - 500, y);
    rect = start;
    EXPECT_EQ(1, TrackResizeRect(parent.hwnd, &rect, start.left + 1, y, 50, -1));
    EXPECT_EQ((RECT{start.left - 501, start.top, start.right, start.bottom}), rect);
}

TEST(WindowPos, TrackerCancels) {
    TestParent parent(300, 200);
    const RECT start = WindowRect(parent.hwnd);
    const int x = start.right - 2, y = (start.top + start.bottom) / 2;
    RECT rect = start;
    // A press in the middle: nothing tracked, no capture taken.
    EXPECT_EQ(0, TrackResizeRect(parent.hwnd, &rect, (start.left + start.right) / 2, y, 50, 50));
    EXPECT_EQ(nullptr, GetCapture());
    // Edges that may not move are no edges.
    EXPECT_EQ(0, TrackResizeRect(parent.hwnd, &rect, x, y, -1, 50));

    PostMouse(parent.hwnd, WM_MOUSEMOVE, x + 30, y);
    PostMessageA(parent.hwnd, WM_KEYDOWN, 'A', 0);
    PostMessageA(parent.hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(0, TrackResizeRect(parent.hwnd, &rect, x, y, 50, 50));
    EXPECT_EQ(start, rect);
    EXPECT_EQ(nullptr, GetCapture());

    PostMouse(parent.hwnd, WM_MOUSEMOVE, x + 30, y);
    PostMessageA(parent.hwnd, WM_RBUTTONDOWN, 0, 0);
    EXPECT_EQ(0, TrackResizeRect(parent.hwnd, &rect, x, y, 50, 50));
    EXPECT_EQ(start, rect);

    // A quit during the drag cancels it and stays in the queue for the application's loop.
    PostMouse(parent.hwnd, WM_MOUSEMOVE, x + 30, y);
    PostQuitMessage(3);
    EXPECT_EQ(0, TrackResizeRect(parent.hwnd, &rect, x, y, 50, 50));
    EXPECT_EQ(start, rect);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(3u, msg.wParam);

    // The tracking window may hold the capture already (taken when the button went down).
    SetCapture(parent.hwnd);
    PostMouse(parent.hwnd, WM_MOUSEMOVE, x + 30, y);
    PostMouse(parent.hwnd, WM_LBUTTONUP, x + 30, y);
    EXPECT_EQ(1, TrackResizeRect(parent.hwnd, &rect, x, y, 50, 50));
    EXPECT_EQ((RECT{start.left, start.top, start.right + 30, start.bottom}), rect);
    EXPECT_EQ(nullptr, GetCapture());
    rect = start;

    // Another window holding the capture: nothing tracked.
    SetCapture(parent.hwnd);
    HWND other = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(0, TrackResizeRect(other, &rect, x, y, 50, 50));
    ReleaseCapture();
    DestroyWindow(other);
}
