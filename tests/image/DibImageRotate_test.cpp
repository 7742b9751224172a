// CDibImage::Rotate: sizes, quarter turns against TransformFrom, backgrounds, alpha, sampling routes.
#include "tests/image/DibImageTestSupport.h"

TEST(DibImageRotate, QuarterTurnsMatchTransformFrom) {
    std::mt19937 rng(30);
    for (uint32_t depth : {8u, 24u, 32u})
        for (uint32_t flags : {0u, kDibRotateNearest}) {
            CDibImage source = RandomImage(depth, 7, 4, rng);
            if (depth == 32) source.SetAlpha(255);
            for (int turn = 0; turn < 4; ++turn) {
                CDibImage rotated, turned;
                int cx = 2, cy = 1;
                ASSERT_TRUE(rotated.Rotate(source, (uint32_t)turn * 0x8000, flags, &cx, &cy, 0));
                turned.TransformFrom(source, turn, 0, 0);
                EXPECT_TRUE(SamePixels(rotated, turned)) << depth << " flags " << flags << " turn " << turn;
            }
        }
}

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

TEST(DibImageRotate, ClearSourcePixelsAreLeftOutAndAlphaFollowsCoverage) {
    // Left half opaque red, right half clear green: no green reaches the result; the fourth byte falls
    // from 255 to 0 across the boundary.
    CDibImage source, out;
    source.Create(32, 20, 20, 0x0000ff00);
    source.FillRect(0, 0, 10, 20, 0xffff0000);
    int cx = 10, cy = 10;
    ASSERT_TRUE(out.Rotate(source, 0x1000, 0, &cx, &cy, 0));
    bool partial = false;
    for (int i = 0; i < (int)(out.width * out.height); ++i) {
        const uint32_t c = out.GetPixel(i % (int)out.width, i / (int)out.width), alpha = c >> 24;
        if (alpha) {
            ASSERT_EQ(c & 0xffffff, 0xff0000u) << i;
        }
        partial = partial || (alpha > 0 && alpha < 255);
    }
    EXPECT_TRUE(partial);
}

TEST(DibImageRotate, EverySamplingRouteAgrees) {
    // One picture as 32 bits with fourth bytes 255 (alpha-aware sampling), as 32 bits without alpha and
    // as 24 bits (plain sampling, from memory or through the pixel reader): the colours must agree,
    // corners and edges included, bilinear and nearest.
    std::mt19937 rng(12);
    CDibImage opaque = RandomImage(32, 23, 17, rng), plain(opaque), narrow;
    opaque.SetAlpha(255);
    plain.SetAlpha(0);
    narrow.ConvertDepth(plain, 24);
    for (uint32_t flags : {0u, kDibRotateNearest})
        for (uint32_t angle : {0x1234u, 0x5000u, 0x9abcu, 0x13579u}) {
            CDibImage out[3];
            const CDibImage* sources[3] = {&opaque, &plain, &narrow};
            for (int k = 0; k < 3; ++k) {
                int cx = 11, cy = 8;
                ASSERT_TRUE(out[k].Rotate(*sources[k], angle, flags, &cx, &cy, 0));
            }
            EXPECT_TRUE(SamePixels(out[0], out[1], 0xffffff)) << "flags " << flags << " angle " << angle;
            EXPECT_TRUE(SamePixels(out[0], out[2], 0xffffff)) << "flags " << flags << " angle " << angle;
        }
}
