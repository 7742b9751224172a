// Fixed-point angles: a full turn is 0x20000 units, a quarter turn 0x8000.
#pragma once

#include <cstdint>

constexpr uint32_t kFixedFullTurn = 0x20000;
constexpr uint32_t kFixedQuarterTurn = 0x8000;

// The angle of the vector (x, y) in 0..0x1ffff; 0 for (0, 0). Integer arithmetic only.
uint32_t FixedAtan2(int32_t y, int32_t x);

// sin(angle) x 65536, in -65536..65536 (a quarter-turn table with linear interpolation).
// The cosine is FixedSin(angle + 0x8000).
int FixedSin(int32_t angle);
