// The bitmap window in a real top-level window under Xvfb: pixels read back from what it painted.
#include "ui/dibwnd/DibWnd.h"

#include "tests/support/ScreenPixels.h"
#include "tests/ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

using uitest::TestParent;

namespace {

constexpr UINT kId = 38680;

// The colour the window shows at a client point, read from its own device context (the X screen may
// show another test's window above ours). Tests running beside this one show windows at the same place:
// ours is kept above them, and a picture still missing after a while is painted again.
COLORREF WaitForScreenPixel(HWND hwnd, int x, int y, COLORREF expected) {
    const HWND top = GetAncestor(hwnd, GA_ROOT);
    SetWindowPos(top, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    COLORREF c = ClientPixel(hwnd, x, y);
    const DWORD start = GetTickCount();
    DWORD repainted = start;
    while (c != expected && GetTickCount() - start < Bound(10000)) {
        PumpFor(10);
        if (GetTickCount() - repainted > 500) {
            SetWindowPos(top, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            repainted = GetTickCount();
        }
        c = ClientPixel(hwnd, x, y);
    }
    return c;
}

// Waits for every client point to show its colour; the points and colours shown are compared at once.
struct Shown {
    int x, y;
    COLORREF colour;
};
void ExpectShows(HWND hwnd, std::initializer_list<Shown> points) {
    std::vector<std::tuple<int, int, COLORREF>> expected, got;
    for (const Shown& p : points) {
        expected.emplace_back(p.x, p.y, p.colour);
        got.emplace_back(p.x, p.y, WaitForScreenPixel(hwnd, p.x, p.y, p.colour));
    }
    EXPECT_EQ(expected, got);
}

std::pair<int, int> Scroll(CDibWnd& wnd) { return {wnd.GetScrollX(), wnd.GetScrollY()}; }

struct MouseLog {
    std::vector<std::vector<int>> calls;
    static void Record(void* context, UINT message, WPARAM flags, int x, int y) {
        static_cast<MouseLog*>(context)->calls.push_back({(int)message, (int)flags, x, y});
    }
};

} // namespace

TEST(DibWnd, DrawnImageReachesTheScreen) {
    TestParent parent(400, 300);
    CDibWnd wnd;
    ASSERT_TRUE(wnd.Create(0, WS_CHILD | WS_VISIBLE, RECT{10, 10, 310, 210}, CWnd::FromHandle(parent.hwnd), kId));
    CDibImage* image = wnd.GetImage();
    // A 24-bit X screen shows as 32 bits.
    ASSERT_EQ(std::tuple(300u, 200u, 32u), std::tuple(image->width, image->height, image->depth));
    EXPECT_EQ(0x00ffffffu, image->GetPixel(5, 5) & 0xffffff); // filled with the background
    PumpFor(50);
    image->FillRect(0, 0, 300, 200, 0x00000000);
    image->FillRect(20, 30, 40, 10, 0x00ff0000);
    wnd.InvalidateImageRect(0, 0, 300, 200, FALSE);
    wnd.UpdateWindow();
    ExpectShows(wnd.m_hWnd, {{25, 35, RGB(255, 0, 0)}, {19, 35, RGB(0, 0, 0)}});

    // Only the invalidated rectangle is painted again.
    image->FillRect(100, 100, 20, 20, 0x0000ff00);
    image->FillRect(200, 100, 20, 20, 0x0000ff00);
    wnd.InvalidateImageRect(120, 120, -20, -20, FALSE); // the negative form of (100, 100, 20, 20)
    wnd.UpdateWindow();
    ExpectShows(wnd.m_hWnd, {{105, 105, RGB(0, 255, 0)}, {205, 105, RGB(0, 0, 0)}});
}

TEST(DibWnd, SmallFixedImageCentredOrPinned) {
    TestParent parent(400, 360);
    CDibWnd centred;
    ASSERT_EQ(1, centred.SetImageSize(200, 100)); // before creation: the fixed size
    ASSERT_TRUE(centred.Create(0, WS_CHILD | WS_VISIBLE | kDibWndCentre | kDibWndFixedSize, RECT{0, 0, 300, 200},
                               CWnd::FromHandle(parent.hwnd), kId));
    EXPECT_EQ(200u, centred.GetImage()->width);
    EXPECT_EQ(std::pair(-50, -50), Scroll(centred));
    centred.SetBackground(RGB(0, 0, 255));
    centred.GetImage()->FillRect(0, 0, 200, 100, 0x00ffff00);
    centred.RedrawWindow();
    ExpectShows(centred.m_hWnd, {{49, 100, RGB(0, 0, 255)}, {50, 100, RGB(255, 255, 0)},
                                 {249, 149, RGB(255, 255, 0)}, {250, 100, RGB(0, 0, 255)}, {100, 160, RGB(0, 0, 255)}});
    // A window resize leaves a fixed-size image alone.
    centred.SetWindowPos(nullptr, 0, 0, 350, 250, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(200u, centred.GetImage()->width);
    EXPECT_EQ(-75, centred.GetScrollX());

    CDibWnd pinned;
    pinned.SetImageSize(200, 100);
    ASSERT_TRUE(pinned.Create(0, WS_CHILD | WS_VISIBLE | kDibWndPin | kDibWndFixedSize, RECT{0, 260, 300, 340},
                              CWnd::FromHandle(parent.hwnd), kId + 1));
    pinned.SetBackground(RGB(0, 255, 0));
    pinned.GetImage()->FillRect(0, 0, 200, 100, 0x00ff0000);
    pinned.RedrawWindow();
    EXPECT_EQ(0, pinned.GetScrollX());
    ExpectShows(pinned.m_hWnd, {{199, 10, RGB(255, 0, 0)}, {200, 10, RGB(0, 255, 0)}});
    // Pinned, but still scrolled to show the part that does not fit vertically.
    EXPECT_EQ(1, pinned.SetScrollPosition(0, 15, TRUE));
    EXPECT_EQ(15, pinned.GetScrollY());
    EXPECT_EQ(1, pinned.SetScrollPosition(0, 99, FALSE));
    EXPECT_EQ(20, pinned.GetScrollY());
}

TEST(DibWnd, ImageSizeLimits) {
    CDibWnd wnd;
    for (auto [w, h] : {std::pair(16001, 10), std::pair(10, 0)}) EXPECT_EQ(0, wnd.SetImageSize(w, h)) << w << "x" << h;
    EXPECT_EQ(1, wnd.SetImageSize(16000, 10));
    EXPECT_EQ(16000u, wnd.GetImage()->width);
    EXPECT_EQ(1, wnd.SetImageSize(16000, 10)); // nothing to do
}

TEST(DibWnd, ShrinkingTheImageKeepsTheScrollPositionInside) {
    TestParent parent(400, 300);
    CDibWnd wnd;
    EXPECT_EQ(1, wnd.SetImageSize(1000, 800));
    ASSERT_TRUE(wnd.Create(0, WS_CHILD | WS_VISIBLE | kDibWndFixedSize, RECT{0, 0, 300, 200},
                           CWnd::FromHandle(parent.hwnd), kId));
    EXPECT_EQ(1, wnd.SetScrollPosition(600, 500, FALSE));
    EXPECT_EQ(1, wnd.SetImageSize(400, 300));
    EXPECT_EQ(std::pair(100, 100), Scroll(wnd));
    // Smaller than the window: the image shows from its corner, the rest is background.
    EXPECT_EQ(1, wnd.SetImageSize(200, 100));
    EXPECT_EQ(std::pair(0, 0), Scroll(wnd));
    wnd.SetBackground(RGB(0, 0, 255));
    wnd.GetImage()->FillRect(0, 0, 200, 100, 0x00ff0000);
    wnd.RedrawWindow();
    ExpectShows(wnd.m_hWnd, {{0, 0, RGB(255, 0, 0)}, {250, 150, RGB(0, 0, 255)}});
}

TEST(DibWnd, ScrollBarsAndScrolling) {
    TestParent parent(400, 300);
    CDibWnd wnd;
    EXPECT_EQ(1, wnd.SetImageSize(1000, 800));
    ASSERT_TRUE(wnd.Create(0, WS_CHILD | WS_VISIBLE | kDibWndHScroll | kDibWndVScroll | kDibWndFixedSize,
                           RECT{0, 0, 300, 200}, CWnd::FromHandle(parent.hwnd), kId));
    EXPECT_EQ(1000u, wnd.GetImage()->width);
    const LONG style = GetWindowLongA(wnd.m_hWnd, GWL_STYLE);
    EXPECT_EQ(WS_HSCROLL | WS_VSCROLL, style & (WS_HSCROLL | WS_VSCROLL));
    RECT client;
    wnd.GetClientRect(&client);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(wnd.m_hWnd, SB_HORZ, &si);
    EXPECT_EQ(1000, si.nMax);
    EXPECT_EQ(client.right, (int)si.nPage);

    wnd.SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(32, wnd.GetScrollX());
    EXPECT_EQ(32, GetScrollPos(wnd.m_hWnd, SB_HORZ));
    wnd.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(client.bottom, wnd.GetScrollY());
    wnd.SendMessage(WM_HSCROLL, SB_LINELEFT, 0);
    wnd.SendMessage(WM_HSCROLL, SB_LINELEFT, 0);
    EXPECT_EQ(0, wnd.GetScrollX());
    wnd.SetScrollPosition(5000, 5000, TRUE);
    EXPECT_EQ(std::pair(1000 - (int)client.right, 800 - (int)client.bottom), Scroll(wnd));

    // Scrolled: what the client shows is the image at the scroll position.
    CDibImage* image = wnd.GetImage();
    image->FillRect(0, 0, 1000, 800, 0);
    image->FillRect(wnd.GetScrollX() + 10, wnd.GetScrollY() + 10, 1, 1, 0x00ff00ff);
    wnd.InvalidateImageRect(wnd.GetScrollX() + 10, wnd.GetScrollY() + 10, 1, 1, FALSE);
    wnd.UpdateWindow();
    EXPECT_EQ(RGB(255, 0, 255), WaitForScreenPixel(wnd.m_hWnd, 10, 10, RGB(255, 0, 255)));

    // Mouse messages arrive in image coordinates.
    MouseLog log;
    wnd.SetMouseCallback(MouseLog::Record, &log);
    wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
    wnd.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(7, 8));
    ASSERT_EQ(2u, log.calls.size());
    EXPECT_EQ((std::vector<int>{WM_LBUTTONDOWN, MK_LBUTTON, 5 + wnd.GetScrollX(), 6 + wnd.GetScrollY()}), log.calls[0]);
    EXPECT_EQ(WM_MOUSEMOVE, log.calls[1][0]);
    POINT screen = {3, 4};
    ClientToScreen(wnd.m_hWnd, &screen);
    wnd.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, (WORD)-120), MAKELPARAM(screen.x, screen.y));
    ASSERT_EQ(3u, log.calls.size());
    EXPECT_EQ((std::vector<int>{WM_MOUSEWHEEL, (int)MAKEWPARAM(MK_SHIFT, (WORD)-120), 3 + wnd.GetScrollX(),
                                4 + wnd.GetScrollY()}),
              log.calls[2]);
}

TEST(DibWnd, ResizeKeepsContentAndWaitsForTheLock) {
    TestParent parent(500, 400);
    CDibWnd wnd;
    ASSERT_TRUE(wnd.Create(0, WS_CHILD | WS_VISIBLE, RECT{0, 0, 200, 100}, CWnd::FromHandle(parent.hwnd), kId));
    wnd.GetImage()->FillRect(10, 10, 5, 5, 0x00123456);
    wnd.SetWindowPos(nullptr, 0, 0, 300, 150, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(300u, wnd.GetImage()->width);
    EXPECT_EQ(0x00123456u, wnd.GetImage()->GetPixel(12, 12) & 0xffffff); // the old picture survives

    // Another thread holds the image while the window grows: the image keeps its size until the
    // last unlock, then the window's own thread resizes it.
    std::atomic<int> stage{0};
    std::atomic<int> drawnWidth{0};
    std::thread worker([&] {
        wnd.LockImage();
        wnd.LockImage();
        stage = 1;
        while (stage.load() != 2) Sleep(1);
        CDibImage* image = wnd.GetImage();
        image->FillRect(0, 0, (int)image->width, 1, 0x00abcdef);
        drawnWidth = (int)image->width;
        wnd.UnlockImage();
        stage = 3;
        wnd.UnlockImage();
        stage = 4;
    });
    ASSERT_TRUE(PumpUntil([&] { return stage.load() == 1; }, 10000));
    EXPECT_EQ(2, wnd.GetLockCount());
    wnd.SetWindowPos(nullptr, 0, 0, 400, 200, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(300u, wnd.GetImage()->width);
    EXPECT_EQ(0, wnd.SetImageSize(350, 150)); // refused while locked
    stage = 2;
    ASSERT_TRUE(PumpUntil([&] { return stage.load() == 4; }, 10000));
    worker.join();
    EXPECT_EQ(300, drawnWidth.load());
    ASSERT_TRUE(PumpUntil([&] { return wnd.GetImage()->width == 400u; }, 10000));
    EXPECT_EQ(200u, wnd.GetImage()->height);
    EXPECT_EQ(0x00abcdefu, wnd.GetImage()->GetPixel(299, 0) & 0xffffff);
    EXPECT_EQ(0, wnd.GetLockCount());
    EXPECT_EQ(0, wnd.UnlockImage()); // an extra unlock stays at 0
}

TEST(DibWnd, DeferredResizeLaysOutTheScrollBarsForTheNewImage) {
    TestParent parent(500, 400);
    CDibWnd wnd;
    ASSERT_TRUE(wnd.Create(0, WS_CHILD | WS_VISIBLE | kDibWndHScroll | kDibWndKeepHScroll, RECT{0, 0, 300, 200},
                           CWnd::FromHandle(parent.hwnd), kId));
    ASSERT_EQ(1, wnd.LockImage());
    wnd.SetWindowPos(nullptr, 0, 0, 400, 200, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(300u, wnd.GetImage()->width);
    wnd.UnlockImage();
    ASSERT_TRUE(PumpUntil([&] { return wnd.GetImage()->width == 400u; }, 10000));
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(wnd.m_hWnd, SB_HORZ, &si);
    EXPECT_EQ(400, si.nMax);
}

TEST(DibWnd, PaintCallbackDrawsInImageCoordinates) {
    TestParent parent(400, 300);
    CDibWnd wnd;
    wnd.SetImageSize(600, 80);
    ASSERT_TRUE(wnd.Create(0, WS_CHILD | WS_VISIBLE | kDibWndHScroll | kDibWndFixedSize, RECT{0, 0, 200, 100},
                           CWnd::FromHandle(parent.hwnd), kId));
    wnd.SetScrollPosition(100, 0, FALSE);
    struct Seen {
        int calls = 0;
        POINT origin = {};
    } seen;
    wnd.SetPaintCallback(
        [](void* context, CDC* dc, PAINTSTRUCT*) {
            Seen* s = static_cast<Seen*>(context);
            ++s->calls;
            GetWindowOrgEx(dc->m_hDC, &s->origin);
            RECT r = {150, 20, 160, 30}; // image coordinates
            SetBkColor(dc->m_hDC, RGB(0, 128, 255));
            ExtTextOutA(dc->m_hDC, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
        },
        &seen);
    wnd.RedrawWindow();
    EXPECT_GE(seen.calls, 1);
    EXPECT_EQ(100, seen.origin.x);
    EXPECT_EQ(RGB(0, 128, 255), WaitForScreenPixel(wnd.m_hWnd, 55, 25, RGB(0, 128, 255)));
    // The cursor is the window's own.
    HCURSOR cross = LoadCursor(nullptr, IDC_CROSS);
    EXPECT_EQ(LoadCursor(nullptr, IDC_ARROW), wnd.SetCursor(cross));
    EXPECT_EQ(cross, wnd.SetCursor(nullptr));
}

TEST(DibWnd, CreateAtControlReportsFailure) {
    TestParent parent(400, 300);
    HWND placeholder = parent.AddChild("STATIC", 1201, 0, 0, 30, 40, 120, 60);
    CDibWnd wnd;
    EXPECT_FALSE(wnd.CreateAtControl(0, WS_CHILD | WS_VISIBLE, 999, CWnd::FromHandle(parent.hwnd), kId));
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    ASSERT_TRUE(wnd.CreateAtControl(0, WS_CHILD | WS_VISIBLE, 1201, CWnd::FromHandle(parent.hwnd), kId));
    RECT r;
    GetWindowRect(wnd.m_hWnd, &r);
    MapWindowPoints(nullptr, parent.hwnd, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(std::pair(30L, 100L), std::pair(r.left, r.bottom));
    EXPECT_EQ(wnd.m_hWnd, GetWindow(placeholder, GW_HWNDNEXT)); // right behind the placeholder
    EXPECT_EQ(120u, wnd.GetImage()->width);
}
