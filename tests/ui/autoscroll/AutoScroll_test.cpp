#include "ui/autoscroll/AutoScroll.h"

#include "tests/support/WaitUntil.h"
#include "ui/PostedMouse.h"
#include "ui/RectTestSupport.h"
#include "ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <vector>

namespace {

constexpr UINT kTickEntered = WM_APP + 1;

struct Scroll {
    UINT msg;
    int code, pos;
    LPARAM lParam;  // horizontal ticks carry 1; vertical ones and the settling 0
    bool operator==(const Scroll&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Scroll& s) {
    return out << (s.msg == WM_HSCROLL ? "H " : "V ") << s.code << " " << s.pos << " " << s.lParam;
}

// A window with both scroll bars at 500 of 0..1000 that applies the scroll messages it gets, and a tick
// source it paces: the worker enters each tick by telling the window (after the posts of the tick before),
// and goes on only when the window lets it, `ticks` times; then the window ends the mode with `end`.
class ScrollTarget {
public:
    uitest::TestParent parent{300, 200};
    uitest::PostedMouseOnly mouseOnly;
    uitest::KeepsCaptureWhenDeactivated keepsCapture{parent.hwnd};
    CWnd wnd;
    std::vector<Scroll> scrolls;
    int ticks = 0;
    std::function<void()> end;
    RECT markRect = {};
    bool markHasIcon = false;

    ScrollTarget() {
        wnd.Attach(parent.hwnd);
        for (int bar : {SB_HORZ, SB_VERT}) {
            SetScrollRange(parent.hwnd, bar, 0, 1000, FALSE);
            SetScrollPos(parent.hwnd, bar, 500, TRUE);
        }
        m_go = CreateSemaphoreA(nullptr, 0, 100, nullptr);
        end = [this] { PostMessageA(parent.hwnd, WM_KEYDOWN, VK_ESCAPE, 0); };
        parent.answer = [this](UINT msg, WPARAM wParam, LPARAM lParam, LRESULT*) {
            return Handle(msg, wParam, lParam);
        };
        SetAutoScrollTick([this](const std::atomic<bool>& stopping) {
            PostMessageA(parent.hwnd, kTickEntered, ++m_entered, 0);
            WaitUntil([&] { return stopping || WaitForSingleObject(m_go, 0) == WAIT_OBJECT_0; }, 5000);
        });
    }
    ~ScrollTarget() {
        SetAutoScrollTick(nullptr);
        wnd.Detach();
        CloseHandle(m_go);
    }
    int Run(int x, int y, int axes) {
        const int result = StartAutoScroll(&wnd, x, y, axes);
        PumpQueued();
        return result;
    }
    std::vector<Scroll> Of(int code) const {
        std::vector<Scroll> out;
        for (const Scroll& s : scrolls)
            if (s.code == code) out.push_back(s);
        return out;
    }

private:
    bool Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_HSCROLL || msg == WM_VSCROLL) {
            scrolls.push_back({msg, LOWORD(wParam), HIWORD(wParam), lParam});
            SetScrollPos(parent.hwnd, msg == WM_HSCROLL ? SB_HORZ : SB_VERT, HIWORD(wParam), TRUE);
            return true;
        }
        if (msg != kTickEntered) return false;
        if (wParam == 1) {
            HWND mark = GetDlgItem(parent.hwnd, 65535);
            GetWindowRect(mark, &markRect);
            MapWindowPoints(nullptr, parent.hwnd, reinterpret_cast<POINT*>(&markRect), 2);
            markHasIcon = mark && SendMessageA(mark, STM_GETICON, 0, 0) != 0;
        }
        if (static_cast<int>(wParam) <= ticks)
            ReleaseSemaphore(m_go, 1, nullptr);
        else
            end();
        return true;
    }
    HANDLE m_go = nullptr;
    int m_entered = 0;
};

void PostMove(HWND hwnd, int x, int y) { uitest::PostMouseMessage(hwnd, WM_MOUSEMOVE, MK_MBUTTON, x, y); }

}  // namespace

TEST(AutoScroll, ScrollsByTheStepOfTheTableEveryTickThenSettles) {
    ScrollTarget t;
    t.ticks = 3;
    PostMove(t.parent.hwnd, 100 + 100, 80 + 3);  // right, step 100 >> 4 = 6
    EXPECT_EQ(t.Run(100, 80, 1), 1);
    EXPECT_EQ(t.scrolls, (std::vector<Scroll>{{WM_HSCROLL, SB_THUMBTRACK, 506, 1}, {WM_HSCROLL, SB_THUMBTRACK, 512, 1},
                                              {WM_HSCROLL, SB_THUMBTRACK, 518, 1},
                                              {WM_HSCROLL, SB_THUMBPOSITION, 518, 0},
                                              {WM_VSCROLL, SB_THUMBPOSITION, 500, 0}}));
    EXPECT_EQ(t.markRect, (RECT{84, 64, 116, 96}));
    EXPECT_TRUE(t.markHasIcon);
    EXPECT_EQ(GetDlgItem(t.parent.hwnd, 65535), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST(AutoScroll, DiagonalsScrollBothAxesByTheSumOfTheirParts) {
    ScrollTarget t;
    t.ticks = 1;
    PostMove(t.parent.hwnd, 100 + 100, 80 - 100);  // up and right, step 6 + 7
    EXPECT_EQ(t.Run(100, 80, 3), 1);
    EXPECT_EQ(t.Of(SB_THUMBTRACK),
              (std::vector<Scroll>{{WM_HSCROLL, SB_THUMBTRACK, 513, 1}, {WM_VSCROLL, SB_THUMBTRACK, 487, 0}}));
}

TEST(AutoScroll, NearTheStartOrAcrossTheOnlyAxisNothingScrolls) {
    for (int axes : {3, 1}) {
        ScrollTarget t;
        t.ticks = 2;
        PostMove(t.parent.hwnd, 100 + (axes == 3 ? 10 : 0), 80 + (axes == 3 ? 10 : 150));
        EXPECT_EQ(t.Run(100, 80, axes), 1);
        EXPECT_TRUE(t.Of(SB_THUMBTRACK).empty()) << axes;
        EXPECT_EQ(t.Of(SB_THUMBPOSITION).size(), 2u);
    }
}

TEST(AutoScroll, EveryButtonEscapeFocusLossAndQuitEndTheMode) {
    const UINT ends[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_KEYDOWN, WM_KILLFOCUS, WM_QUIT};
    for (UINT end : ends) {
        ScrollTarget t;
        t.end = [&] {
            const HWND hwnd = t.parent.hwnd;
            if (end == WM_QUIT)
                PostQuitMessage(3);
            else if (end == WM_KEYDOWN || end == WM_KILLFOCUS)
                PostMessageA(hwnd, end, end == WM_KEYDOWN ? VK_ESCAPE : 0, 0);
            else
                uitest::PostMouseMessage(hwnd, end, 0, 50, 50);
        };
        uitest::PostMouseMessage(t.parent.hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0, 0);  // dropped
        PostMessageA(t.parent.hwnd, WM_KEYDOWN, 'A', 0);                           // dropped
        EXPECT_EQ(StartAutoScroll(&t.wnd, 50, 50, 2), 1) << end;
        EXPECT_EQ(GetCapture(), nullptr) << end;
        MSG msg;
        EXPECT_EQ(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0, end == WM_QUIT) << end;
        PumpQueued();
        EXPECT_EQ(t.Of(SB_THUMBPOSITION).size(), 2u) << end;
    }
}

TEST(AutoScroll, RefusesBadAxesAndMissingWindows) {
    ScrollTarget t;
    EXPECT_EQ(StartAutoScroll(&t.wnd, 0, 0, 0), 0);
    EXPECT_EQ(StartAutoScroll(&t.wnd, 0, 0, 4), 0);
    EXPECT_EQ(StartAutoScroll(nullptr, 0, 0, 3), 0);
    CWnd gone;
    HWND dead = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    gone.Attach(dead);
    DestroyWindow(dead);
    EXPECT_EQ(StartAutoScroll(&gone, 0, 0, 3), 0);
    gone.Detach();
    EXPECT_EQ(GetCapture(), nullptr);
}

// A window that a message of the loop destroys gets nothing afterwards: its object has let go of it (or is
// gone), so nothing may be posted through the object.
TEST(AutoScroll, AWindowDestroyedDuringTheModeIsLeftAlone) {
    SetAutoScrollTick([](const std::atomic<bool>& stopping) { WaitUntil([&] { return stopping.load(); }, 5000); });
    uitest::PostedMouseOnly mouseOnly;
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "Rollen", WS_POPUP | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL,
                             CRect(40, 40, 340, 240), nullptr, 0));
    uitest::KeepsCaptureWhenDeactivated keepsCapture(wnd.m_hWnd);
    PostMessageA(wnd.m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(StartAutoScroll(&wnd, 50, 50, 3), 1);
    SetAutoScrollTick(nullptr);
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), WM_HSCROLL, WM_VSCROLL, PM_REMOVE));
}
