#include "ui/trackers/Trackers.h"

#include "ui/PostedMouse.h"
#include "ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

namespace {

using uitest::TestParent;

// A window for the drags, with the screen point of its client origin.
struct DragWindow {
    TestParent parent{400, 300};
    uitest::PostedMouseOnly mouseOnly;  // the trackers read MSG::pt
    uitest::KeepsCaptureWhenDeactivated keepsCapture{parent.hwnd};
    POINT origin = {0, 0};
    DragWindow() { ClientToScreen(parent.hwnd, &origin); }
    // Posts a mouse message at the screen point (x, y).
    void Mouse(UINT msg, int x, int y) const {
        uitest::PostMouseMessage(parent.hwnd, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, x - origin.x, y - origin.y);
    }
    RECT Area() const { return {origin.x + 20, origin.y + 20, origin.x + 320, origin.y + 220}; }
};

// The exit code of a queued WM_QUIT, taken from the queue, or -1.
int QueuedQuit() {
    MSG msg;
    return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) ? static_cast<int>(msg.wParam) : -1;
}

std::pair<LONG, LONG> Pair(SIZE s) { return {s.cx, s.cy}; }

}  // namespace

TEST(Trackers, SplitterBarsFollowTheMouseUntilRelease) {
    DragWindow w;
    const RECT area = w.Area();
    // A vertical bar 6 wide at 50, held at its left edge.
    const int x = area.left + 50, y = area.top + 100;
    w.Mouse(WM_MOUSEMOVE, x + 10, y);
    w.Mouse(WM_MOUSEMOVE, x + 25, y + 40);
    w.Mouse(WM_LBUTTONUP, x + 25, y + 40);
    EXPECT_EQ(TrackSplitterBar(w.parent.hwnd, 1, &area, 50, 0, 0, 6, 0, kSplitterDefault), 25);
    EXPECT_EQ(GetCapture(), nullptr);
    // A horizontal bar dragged far below stops at the area's bottom.
    w.Mouse(WM_MOUSEMOVE, x, area.bottom + 500);
    w.Mouse(WM_LBUTTONUP, x, area.bottom + 500);
    EXPECT_EQ(TrackSplitterBar(w.parent.hwnd, 0, &area, 50, 0, 0, 6, 0, kSplitterDefault), 200 - 6 - 50);
    // The cross, 3 left and 5 down.
    const int cx = area.left + 40 + 3, cy = area.top + 30 + 3;
    w.Mouse(WM_MOUSEMOVE, cx - 3, cy + 5);
    w.Mouse(WM_LBUTTONUP, cx - 3, cy + 5);
    EXPECT_EQ(TrackSplitterBar(w.parent.hwnd, 2, &area, 0x001E0028, 3, 3, 6, 0, kSplitterDefault), 0x0005FFFD);
    // Press and release without moving.
    w.Mouse(WM_LBUTTONUP, x, y);
    EXPECT_EQ(TrackSplitterBar(w.parent.hwnd, 1, &area, 50, 0, 0, 6, 0, kSplitterDefault), 0);
}

TEST(Trackers, MoveRectGivesTheLastOffset) {
    DragWindow w;
    const RECT frame = w.Area();
    const int x = frame.left + 5, y = frame.top + 5;
    w.Mouse(WM_MOUSEMOVE, x + 7, y - 4);
    w.Mouse(WM_MOUSEMOVE, x - 12, y + 9);
    w.Mouse(WM_LBUTTONUP, x + 100, y + 100);  // the release point does not count
    EXPECT_EQ(Pair(TrackMoveRect(w.parent.hwnd, &frame, x, y)), std::pair(-12L, 9L));
    w.Mouse(WM_LBUTTONUP, x, y);
    EXPECT_EQ(Pair(TrackMoveRect(w.parent.hwnd, &frame, x, y)), std::pair(0L, 0L));
}

TEST(Trackers, EscapeRightClickAndQuitCancelEveryDrag) {
    DragWindow w;
    const RECT area = w.Area();
    const int x = area.left + 50, y = area.top + 50;
    struct Cancel {
        const char* name;
        std::function<void()> post;
    } cancels[] = {
        {"escape", [&] { PostMessageA(w.parent.hwnd, WM_KEYDOWN, VK_ESCAPE, 0); }},
        {"right button", [&] { w.Mouse(WM_RBUTTONDOWN, x, y); }},
        {"quit", [] { PostQuitMessage(7); }},
    };
    for (const Cancel& c : cancels) {
        for (int tracker = 0; tracker < 2; ++tracker) {
            w.Mouse(WM_MOUSEMOVE, x + 30, y + 30);
            PostMessageA(w.parent.hwnd, WM_KEYDOWN, 'A', 0);  // other keys are dropped
            c.post();
            w.Mouse(WM_LBUTTONUP, x + 30, y + 30);
            const std::pair<LONG, LONG> moved = tracker == 0
                ? std::pair<LONG, LONG>(TrackSplitterBar(w.parent.hwnd, 2, &area, 0x00320032, 0, 0, 6, 0, 0), 0)
                : Pair(TrackMoveRect(w.parent.hwnd, &area, x, y));
            EXPECT_EQ(moved, std::pair(0L, 0L)) << c.name << " " << tracker;
            EXPECT_EQ(GetCapture(), nullptr) << c.name;
            EXPECT_EQ(QueuedQuit(), std::string(c.name) == "quit" ? 7 : -1) << c.name;
            TakeQueued(w.parent.hwnd, WM_MOUSEFIRST, WM_MOUSELAST);  // the release posted for a case not cancelled
        }
    }
    // The desktop is unlocked again: it can be locked by someone else.
    EXPECT_TRUE(LockWindowUpdate(GetDesktopWindow()));
    LockWindowUpdate(nullptr);
}

TEST(Trackers, CaptureHeldElsewhereOrTakenAwayEndsTheDrag) {
    DragWindow w;
    TestParent other(50, 50);
    const RECT area = w.Area();
    SetCapture(other.hwnd);
    w.Mouse(WM_LBUTTONUP, area.left, area.top);
    EXPECT_EQ(TrackSplitterBar(w.parent.hwnd, 1, &area, 50, 0, 0, 6, 0, 0), 0);
    EXPECT_EQ(GetCapture(), other.hwnd);
    EXPECT_TRUE(LockWindowUpdate(GetDesktopWindow()));  // nothing was locked
    LockWindowUpdate(nullptr);
    ReleaseCapture();
    TakeQueued(w.parent.hwnd, WM_MOUSEFIRST, WM_MOUSELAST);
    // Another window taking the capture during the drag ends it as accepted.
    w.parent.answer = [&](UINT msg, WPARAM, LPARAM, LRESULT*) {
        if (msg == WM_APP) SetCapture(other.hwnd);
        return msg == WM_APP;
    };
    const int x = area.left + 50, y = area.top + 50;
    w.Mouse(WM_MOUSEMOVE, x + 20, y);
    PostMessageA(w.parent.hwnd, WM_APP, 0, 0);
    EXPECT_EQ(TrackSplitterBar(w.parent.hwnd, 1, &area, 50, 0, 0, 6, 0, 0), 20);
    EXPECT_EQ(GetCapture(), other.hwnd);
    ReleaseCapture();
}
