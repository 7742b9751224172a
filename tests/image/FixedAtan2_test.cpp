// The fixed-point arctangent against the math library.
#include "image/FixedAtan2.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

namespace {

// FixedAtan2(y, x) within 2 units of the exact angle, the wrap at a full turn taken into account.
::testing::AssertionResult NearExact(int64_t y, int64_t x) {
    const double turn = 131072.0, exact = std::atan2((double)y, (double)x) * turn / (2 * M_PI);
    const uint32_t got = FixedAtan2((int32_t)y, (int32_t)x);
    const double d = std::remainder(got - exact, turn);
    if (std::fabs(d) <= 2.0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << x << ", " << y << "): " << got << " vs " << exact;
}

} // namespace

TEST(FixedAtan2, MatchesLibraryOverEveryAngleAndMagnitude) {
    // Every direction on a circle of radius 40,000, then magnitudes from 1 to 2^31 in all octants.
    for (int i = 0; i < 0x20000; i += 3) {
        const double t = i * 2 * M_PI / 131072;
        ASSERT_TRUE(NearExact(std::lround(40000 * std::sin(t)), std::lround(40000 * std::cos(t))));
    }
    for (int64_t m = 1; m <= 0x80000000ll; m = m * 3 / 2 + 1)
        for (int64_t k : {0ll, 1ll, m / 3, m / 2, m - 1, m})
            for (int64_t sx : {1, -1})
                for (int64_t sy : {1, -1}) {
                    const int64_t x = sx * std::min<int64_t>(m, INT_MAX), y = sy * std::min<int64_t>(k, INT_MAX);
                    ASSERT_TRUE(NearExact(y, x));
                    ASSERT_TRUE(NearExact(x, y));
                }
}

TEST(FixedAtan2, ExtremesStayInsideTheTable) {
    // Equal magnitudes of 32,768 and more once made the scaled ratio exceed 1.0 and read past the table.
    for (int32_t m : {32768, 32775, 65535, 0x7ffff, 0x80001, 0x7fffff, 0x8000001, INT_MAX})
        EXPECT_EQ((std::vector<uint32_t>{FixedAtan2(m, m), FixedAtan2(m, -m), FixedAtan2(-m, -m), FixedAtan2(-m, m)}),
                  (std::vector<uint32_t>{0x4000, 0xc000, 0x14000, 0x1c000})) << m;
    EXPECT_TRUE(NearExact(INT_MIN, INT_MAX));
    // The compass points and the diagonal, also at INT_MIN; (0, 0) gives 0.
    const int32_t points[][3] = {{0, 0, 0},          {0, 1, 0},          {5, 5, 0x4000},           {1, 0, 0x8000},
                                 {0, -7, 0x10000},   {-1, 0, 0x18000},   {INT_MIN, INT_MIN, 0x14000},
                                 {0, INT_MIN, 0x10000}, {INT_MIN, 0, 0x18000}};
    for (const auto& p : points) EXPECT_EQ(FixedAtan2(p[0], p[1]), (uint32_t)p[2]) << p[0] << ", " << p[1];
}
