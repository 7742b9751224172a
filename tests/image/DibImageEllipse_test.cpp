// CDibImage filled ellipses: area, symmetry, anchors, soft edges and radii far beyond the image.
#include "tests/image/DibImageTestSupport.h"

#include <cmath>

TEST(DibImageEllipse, AreaSymmetryAndTheCallbackForm) {
    for (auto [rx, ry] : {std::pair{20, 20}, std::pair{45, 12}, std::pair{7, 30}}) {
        CDibImage image = Blank(8, 101, 81);
        EXPECT_TRUE(image.FillEllipse(50, 40, rx, ry, 1, 0));
        const Points p = SetPixels(image, 0);
        const double area = M_PI * (rx + 0.5) * (ry + 0.5);
        EXPECT_NEAR(area, (double)p.size(), area * 0.03) << rx << "x" << ry;
        EXPECT_EQ(Bounds(p), (std::vector<int>{50 - rx, 40 - ry, 50 + rx, 40 + ry}));
        // Rows mirror exactly top to bottom; left to right a span of the other parity than the width sits
        // half a pixel to the left of the centre.
        for (auto [x, y] : p) EXPECT_TRUE(p.count({x, 80 - y})) << x << "," << y;
        for (int y = 40 - ry; y <= 40 + ry; ++y) {
            Points row;
            for (auto xy : p)
                if (xy.second == y) row.insert(xy);
            const int left = row.begin()->first, right = row.rbegin()->first;
            EXPECT_EQ(right - left + 1, (int)row.size()) << y;
            EXPECT_TRUE(left + right == 100 || left + right == 99) << y << ": " << left << ".." << right;
        }
        Plotted().clear();
        EXPECT_TRUE(image.FillEllipseCallback(50, 40, rx, ry, 1, 0, RecordPoint));
        EXPECT_EQ(p, Plotted());
    }
    // Radius 0 is a point; zero sizes, an ellipse outside and anchors on both sides draw nothing.
    CDibImage image = Blank(8, 20, 20);
    EXPECT_TRUE(image.FillEllipse(10, 10, 0, 0, 1, 0));
    EXPECT_FALSE(image.FillEllipse(10, 10, 0, 0, 2, kEllipseSizes));
    EXPECT_FALSE(image.FillEllipse(10, 10, 4, 0, 2, kEllipseSizes));
    EXPECT_FALSE(image.FillEllipse(40, 10, 5, 5, 2, 0));
    EXPECT_FALSE(image.FillEllipse(10, 10, 5, 5, 2, kEllipseAnchorXMask));
    EXPECT_EQ((Points{{10, 10}}), SetPixels(image, 0));
}

TEST(DibImageEllipse, SizesAndAnchors) {
    struct Case {
        int rx, ry;
        uint32_t flags;
        std::vector<int> box;  // inclusive
    } cases[] = {
        {10, 6, kEllipseSizes, {25, 27, 34, 32}},  // 10 x 6 centred on (30, 30)
        {11, 7, kEllipseSizes, {25, 27, 35, 33}},
        {5, 4, 0x04, {30, 26, 40, 34}},            // x is the left edge
        {-5, 4, 0x04, {20, 26, 30, 34}},           // ... or with rx < 0 the right edge
        {5, 4, 0x08, {20, 26, 30, 34}},            // x is the right edge
        {5, 4, 0x10, {25, 30, 35, 38}},            // y is the top row
        {5, 4, 0x20, {25, 22, 35, 30}},            // y is the bottom row
        {10, 6, kEllipseSizes | 0x10 | 0x04, {30, 30, 39, 35}},
        {10, 6, kEllipseSizes | 0x20 | 0x08, {21, 25, 30, 30}},
    };
    for (const Case& k : cases) {
        CDibImage image = Blank(8, 60, 60);
        EXPECT_TRUE(image.FillEllipse(30, 30, k.rx, k.ry, 1, k.flags));
        EXPECT_EQ(k.box, Bounds(SetPixels(image, 0))) << k.flags << " " << k.rx;
    }
}

TEST(DibImageEllipse, HugeRadiiDoNotOverflow) {
    CDibImage image = Blank(8, 64, 64);
    EXPECT_TRUE(image.FillEllipse(32, 32, 100000, 100000, 1, 0));
    EXPECT_EQ(64u * 64u, SetPixels(image, 0).size());
    // A circle of radius 70,000 whose top touches row 30: rows 0-29 stay empty, the centre column is filled
    // from there down, and the edge curves away slowly.
    image = Blank(8, 64, 64);
    EXPECT_TRUE(image.FillEllipse(32, 70030, 70000, 70000, 1, 0));
    for (int y = 0; y < 64; ++y) EXPECT_EQ(y >= 30 ? 1u : 0u, image.GetPixel(32, y)) << y;
    const double halfWidth = std::sqrt(70000.0 * 70000.0 - 69967.0 * 69967.0);  // row 63
    int row63 = 0;
    for (int x = 0; x < 64; ++x) row63 += image.GetPixel(x, 63) == 1;
    EXPECT_NEAR(std::min(64.0, 2 * halfWidth + 1), row63, 3.0);
    // Radii at the limits of int.
    EXPECT_TRUE(image.FillEllipse(0, 0, INT_MAX, INT_MAX, 2, 0));
    EXPECT_EQ(2u, image.GetPixel(63, 63));
    EXPECT_TRUE(image.FillEllipse(0, 0, INT_MIN, INT_MIN, 3, 0));
    EXPECT_EQ(3u, image.GetPixel(0, 0));
}

TEST(DibImageEllipse, SoftEdges) {
    CDibImage solid = Blank(32, 80, 80), soft = Blank(32, 80, 80), flagged = Blank(32, 80, 80);
    solid.FillEllipse(40, 40, 30, 20, 0xffffff, 0);
    EXPECT_TRUE(soft.FillEllipseAA(40, 40, 30, 20, 0xffffff, 0));
    EXPECT_TRUE(flagged.FillEllipse(40, 40, 30, 20, 0xffffff, kEllipseSmooth));
    EXPECT_TRUE(SameBytes(soft, flagged));
    // Edge pixels take half the covered fraction at most, grey on every channel; the solid part stays within
    // the plain ellipse, about as large.
    const Points area = SetPixels(solid, 0), notCore = SetPixels(soft, 0xffffff);
    int blended = 0;
    for (auto [x, y] : SetPixels(soft, 0)) {
        const uint32_t v = soft.GetPixel(x, y);
        if (v == 0xffffff) {
            EXPECT_TRUE(area.count({x, y})) << x << "," << y;
            continue;
        }
        ++blended;
        EXPECT_LE(v & 0xff, 127u) << x << "," << y;
        EXPECT_EQ(v & 0xff, v >> 16);
    }
    EXPECT_GT(blended, 40);
    EXPECT_NEAR((double)area.size(), (double)(80 * 80 - notCore.size()), area.size() * 0.05);
    // Below 9 bits the smooth flag is dropped.
    CDibImage a = Blank(8, 80, 80), b = Blank(8, 80, 80);
    a.FillEllipseAA(40, 40, 30, 20, 1, 0);
    b.FillEllipse(40, 40, 30, 20, 1, kEllipseSmooth);
    EXPECT_EQ(area, SetPixels(a, 0));
    EXPECT_EQ(area, SetPixels(b, 0));
}
