// Where the players' pointers stand: each crosses the scale in 3200 ms and bounces at the ends.
#pragma once

#include <cstdint>

namespace game {

struct GameState;

// Scale pixel (0..W) of a pointer that has run for elapsedMs. Red starts at the left end; blue starts at the
// right end unless both start on the same side.
int32_t SweepPosition(uint32_t elapsedMs, int32_t scaleLength, int player, bool sameSide);

// Position of player 0 or 1 at tick now: idle pointers stand at their start end, running ones sweep,
// stopped ones stand where their stop tick left them.
int32_t PlayerPosition(const GameState& state, int player, uint32_t now);

}  // namespace game
