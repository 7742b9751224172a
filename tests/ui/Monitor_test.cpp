// Monitor helpers over the real (single) screen and over a table of several monitors set up by the test.
#include <gtest/gtest.h>

#include "ui/Monitor.h"

namespace {

// Replaces the process table for one test and restores the real one afterwards.
struct FakeMonitors {
    explicit FakeMonitors(std::initializer_list<RECT> rows) {
        MonitorTable& t = GetMonitorTable();
        t.count = 0;
        for (const RECT& r : rows) t.rows[t.count++] = r;
        t.fillPosition = t.count;
    }
    ~FakeMonitors() { UpdateMonitorTable(TRUE); }
};

const int kNotSet = static_cast<int>(CW_USEDEFAULT);

}  // namespace

TEST(Monitor, SingleScreenTableAndNoMoves) {
    UpdateMonitorTable(TRUE);
    const MonitorTable& t = GetMonitorTable();
    ASSERT_EQ(t.count, 1);
    EXPECT_EQ(t.rows[0].right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(t.rows[0].bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(MonitorIndexFromPoint(10, 10), 0);
    EXPECT_EQ(MonitorIndexFromPoint(-10, 10), -1);
    RECT r = {100, 100, 300, 200};
    RECT before = r;
    EXPECT_FALSE(MoveRectToMonitor(&r, 0, kMonitorCentre));
    EXPECT_TRUE(EqualRect(&r, &before));
    MonitorPlacement p = {200, 300, 10, 10};
    EXPECT_FALSE(MovePlacementToMonitor(&p, 0, kMonitorCentre));
    EXPECT_EQ(p.x, 10);
    EXPECT_EQ(p.cx, 300);
    EXPECT_EQ(MonitorIndexFromWindow(nullptr), -1);
}

TEST(Monitor, VisibilityNeedsTheMargin) {
    FakeMonitors monitors({{0, 0, 1000, 800}, {1000, 0, 2000, 800}});
    // 50 pixels reach into monitor 1 from its left edge: visible; 49: not.
    EXPECT_TRUE(IsRectVisibleOnMonitor(1, 650, 100, 400, 300, 50));
    EXPECT_FALSE(IsRectVisibleOnMonitor(1, 649, 100, 400, 300, 50));
    EXPECT_FALSE(IsRectVisibleOnMonitor(1, 1100, 100, 49, 300, 50));
    EXPECT_FALSE(IsRectVisibleOnMonitor(1, 1100, 751, 400, 300, 50));
    // A monitor that is gone: the primary screen's size decides.
    EXPECT_TRUE(IsRectVisibleOnMonitor(7, 10, 10, 400, 300, 50));
    EXPECT_FALSE(IsRectVisibleOnMonitor(-1, GetSystemMetrics(SM_CXSCREEN), 10, 400, 300, 50));
    // Registry values may be anything: no overflow.
    EXPECT_FALSE(IsRectVisibleOnMonitor(0, 0x7FFFFFF0, 0, 0x7FFFFFF0, 300, 50));
}

TEST(Monitor, MovesBetweenMonitors) {
    FakeMonitors monitors({{0, 0, 1000, 800}, {1000, 100, 2200, 1000}, {-1, -1, -1, -1}});
    RECT r = {100, 50, 300, 150};
    ASSERT_TRUE(MoveRectToMonitor(&r, 1, kMonitorKeepOffset));
    EXPECT_EQ(r.left, 1100);
    EXPECT_EQ(r.top, 150);
    EXPECT_EQ(r.right, 1300);
    EXPECT_FALSE(MoveRectToMonitor(&r, 1, kMonitorKeepOffset));  // already there
    ASSERT_TRUE(MoveRectToMonitor(&r, 0, kMonitorCentre));
    EXPECT_EQ(r.left, 400);
    EXPECT_EQ(r.top, 350);
    EXPECT_EQ(r.right - r.left, 200);
    for (int bad : {-1, 3, 16}) EXPECT_FALSE(MoveRectToMonitor(&r, bad, kMonitorCentre)) << bad;
    EXPECT_EQ(MonitorIndexFromRect(&r), 0);
    EXPECT_EQ(MonitorIndexFromPoint(1500, 500), 1);
}

TEST(Monitor, PlacementWithoutPositionOrSizeIsCentred) {
    FakeMonitors monitors({{0, 0, 1000, 800}, {1000, 0, 2000, 700}});
    MonitorPlacement p = {kNotSet, kNotSet, kNotSet, kNotSet};
    ASSERT_TRUE(MovePlacementToMonitor(&p, 1, kMonitorCentre));
    // A 900 x 700 rectangle (monitor 0 less 100) centred on monitor 1.
    EXPECT_EQ(p.x, 1500 - 450);
    EXPECT_EQ(p.y, 350 - 350);
    EXPECT_EQ(p.cx, kNotSet);
    EXPECT_EQ(p.cy, kNotSet);

    MonitorPlacement sized = {100, 200, 10, 1100};
    EXPECT_EQ(MonitorIndexFromPlacement(&sized), 1);
    ASSERT_TRUE(MovePlacementToMonitor(&sized, 0, kMonitorKeepOffset));
    EXPECT_EQ(sized.x, 100);
    EXPECT_EQ(sized.cx, 200);
    // A negative size counts as none.
    MonitorPlacement negative = {-5, -5, 10, 1100};
    EXPECT_EQ(MonitorIndexFromPlacement(&negative), 1);
    ASSERT_TRUE(MovePlacementToMonitor(&negative, 0, kMonitorCentre));
    EXPECT_EQ(negative.cx, -5);
    EXPECT_EQ(negative.x, 500);
}

TEST(Monitor, SeventeenthMonitorIsNotInTheTable) {
    MonitorTable& t = GetMonitorTable();
    t.count = kMaxMonitors;
    for (int i = 0; i < kMaxMonitors; ++i) t.rows[i] = {i * 100, 0, i * 100 + 100, 100};
    EXPECT_EQ(MonitorIndexFromPoint(1550, 50), 15);
    EXPECT_EQ(MonitorIndexFromPoint(1650, 50), -1);
    UpdateMonitorTable(TRUE);
}

TEST(Monitor, MovesWindowsInParentCoordinates) {
    FakeMonitors monitors({{0, 0, 1000, 800}, {1000, 0, 2000, 800}});
    HWND parent = CreateWindowA("STATIC", "", WS_POPUP, 50, 60, 3000, 900, nullptr, nullptr, nullptr, nullptr);
    HWND child = CreateWindowA("STATIC", "", WS_CHILD, 10, 20, 100, 50, parent, nullptr, nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    ASSERT_TRUE(MoveWindowToMonitor(child, 1, kMonitorKeepOffset));
    RECT r;
    GetWindowRect(child, &r);
    EXPECT_EQ(r.left, 1060);
    EXPECT_EQ(r.top, 80);
    EXPECT_EQ(r.right - r.left, 100);
    DestroyWindow(parent);
}
