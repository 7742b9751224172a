// CDibImage::Scale against a box filter computed in floating point.
#include "image/loops/DibLoops.h"
#include "tests/image/DibImageTestSupport.h"

#include <cmath>

namespace {

// The area average of the source colours under result pixel (x, y) of a w x h result: colour channels
// over the pixels that count (alpha not 0 when `skipClear`), the fourth byte over all.
uint32_t BoxFilter(const CDibImage& source, uint32_t w, uint32_t h, int x, int y, bool skipClear) {
    const double sx = (double)source.width / w, sy = (double)source.height / h;
    double sums[4] = {}, counted = 0, all = 0;
    for (int j = (int)std::floor(y * sy); j < (int)std::ceil((y + 1) * sy); ++j)
        for (int i = (int)std::floor(x * sx); i < (int)std::ceil((x + 1) * sx); ++i) {
            const double area = (std::min((x + 1) * sx, i + 1.0) - std::max(x * sx, (double)i)) *
                                (std::min((y + 1) * sy, j + 1.0) - std::max(y * sy, (double)j));
            const uint32_t c = PixelColour(source, i, j);
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

// Every `step`-th pixel of `out` against the box filter, each channel within `tolerance`.
::testing::AssertionResult NearBoxFilter(const CDibImage& out, const CDibImage& source, int tolerance, int step = 1) {
    const bool skipClear = out.depth == 32 && source.GetAlphaKind() == 2;
    for (int i = 0; i < (int)(out.width * out.height); i += step) {
        const int x = i % (int)out.width, y = i / (int)out.width;
        const uint32_t got = out.GetPixel(x, y), expect = BoxFilter(source, out.width, out.height, x, y, skipClear);
        for (int k = 0; k < (out.depth == 32 ? 4 : 3); ++k)
            if (std::abs((int)((got >> (8 * k)) & 255) - (int)((expect >> (8 * k)) & 255)) > tolerance)
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << "): " << std::hex << got
                                                     << " vs " << expect;
    }
    return ::testing::AssertionSuccess();
}

// A checkerboard of single pixels: `on` at even x + y, `off` elsewhere.
CDibImage Checkerboard(uint32_t depth, uint32_t size, uint32_t on, uint32_t off) {
    std::vector<uint32_t> values(size * size);
    for (uint32_t i = 0; i < size * size; ++i) values[i] = ((i % size + i / size) & 1) ? off : on;
    return ImageOf(depth, size, values);
}

} // namespace

TEST(DibImageScale, HalvingACheckerboardGivesFlatColourLeavingOutClearPixels) {
    // Black and white average to grey; among opaque cells of one colour the clear cells (of any colour)
    // count for the fourth byte only; without mixed alpha every cell counts.
    struct Case {
        uint32_t depth, on, off, expect;
    };
    for (const Case& c : {Case{24, 0xffffff, 0x000000, 0x808080}, Case{32, 0xff336699, 0x00ff00ff, 0x80336699},
                          Case{32, 0xff336699, 0xffff00ff, 0xff9933cc}}) {
        CDibImage out, flat;
        ASSERT_TRUE(out.Scale(Checkerboard(c.depth, 16, c.on, c.off), 8, 8, kDibScaleSmooth));
        flat.Create(c.depth, 8, 8, c.expect);
        EXPECT_TRUE(SamePixels(out, flat)) << std::hex << c.off;
    }
}

TEST(DibImageScale, SmoothScaleIsABoxFilter) {
    std::mt19937 rng(21);
    for (uint32_t depth : {4u, 24u, 32u})
        for (int round = 0; round < 12; ++round) {
            const CDibImage source = RandomImage(depth, 1 + rng() % 30, 1 + rng() % 30, rng);
            const int w = 1 + (int)(rng() % 40), h = 1 + (int)(rng() % 40);
            CDibImage out;
            ASSERT_TRUE(out.Scale(source, w, h, kDibScaleSmooth));
            if (out.width == source.width && out.height == source.height) continue; // a plain copy
            ASSERT_EQ(out.depth, depth == 32 ? 32u : 24u);
            ASSERT_TRUE(NearBoxFilter(out, source, 1)) << depth << ": " << source.width << "x" << source.height
                                                       << " -> " << w << "x" << h;
        }
    // Whole factors: exactly the rounded block mean. Sizes that do not reduce (2053 : 2048, 1031 : 1024)
    // weigh every result pixel 2053 x 1031 units, beyond the 32-bit sums.
    for (auto [fx, fy] : {std::pair{3, 3}, std::pair{7, 5}, std::pair{2, 9}}) {
        CDibImage out;
        const CDibImage source = RandomImage(24, 4 * (uint32_t)fx, 3 * (uint32_t)fy, rng);
        ASSERT_TRUE(out.Scale(source, 4, 3, kDibScaleSmooth));
        EXPECT_TRUE(NearBoxFilter(out, source, 0)) << fx << "x" << fy;
    }
    CDibImage out;
    const CDibImage large = RandomImage(24, 2053, 1031, rng);
    ASSERT_TRUE(out.Scale(large, 2048, 1024, kDibScaleSmooth));
    EXPECT_TRUE(NearBoxFilter(out, large, 1, 997));
}

TEST(DibImageScale, SamplingKeepsDepthAndPalette) {
    std::mt19937 rng(4);
    CDibImage source = RandomImage(4, 5, 3, rng), out, doubled;
    source.SetPaletteColor(3, 0x123456);
    ASSERT_TRUE(out.Scale(source, 10, 6, 0));
    doubled.Create(4, 10, 6, 0);
    for (int i = 0; i < 60; ++i) doubled.SetPixel(i % 10, i / 10, source.GetPixel(i % 10 / 2, i / 20));
    EXPECT_TRUE(SamePixels(out, doubled));
    EXPECT_EQ(memcmp(out.palette, source.palette, 16 * sizeof(RGBQUAD)), 0);
    // The same size: a copy, or with the 32-bit flag the colours as words.
    ASSERT_TRUE(out.Scale(source, 5, 3, 0));
    EXPECT_TRUE(SameBytes(out, source));
    ASSERT_TRUE(out.Scale(source, 5, 3, kDibScaleTo32));
    ASSERT_EQ(out.depth, 32u);
    EXPECT_EQ(out.GetPixel(4, 2), PixelColour(source, 4, 2));
    // Nothing to scale.
    CDibImage empty;
    EXPECT_FALSE(out.Scale(empty, 5, 5, kDibScaleSmooth));
    EXPECT_FALSE(out.HasPixels());
    EXPECT_FALSE(out.Scale(source, 0, 5, kDibScaleSmooth));
}

TEST(DibImageScale, RoundedQuotientIsExactAtAnyTotalWeight) {
    // Area sums reach 255 x the total weight, which reaches 32,768^2 for sizes that do not reduce.
    std::mt19937_64 rng(102);
    for (uint64_t d : {1ull, 2ull, 9ull, 65536ull, 1990921ull, (1ull << 23) + 1, 1073741789ull, 1ull << 30}) {
        const DibRoundedDivider divide(d);
        std::vector<uint64_t> sums = {0, 255 * d};
        for (uint64_t m : {1, 128, 255}) sums.insert(sums.end(), {m * d - d / 2 - 1, m * d - d / 2});
        for (int i = 0; i < 1000; ++i) sums.push_back(rng() % (255 * d + 1));
        for (uint64_t n : sums) ASSERT_EQ(divide(n), (n + d / 2) / d) << n << " / " << d;
    }
}
