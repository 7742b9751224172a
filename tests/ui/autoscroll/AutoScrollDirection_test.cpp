#include "ui/autoscroll/AutoScrollDirection.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

TEST(AutoScrollDirection, CodesAtEveryThreshold) {
    struct Case { int dx, dy, axes, code; } cases[] = {
        // Within 20 pixels (a 0 counts as 1) nothing scrolls.
        {10, 10, 3, 0}, {19, 0, 3, 0}, {0, -19, 3, 0}, {20, 0, 3, 3}, {0, 20, 3, 1}, {0, -20, 3, 2}, {-20, 0, 3, 6},
        // Right: r = 100 * dy / dx against 240, 40, -40, -240.
        {100, 241, 3, 1}, {100, 240, 3, 4}, {100, 41, 3, 4}, {100, 40, 3, 3}, {100, -39, 3, 3}, {100, -40, 3, 5},
        {100, -239, 3, 5}, {100, -240, 3, 2},
        // Left.
        {-100, -241, 3, 2}, {-100, -240, 3, 8}, {-100, -41, 3, 8}, {-100, -40, 3, 6}, {-100, 39, 3, 6},
        {-100, 40, 3, 7}, {-100, 239, 3, 7}, {-100, 240, 3, 1},
        // One axis: the other part is dropped; straight down with the horizontal axis stays neutral.
        {0, 100, 1, 0}, {100, 100, 1, 3}, {-100, -100, 1, 6}, {100, 0, 2, 0}, {100, 100, 2, 1}, {-100, -100, 2, 2},
        // Far away without overflow.
        {INT_MAX, INT_MAX, 3, 4}, {INT_MIN + 1, 0, 3, 6},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AutoScrollCode(c.dx, c.dy, c.axes), c.code) << c.dx << ',' << c.dy << '/' << c.axes;
}

TEST(AutoScrollDirection, StepAddsTheAxesWithoutCancellingOnTheDiagonals) {
    // Diagonally 6 + 7 = 13, where the sum of the signed parts would give 1.
    EXPECT_EQ((std::vector<int>{AutoScrollStep(100, 0, 3), AutoScrollStep(100, -100, 3), AutoScrollStep(-100, 100, 3),
                                AutoScrollStep(100, -100, 1), AutoScrollStep(100, -100, 2), AutoScrollStep(15, 15, 3),
                                AutoScrollStep(INT_MIN, INT_MIN, 3)}),
              (std::vector<int>{6, 13, 13, 6, 7, 0, 268435456}));
    EXPECT_EQ((std::vector<int>{AutoScrollTarget(3, 0, 500, 6, 0, 1000), AutoScrollTarget(6, 0, 3, 6, 0, 1000),
                                AutoScrollTarget(5, 1, 998, 13, 0, 1000), AutoScrollTarget(4, 1, 998, 13, 0, 1000),
                                AutoScrollTarget(3, 1, 998, 13, 0, 1000)}),
              (std::vector<int>{506, 0, 985, 1000, 998}));
}

TEST(AutoScrollDirection, OriginMarkAtEveryScreenDepth) {
    uint8_t grey[512] = {};
    grey[0] = 0x0F;  // pixel 0 black, pixel 1 white
    grey[1] = 0x70;  // pixel 2 grey 7
    struct Case { int bits; size_t size; std::vector<uint8_t> first; } cases[] = {
        {1, 128, {0x40}}, {4, 512, {0x0F, 0x70}}, {8, 1024, {0, 15, 7}},
        {15, 2048, {0x21, 0x04, 0xFF, 0x7F, 0xEF, 0x3D}}, {16, 2048, {0x21, 0x04, 0xFF, 0x7F, 0xEF, 0x3D}},
        {24, 3072, {15, 15, 15, 255, 255, 255, 127, 127, 127}},
        {32, 4096, {15, 15, 15, 0, 255, 255, 255, 0, 127, 127, 127, 0}},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> bits = OriginMarkBits(grey, c.bits);
        ASSERT_EQ(bits.size(), c.size) << c.bits;
        EXPECT_EQ(std::vector<uint8_t>(bits.begin(), bits.begin() + c.first.size()), c.first) << c.bits;
    }
    EXPECT_TRUE(OriginMarkBits(grey, 7).empty());
}
