// CDibImage fills, pens, lines and outlines.
#include "tests/image/DibImageTestSupport.h"

#include <climits>
#include <set>
#include <utility>

namespace {

Points g_recorded;
void RecordPen(CDibImage*, int x, int y, uint32_t) { g_recorded.insert({x, y}); }
bool g_outsideCallback;
void RecordCallback(CDibImage* image, uint8_t* row, int x, int y, uint32_t) {
    if (!image->Contains(x, y) || row != image->RowAddress(y)) g_outsideCallback = true;
    g_recorded.insert({x, y});
}

} // namespace

TEST(DibImageFill, FillRectMatchesPixelReferenceAtEveryDepth) {
    ForRandomImages(1, 60, 7, [](uint32_t depth, CDibImage& image, std::mt19937& rng) {
        const int w = (int)image.width, h = (int)image.height;
        CDibImage expect(image);
        const int x = (int)(rng() % (w + 10)) - 5, y = (int)(rng() % (h + 4)) - 2;
        const int rw = (int)(rng() % (w + 6)) - 3, rh = (int)(rng() % (h + 4)) - 2;
        const uint32_t colour = rng();
        const bool any = image.FillRect(x, y, rw, rh, colour);
        // Reference: the pixel writer over the normalised, clipped rectangle.
        const int left = rw >= 0 ? x : x + rw + 1, top = rh >= 0 ? y : y + rh + 1;
        bool expectAny = false;
        for (int yy = top; yy < top + std::abs(rh); ++yy)
            for (int xx = left; xx < left + std::abs(rw); ++xx)
                if (expect.Contains(xx, yy)) {
                    expect.SetPixel(xx, yy, colour);
                    expectAny = true;
                }
        ASSERT_EQ(expectAny, any);
        ASSERT_TRUE(SameBytes(expect, image)) << "depth " << depth << " rect " << x << "," << y << " " << rw << "x"
                                              << rh << " in " << w << "x" << h;
    });
}

TEST(DibImageFill, FillRectEdgeCases) {
    CDibImage image;
    ASSERT_TRUE(image.Create(8, 20, 20, 0));
    EXPECT_TRUE(image.FillRect(10, 10, -3, 2, 7));
    EXPECT_EQ((Points{{8, 10}, {9, 10}, {10, 10}, {8, 11}, {9, 11}, {10, 11}}), SetPixels(image, 0));
    EXPECT_FALSE(image.FillRect(20, 0, 5, 5, 1));
    EXPECT_FALSE(image.FillRect(0, 0, 0, 5, 1));

    ASSERT_TRUE(image.Create(1, 32, 1, 0));
    EXPECT_TRUE(image.FillRect(3, 0, 18, 1, 1)); // columns 3-20
    EXPECT_EQ(0x1f, image.bits[0]);
    EXPECT_EQ(0xff, image.bits[1]);
    EXPECT_EQ(0xf8, image.bits[2]);
    EXPECT_EQ(0x00, image.bits[3]);

    ASSERT_TRUE(image.Create(15, 2, 1, 0));
    image.FillRect(0, 0, 2, 1, 0x80ff0000);
    EXPECT_EQ(0xfc00, image.bits[0] | image.bits[1] << 8);
    ASSERT_TRUE(image.Create(16, 2, 1, 0));
    image.FillRect(0, 0, 2, 1, 0x00ff0000);
    EXPECT_EQ(0xf800, image.bits[0] | image.bits[1] << 8);

    // 12 bits: an odd rectangle edge must leave the pixel that shares its byte group alone.
    ASSERT_TRUE(image.Create(12, 6, 1, 0x00ffffff));
    image.FillRect(1, 0, 3, 1, 0);
    EXPECT_EQ(0x00f0f0f0u, image.GetPixel(0, 0));
    EXPECT_EQ(0u, image.GetPixel(3, 0));
    EXPECT_EQ(0x00f0f0f0u, image.GetPixel(4, 0));
}

TEST(DibImageFill, BehindAndCheckerFills) {
    CDibImage image;
    ASSERT_TRUE(image.Create(32, 4, 1, 0));
    image.SetPixel(0, 0, 0xff102030);
    image.SetPixel(1, 0, 0x00102030);
    image.SetPixel(2, 0, 0x80ff0000);
    EXPECT_TRUE(image.FillRectBehind(0, 0, 3, 1, 0x000000ff));
    EXPECT_EQ(0xff102030u, image.GetPixel(0, 0));
    EXPECT_EQ(0x000000ffu, image.GetPixel(1, 0));
    // red (255 * 128) * 257 >> 16 = 127; blue (127 * 255) * 257 >> 16 = 126
    EXPECT_EQ(0x807f007eu, image.GetPixel(2, 0));
    CDibImage palette;
    ASSERT_TRUE(palette.Create(8, 4, 4, 0));
    EXPECT_FALSE(palette.FillRectBehind(0, 0, 4, 4, 1));
    EXPECT_FALSE(palette.FillCheckerBehind(0, 0, 4, 4, 1, 2, 0));

    // Column from the clipped left edge, row = image row + 1.
    EXPECT_TRUE(palette.FillChecker(-1, 0, 3, 2, 1, 2, 0));
    EXPECT_EQ(2u, palette.GetPixel(0, 0)); // column 0, row 1
    EXPECT_EQ(1u, palette.GetPixel(1, 0));
    EXPECT_EQ(1u, palette.GetPixel(0, 1)); // column 0, row 2
    EXPECT_EQ(0u, palette.GetPixel(2, 0));
}

TEST(DibImageFill, LinesFollowTheStepRule) {
    CDibImage image;
    ASSERT_TRUE(image.Create(8, 10, 10, 0));
    EXPECT_TRUE(image.DrawLine(0, 0, 4, 2, 1));
    EXPECT_EQ((Points{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}), SetPixels(image, 0));
    EXPECT_FALSE(image.DrawLine(-3, -1, 8, -5, 1));
    EXPECT_FALSE(image.DrawLine(12, 0, 11, 9, 1));
    image.FillRect(0, 0, 10, 10, 0);
    EXPECT_TRUE(image.DrawLine(3, 3, 3, 3, 1));
    EXPECT_EQ((Points{{3, 3}}), SetPixels(image, 0));

    // Every line that starts outside the image to the left or above, so that the walk jumps in.
    CDibImage grid;
    ASSERT_TRUE(grid.Create(8, 9, 7, 0));
    for (int x1 = -9; x1 < 0; ++x1)
        for (int y1 = -6; y1 < 10; ++y1)
            for (int x2 = -2; x2 < 14; ++x2)
                for (int y2 = -9; y2 < 12; ++y2) {
                    grid.FillRect(0, 0, 9, 7, 0);
                    grid.DrawLine(x1, y1, x2, y2, 1);
                    ASSERT_EQ(ReferenceLine(x1, y1, x2, y2, 9, 7), SetPixels(grid, 0))
                        << x1 << "," << y1 << " - " << x2 << "," << y2;
                    grid.FillRect(0, 0, 9, 7, 0);
                    grid.DrawLine(y1, x1, y2, x2, 1);
                    ASSERT_EQ(ReferenceLine(y1, x1, y2, x2, 9, 7), SetPixels(grid, 0))
                        << y1 << "," << x1 << " - " << y2 << "," << x2;
                }

    std::mt19937 rng(5);
    for (int round = 0; round < 400; ++round) {
        const int range = round < 200 ? 30 : 100000;
        auto coord = [&] { return (int)(rng() % (2 * range + 1)) - range; };
        const int x1 = coord(), y1 = coord(), x2 = coord(), y2 = coord();
        CDibImage line;
        ASSERT_TRUE(line.Create(8, 17, 13, 0));
        line.DrawLine(x1, y1, x2, y2, 1);
        ASSERT_EQ(ReferenceLine(x1, y1, x2, y2, 17, 13), SetPixels(line, 0))
            << x1 << "," << y1 << " - " << x2 << "," << y2;
        g_recorded.clear();
        g_outsideCallback = false;
        line.DrawLineCallback(x1, y1, x2, y2, 1, RecordCallback, 0);
        ASSERT_FALSE(g_outsideCallback);
        ASSERT_EQ(ReferenceLine(x1, y1, x2, y2, 17, 13, false), g_recorded);
    }
}

TEST(DibImageFill, FarOffEndPointsDoNotOverflow) {
    GuardedPixels g(32, 40, 30);
    CDibImage& image = g.image;
    // Slope exactly 1/2 through the origin: the visible part is (x, x / 2).
    EXPECT_TRUE(image.DrawLine(-2000000000, -1000000000, 2000000000, 1000000000, 0xffffff));
    CDibImage nearLine;
    ASSERT_TRUE(nearLine.Create(32, 40, 30, 0));
    nearLine.DrawLine(0, 0, 80, 40, 0xffffff);
    EXPECT_TRUE(SamePixels(nearLine, image));
    EXPECT_TRUE(image.DrawLine(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 0xff));
    EXPECT_EQ(0xffu, image.GetPixel(29, 29));
    EXPECT_FALSE(image.DrawLine(INT32_MIN, -5, INT32_MAX, -1, 1));
    image.DrawLinePen(INT32_MAX, 7, INT32_MIN, 9, 0x00ff00, CDibImage::PlotDisc5, 1);
    image.DrawLineAA(INT32_MIN, 3, INT32_MAX, 28, 0x0000ff, 1);
    image.DrawLineAA(-5, -1000000000, 45, 1000000000, 0x0000ff, 1);
    EXPECT_TRUE(g.GuardsIntact());
}

TEST(DibImageFill, PenVariantsReachTheEdgeAndHonourIncludeEnd) {
    CDibImage image;
    ASSERT_TRUE(image.Create(24, 10, 10, 0));
    g_recorded.clear();
    image.DrawLinePen(-20, 5, 30, 5, 0, RecordPen, 1);
    // The walk starts and stops two pixels outside, so a 3 x 3 stamp still touches the edges.
    EXPECT_EQ(-2, g_recorded.begin()->first);
    EXPECT_EQ(11, g_recorded.rbegin()->first);
    g_recorded.clear();
    image.DrawLinePen(1, 1, 4, 1, 0, RecordPen, 0);
    EXPECT_EQ((Points{{1, 1}, {2, 1}, {3, 1}}), g_recorded);

    // The dash mask runs on: every second pixel from the first, right after construction.
    CDibImage dashed;
    ASSERT_TRUE(dashed.Create(8, 8, 1, 0));
    dashed.DrawLinePen(0, 0, 7, 0, 1, CDibImage::PlotDashed1, 1);
    EXPECT_EQ((Points{{0, 0}, {2, 0}, {4, 0}, {6, 0}}), SetPixels(dashed, 0));
}

TEST(DibImageFill, PenStamps) {
    CDibImage image;
    ASSERT_TRUE(image.Create(8, 9, 9, 0));
    auto count = [&](DibPen pen) {
        image.FillRect(0, 0, 9, 9, 0);
        pen(&image, 4, 4, 1);
        return SetPixels(image, 0).size();
    };
    EXPECT_EQ(4u, count(CDibImage::PlotBlock2x2));
    EXPECT_EQ(5u, count(CDibImage::PlotCross));
    EXPECT_EQ(12u, count(CDibImage::PlotDisc4));
    EXPECT_EQ(13u, count(CDibImage::PlotDisc5));
    image.FillRect(0, 0, 9, 9, 0);
    CDibImage::PlotDisc4(&image, 4, 4, 1);
    EXPECT_EQ(0u, image.GetPixel(2, 2));
    EXPECT_EQ(1u, image.GetPixel(3, 2));
    EXPECT_EQ(1u, image.GetPixel(4, 5));
    EXPECT_EQ(0u, image.GetPixel(5, 5));
    EXPECT_EQ(0u, image.GetPixel(5, 2));
    // Stamps clip at the edges.
    CDibImage::PlotDisc5(&image, 0, 0, 1);
    CDibImage::PlotSoftDisc7(&image, 8, 8, 1);

    CDibImage rgb;
    ASSERT_TRUE(rgb.Create(32, 7, 7, 0xff000000));
    CDibImage::PlotSoftDisc7(&rgb, 3, 3, 0x00fcfcfc);
    EXPECT_EQ(0x00fcfcfcu, rgb.GetPixel(4, 4)); // 3 x 3 block: the whole colour word
    EXPECT_EQ(0xff3f3f3fu, rgb.GetPixel(3, 1)); // ring: a quarter
    EXPECT_EQ(0xff3f3f3fu, rgb.GetPixel(0, 3)); // tip of the 7 x 7 disc
    EXPECT_EQ(0xff000000u, rgb.GetPixel(1, 1)); // corner stays

    ASSERT_TRUE(rgb.Create(24, 3, 3, 0));
    CDibImage::PlotSoft(&rgb, 1, 1, 0x00ffffff);
    EXPECT_EQ(0x009f9f9fu, rgb.GetPixel(1, 1)); // 255 * 20 >> 5
    EXPECT_EQ(0x00070707u, rgb.GetPixel(0, 0)); // 255 * 1 >> 5
    EXPECT_EQ(0x000f0f0fu, rgb.GetPixel(1, 0));
    ASSERT_TRUE(rgb.Create(32, 3, 3, 0));
    CDibImage::PlotSoft32(&rgb, 1, 1, 0xffffffff);
    EXPECT_EQ(0x9f9f9f9fu, rgb.GetPixel(1, 1));

    CDibImage small;
    small.Create(8, 1, 1, 0);
    EXPECT_EQ((DibPen)CDibImage::PlotPixel, small.ResolvePen(CDibImage::PlotSoft));
    EXPECT_EQ((DibPen)CDibImage::PlotSoft32, rgb.ResolvePen(CDibImage::PlotSoft));
    small.Create(16, 1, 1, 0);
    EXPECT_EQ((DibPen)CDibImage::PlotSoft, small.ResolvePen(CDibImage::PlotSoft));
}

TEST(DibImageFill, AntiAliasedLines) {
    GuardedPixels g(32, 20, 12);
    CDibImage& image = g.image;
    ASSERT_TRUE(image.DrawLineAA(-3, -2, 25, 14, 0x00ffffff, 1));
    EXPECT_TRUE(g.GuardsIntact());
    // Every column crossed by a shallow line gets colour on at most two neighbouring rows.
    for (int x = 0; x < 20; ++x) {
        int lit = 0;
        for (int y = 0; y < 12; ++y) lit += image.GetPixel(x, y) != 0;
        EXPECT_GE(lit, 1) << x;
        EXPECT_LE(lit, 2) << x;
    }
    // A true diagonal: full colour on the line, an eighth just above and below it.
    image.FillRect(0, 0, 20, 12, 0);
    image.DrawLineAA(2, 2, 6, 6, 0x00808080, 1);
    EXPECT_EQ(0x00808080u, image.GetPixel(4, 4));
    EXPECT_EQ(0x00101010u, image.GetPixel(4, 5));
    EXPECT_EQ(0x00101010u, image.GetPixel(4, 3));
    EXPECT_EQ(0x00101010u, image.GetPixel(2, 3));
    EXPECT_EQ(0u, image.GetPixel(2, 1)); // the first pixel blends only on the line's side
    // Palette images and straight lines take the plain line.
    CDibImage palette;
    ASSERT_TRUE(palette.Create(8, 5, 5, 0));
    palette.DrawLineAA(0, 0, 4, 2, 3, 0);
    EXPECT_EQ((Points{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}), SetPixels(palette, 0));
}

TEST(DibImageFill, FrameRects) {
    CDibImage image;
    ASSERT_TRUE(image.Create(8, 10, 10, 0));
    EXPECT_TRUE(image.FrameRect(-2, 2, 6, 4, 1));
    // Top row y=2 x 0..3, bottom row y=5, right column x=3; the left column lies outside.
    Points expect;
    for (int x = 0; x <= 3; ++x) expect.insert({x, 2}), expect.insert({x, 5});
    expect.insert({3, 3});
    expect.insert({3, 4});
    EXPECT_EQ(expect, SetPixels(image, 0));
    EXPECT_FALSE(image.FrameRect(10, 0, 3, 3, 1));
    EXPECT_FALSE(image.FrameRect(1, 1, 0, 3, 1));

    // The widest negative sizes: the frame ends at (x, y) and its far edges lie outside.
    ASSERT_TRUE(image.Create(8, 10, 10, 0));
    EXPECT_TRUE(image.FrameRect(5, 6, INT_MIN, INT_MIN, 1));
    expect.clear();
    for (int x = 0; x <= 5; ++x) expect.insert({x, 6});
    for (int y = 0; y < 6; ++y) expect.insert({5, y});
    EXPECT_EQ(expect, SetPixels(image, 0));
    ASSERT_TRUE(image.Create(8, 10, 10, 0));
    EXPECT_TRUE(image.FrameRectPen(5, 6, INT_MIN, INT_MIN, 1, CDibImage::PlotPixel));
    EXPECT_EQ(expect, SetPixels(image, 0));

    // The pen outline visits each corner once, going round.
    g_recorded.clear();
    std::vector<std::pair<int, int>> order;
    static std::vector<std::pair<int, int>>* sOrder;
    sOrder = &order;
    image.FrameRectPen(1, 1, 3, 3, 0, [](CDibImage*, int x, int y, uint32_t) { sOrder->push_back({x, y}); });
    const std::vector<std::pair<int, int>> round = {{1, 1}, {1, 2}, {1, 3}, {2, 3}, {3, 3}, {3, 2}, {3, 1}, {2, 1}};
    EXPECT_EQ(round, order);
}
