// Anti-aliased drawing through plain GDI: this program runs with gdiplus.dll disabled (WINEDLLOVERRIDES).
#include "tests/image/gdiplus/GdiplusTestSupport.h"

TEST(GdiplusAA, PlainGdiWithoutGdiplus) {
    EXPECT_EQ(0, GdipStart());
    EXPECT_EQ(0, GdipStart());
    Canvas c(64, 64);
    GdipGraphicsHandle g = GdipBeginGraphics(c.dc);
    EXPECT_EQ((void*)c.dc, g);
    GdipPenHandle pen = GdipCreatePenAA(1, 0x0000FF);
    ASSERT_NE(nullptr, pen);
    LOGPEN logPen = {};
    ASSERT_EQ((int)sizeof logPen, GetObjectA((HPEN)pen, sizeof logPen, &logPen));
    EXPECT_EQ(0x0000FFu, logPen.lopnColor);
    EXPECT_EQ((UINT)PS_SOLID, logPen.lopnStyle);
    const HGDIOBJ ownPen = GetCurrentObject(c.dc, OBJ_PEN);
    EXPECT_TRUE(GdipDrawLineAA(g, pen, 2, 60, 60, 60));
    EXPECT_EQ(RGB(255, 0, 0), c.At(30, 60));
    ExpectOutlineOnly(c, g, pen);
    EXPECT_EQ(ownPen, GetCurrentObject(c.dc, OBJ_PEN));
    EXPECT_TRUE(GdipDeletePenAA(pen));
    EXPECT_TRUE(GdipEndGraphics(g));
    EXPECT_EQ(1, GdipStop());
    EXPECT_EQ(1, GdipStop());
}
