// Round control: starting and stopping the players' pointers, the F7/F8 keys, resets, star counts and sizes,
// the winner's star, and the time limit. These run on the UI thread, except StartPlayer and StopPlayer, which the remote reader
// also calls from its own thread.
#pragma once

#include "game/GameState.h"

namespace game {

// What round control asks of its surroundings.
class GameEvents {
public:
    virtual void QueueSound(GameSound sound) = 0;

protected:
    ~GameEvents() = default;
};

// Start an idle player's pointer (not in single mode, not without a question). Returns whether it started.
bool StartPlayer(ThreadShared& shared, int player, uint32_t tick);
// Stop a running pointer and queue its sound. Returns whether it stopped.
bool StopPlayer(ThreadShared& shared, int player, uint32_t tick, GameEvents* events);
// Single mode: both idle pointers start together.
bool StartBothPlayers(ThreadShared& shared, uint32_t tick);
void ResetRound(GameState& state);
// "Spiel rücksetzen": back to idle on the same page; the next load repeats the number.
void ResetGame(GameState& state);

// F7 (red) and F8 (blue): hold to run, release to stop; auto-repeats within the guard time are ignored.
void PlayerKeyDown(GameState& state, int player, uint32_t now, GameEvents* events);
void PlayerKeyUp(GameState& state, int player, uint32_t now, GameEvents* events);
// Menu and toolbar "Starte/Stoppe": start an idle pointer, stop a running one (single mode: stop only).
// The keys' repeat guard is left alone.
void TogglePlayer(ThreadShared& shared, int player, uint32_t now, GameEvents* events);

// Star count + or - one, wrapping round the star modulus.
void ChangeStarCount(StarColumns& stars, int player, int delta);
// The end of a reveal: the winner (-1 for a tie: nothing) gets the winner marker beside his pointer and, when
// the stars are counted automatically, a star.
void AwardWinner(GameState& state, int winner);

struct StarSizeEntry {
    int resourceId;  // bitmap of the star image
    int cellWidth;
    int cellHeight;
    int columns;
    int modulus;
};
// The star-size table by StarSize; values outside it count as kStarsLarge.
const StarSizeEntry& StarSizeFor(int32_t starSize);
void ApplyStarSize(GameState& state);

// Frames of the time limit: seconds x 1000 / 30, negative limits counting as none, saturated to 32 bits.
uint32_t TimeLimitFrames(int64_t seconds);
// Settings values outside their range (from the registry or the dialog) brought into it.
int32_t ClampTimeLimit(int64_t seconds);
// The time limit typed into the settings dialog: leading blanks, an optional sign and digits, as atoi reads
// them; anything else counts as 0, a negative limit as none, and a number too large for 32 bits as the largest.
int32_t TimeLimitFromText(const char* text);

}  // namespace game
