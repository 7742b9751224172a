#include "game/GameState.h"

#include <cstring>

namespace game {

GameState::GameState() { ForgetStarSlots(); }

void GameState::ForgetStarSlots() { std::memset(starSlotCache, 0xFF, sizeof starSlotCache); }

}  // namespace game
