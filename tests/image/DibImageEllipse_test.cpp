// CDibImage filled ellipses: area, symmetry, anchors, soft edges and radii far beyond the image.
#include "tests/image/DibImageTestSupport.h"

#include <climits>
#include <cmath>

namespace {

CDibImage Blank(uint32_t depth, int w, int h) {
    CDibImage image;
    EXPECT_TRUE(image.Create(depth, w, h, 0));
    return image;
}

RECT Box(const Points& p) {
    RECT r = {INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (auto [x, y] : p) r = {std::min<LONG>(r.left, x), std::min<LONG>(r.top, y), std::max<LONG>(r.right, x),
                               std::max<LONG>(r.bottom, y)};
    return r;
}

Points g_called;
void Record(CDibImage*, uint8_t*, int x, int y, uint32_t) { g_called.insert({x, y}); }

} // namespace

TEST(DibImageEllipse, AreaSymmetryAndTheCallbackForm) {
    for (auto [rx, ry] : {std::make_pair(20, 20), std::make_pair(45, 12), std::make_pair(7, 30)}) {
        CDibImage image = Blank(8, 101, 81);
        EXPECT_TRUE(image.FillEllipse(50, 40, rx, ry, 1, 0));
        const Points p = SetPixels(image, 0);
        const double area = M_PI * (rx + 0.5) * (ry + 0.5);
        EXPECT_NEAR(area, (double)p.size(), area * 0.03) << rx << "x" << ry;
        // Rows mirror exactly top to bottom; left to right a span of the other parity than the width sits
        // half a pixel to the left of the centre.
        for (auto [x, y] : p) EXPECT_TRUE(p.count({x, 80 - y})) << x << "," << y;
        for (int y = 40 - ry; y <= 40 + ry; ++y) {
            int left = 101, right = -1, count = 0;
            for (int x = 0; x < 101; ++x)
                if (image.GetPixel(x, y)) left = std::min(left, x), right = x, ++count;
            EXPECT_EQ(right - left + 1, count) << y;
            EXPECT_TRUE(left + right == 100 || left + right == 99) << y << ": " << left << ".." << right;
        }
        const RECT box = Box(p);
        EXPECT_EQ(50 - rx, box.left);
        EXPECT_EQ(40 - ry, box.top);
        EXPECT_EQ(50 + rx, box.right);
        EXPECT_EQ(40 + ry, box.bottom);
        g_called.clear();
        EXPECT_TRUE(image.FillEllipseCallback(50, 40, rx, ry, 1, 0, Record));
        EXPECT_EQ(p, g_called);
    }
    CDibImage image = Blank(8, 20, 20);
    EXPECT_TRUE(image.FillEllipse(10, 10, 0, 0, 1, 0));
    EXPECT_EQ((Points{{10, 10}}), SetPixels(image, 0));
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
        RECT box; // inclusive
    } cases[] = {
        {10, 6, kEllipseSizes, {25, 27, 34, 32}},               // 10 x 6 centred on (30, 30)
        {11, 7, kEllipseSizes, {25, 27, 35, 33}},
        {5, 4, 0x04, {30, 26, 40, 34}},                          // x is the left edge
        {-5, 4, 0x04, {20, 26, 30, 34}},                         // ... or with rx < 0 the right edge
        {5, 4, 0x08, {20, 26, 30, 34}},                          // x is the right edge
        {5, 4, 0x10, {25, 30, 35, 38}},                          // y is the top row
        {5, 4, 0x20, {25, 22, 35, 30}},                          // y is the bottom row
        {10, 6, kEllipseSizes | 0x10 | 0x04, {30, 30, 39, 35}},
        {10, 6, kEllipseSizes | 0x20 | 0x08, {21, 25, 30, 30}},
    };
    for (const Case& k : cases) {
        CDibImage image = Blank(8, 60, 60);
        EXPECT_TRUE(image.FillEllipse(30, 30, k.rx, k.ry, 1, k.flags));
        const RECT box = Box(SetPixels(image, 0));
        EXPECT_EQ(k.box.left, box.left) << k.flags << " " << k.rx;
        EXPECT_EQ(k.box.top, box.top) << k.flags << " " << k.rx;
        EXPECT_EQ(k.box.right, box.right) << k.flags << " " << k.rx;
        EXPECT_EQ(k.box.bottom, box.bottom) << k.flags << " " << k.rx;
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
    const double halfWidth = std::sqrt(70000.0 * 70000.0 - 69967.0 * 69967.0); // row 63
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
    int blended = 0;
    const Points area = SetPixels(solid, 0);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 80; ++x) {
            const uint32_t v = soft.GetPixel(x, y);
            if (v == 0 || v == 0xffffff) continue;
            ++blended;
            EXPECT_LE(v & 0xff, 127u) << x << "," << y; // half the fraction at most
            EXPECT_EQ(v & 0xff, v >> 16);
        }
    EXPECT_GT(blended, 40);
    // The solid part stays within the plain ellipse, about as large.
    const Points core = [&] {
        Points p;
        for (auto xy : SetPixels(soft, 0))
            if (soft.GetPixel(xy.first, xy.second) == 0xffffff) p.insert(xy);
        return p;
    }();
    for (auto xy : core) EXPECT_TRUE(area.count(xy));
    EXPECT_NEAR((double)area.size(), (double)core.size(), area.size() * 0.05);
    // Below 9 bits the smooth flag is dropped.
    CDibImage a = Blank(8, 80, 80), b = Blank(8, 80, 80);
    a.FillEllipseAA(40, 40, 30, 20, 1, 0);
    b.FillEllipse(40, 40, 30, 20, 1, kEllipseSmooth);
    EXPECT_EQ(area, SetPixels(a, 0));
    EXPECT_EQ(area, SetPixels(b, 0));
}
