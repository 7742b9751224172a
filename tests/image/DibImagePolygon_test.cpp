// CDibImage filled triangles and polygons.
#include "tests/image/DibImageTestSupport.h"

namespace {

// Edge pixels as the line core walks them from the upper end.
Points EdgePixels(POINT a, POINT b, int w, int h) {
    if (b.y < a.y) std::swap(a, b);
    return ReferenceLine(a.x, a.y, b.x, b.y, w, h);
}

} // namespace

TEST(DibImagePolygon, RectanglesEqualFillRect) {
    struct Case {
        RECT r; // inclusive corners
    } cases[] = {{{5, 5, 20, 15}}, {{-10, -3, 8, 40}}, {{30, 2, 31, 3}}, {{0, 0, 39, 29}}};
    for (const Case& k : cases)
        for (bool clockwise : {true, false}) {
            POINT p[4] = {{k.r.left, k.r.top}, {k.r.right, k.r.top}, {k.r.right, k.r.bottom}, {k.r.left, k.r.bottom}};
            if (!clockwise) std::swap(p[1], p[3]);
            CDibImage polygon = Blank(8, 40, 30), rect = Blank(8, 40, 30);
            EXPECT_TRUE(polygon.FillPolygon(p, 4, 7));
            rect.FillRect(k.r.left, k.r.top, k.r.right - k.r.left + 1, k.r.bottom - k.r.top + 1, 7);
            EXPECT_TRUE(SameBytes(polygon, rect)) << k.r.left << "," << k.r.top;
        }
}

TEST(DibImagePolygon, ConcaveUFillsRowByRow) {
    const POINT u[] = {{0, 0}, {3, 0}, {3, 6}, {6, 6}, {6, 0}, {9, 0}, {9, 9}, {0, 9}};
    CDibImage image = Blank(8, 12, 12);
    EXPECT_TRUE(image.FillPolygon(u, 8, 1));
    std::vector<std::string> rows(12), expected(12, "............");
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) rows[y] += image.GetPixel(x, y) ? '#' : '.';
        if (y <= 9) expected[y] = y < 6 ? "####..####.." : "##########..";
    }
    EXPECT_EQ(expected, rows);
    Plotted().clear();
    EXPECT_TRUE(image.FillPolygonCallback(u, 8, 1, RecordPoint));
    EXPECT_EQ(SetPixels(image, 0), Plotted());
    // A star-like outline with a vertex passed straight through (5, 10) and a flat top.
    const POINT arrow[] = {{2, 2}, {8, 2}, {8, 10}, {12, 10}, {5, 17}, {0, 10}, {2, 10}};
    CDibImage a = Blank(8, 20, 20);
    EXPECT_TRUE(a.FillPolygon(arrow, 7, 1));
    for (int y = 2; y <= 17; ++y) {
        int first = -1, last = -1, count = 0;
        for (int x = 0; x < 20; ++x)
            if (a.GetPixel(x, y)) last = x, count++, first = first < 0 ? x : first;
        EXPECT_EQ(last - first + 1, count) << y; // one span per row: no gaps, nothing doubled
    }
}

TEST(DibImagePolygon, TrianglesCoverTheirEdgesAndInterior) {
    std::mt19937 rng(116);
    for (int round = 0; round < 200; ++round) {
        POINT p[3];
        for (POINT& q : p) q = {(LONG)(rng() % 70) - 5, (LONG)(rng() % 50) - 5};
        CDibImage triangle = Blank(8, 60, 40), polygon = Blank(8, 60, 40);
        triangle.FillTriangle(p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y, 1);
        polygon.FillPolygon(p, 3, 1);
        const Points filled = SetPixels(triangle, 0);
        Points expected;
        for (int i = 0; i < 3; ++i)
            for (auto xy : EdgePixels(p[i], p[(i + 1) % 3], 60, 40)) expected.insert(xy);
        for (auto xy : expected) EXPECT_TRUE(filled.count(xy)) << round;
        // Every other filled pixel lies strictly inside.
        auto cross = [&](POINT a, POINT b, int x, int y) {
            return (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
        };
        for (auto [x, y] : filled) {
            if (expected.count({x, y})) continue;
            const int c0 = cross(p[0], p[1], x, y), c1 = cross(p[1], p[2], x, y), c2 = cross(p[2], p[0], x, y);
            EXPECT_TRUE((c0 > 0 && c1 > 0 && c2 > 0) || (c0 < 0 && c1 < 0 && c2 < 0))
                << round << ": " << x << "," << y;
        }
        EXPECT_TRUE(filled.empty() || SameBytes(triangle, polygon)) << round;
        Plotted().clear();
        triangle.FillTriangleCallback(p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y, 1, RecordPoint);
        EXPECT_EQ(filled, Plotted());
    }
}

TEST(DibImagePolygon, CountsDegenerateAndFarPoints) {
    CDibImage image = Blank(8, 30, 30);
    POINT p[65] = {{3, 4}, {20, 9}, {4, 20}};
    for (auto [points, count] : {std::pair<const POINT*, int>(p, 0), {p, 65}, {nullptr, 3}})
        EXPECT_FALSE(image.FillPolygon(points, count, 1)) << count;
    // One point, two points and points on one row: a point, a line, a line across the bounding box.
    const POINT flat[] = {{2, 5}, {9, 5}, {6, 5}};
    const struct {
        const POINT* points;
        int count;
        Points drawn;
    } lines[] = {{p, 1, {{3, 4}}},
                 {p, 2, ReferenceLine(3, 4, 20, 9, 30, 30)},
                 {flat, 3, ReferenceLine(2, 5, 9, 5, 30, 30)}};
    for (const auto& line : lines) {
        image = Blank(8, 30, 30);
        EXPECT_TRUE(image.FillPolygon(line.points, line.count, 1));
        EXPECT_EQ(line.drawn, SetPixels(image, 0)) << line.count;
    }
    const POINT outside[] = {{40, 1}, {50, 1}, {45, 20}};
    EXPECT_FALSE(image.FillPolygon(outside, 3, 1));
    EXPECT_FALSE(image.FillTriangle(40, 1, 50, 1, 45, 20, 1));
    // Vertices at the limits of int around the image: everything filled, nothing overflows.
    const POINT huge[] = {{INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MAX}};
    image = Blank(8, 30, 30);
    EXPECT_TRUE(image.FillPolygon(huge, 4, 1));
    EXPECT_EQ(900u, SetPixels(image, 0).size());
    image = Blank(8, 30, 30);
    EXPECT_TRUE(image.FillTriangle(INT_MIN, INT_MIN, INT_MAX, 0, INT_MIN, INT_MAX, 1));
    EXPECT_EQ(900u, SetPixels(image, 0).size());
}
