// Anti-aliased drawing through plain GDI: this program runs with gdiplus.dll disabled (WINEDLLOVERRIDES).
#include "tests/image/gdiplus/GdiplusTestSupport.h"

#include <utility>

TEST(GdiplusAA, PlainGdiWithoutGdiplus) {
    EXPECT_EQ(std::pair(0, 0), (std::pair{GdipStart(), GdipStart()}));
    Canvas c(64, 64);
    GdipGraphicsHandle g = GdipBeginGraphics(c.dc);
    EXPECT_EQ((void*)c.dc, g);
    GdipPenHandle pen = GdipCreatePenAA(1, 0x0000FF);
    ASSERT_NE(nullptr, pen);
    LOGPEN logPen = {};
    ASSERT_EQ((int)sizeof logPen, GetObjectA((HPEN)pen, sizeof logPen, &logPen));
    EXPECT_EQ(std::pair(0x0000FFul, (UINT)PS_SOLID), std::pair(logPen.lopnColor, logPen.lopnStyle));
    const HGDIOBJ ownPen = GetCurrentObject(c.dc, OBJ_PEN);
    EXPECT_TRUE(GdipDrawLineAA(g, pen, 2, 60, 60, 60));
    EXPECT_EQ(RGB(255, 0, 0), c.At(30, 60));
    ExpectOutlineOnly(c, g, pen);
    EXPECT_EQ(ownPen, GetCurrentObject(c.dc, OBJ_PEN));
    EXPECT_TRUE(GdipDeletePenAA(pen));
    EXPECT_TRUE(GdipEndGraphics(g));
    EXPECT_EQ(std::pair(1, 1), (std::pair{GdipStop(), GdipStop()}));
}
