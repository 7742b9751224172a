#include "game/RoundControl.h"

#include "res/ViewCommands.h"

#include <algorithm>
#include <limits>

namespace game {

namespace {

constexpr int32_t kMarkerOffset = 5;  // the winner marker stands this far right of the winner's pointer

bool ValidPlayer(int player) { return player == kRed || player == kBlue; }

// A state change claims the player with a compare-and-swap, writes the tick, then publishes the new state,
// so that the reader thread and the UI thread never both act on one player and a frame never sees the new
// state with the old tick.
bool Transition(ThreadShared& shared, int player, int32_t from, int32_t to, std::atomic<uint32_t>& tick,
                uint32_t value) {
    int32_t expected = from;
    if (!shared.playerState[player].compare_exchange_strong(expected, kPlayerChanging)) return false;
    tick.store(value);
    shared.playerState[player].store(to);
    return true;
}

}  // namespace

bool StartPlayer(ThreadShared& shared, int player, uint32_t tick) {
    if (!ValidPlayer(player) || shared.noQuestion || shared.singleMode || shared.gameNumber == 0) return false;
    return Transition(shared, player, kPlayerIdle, kPlayerRunning, shared.startTick[player], tick);
}

bool StopPlayer(ThreadShared& shared, int player, uint32_t tick, GameEvents* events) {
    if (!ValidPlayer(player)) return false;
    if (!Transition(shared, player, kPlayerRunning, kPlayerStopped, shared.stopTick[player], tick)) return false;
    if (events) events->QueueSound(player == kRed ? kSoundCling1 : kSoundCling2);
    return true;
}

bool StartBothPlayers(ThreadShared& shared, uint32_t tick) {
    if (!shared.singleMode || shared.noQuestion) return false;
    int32_t expected = kPlayerIdle;
    if (!shared.playerState[kRed].compare_exchange_strong(expected, kPlayerChanging)) return false;
    expected = kPlayerIdle;
    if (!shared.playerState[kBlue].compare_exchange_strong(expected, kPlayerChanging)) {
        shared.playerState[kRed].store(kPlayerIdle);
        return false;
    }
    for (int player : {kRed, kBlue}) shared.startTick[player].store(tick);
    for (int player : {kRed, kBlue}) shared.playerState[player].store(kPlayerRunning);
    return true;
}

void ResetRound(GameState& state) {
    state.round.markerPosition = kNotDrawn;
    state.round.winner = -1;
    state.shared.playerState[kRed].store(kPlayerIdle);
    state.shared.playerState[kBlue].store(kPlayerIdle);
    state.round.revealState = kRevealNone;
    state.round.autoStartCountdown = 0;
    state.drawn.board = 0;
}

void ResetGame(GameState& state) {
    state.round.roundActive = 0;
    state.round.repeatNumber = 1;
    ResetRound(state);
}

void PlayerKeyDown(GameState& state, int player, uint32_t now, GameEvents* events) {
    if (!ValidPlayer(player)) return;
    uint32_t& guard = state.pointers.keyGuard[player];
    if (guard != 0 && now - guard < kKeyRepeatGuardMs) return;  // auto-repeat of a held key
    guard = now;
    if (state.shared.singleMode)
        StopPlayer(state.shared, player, now, events);
    else
        StartPlayer(state.shared, player, now);
}

void PlayerKeyUp(GameState& state, int player, uint32_t now, GameEvents* events) {
    if (!ValidPlayer(player)) return;
    state.pointers.keyGuard[player] = 0;
    StopPlayer(state.shared, player, now, events);
}

void TogglePlayer(ThreadShared& shared, int player, uint32_t now, GameEvents* events) {
    if (StopPlayer(shared, player, now, events)) return;
    if (!shared.singleMode) StartPlayer(shared, player, now);
}

void ChangeStarCount(StarColumns& stars, int player, int delta) {
    if (!ValidPlayer(player) || stars.modulus < 1) return;
    const int modulus = stars.modulus;
    const int count = stars.count[player];
    stars.count[player] = static_cast<uint8_t>(delta >= 0 ? (count + 1) % modulus : (count + modulus - 1) % modulus);
}

void AwardWinner(GameState& state, int winner) {
    if (!ValidPlayer(winner)) return;
    if (state.settings.autoCount) ChangeStarCount(state.stars, winner, +1);
    state.round.winner = winner;
    state.round.markerPosition = state.pointers.position[winner] + kMarkerOffset;
}

const StarSizeEntry& StarSizeFor(int32_t starSize) {
    static const StarSizeEntry kTable[4] = {
        {IDB_STAR_LARGE, 136, 136, 1, 8},   // kStarsLarge
        {IDB_STAR_MEDIUM, 102, 102, 1, 8},  // kStarsMedium
        {IDB_STAR_SMALL, 68, 68, 1, 8},     // kStarsSmall
        {IDB_STAR_SMALL, 136, 68, 2, 25},   // kStarsTwoRows: two rows of small stars
    };
    return kTable[starSize >= kStarsLarge && starSize <= kStarsTwoRows ? starSize : kStarsLarge];
}

void ApplyStarSize(GameState& state) {
    const StarSizeEntry& entry = StarSizeFor(state.settings.starSize);
    state.stars.cellWidth = entry.cellWidth;
    state.stars.cellHeight = entry.cellHeight;
    state.stars.columns = entry.columns;
    state.stars.modulus = entry.modulus;
    state.drawn.ForgetStarSlots();
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

int32_t TimeLimitFromText(const char* text) {
    if (!text) return 0;
    while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    int64_t seconds = 0;
    // Saturates at every digit, so that no length of digits overflows.
    for (; *text >= '0' && *text <= '9'; ++text)
        seconds = std::min<int64_t>(seconds * 10 + (*text - '0'), std::numeric_limits<int32_t>::max());
    return negative ? 0 : ClampTimeLimit(seconds);
}

}  // namespace game
