#include "game/ScaleLayout.h"

#include <gtest/gtest.h>

#include <string>

using namespace game;

namespace {

std::string Format(double value, int decimals) {
    char buffer[600];
    FormatScaleNumber(buffer, sizeof buffer, value, decimals);
    return buffer;
}

std::vector<int32_t> TickColumns(const ScaleLayout& layout) {
    std::vector<int32_t> xs;
    for (const ScaleTick& tick : layout.ticks) xs.push_back(tick.x);
    return xs;
}

}  // namespace

TEST(ScaleLayout, LinearThousandOnEightHundredPixels) {
    const ScaleLayout layout = ComputeScaleLayout(864, 0, 1000, false);
    EXPECT_EQ(layout.scaleLength, 800);
    EXPECT_EQ(layout.decimals, 0);
    EXPECT_DOUBLE_EQ(layout.pixelsPerUnit, 0.8);
    // step 125 becomes 250: a tick every 200 pixels, labels (even ticks) on 0, 500 and 1000.
    EXPECT_EQ(TickColumns(layout), (std::vector<int32_t>{0, 200, 400, 600, 800}));
    std::vector<double> labelled;
    for (const ScaleTick& tick : layout.ticks)
        if (tick.even) labelled.push_back(tick.value);
    EXPECT_EQ(labelled, (std::vector<double>{0, 500, 1000}));
}

TEST(ScaleLayout, DecimalsForSmallRanges) {
    ScaleLayout layout = ComputeScaleLayout(864, 0.5, 2, false);
    EXPECT_EQ(layout.decimals, 2);
    EXPECT_DOUBLE_EQ(layout.decimalFactor, 100);
    ASSERT_FALSE(layout.ticks.empty());
    char text[32];
    FormatScaleNumber(text, sizeof text, layout.ticks.back().value, layout.decimals);
    EXPECT_STREQ(text, "2");
    layout = ComputeScaleLayout(864, 0, 0.0000001, false);
    EXPECT_EQ(layout.decimals, 6);  // at most six
}

TEST(ScaleLayout, LogarithmicMinimumIsAdjusted) {
    ScaleLayout layout = ComputeScaleLayout(864, 0, 1000, true);
    EXPECT_DOUBLE_EQ(layout.minimum, 50);  // 5 % of the maximum
    layout = ComputeScaleLayout(864, 0, 0.0001, true);
    EXPECT_DOUBLE_EQ(layout.minimum, 0.00001);
    layout = ComputeScaleLayout(864, 0, 0, true);
    EXPECT_DOUBLE_EQ(layout.maximum, 0.00002);
    layout = ComputeScaleLayout(864, 1000, 10000000, true);
    EXPECT_EQ(layout.decimals, 0);
    EXPECT_DOUBLE_EQ(layout.pixelsPerUnit, 200);  // four decades on 800 pixels
    ASSERT_FALSE(layout.ticks.empty());
    EXPECT_NEAR(layout.ticks.front().value, 1000, 1e-6);
    EXPECT_EQ(layout.ticks.front().x, 0);
}

TEST(ScaleLayout, DegenerateScalesDrawNoTicksAndNeverHang) {
    ScaleLayout layout = ComputeScaleLayout(150, 0, 1000, false);  // narrower than one step
    EXPECT_TRUE(layout.ticks.empty());
    EXPECT_GT(layout.pixelsPerUnit, 0);
    layout = ComputeScaleLayout(864, 100, 100, false);  // no extent
    EXPECT_TRUE(layout.ticks.empty());
    EXPECT_EQ(layout.pixelsPerUnit, 0);
    layout = ComputeScaleLayout(864, 500, 100, false);  // reversed
    EXPECT_TRUE(layout.ticks.empty());
    EXPECT_EQ(layout.pixelsPerUnit, 0);
    layout = ComputeScaleLayout(10, 0, 1000, false);
    EXPECT_EQ(layout.scaleLength, 1);
    // Far from zero the step vanishes against the values: bounded, strictly increasing ticks.
    for (double minimum : {1e20, -1e20, 1e300}) {
        layout = ComputeScaleLayout(1920, minimum, minimum + 1e5, false);
        EXPECT_LE(layout.ticks.size(), 1858u) << minimum;
        for (size_t i = 1; i < layout.ticks.size(); ++i) EXPECT_GT(layout.ticks[i].x, layout.ticks[i - 1].x);
    }
    layout = ComputeScaleLayout(1920, -1e308, 1e308, false);
    EXPECT_TRUE(layout.ticks.empty());
}

TEST(ScaleLayout, FormatScaleNumber) {
    EXPECT_EQ(Format(123456, 2), "1 234.56");
    EXPECT_EQ(Format(1500, 2), "15");
    EXPECT_EQ(Format(1510, 2), "15.1");
    EXPECT_EQ(Format(-1234567, 0), "-1 234 567");
    EXPECT_EQ(Format(1234567, 0), "1 234 567");
    EXPECT_EQ(Format(5, 2), "0.05");
    EXPECT_EQ(Format(-5, 2), "-0.05");
    EXPECT_EQ(Format(0, 0), "0");
    EXPECT_EQ(Format(999, 0), "999");
    EXPECT_EQ(Format(1000, 0), "1 000");
    EXPECT_EQ(Format(828.9, 0), "828");
    EXPECT_EQ(Format(-0.7, 0), "0");
    // Beyond 32 bits the digits stay right.
    EXPECT_EQ(Format(10000000000.0, 0), "10 000 000 000");
    EXPECT_EQ(Format(-4294967296.0, 3), "-4 294 967.296");
    EXPECT_EQ(Format(1e20, 0), "100 000 000 000 000 000 000");
    // A buffer too small is cut, not overrun.
    char small[6];
    EXPECT_EQ(FormatScaleNumber(small, sizeof small, 1234567, 0), 5);
    EXPECT_STREQ(small, "1 234");
}

TEST(ScaleLayout, GradientRunsOrangeGreenSkyBlue) {
    EXPECT_EQ(ScaleGradientColour(0, 800), 0xFFC000u);
    EXPECT_EQ(ScaleGradientColour(-1, 800), 0xFFC000u);
    EXPECT_EQ(ScaleGradientColour(-100, 800), 0xFFC000u);
    EXPECT_EQ(ScaleGradientColour(800, 800), 0x00C0FFu);
    EXPECT_EQ(ScaleGradientColour(900, 800), 0x00C0FFu);
    EXPECT_EQ(ScaleGradientColour(255, 511), 0x00FF00u);
    EXPECT_EQ(ScaleGradientColour(256, 511), 0x00FF00u);
    EXPECT_EQ(ScaleGradientColour(400, 800), 0x00FF00u);  // v = 255
    EXPECT_EQ(ScaleGradientColour(128, 511), 0x7FE000u);  // v = 128: red 127, green 32 - 64 + 256
}
