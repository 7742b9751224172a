// The reveal: the solution pointer runs in from the left end, then swings round the solution with a linearly
// damped oscillation; afterwards the strictly closer player wins.
#pragma once

#include "game/GameState.h"

#include <cstdint>

namespace game {

// Scale pixel of the solution, from the scale computed for the board. Always within 0..W: a solution that
// cannot be placed (below a logarithmic scale, a scale without extent) stands at the left end.
int32_t SolutionPixel(const Question& question, const BoardGeometry& geometry);

// The plan of one reveal; swingRandom and amplitudeRandom are two draws of the random source, in that order.
RevealPlan PlanReveal(int32_t target, int32_t scaleLength, int swingRandom, int amplitudeRandom);

// Position of the solution pointer elapsedMs after the reveal started; finished tells when the swing is over
// (the pointer then stands at the target).
int32_t RevealPosition(const RevealPlan& plan, int32_t scaleLength, uint32_t elapsedMs, bool* finished);

// -1 for a tie, else the player whose pointer is strictly closer to the target.
int DecideWinner(int32_t target, int32_t redPosition, int32_t bluePosition);

}  // namespace game
