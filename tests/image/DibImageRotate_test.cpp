// CDibImage::Rotate: sizes, quarter turns against TransformFrom, backgrounds and alpha.
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

TEST(DibImageRotate, SizesAndCentres) {
    CDibImage source, out;
    source.Create(24, 10, 10, 0x445566);
    int cx = 5, cy = 5;
    ASSERT_TRUE(out.Rotate(source, 0, 0, &cx, &cy, 0));
    EXPECT_EQ(out.width, 10u);
    EXPECT_EQ(out.height, 10u);
    EXPECT_EQ(cx, 5);
    EXPECT_EQ(cy, 5);
    // In quarter pixels the centre stays where it was given.
    cx = 20, cy = 8;
    ASSERT_TRUE(out.Rotate(source, 0x20000, kDibRotateQuarterPixels, &cx, &cy, 0));
    EXPECT_EQ(cx, 20);
    EXPECT_EQ(cy, 8);
    // An eighth of a turn: the diagonal, 10 * sqrt(2) rounded up.
    cx = cy = 5;
    ASSERT_TRUE(out.Rotate(source, 0x4000, 0, &cx, &cy, 0));
    EXPECT_EQ(out.width, 15u);
    EXPECT_EQ(out.height, 15u);
    EXPECT_EQ(out.GetPixel(cx, cy), 0x445566u);
    // Too wide a source.
    CDibImage wide;
    ASSERT_TRUE(wide.Create(8, 4097, 1, 0));
    EXPECT_FALSE(out.Rotate(wide, 0, 0, &cx, &cy, 0));
}

TEST(DibImageRotate, UncoveredPixelsTakeTheBackgroundUnchanged) {
    // A 24-bit and a 32-bit source without alpha: the corners of a 30-degree turn hold the background
    // exactly (once written with red and blue exchanged), the middle the source colour.
    for (uint32_t depth : {24u, 32u}) {
        CDibImage source, out;
        source.Create(depth, 40, 30, 0x20c040);
        int cx = 20, cy = 15;
        ASSERT_TRUE(out.Rotate(source, 0x20000 / 12, 0, &cx, &cy, 0x00123456));
        EXPECT_EQ(out.GetPixel(0, 0) & 0xffffff, 0x123456u) << depth;
        EXPECT_EQ(out.GetPixel((int)out.width - 1, (int)out.height - 1) & 0xffffff, 0x123456u) << depth;
        EXPECT_EQ(out.GetPixel(cx, cy) & 0xffffff, 0x20c040u) << depth;
        // Edge pixels blend only with source pixels: no trace of the background's colour.
        for (int y = 0; y < (int)out.height; ++y)
            for (int x = 0; x < (int)out.width; ++x) {
                const uint32_t c = out.GetPixel(x, y) & 0xffffff;
                ASSERT_TRUE(c == 0x123456 || c == 0x20c040) << std::hex << c << " at " << std::dec << x << ", " << y;
            }
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
    for (int y = 0; y < (int)out.height; ++y)
        for (int x = 0; x < (int)out.width; ++x) {
            const uint32_t c = out.GetPixel(x, y), alpha = c >> 24;
            if (alpha) {
                ASSERT_EQ(c & 0xffffff, 0xff0000u) << x << ", " << y;
            }
            partial = partial || (alpha > 0 && alpha < 255);
        }
    EXPECT_TRUE(partial);
}

TEST(DibImageRotate, EverySamplingRouteAgrees) {
    // One picture as 32 bits with fourth bytes 255 (alpha-aware sampling), as 32 bits without alpha and
    // as 24 bits (plain sampling, by memory or through the pixel reader): the colours must agree,
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
            for (int k = 1; k < 3; ++k)
                for (int y = 0; y < (int)out[0].height; ++y)
                    for (int x = 0; x < (int)out[0].width; ++x)
                        ASSERT_EQ(out[0].GetPixel(x, y) & 0xffffff, out[k].GetPixel(x, y) & 0xffffff)
                            << "route " << k << " flags " << flags << " angle " << angle << " at " << x << ", " << y;
        }
}
