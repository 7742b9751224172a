// Sizing-border hit test, and splitter bars and grips drawn into a DIB section.
#include "image/Splitter.h"

#include <gtest/gtest.h>

#include "tests/support/Canvas.h"

#include <cstdint>

TEST(Splitter, HitTestBorder) {
    const RECT r = {100, 100, 200, 200};
    HCURSOR cursor;
    EXPECT_EQ(kBorderTopLeft, HitTestBorder(r, 105, 105, 8, 0, &cursor));
    EXPECT_EQ(LoadCursor(nullptr, IDC_SIZENWSE), cursor);
    EXPECT_EQ(kBorderTop, HitTestBorder(r, 105, 105, 8, kBorderLeft, &cursor));
    EXPECT_EQ(LoadCursor(nullptr, IDC_SIZENS), cursor);
    EXPECT_EQ(kBorderNone, HitTestBorder(r, 150, 150, 8, 0, &cursor)); // inside the band's inner edge
    EXPECT_EQ(nullptr, cursor);
    EXPECT_EQ(kBorderNone, HitTestBorder(r, 95, 150, 8, 0, nullptr)); // outside the rectangle
    EXPECT_EQ(kBorderLeft, HitTestBorder(r, 95, 150, -8, 0, &cursor)); // a band on both sides
    EXPECT_EQ(LoadCursor(nullptr, IDC_SIZEWE), cursor);
    EXPECT_EQ(kBorderBottomRight, HitTestBorder(r, 199, 199, 0, 0, nullptr));
    EXPECT_EQ(kBorderNone, HitTestBorder(r, 150, 150, 0, 0, nullptr));
    EXPECT_EQ(kBorderTopRight, HitTestBorder(r, 181, 110, 0, 0, &cursor));
    EXPECT_EQ(LoadCursor(nullptr, IDC_SIZENESW), cursor);
    // A 30-pixel-wide rectangle has corner zones of 15.
    const RECT narrow = {0, 0, 30, 100};
    EXPECT_EQ(kBorderLeft, HitTestBorder(narrow, 14, 50, 0, 0, nullptr));
    EXPECT_EQ(kBorderRight, HitTestBorder(narrow, 15, 50, 0, 0, nullptr));
}

TEST(Splitter, GripAndBar) {
    EXPECT_TRUE(HitTestSplitterGrip(10, 100, 5, 10, 5));
    EXPECT_TRUE(HitTestSplitterGrip(10, 100, 5, 16, 23));
    EXPECT_FALSE(HitTestSplitterGrip(10, 100, 5, 17, 10));
    EXPECT_FALSE(HitTestSplitterGrip(10, 100, 5, 12, 24));
    EXPECT_TRUE(HitTestSplitterGrip(0, 100, kGripCentred | 0, 3, 41)); // 100 / 2 - 9
    EXPECT_FALSE(HitTestSplitterGrip(0, 100, kGripCentred | 0, 3, 40));
    EXPECT_TRUE(HitTestSplitterGrip(0, 100, kGripAtEnd | (uint16_t)-5, 3, 76)); // -5 + 100 - 19

    Canvas canvas(40, 60);
    SetBkColor(canvas.dc, RGB(1, 2, 3));
    EXPECT_EQ(RGB(1, 2, 3), DrawSplitterGripV(canvas.dc, 10, 60, 20));
    EXPECT_EQ(RGB(1, 2, 3), GetBkColor(canvas.dc));
    const COLORREF s = GetSysColor(COLOR_BTNSHADOW), l = GetSysColor(COLOR_3DLIGHT);
    auto channel = [](COLORREF c, int i) { return (int)((c >> (8 * i)) & 255); };
    COLORREF c1 = 0;
    for (int i = 0; i < 3; ++i) c1 |= (COLORREF)(channel(s, i) / 2 + channel(s, i) / 4) << (8 * i);
    EXPECT_EQ(c1, canvas.At(11, 20));
    EXPECT_EQ(c1, canvas.At(15, 38));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(16, 30));
    EXPECT_EQ(l, canvas.At(14, 27)); // the arrow's long stroke at x + 4
    EXPECT_EQ(l, canvas.At(12, 29)); // and its tip at x + 2

    Canvas bar(30, 20);
    EXPECT_EQ(7, DrawSplitterBar(bar.dc, 5, 20, 1));
    EXPECT_EQ(l, bar.At(0, 5));
    EXPECT_EQ(RGB(255, 255, 255), bar.At(10, 6));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), bar.At(19, 8));
    EXPECT_EQ(s, bar.At(3, 10));
    EXPECT_EQ(RGB(0, 0, 0), bar.At(3, 11));
    EXPECT_EQ(RGB(255, 255, 255), bar.At(20, 8)); // the bar ends after its length
}
