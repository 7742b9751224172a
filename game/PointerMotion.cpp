#include "game/PointerMotion.h"

#include "game/GameState.h"

namespace game {

int32_t SweepPosition(uint32_t elapsedMs, int32_t scaleLength, int player, bool sameSide) {
    const uint64_t width = scaleLength > 0 ? static_cast<uint64_t>(scaleLength) : 0;
    uint32_t pass = elapsedMs / kPassMs;
    if (player == kBlue && !sameSide) pass ^= 1;
    const int32_t p = static_cast<int32_t>(width * (elapsedMs % kPassMs) / kPassMs);
    return (pass & 1) ? static_cast<int32_t>(width) - p : p;
}

int32_t PlayerPosition(const GameState& state, int player, uint32_t now) {
    const ThreadShared& shared = state.shared;
    const int32_t scaleLength = state.geometry.scaleLength;
    const bool sameSide = state.settings.sameSide != 0;
    const int32_t playerState = shared.playerState[player].load();
    if (playerState == kPlayerRunning || playerState == kPlayerStopped) {
        const uint32_t end = playerState == kPlayerRunning ? now : shared.stopTick[player].load();
        return SweepPosition(end - shared.startTick[player].load(), scaleLength, player, sameSide);
    }
    return (player == kBlue && !sameSide) ? scaleLength : 0;
}

}  // namespace game
