// The fixed-point arctangent against the math library.
#include "image/FixedAtan2.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

constexpr double kTurn = 131072.0;

// The angle difference in units, taking the wrap at a full turn into account.
double AngleError(uint32_t got, double expect) {
    double d = std::fmod(got - expect, kTurn);
    if (d > kTurn / 2) d -= kTurn;
    if (d < -kTurn / 2) d += kTurn;
    return std::fabs(d);
}

double ExactAtan2(int64_t y, int64_t x) {
    const double a = std::atan2((double)y, (double)x) * kTurn / (2 * M_PI);
    return a < 0 ? a + kTurn : a;
}

} // namespace

TEST(FixedAtan2, ArctangentMatchesLibraryOverEveryAngle) {
    // Every direction on a circle of radius 40,000, then at many magnitudes from 1 to 2^31.
    for (int i = 0; i < 0x20000; i += 3) {
        const double t = i * 2 * M_PI / kTurn;
        const int32_t x = (int32_t)std::lround(40000 * std::cos(t)), y = (int32_t)std::lround(40000 * std::sin(t));
        ASSERT_LE(AngleError(FixedAtan2(y, x), ExactAtan2(y, x)), 2.0) << "(" << x << ", " << y << ")";
    }
    for (int64_t m = 1; m <= 0x80000000ll; m = m * 3 / 2 + 1)
        for (int64_t k : {0ll, 1ll, m / 3, m / 2, m - 1, m}) {
            for (int sx : {1, -1})
                for (int sy : {1, -1}) {
                    const int64_t x = sx * std::min<int64_t>(m, INT_MAX), y = sy * std::min<int64_t>(k, INT_MAX);
                    for (auto [px, py] : {std::pair{x, y}, std::pair{y, x}})
                        ASSERT_LE(AngleError(FixedAtan2((int32_t)py, (int32_t)px), ExactAtan2(py, px)), 2.0)
                            << "(" << px << ", " << py << ")";
                }
        }
}

TEST(FixedAtan2, ArctangentExtremesStayInsideTheTable) {
    // Equal magnitudes of 32,768 and more once made the scaled ratio exceed 1.0 and read past the table.
    for (int32_t m : {32768, 32775, 65535, 0x7ffff, 0x80001, 0x7fffff, 0x8000001, INT_MAX}) {
        EXPECT_EQ(FixedAtan2(m, m), 0x4000u) << m;
        EXPECT_EQ(FixedAtan2(m, -m), 0xc000u) << m;
        EXPECT_EQ(FixedAtan2(-m, -m), 0x14000u) << m;
        EXPECT_EQ(FixedAtan2(-m, m), 0x1c000u) << m;
    }
    EXPECT_EQ(FixedAtan2(INT_MIN, INT_MIN), 0x14000u);
    EXPECT_EQ(FixedAtan2(0, INT_MIN), 0x10000u);
    EXPECT_EQ(FixedAtan2(INT_MIN, 0), 0x18000u);
    EXPECT_LE(AngleError(FixedAtan2(INT_MIN, INT_MAX), ExactAtan2(INT_MIN, INT_MAX)), 2.0);
    // The compass points and the diagonal.
    EXPECT_EQ(FixedAtan2(0, 0), 0u);
    EXPECT_EQ(FixedAtan2(0, 1), 0u);
    EXPECT_EQ(FixedAtan2(5, 5), 0x4000u);
    EXPECT_EQ(FixedAtan2(1, 0), 0x8000u);
    EXPECT_EQ(FixedAtan2(0, -7), 0x10000u);
    EXPECT_EQ(FixedAtan2(-1, 0), 0x18000u);
}
