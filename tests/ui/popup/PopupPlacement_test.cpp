// Popup placement: arithmetic on rectangles, and a popup list created past the screen's edge.
#include "ui/popup/PopupList.h"
#include "ui/popup/PopupPlacement.h"

#include "tests/ui/RectTestSupport.h"

#include <gtest/gtest.h>

#include <climits>

namespace {
constexpr RECT kArea{0, 0, 1024, 768};
}

TEST(PopupPlacement, RectsAreMovedIntoTheAreaAndCutOnlyWhenLonger) {
    EXPECT_EQ(KeepRectInArea({100, 100, 300, 260}, kArea), (RECT{100, 100, 300, 260})) << "inside: unchanged";
    EXPECT_EQ(KeepRectInArea({900, 700, 1100, 860}, kArea), (RECT{824, 608, 1024, 768}));
    EXPECT_EQ(KeepRectInArea({-50, -20, 150, 140}, kArea), (RECT{0, 0, 200, 160}));
    EXPECT_EQ(KeepRectInArea({-10, 5, 2000, 50}, kArea), (RECT{0, 5, 1024, 50})) << "wider than the area";
    EXPECT_EQ(KeepRectInArea({1200, 10, 1100, 20}, kArea), (RECT{1024, 10, 1024, 20})) << "inverted: empty at the edge";
    EXPECT_EQ(KeepRectInArea({5, 5, 10, 10}, RECT{0, 0, 0, 0}), (RECT{5, 5, 10, 10})) << "no area: unchanged";
    // Second monitor left of the primary one.
    EXPECT_EQ(KeepRectInArea({-100, 10, 50, 40}, RECT{-1280, 0, 0, 1024}), (RECT{-150, 10, 0, 40}));
    EXPECT_EQ(KeepRectInArea({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, kArea), kArea) << "no overflow at the extremes";
}

TEST(PopupPlacement, ListGoesBelowItsFieldOrAboveWhenBelowHasNoRoom) {
    const RECT field{100, 200, 400, 222};
    EXPECT_EQ(PlacePopupAtAnchor(field, 280, 150, kArea), (RECT{100, 222, 380, 372}));
    const RECT low{100, 700, 400, 722};
    EXPECT_EQ(PlacePopupAtAnchor(low, 280, 150, kArea), (RECT{100, 550, 380, 700}));
    // Neither side holds it: the roomier side, cut to the area.
    EXPECT_EQ(PlacePopupAtAnchor({0, 100, 300, 120}, 200, 700, kArea), (RECT{0, 120, 200, 768}));
    EXPECT_EQ(PlacePopupAtAnchor({0, 600, 300, 620}, 200, 700, kArea), (RECT{0, 0, 200, 600}));
    // A field at the right edge: the list is moved left, not cut.
    EXPECT_EQ(PlacePopupAtAnchor({900, 100, 1020, 120}, 300, 100, kArea), (RECT{724, 120, 1024, 220}));
    EXPECT_EQ(PlacePopupAtAnchor(field, -5, -5, kArea), (RECT{100, 222, 100, 222})) << "negative sizes count as 0";
}

TEST(PopupPlacement, PopupListCreatedPastTheScreenEdgeStaysOnIt) {
    const RECT area = WorkAreaForRect(RECT{0, 0, 10, 10});
    ASSERT_GT(area.right - area.left, 300);
    RECT wanted{area.right - 100, area.bottom - 50, area.right + 100, area.bottom + 110};
    HWND popup = CreatePopupList(0, WS_BORDER, &wanted, nullptr, 1408);
    ASSERT_TRUE(popup);
    RECT r;
    GetWindowRect(popup, &r);
    EXPECT_EQ(r, (RECT{area.right - 200, area.bottom - 160, area.right, area.bottom}));
    DestroyWindow(popup);
}
