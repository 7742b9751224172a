// Geometry of the bitmap window.
#include "ui/dibwnd/DibWndLayout.h"

#include "tests/ui/RectTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

TEST(DibWndLayout, ScrollClamp) {
    // An image 100 pixels narrower than the window: centred, pinned, or free within the client.
    EXPECT_EQ(-50, ClampDibScroll(0, 300, 400, true, false));
    EXPECT_EQ(-50, ClampDibScroll(-80, 300, 400, true, true));
    EXPECT_EQ(0, ClampDibScroll(-80, 300, 400, false, true));
    EXPECT_EQ(-80, ClampDibScroll(-80, 300, 400, false, false));
    EXPECT_EQ(-100, ClampDibScroll(-500, 300, 400, false, false));
    EXPECT_EQ(0, ClampDibScroll(30, 300, 400, false, false));
    EXPECT_EQ(-49, ClampDibScroll(0, 301, 400, true, false)); // rounded toward zero
    // A larger image scrolls between 0 and image - client.
    EXPECT_EQ(0, ClampDibScroll(-5, 500, 400, true, false));
    EXPECT_EQ(100, ClampDibScroll(250, 500, 400, false, false));
    EXPECT_EQ(40, ClampDibScroll(40, 500, 400, false, true));
    // Images beyond the maximum count as the maximum; no image: 0.
    EXPECT_EQ(kDibWndMaxSize - 400, ClampDibScroll(1 << 20, 20000, 400, false, false));
    EXPECT_EQ(0, ClampDibScroll(77, 0, 400, false, false));
}

TEST(DibWndLayout, ScrollBarRanges) {
    DibScrollRange r = LayoutDibScrollBar(500, 400, 70, false);
    EXPECT_EQ(0, r.min);
    EXPECT_EQ(500, r.max);
    EXPECT_EQ(400, r.page);
    EXPECT_EQ(70, r.pos);
    r = LayoutDibScrollBar(500, 400, 450, false);
    EXPECT_EQ(100, r.pos);
    r = LayoutDibScrollBar(300, 400, 0, false);
    EXPECT_EQ(300, r.page); // the page never exceeds the range
    EXPECT_EQ(0, r.pos);
    r = LayoutDibScrollBar(300, 400, 0, true);
    EXPECT_EQ(-50, r.min);
    EXPECT_EQ(-50, r.max);
    EXPECT_EQ(0, r.page);
    EXPECT_EQ(-50, r.pos);
}

TEST(DibWndLayout, PaintPlan) {
    // A scrolled image larger than the client: one copy, no bands.
    DibPaintPlan p = PlanDibPaint(500, 300, 400, 200, 30, 40);
    EXPECT_EQ(30, p.srcX);
    EXPECT_EQ(40, p.srcY);
    EXPECT_EQ((RECT{0, 0, 470, 260}), p.dest);
    EXPECT_EQ(0, p.bandCount);
    // A smaller, centred image: bands above, left, below and right.
    p = PlanDibPaint(300, 100, 400, 200, -50, -50);
    EXPECT_EQ(0, p.srcX);
    EXPECT_EQ(0, p.srcY);
    EXPECT_EQ((RECT{50, 50, 350, 150}), p.dest);
    ASSERT_EQ(4, p.bandCount);
    const RECT expect[4] = {{0, 0, 400, 50}, {0, 50, 50, 150}, {0, 150, 400, 200}, {350, 50, 400, 150}};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(expect[i], p.bands[i]) << i;
    // At the corner, as high as the client: only the right shows the background.
    p = PlanDibPaint(300, 200, 400, 200, 0, 0);
    EXPECT_EQ((RECT{0, 0, 300, 200}), p.dest);
    ASSERT_EQ(1, p.bandCount);
    EXPECT_EQ((RECT{300, 0, 400, 200}), p.bands[0]);
}

TEST(DibWndLayout, PaintPartsGatherIntoBoxesThatWasteLittle) {
    struct Case {
        const char* what;
        std::vector<RECT> parts;
        std::vector<RECT> boxes;
    };
    const Case cases[] = {
        {"two sprites far apart stay apart",
         {{100, 500, 128, 592}, {1000, 500, 1028, 592}},
         {{100, 500, 128, 592}, {1000, 500, 1028, 592}}},
        {"a sprite cut into bands by a label beside it joins again; the label stays apart",
         {{100, 500, 139, 540}, {0, 540, 97, 592}, {100, 540, 139, 592}},
         {{100, 500, 139, 592}, {0, 540, 97, 592}}},
        {"small neighbours share a box", {{0, 0, 10, 10}, {20, 0, 30, 10}}, {{0, 0, 30, 10}}},
        {"a large gap between large parts is not copied",
         {{0, 0, 200, 100}, {0, 300, 200, 400}},
         {{0, 0, 200, 100}, {0, 300, 200, 400}}},
        {"empty parts are dropped", {{5, 5, 5, 50}, {0, 0, 8, 8}}, {{0, 0, 8, 8}}},
        {"nothing to paint", {}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.boxes, GroupPaintParts(c.parts)) << c.what;
}
