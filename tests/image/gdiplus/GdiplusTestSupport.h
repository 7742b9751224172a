// Checks shared by the GDI+ and the plain GDI tests of the anti-aliased drawing.
#pragma once

#include "image/gdiplus/GdiplusAA.h"

#include <gtest/gtest.h>

#include "tests/support/Canvas.h"

#include <utility>

// An ellipse outline drawn over a black-filled DC leaves its inside white and draws the outline.
inline void ExpectOutlineOnly(Canvas& c, GdipGraphicsHandle g, GdipPenHandle pen) {
    HGDIOBJ old = SelectObject(c.dc, GetStockObject(BLACK_BRUSH));
    EXPECT_TRUE(GdipDrawEllipseAA(g, pen, 10, 10, 40, 30));
    SelectObject(c.dc, old);
    GdiFlush();
    EXPECT_EQ(std::pair(RGB(255, 255, 255), RGB(255, 255, 255)), std::pair(c.At(30, 25), c.At(20, 22)));
    int marked = 0;
    for (int x = 5; x < 30; ++x) marked += c.At(x, 25) != RGB(255, 255, 255);
    EXPECT_GT(marked, 0);
}

