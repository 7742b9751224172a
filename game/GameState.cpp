#include "game/GameState.h"

#include <cstring>

namespace game {

void DrawnBoard::ForgetStarSlots() { std::memset(starSlots, 0xFF, sizeof starSlots); }

}  // namespace game
