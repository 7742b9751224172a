// The scale of the bottom band: its extent in pixels, decimals, tick step and ticks, and how its numbers and
// colours look.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace game {

struct ScaleTick {
    int32_t x;     // scale pixel
    double value;  // the number its label shows (scaled by 10^decimals)
    bool even;     // long tick with a label
};

struct ScaleLayout {
    int32_t scaleLength = 1;     // W
    double minimum = 0.0;        // the question's range, as adjusted for a logarithmic scale
    double maximum = 0.0;
    int32_t decimals = 0;
    double decimalFactor = 1.0;  // 10^decimals
    double pixelsPerUnit = 0.0;  // per scaled unit (per decade of scaled values on a logarithmic scale); 0 = no extent
    std::vector<ScaleTick> ticks;
};

// Computes the scale for a client width and a question range. A range without extent, or a client too
// narrow for one step (below 164 pixels), gets no ticks; pixelsPerUnit is then 0 when the range has no extent.
ScaleLayout ComputeScaleLayout(int32_t clientWidth, double minimum, double maximum, bool logarithmic);

// Formats a scaled value: truncated toward zero, the last `decimals` digits behind a '.', digit groups of
// three separated by blanks, trailing zeros of the fraction removed. Returns the text's length.
int FormatScaleNumber(char* buffer, size_t size, double value, int decimals);

// Colour of column i of a scale n pixels wide: orange at the left, green in the middle, sky blue at the right.
uint32_t ScaleGradientColour(int32_t i, int32_t n);

}  // namespace game
