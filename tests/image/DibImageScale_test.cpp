// CDibImage::Scale against an exact box filter computed in floating point.
#include "tests/image/DibImageTestSupport.h"

#include <cmath>

namespace {

// The area average of the source pixels under result pixel (x, y): colour channels over the pixels that
// count (alpha not 0 when `skipClear`), the fourth byte over all.
uint32_t BoxFilter(const CDibImage& source, uint32_t w, uint32_t h, int x, int y, bool skipClear) {
    const double sx = (double)source.width / w, sy = (double)source.height / h;
    double sums[4] = {}, counted = 0, all = 0;
    for (int j = (int)std::floor(y * sy); j < (int)std::ceil((y + 1) * sy); ++j)
        for (int i = (int)std::floor(x * sx); i < (int)std::ceil((x + 1) * sx); ++i) {
            const double area = (std::min((x + 1) * sx, i + 1.0) - std::max(x * sx, (double)i)) *
                                (std::min((y + 1) * sy, j + 1.0) - std::max(y * sy, (double)j));
            const uint32_t c = source.GetPixel(i, j);
            all += area;
            sums[3] += area * (c >> 24);
            if (skipClear && !(c >> 24)) continue;
            counted += area;
            for (int k = 0; k < 3; ++k) sums[k] += area * ((c >> (8 * k)) & 255);
        }
    uint32_t out = (uint32_t)std::lround(sums[3] / all) << 24;
    for (int k = 0; k < 3 && counted > 0; ++k) out |= (uint32_t)std::lround(sums[k] / counted) << (8 * k);
    return out;
}

::testing::AssertionResult NearBoxFilter(const CDibImage& out, const CDibImage& source, bool skipClear) {
    for (int y = 0; y < (int)out.height; ++y)
        for (int x = 0; x < (int)out.width; ++x) {
            const uint32_t got = out.GetPixel(x, y), expect = BoxFilter(source, out.width, out.height, x, y, skipClear);
            for (int k = 0; k < (out.depth == 32 ? 4 : 3); ++k)
                if (std::abs((int)((got >> (8 * k)) & 255) - (int)((expect >> (8 * k)) & 255)) > 1)
                    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << "): " << std::hex << got
                                                         << " vs " << expect;
        }
    return ::testing::AssertionSuccess();
}

// A checkerboard of single pixels: `on` at even x + y, `off` elsewhere.
CDibImage Checkerboard(uint32_t depth, uint32_t size, uint32_t on, uint32_t off) {
    CDibImage image;
    image.Create(depth, size, size, 0);
    for (int y = 0; y < (int)size; ++y)
        for (int x = 0; x < (int)size; ++x) image.SetPixel(x, y, ((x + y) & 1) ? off : on);
    return image;
}

} // namespace

TEST(DibImageScale, HalvingACheckerboardGivesFlatGrey) {
    CDibImage out;
    ASSERT_TRUE(out.Scale(Checkerboard(24, 16, 0xffffff, 0x000000), 8, 8, kDibScaleSmooth));
    ASSERT_EQ(out.depth, 24u);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(out.GetPixel(x, y), 0x808080u) << x << ", " << y;
}

TEST(DibImageScale, ClearPixelsAreLeftOutOfTheColourAverage) {
    // Opaque cells of one colour among clear cells of garbage: the colour survives, the alpha halves.
    CDibImage out;
    ASSERT_TRUE(out.Scale(Checkerboard(32, 16, 0xff336699, 0x00ff00ff), 8, 8, kDibScaleSmooth));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(out.GetPixel(x, y), 0x80336699u) << x << ", " << y;
    // Without mixed alpha every pixel counts.
    ASSERT_TRUE(out.Scale(Checkerboard(32, 16, 0xff336699, 0xffff00ff), 8, 8, kDibScaleSmooth));
    EXPECT_EQ(out.GetPixel(3, 3), 0xff9933ccu);
}

TEST(DibImageScale, SmoothScaleIsAnExactBoxFilter) {
    std::mt19937 rng(21);
    for (uint32_t depth : {4u, 24u, 32u})
        for (int round = 0; round < 12; ++round) {
            const CDibImage source = RandomImage(depth, 1 + rng() % 30, 1 + rng() % 30, rng);
            const int w = 1 + (int)(rng() % 40), h = 1 + (int)(rng() % 40);
            CDibImage out, asColour;
            ASSERT_TRUE(out.Scale(source, w, h, kDibScaleSmooth));
            asColour.ConvertDepth(source, 32);
            if (out.width == source.width && out.height == source.height) continue; // a plain copy
            ASSERT_EQ(out.depth, depth == 32 ? 32u : 24u);
            ASSERT_TRUE(NearBoxFilter(out, asColour, depth == 32 && source.GetAlphaKind() == 2))
                << depth << ": " << source.width << "x" << source.height << " -> " << w << "x" << h;
        }
}

TEST(DibImageScale, WholeFactorReductionIsTheRoundedBlockMean) {
    std::mt19937 rng(17);
    for (auto [fx, fy] : {std::pair{3, 3}, std::pair{7, 5}, std::pair{2, 9}}) {
        const CDibImage source = RandomImage(24, 4 * (uint32_t)fx, 3 * (uint32_t)fy, rng);
        CDibImage out;
        ASSERT_TRUE(out.Scale(source, 4, 3, kDibScaleSmooth));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) {
                uint32_t expect = 0;
                for (int k = 0; k < 3; ++k) {
                    uint32_t sum = 0;
                    for (int j = 0; j < fy; ++j)
                        for (int i = 0; i < fx; ++i) sum += (source.GetPixel(x * fx + i, y * fy + j) >> (8 * k)) & 255;
                    expect |= (sum + fx * fy / 2) / (fx * fy) << (8 * k);
                }
                ASSERT_EQ(out.GetPixel(x, y), expect) << fx << "x" << fy << " at " << x << ", " << y;
            }
    }
}

TEST(DibImageScale, LargeFootprintTotalsStayExact) {
    // 2053 : 2048 and 1031 : 1024 do not reduce: every result pixel weighs 2053 x 1031 units in all.
    std::mt19937 rng(9);
    const CDibImage source = RandomImage(24, 2053, 1031, rng);
    CDibImage out;
    ASSERT_TRUE(out.Scale(source, 2048, 1024, kDibScaleSmooth));
    for (int i = 0; i < 2048 * 1024; i += 997) {
        const int x = i % 2048, y = i / 2048;
        const uint32_t got = out.GetPixel(x, y), expect = BoxFilter(source, 2048, 1024, x, y, false);
        for (int k = 0; k < 3; ++k)
            ASSERT_LE(std::abs((int)((got >> (8 * k)) & 255) - (int)((expect >> (8 * k)) & 255)), 1) << x << ", " << y;
    }
}

TEST(DibImageScale, SamplingKeepsDepthAndPalette) {
    std::mt19937 rng(4);
    CDibImage source = RandomImage(4, 5, 3, rng), out;
    source.SetPaletteColor(3, 0x123456);
    ASSERT_TRUE(out.Scale(source, 10, 6, 0));
    ASSERT_EQ(out.depth, 4u);
    EXPECT_EQ(memcmp(out.palette, source.palette, 16 * sizeof(RGBQUAD)), 0);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x) ASSERT_EQ(out.GetPixel(x, y), source.GetPixel(x / 2, y / 2));
    // The same size: a copy, or with the 32-bit flag the colours as words.
    ASSERT_TRUE(out.Scale(source, 5, 3, 0));
    EXPECT_TRUE(SameBytes(out, source));
    ASSERT_TRUE(out.Scale(source, 5, 3, kDibScaleTo32));
    ASSERT_EQ(out.depth, 32u);
    EXPECT_EQ(out.GetPixel(4, 2), source.GetPaletteEntryRGBA((int)source.GetPixel(4, 2), 0, 0, 0, 0));
    // Nothing to scale.
    CDibImage empty;
    EXPECT_FALSE(out.Scale(empty, 5, 5, kDibScaleSmooth));
    EXPECT_FALSE(out.HasPixels());
    EXPECT_FALSE(out.Scale(source, 0, 5, kDibScaleSmooth));
}
