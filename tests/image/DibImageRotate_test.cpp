// CDibImage::Rotate: sizes, centres and backgrounds, and every depth, alpha kind (clear pixels left out, the
// fourth byte following coverage), sampling route and angle against the rotation computed one pixel at a time.
#include "image/FixedSin.h"
#include "tests/image/DibImageTestSupport.h"

#include <algorithm>

TEST(DibImageRotate, SizesCentresAndBackground) {
    CDibImage source, out, wide;
    source.Create(24, 10, 10, 0x20c040);
    int cx = 5, cy = 5;
    ASSERT_TRUE(out.Rotate(source, 0, 0, &cx, &cy, 0));
    EXPECT_EQ(out.width * 100 + out.height, 1010u);
    EXPECT_EQ(cx * 100 + cy, 505);
    cx = 20, cy = 8; // in quarter pixels a full turn gives the centre back as it was
    ASSERT_TRUE(out.Rotate(source, 0x20000, kDibRotateQuarterPixels, &cx, &cy, 0));
    EXPECT_EQ(cx * 100 + cy, 2008);
    ASSERT_TRUE(wide.Create(8, 4097, 1, 0));
    EXPECT_FALSE(out.Rotate(wide, 0, 0, &cx, &cy, 0));
    // An eighth of a turn: 10 x sqrt(2) rounded up. The corners hold the background exactly (it was
    // once written with red and blue exchanged); edge pixels blend only source pixels.
    for (uint32_t depth : {24u, 32u}) {
        CDibImage turned;
        ASSERT_TRUE(source.ConvertDepth(source, depth));
        cx = cy = 5;
        ASSERT_TRUE(turned.Rotate(source, 0x4000, 0, &cx, &cy, 0x00123456));
        EXPECT_EQ(turned.width * 100 + turned.height, 1515u);
        EXPECT_EQ(turned.GetPixel(cx, cy) & 0xffffff, 0x20c040u);
        for (int i = 0; i < 15 * 15; ++i) {
            const uint32_t c = turned.GetPixel(i % 15, i / 15) & 0xffffff;
            ASSERT_TRUE(c == 0x123456 || c == 0x20c040) << std::hex << c << " at " << std::dec << i;
        }
        EXPECT_EQ(turned.GetPixel(0, 0) & 0xffffff, 0x123456u);
    }
}

namespace {

// The rotation one pixel at a time, as the algorithm states it: the reference for the fast paths.
CDibImage ReferenceRotate(const CDibImage& source, uint32_t angle, uint32_t flags, int cx, int cy,
                          uint32_t background) {
    const int64_t sine = FixedSin((int)(angle & 0x1ffff)), cosine = FixedCos((int)(angle & 0x1ffff));
    const int scale = flags & kDibRotateQuarterPixels ? 1 : 4;
    const int64_t cx4 = scale * cx, cy4 = scale * cy;
    int64_t minX = INT64_MAX, maxX = INT64_MIN, minY = INT64_MAX, maxY = INT64_MIN;
    for (int64_t x : {-cx4 - 2, -cx4 - 2 + 4 * (int64_t)source.width})
        for (int64_t y : {-cy4 - 2, -cy4 - 2 + 4 * (int64_t)source.height}) {
            minX = std::min(minX, (x * cosine - y * sine) >> 16), maxX = std::max(maxX, (x * cosine - y * sine) >> 16);
            minY = std::min(minY, (x * sine + y * cosine) >> 16), maxY = std::max(maxY, (x * sine + y * cosine) >> 16);
        }
    CDibImage out;
    out.Create(source.depth, (uint32_t)((maxX - minX + 3) >> 2), (uint32_t)((maxY - minY + 3) >> 2), 0);
    if (!source.trueColour) memcpy(out.palette, source.palette, sizeof(RGBQUAD) << source.depth);
    const bool nearest = (flags & kDibRotateNearest) || !source.trueColour, alpha = source.HasAlpha();
    const int64_t w = source.width, h = source.height;
    for (int64_t j = 0; j < (int64_t)out.height; ++j)
        for (int64_t i = 0; i < (int64_t)out.width; ++i) {
            const int64_t x = minX + 2 + 4 * i, y = minY + 2 + 4 * j;
            const int64_t u = (x * cosine + y * sine + (cx4 << 16)) >> 10;
            const int64_t v = (-x * sine + y * cosine + (cy4 << 16)) >> 10;
            auto inside = [&](int64_t sx, int64_t sy) { return sx >= 0 && sy >= 0 && sx < w && sy < h; };
            uint32_t colour = background;
            if (nearest) {
                const int64_t sx = (u + 128) >> 8, sy = (v + 128) >> 8;
                if (inside(sx, sy)) colour = source.GetPixel((int)sx, (int)sy);
            } else {
                const uint32_t fx = (uint32_t)(u & 255), fy = (uint32_t)(v & 255);
                const uint32_t weights[4] = {(256 - fx) * (256 - fy), fx * (256 - fy), (256 - fx) * fy, fx * fy};
                uint32_t sums[3] = {}, total = 0, fourth = 0;
                for (int k = 0; k < 4; ++k) {
                    const int64_t sx = (u >> 8) + (k & 1), sy = (v >> 8) + (k >> 1);
                    const uint32_t p = inside(sx, sy) ? source.GetPixel((int)sx, (int)sy) : background;
                    fourth += weights[k] * (p >> 24);
                    if (!weights[k] || !((inside(sx, sy) && !alpha) || (p >> 24))) continue;
                    total += weights[k];
                    for (int c = 0; c < 3; ++c) sums[c] += weights[k] * ((p >> (8 * c)) & 255);
                }
                if (total)
                    colour = (fourth >> 16) << 24 | sums[2] / total << 16 | sums[1] / total << 8 | sums[0] / total;
            }
            out.SetPixel((int)i, (int)j, colour);
        }
    return out;
}

// A picture of the given kind: 0 no alpha, 1 opaque, 2 opaque with clear holes, 3 clear but one pixel,
// 4 random fourth bytes.
CDibImage Picture(uint32_t depth, uint32_t w, uint32_t h, int alphaKind, std::mt19937& rng) {
    CDibImage image = RandomImage(depth, w, h, rng);
    if (depth != 32) return image;
    const uint8_t kinds[4] = {0, 255, 255, 0};
    if (alphaKind < 4) image.SetAlpha(kinds[alphaKind]);
    for (uint32_t n = alphaKind == 2 ? w * h / 8 : 0; n-- > 0;)
        image.SetPixel((int)(rng() % w), (int)(rng() % h), rng() & 0xffffff);
    if (alphaKind == 3) image.SetPixel((int)(rng() % w), (int)(rng() % h), rng() | 0x01000000);
    return image;
}

} // namespace

TEST(DibImageRotate, MatchesTheReferenceOnRandomPictures) {
    // Sizes up to several bands and blocks of the fast paths; every depth route, alpha kind, flag,
    // background (with and without a fourth byte) and angle, about random centres.
    std::mt19937 rng(106);
    const uint32_t depths[] = {8, 24, 32, 32, 32}, backgrounds[] = {0, 0x00ffffff, 0xff123456, 0x80abcdef};
    for (int n = 0; n < 60; ++n) {
        const uint32_t depth = depths[n % 5], w = 1 + rng() % (n % 6 ? 60 : 300), h = 1 + rng() % (n % 6 ? 60 : 200);
        const int alphaKind = (int)(rng() % 5);
        const CDibImage source = Picture(depth, w, h, alphaKind, rng);
        const uint32_t angles[] = {0, 0x8000, 0x10000, 0x18000, 0x4000, 0x20000 / 12, 1, 0x1ffff, (uint32_t)rng()};
        const uint32_t angle = angles[rng() % 9], flags = rng() % 4, background = backgrounds[rng() % 4];
        const int cx = (int)(rng() % (2 * w + 1)) - (int)w / 2, cy = (int)(rng() % (2 * h + 1)) - (int)h / 2;
        int x = cx, y = cy;
        CDibImage rotated;
        ASSERT_TRUE(rotated.Rotate(source, angle, flags, &x, &y, background));
        EXPECT_TRUE(SamePixels(rotated, ReferenceRotate(source, angle, flags, cx, cy, background)))
            << "case " << n << ": depth " << depth << ", " << w << " x " << h << ", alpha kind " << alphaKind
            << ", angle " << angle << ", flags " << flags << ", background " << std::hex << background;
    }
}

TEST(DibImageRotate, AlphaFoundLateStillCounts) {
    // A picture clear but for one pixel that a first look at its beginning, middle and end misses: the
    // drawing, begun as if it had no alpha, must end as with alpha (the pixel in memory order at each gap).
    std::mt19937 rng(107);
    for (uint32_t at : {9000u, 20000u}) {
        CDibImage source = Picture(32, 200, 150, 0, rng), rotated;
        source.SetPixel((int)(at % 200), (int)(149 - at / 200), 0xff204080);
        for (uint32_t angle : {0u, 0x20000u / 12}) {
            int x = 100, y = 75;
            ASSERT_TRUE(rotated.Rotate(source, angle, 0, &x, &y, 0x00ffffff));
            const CDibImage expected = ReferenceRotate(source, angle, 0, 100, 75, 0x00ffffff);
            EXPECT_TRUE(SamePixels(rotated, expected)) << at << ", " << angle;
        }
    }
}
