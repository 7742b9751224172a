// Fixed-point trigonometry of the image drawing code. Angles: a full turn is 0x20000 units, a quarter 0x8000.
#pragma once

#include <cstdint>

constexpr int kFixedQuarterTurn = 0x8000;
constexpr int kFixedFullTurn = 0x20000;

// Sine x 65536 (-65536..65536), interpolated from a quarter table of 128 steps.
int FixedSin(int angle);
inline int FixedCos(int angle) { return FixedSin((int)((uint32_t)angle + kFixedQuarterTurn)); }

// 32768 x sqrt(1 - (t / 32768)^2) for t in 0..32768, interpolated from a table of 128 steps.
uint32_t FixedCircle(uint32_t t);
