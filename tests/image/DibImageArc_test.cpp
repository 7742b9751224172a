// CDibImage arcs: plain, through a pen, turned and anti-aliased.
#include "tests/image/DibImageTestSupport.h"

#include <cmath>

namespace {

// Largest distance of a set pixel from the ellipse (cx, cy, rx, ry), measured along the ray from the centre.
double WorstDistance(const Points& points, double cx, double cy, double rx, double ry) {
    double worst = 0;
    for (auto [x, y] : points) {
        const double dx = x - cx, dy = y - cy, angle = std::atan2(dy / ry, dx / rx);
        const double ex = rx * std::cos(angle), ey = ry * std::sin(angle);
        worst = std::max(worst, std::fabs(std::hypot(dx, dy) - std::hypot(ex, ey)));
    }
    return worst;
}

} // namespace

TEST(DibImageArc, FullTurnsQuartersAndPoints) {
    CDibImage image = Blank(32, 100, 80);
    EXPECT_TRUE(image.DrawArc(50, 40, 30, 20, 0xffffff, 0, 0x20000, 0));
    const Points full = SetPixels(image, 0);
    EXPECT_TRUE(full.count({20, 40}) && full.count({50, 20}));
    // Points are cut towards the centre (up to a pixel), then joined by chords. A quarter turn from angle 0
    // (right) to 0x8000 (down) and the same walked backwards stay in their quarter.
    CDibImage quarter = Blank(32, 100, 80), back = Blank(32, 100, 80);
    EXPECT_TRUE(quarter.DrawArc(50, 40, 30, 20, 0xffffff, 0, 0x8000, 0));
    EXPECT_TRUE(back.DrawArc(50, 40, 30, 20, 0xffffff, 0x8000, 0, 0));
    for (const CDibImage* drawn : {&image, &quarter, &back}) {
        const Points q = SetPixels(*drawn, 0);
        EXPECT_LE(WorstDistance(q, 50, 40, 30, 20), 1.6);
        EXPECT_TRUE(q.count({80, 40}) && q.count({50, 60}));
        for (auto [x, y] : q) EXPECT_TRUE(drawn == &image || (x >= 50 && y >= 40)) << x << "," << y;
    }

    // start = end: one point; wholly outside: nothing.
    CDibImage point = Blank(8, 100, 80);
    EXPECT_TRUE(point.DrawArc(50, 40, 30, 20, 3, 0x4000, 0x4000, 0));
    EXPECT_EQ(1u, SetPixels(point, 0).size());
    EXPECT_FALSE(point.DrawArc(-40, 40, 30, 30, 3, 0, 0x20000, 0));
    EXPECT_FALSE(point.DrawArc(50, 150, 30, 30, 3, 0, 0x20000, 0));
}

TEST(DibImageArc, PenTurnedAndHugeRadii) {
    // Through the one-pixel pen with its end point, the pen arc is the plain arc.
    CDibImage plain = Blank(24, 90, 90), pen = Blank(24, 90, 90);
    plain.DrawArc(45, 45, 40, 25, 0x123456, 0x1000, 0x1b000, 0x3000);
    EXPECT_TRUE(pen.DrawArcPen(45, 45, 40, 25, 0x123456, CDibImage::PlotPixel, 0x1000, 0x1b000, 0x3000, 1));
    EXPECT_TRUE(SamePixels(plain, pen));
    EXPECT_FALSE(pen.DrawArcPen(45, 45, 40, 25, 0x123456, nullptr, 0, 0x8000, 0, 1));

    // A quarter turn makes 40 x 20 into 20 x 40.
    CDibImage turned = Blank(8, 90, 90);
    turned.DrawArc(45, 45, 40, 20, 1, 0, 0x20000, 0x8000);
    EXPECT_LE(WorstDistance(SetPixels(turned, 0), 45, 45, 20, 40), 2.0);

    // A radius of two billion: the visible part is an almost straight line; nothing overflows.
    CDibImage big = Blank(8, 64, 64);
    EXPECT_TRUE(big.DrawArc(10 - 2000000000, 32, 2000000000, 2000000000, 1, 0, 0x20000, 0));
    for (int y = 0; y < 64; ++y) {
        int hits = 0;
        for (int x = 8; x <= 12; ++x) hits += big.GetPixel(x, y) == 1;
        EXPECT_GE(hits, 1) << y;
    }
}

TEST(DibImageArc, AntiAliasedArcs) {
    CDibImage image = Blank(32, 100, 100);
    EXPECT_TRUE(image.DrawArcAA(50, 50, 40, 40, 0xffffff, 0, 0x20000, 0));
    Points touched = SetPixels(image, 0);
    EXPECT_LE(WorstDistance(touched, 50, 50, 40, 40), 2.0); // the line and its partner pixels
    int partial = 0;
    for (auto [x, y] : touched) {
        const uint32_t v = image.GetPixel(x, y);
        EXPECT_EQ(v & 0xff, (v >> 8) & 0xff); // grey: the weights act on every channel alike
        partial += (v & 0xff) != 0xff;
    }
    EXPECT_GT(partial, (int)touched.size() / 3);
    // Each step splits the colour between two neighbours: the weights along a column add up to about 255.
    for (int x : {50, 51}) {
        int sum = 0;
        for (int y = 0; y < 20; ++y) sum += image.GetPixel(x, y) & 0xff;
        EXPECT_NEAR(255, sum, 8) << x;
    }
    // Below 9 bits it is the plain arc.
    CDibImage soft = Blank(8, 100, 100), hard = Blank(8, 100, 100);
    soft.DrawArcAA(50, 50, 40, 20, 5, 0x100, 0x9000, 0);
    hard.DrawArc(50, 50, 40, 20, 5, 0x100, 0x9000, 0);
    EXPECT_TRUE(SameBytes(soft, hard));
    EXPECT_FALSE(image.DrawArcAA(500, 50, 40, 40, 0xffffff, 0, 0x20000, 0));
    // Equal angles make no segment: nothing is drawn, unlike the plain arc's single point.
    CDibImage none = Blank(32, 100, 100);
    EXPECT_TRUE(none.DrawArcAA(50, 50, 40, 40, 0xffffff, 0x4000, 0x4000, 0));
    EXPECT_TRUE(SetPixels(none, 0).empty());
}
