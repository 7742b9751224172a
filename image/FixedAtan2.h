// Fixed-point arctangent; angles as in image/FixedSin.h (a full turn is 0x20000 units).
#pragma once

#include <cstdint>

// The angle of the vector (x, y) in 0..0x1ffff; 0 for (0, 0). Integer arithmetic only.
uint32_t FixedAtan2(int32_t y, int32_t x);

