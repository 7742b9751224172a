#include "game/RoundControl.h"

#include <limits>

namespace game {

namespace {

bool ValidPlayer(int player) { return player == kRed || player == kBlue; }

// A state change claims the player with a compare-and-swap, writes the tick, then publishes the new state,
// so that the reader thread and the UI thread never both act on one player and a frame never sees the new
// state with the old tick.
bool Transition(GameState& state, int player, int32_t from, int32_t to, std::atomic<uint32_t>& tick, uint32_t value) {
    int32_t expected = from;
    if (!state.playerState[player].compare_exchange_strong(expected, kPlayerChanging)) return false;
    tick.store(value);
    state.playerState[player].store(to);
    return true;
}

}  // namespace

bool StartPlayer(GameState& state, int player, uint32_t tick) {
    if (!ValidPlayer(player) || state.noQuestion || state.singleMode || state.gameNumber == 0) return false;
    return Transition(state, player, kPlayerIdle, kPlayerRunning, state.startTick[player], tick);
}

bool StopPlayer(GameState& state, int player, uint32_t tick, GameEvents* events) {
    if (!ValidPlayer(player)) return false;
    if (!Transition(state, player, kPlayerRunning, kPlayerStopped, state.stopTick[player], tick)) return false;
    if (events) events->QueueSound(player == kRed ? kSoundCling1 : kSoundCling2);
    return true;
}

bool StartBothPlayers(GameState& state, uint32_t tick) {
    if (!state.singleMode || state.noQuestion) return false;
    int32_t expected = kPlayerIdle;
    if (!state.playerState[kRed].compare_exchange_strong(expected, kPlayerChanging)) return false;
    expected = kPlayerIdle;
    if (!state.playerState[kBlue].compare_exchange_strong(expected, kPlayerChanging)) {
        state.playerState[kRed].store(kPlayerIdle);
        return false;
    }
    for (int player : {kRed, kBlue}) state.startTick[player].store(tick);
    for (int player : {kRed, kBlue}) state.playerState[player].store(kPlayerRunning);
    return true;
}

void ResetRound(GameState& state) {
    state.markerPosition = kNotDrawn;
    state.winner = -1;
    state.playerState[kRed].store(kPlayerIdle);
    state.playerState[kBlue].store(kPlayerIdle);
    state.revealState = kRevealNone;
    state.autoStartCountdown = 0;
    state.boardDrawn = 0;
}

void ResetGame(GameState& state) {
    state.roundActive = 0;
    state.repeatNumber = 1;
    ResetRound(state);
}

void PlayerKeyDown(GameState& state, int player, uint32_t now, GameEvents* events) {
    if (!ValidPlayer(player)) return;
    uint32_t& guard = state.keyGuard[player];
    if (guard != 0 && now - guard < kKeyRepeatGuardMs) return;  // auto-repeat of a held key
    guard = now;
    if (state.singleMode)
        StopPlayer(state, player, now, events);
    else
        StartPlayer(state, player, now);
}

void PlayerKeyUp(GameState& state, int player, uint32_t now, GameEvents* events) {
    if (!ValidPlayer(player)) return;
    state.keyGuard[player] = 0;
    StopPlayer(state, player, now, events);
}

void TogglePlayer(GameState& state, int player, uint32_t now, GameEvents* events) {
    if (StopPlayer(state, player, now, events)) return;
    if (!state.singleMode) StartPlayer(state, player, now);
}

void ChangeStarCount(GameState& state, int player, int delta) {
    if (!ValidPlayer(player) || state.starModulus < 1) return;
    const int modulus = state.starModulus;
    const int count = state.starCount[player];
    state.starCount[player] = static_cast<uint8_t>(delta >= 0 ? (count + 1) % modulus : (count + modulus - 1) % modulus);
}

const StarSizeEntry& StarSizeFor(int32_t starSize) {
    static const StarSizeEntry kTable[4] = {
        {149, 136, 136, 1, 8},  // large
        {150, 102, 102, 1, 8},  // medium
        {151, 68, 68, 1, 8},    // small
        {151, 136, 68, 2, 25},  // two rows of small stars
    };
    return kTable[starSize >= 0 && starSize <= 3 ? starSize : 0];
}

void ApplyStarSize(GameState& state) {
    const StarSizeEntry& entry = StarSizeFor(state.starSize);
    state.starCellWidth = entry.cellWidth;
    state.starCellHeight = entry.cellHeight;
    state.starColumns = entry.columns;
    state.starModulus = entry.modulus;
    state.ForgetStarSlots();
}

uint32_t TimeLimitFrames(int64_t seconds) {
    if (seconds <= 0) return 0;
    if (seconds > std::numeric_limits<int64_t>::max() / 1000) return std::numeric_limits<uint32_t>::max();
    const int64_t frames = seconds * 1000 / kFrameMs;
    return frames > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max()
                                                          : static_cast<uint32_t>(frames);
}

int32_t ClampTimeLimit(int64_t seconds) {
    if (seconds < 0) return 0;
    return seconds > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                          : static_cast<int32_t>(seconds);
}

}  // namespace game
