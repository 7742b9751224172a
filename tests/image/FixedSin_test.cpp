// Fixed-point sine and quarter circle against the math library.
#include "image/FixedSin.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

// The table's rounding (1 unit at the doubled scale), the chord between table points (up to 1.23 units) and
// the division that truncates towards zero (under 1 unit) add up to just under 3 units.
TEST(FixedSin, WithinThreeUnitsOfTheMathLibraryAtEveryAngle) {
    int worst = 0;
    for (int64_t a = -0x20000; a <= 0x40000; ++a) {
        const double exact = 65536.0 * std::sin((double)a * M_PI / 65536.0);
        const int diff = (int)std::lround(std::fabs(FixedSin((int)a) - exact));
        worst = std::max(worst, diff);
        ASSERT_LE(diff, 3) << a;
    }
    EXPECT_GE(worst, 2); // the check sees the interpolation at all
    EXPECT_EQ((std::vector<int>{0, 65536, 0, -65536, 65536}),
              (std::vector<int>{FixedSin(0), FixedSin(0x8000), FixedSin(0x10000), FixedSin(0x18000), FixedCos(0)}));
    // Extreme arguments are angles like any other (bits above the turn do not matter).
    for (int a : {INT_MIN, INT_MAX, INT_MIN + 1, INT_MAX - 0x8000})
        EXPECT_NEAR(65536.0 * std::sin((double)(a & 0x1ffff) * M_PI / 65536.0), FixedSin(a), 3.0) << a;
    EXPECT_NEAR(65536.0 * std::cos((double)(INT_MAX & 0x1ffff) * M_PI / 65536.0), FixedCos(INT_MAX), 3.0);
}

TEST(FixedSin, QuarterCircleTable) {
    for (uint32_t i = 0; i <= 128; ++i)
        EXPECT_EQ((uint32_t)std::floor(32768.0 * std::sqrt(1.0 - (i / 128.0) * (i / 128.0))), FixedCircle(i * 256))
            << i;
    for (uint32_t t = 0; t <= 30000; t += 7)
        EXPECT_NEAR(32768.0 * std::sqrt(1.0 - (t / 32768.0) * (t / 32768.0)), FixedCircle(t), 8.0) << t;
    EXPECT_EQ(0u, FixedCircle(40000));
}
