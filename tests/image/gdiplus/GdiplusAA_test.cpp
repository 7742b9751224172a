// Anti-aliased drawing with GDI+ loaded (the GDI path: GdiplusFallback_test.cpp).
#include "tests/image/gdiplus/GdiplusTestSupport.h"

#include <vector>

namespace {

typedef int(WINAPI* GetSmoothingModeFn)(void*, int*);

// The smoothing mode of a GDI+ graphics, read through the loaded library.
int SmoothingModeOf(void* graphics) {
    HMODULE library = GetModuleHandleW(L"gdiplus.dll");
    const auto get = (GetSmoothingModeFn)(void*)GetProcAddress(library, "GdipGetSmoothingMode");
    int mode = -1;
    return get && get(graphics, &mode) == 0 ? mode : -1;
}

} // namespace

TEST(GdiplusAA, SmoothLinesWithGdiplus) {
    EXPECT_EQ(0xFF563412u, ArgbFromColorRef(0x00123456));  // an opaque colour, red and blue exchanged
    ASSERT_EQ(1, GdipStart());
    EXPECT_EQ(1, GdipStart()); // a second user
    {
        Canvas c(64, 64);
        GdipGraphicsHandle g = GdipBeginGraphics(c.dc);
        ASSERT_NE(nullptr, g);
        EXPECT_NE((void*)c.dc, g);
        GdipPenHandle pen = GdipCreatePenAA(1, RGB(0, 0, 0));
        ASSERT_NE(nullptr, pen);
        EXPECT_TRUE(GdipDrawLineAA(g, pen, 2, 5, 60, 40));
        EXPECT_EQ(4, SmoothingModeOf(g));
        ExpectOutlineOnly(c, g, pen);
        EXPECT_TRUE(GdipDeletePenAA(pen));
        EXPECT_TRUE(GdipEndGraphics(g));
        // Wine's GDI+ draws thin lines without smoothing whatever the mode; the mode is what this layer sets.
        EXPECT_EQ(RGB(0, 0, 0), c.At(2, 5));
    }
    // The second stop unloads, the third finds nothing to stop; then it starts again after the unload.
    EXPECT_EQ((std::vector<int>{1, 1, 0, 1, 1}),
              (std::vector<int>{GdipStop(), GdipStop(), GdipStop(), GdipStart(), GdipStop()}));
}
