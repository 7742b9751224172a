#include "game/GameState.h"

#include <cstring>

namespace game {

void DrawnBoard::ForgetStarSlots() { std::memset(starSlots, kStarSlotNotDrawn, sizeof starSlots); }

}  // namespace game
