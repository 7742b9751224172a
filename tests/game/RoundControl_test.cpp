#include "tests/game/GameTestSupport.h"

#include "game/RoundControl.h"

#include <gtest/gtest.h>

#include <thread>

using namespace game;
using gametest::ArmQuestion;
using gametest::SoundRecorder;

TEST(RoundControl, StartNeedsAQuestionANumberAndTwoPlayerMode) {
    GameState state;
    EXPECT_FALSE(StartPlayer(state.shared, kRed, 100));  // no question on screen yet
    ArmQuestion(state);
    state.shared.gameNumber = 0;
    EXPECT_FALSE(StartPlayer(state.shared, kRed, 100));
    state.shared.gameNumber = 3;
    state.shared.singleMode = 1;
    EXPECT_FALSE(StartPlayer(state.shared, kRed, 100));
    state.shared.singleMode = 0;
    EXPECT_FALSE(StartPlayer(state.shared, 2, 100));
    EXPECT_FALSE(StartPlayer(state.shared, -1, 100));
    EXPECT_TRUE(StartPlayer(state.shared, kRed, 100));
    EXPECT_EQ(state.shared.playerState[kRed], kPlayerRunning);
    EXPECT_EQ(state.shared.startTick[kRed], 100u);
    EXPECT_FALSE(StartPlayer(state.shared, kRed, 200));  // already running: the start tick stays
    EXPECT_EQ(state.shared.startTick[kRed], 100u);
}

TEST(RoundControl, StopActsOnlyOnARunningPointerAndQueuesItsSound) {
    GameState state;
    ArmQuestion(state);
    SoundRecorder sounds;
    EXPECT_FALSE(StopPlayer(state.shared, kBlue, 50, &sounds));
    ASSERT_TRUE(StartPlayer(state.shared, kBlue, 100));
    EXPECT_TRUE(StopPlayer(state.shared, kBlue, 900, &sounds));
    EXPECT_FALSE(StopPlayer(state.shared, kBlue, 1000, &sounds));
    EXPECT_EQ(state.shared.playerState[kBlue], kPlayerStopped);
    EXPECT_EQ(state.shared.stopTick[kBlue], 900u);
    ASSERT_TRUE(StartPlayer(state.shared, kRed, 100));
    EXPECT_TRUE(StopPlayer(state.shared, kRed, 901, &sounds));
    EXPECT_EQ(sounds.sounds, (std::vector<GameSound>{kSoundCling2, kSoundCling1}));
}

TEST(RoundControl, BothPlayersStartTogetherOnlyInSingleModeFromIdle) {
    GameState state;
    ArmQuestion(state);
    EXPECT_FALSE(StartBothPlayers(state.shared, 10));
    state.shared.singleMode = 1;
    state.shared.playerState[kBlue] = kPlayerStopped;
    EXPECT_FALSE(StartBothPlayers(state.shared, 10));
    EXPECT_EQ(state.shared.playerState[kRed], kPlayerIdle);  // red is released again
    state.shared.playerState[kBlue] = kPlayerIdle;
    EXPECT_TRUE(StartBothPlayers(state.shared, 10));
    EXPECT_EQ(state.shared.playerState[kRed], kPlayerRunning);
    EXPECT_EQ(state.shared.playerState[kBlue], kPlayerRunning);
    EXPECT_EQ(state.shared.startTick[kRed], 10u);
    EXPECT_EQ(state.shared.startTick[kBlue], 10u);
}

TEST(RoundControl, HeldKeyStartsOnceAndReleaseStops) {
    GameState state;
    ArmQuestion(state);
    SoundRecorder sounds;
    PlayerKeyDown(state, kRed, 1000, &sounds);
    ASSERT_EQ(state.shared.playerState[kRed], kPlayerRunning);
    // Auto-repeat while the key is held for 10 s: key-downs within 8000 ms are ignored.
    for (uint32_t t = 1030; t < 9000; t += 30) PlayerKeyDown(state, kRed, t, &sounds);
    EXPECT_EQ(state.shared.startTick[kRed], 1000u);
    EXPECT_EQ(state.pointers.keyGuard[kRed], 1000u);
    PlayerKeyDown(state, kRed, 9000, &sounds);  // past the guard: taken as a new press (already running)
    EXPECT_EQ(state.pointers.keyGuard[kRed], 9000u);
    PlayerKeyUp(state, kRed, 11000, &sounds);
    EXPECT_EQ(state.shared.playerState[kRed], kPlayerStopped);
    EXPECT_EQ(state.shared.stopTick[kRed], 11000u);
    EXPECT_EQ(state.pointers.keyGuard[kRed], 0u);
    EXPECT_EQ(sounds.Count(kSoundCling1), 1);
}

TEST(RoundControl, KeyInSingleModeOnlyStops) {
    GameState state;
    ArmQuestion(state);
    state.shared.singleMode = 1;
    SoundRecorder sounds;
    PlayerKeyDown(state, kBlue, 500, &sounds);
    EXPECT_EQ(state.shared.playerState[kBlue], kPlayerIdle);
    ASSERT_TRUE(StartBothPlayers(state.shared, 600));
    PlayerKeyUp(state, kBlue, 700, &sounds);  // releasing the first press stops as well
    PlayerKeyDown(state, kRed, 800, &sounds);
    EXPECT_EQ(state.shared.playerState[kRed], kPlayerStopped);
    EXPECT_EQ(state.shared.stopTick[kRed], 800u);
    EXPECT_EQ(state.shared.playerState[kBlue], kPlayerStopped);
}

TEST(RoundControl, MenuCommandTogglesWithoutTouchingTheKeyGuard) {
    GameState state;
    ArmQuestion(state);
    SoundRecorder sounds;
    TogglePlayer(state.shared, kRed, 100, &sounds);
    EXPECT_EQ(state.shared.playerState[kRed], kPlayerRunning);
    EXPECT_EQ(state.pointers.keyGuard[kRed], 0u);
    // A real key press right after the menu command is not swallowed by a guard.
    PlayerKeyDown(state, kBlue, 150, &sounds);
    EXPECT_EQ(state.shared.playerState[kBlue], kPlayerRunning);
    TogglePlayer(state.shared, kRed, 2000, &sounds);
    EXPECT_EQ(state.shared.playerState[kRed], kPlayerStopped);
    EXPECT_EQ(state.shared.stopTick[kRed], 2000u);
    TogglePlayer(state.shared, kRed, 3000, &sounds);  // a stopped pointer stays stopped
    EXPECT_EQ(state.shared.playerState[kRed], kPlayerStopped);
    EXPECT_EQ(state.shared.stopTick[kRed], 2000u);

    GameState single;
    ArmQuestion(single);
    single.shared.singleMode = 1;
    TogglePlayer(single.shared, kRed, 100, &sounds);
    EXPECT_EQ(single.shared.playerState[kRed], kPlayerIdle);  // single mode: stop only
}

TEST(RoundControl, ResetsClearTheRound) {
    GameState state;
    ArmQuestion(state);
    state.shared.playerState[kRed] = kPlayerStopped;
    state.round.revealState = kRevealFinished;
    state.round.winner = 1;
    state.round.markerPosition = 400;
    state.round.autoStartCountdown = 12;
    state.drawn.board = 1;
    ResetGame(state);
    EXPECT_EQ(state.shared.playerState[kRed], kPlayerIdle);
    EXPECT_EQ(state.round.revealState, kRevealNone);
    EXPECT_EQ(state.round.winner, -1);
    EXPECT_EQ(state.round.markerPosition, kNotDrawn);
    EXPECT_EQ(state.round.autoStartCountdown, 0);
    EXPECT_EQ(state.drawn.board, 0);
    EXPECT_EQ(state.round.roundActive, 0);
    EXPECT_EQ(state.round.repeatNumber, 1);
}

TEST(RoundControl, StarCountsWrapRoundTheModulus) {
    GameState state;
    ChangeStarCount(state.stars, kRed, -1);
    EXPECT_EQ(state.stars.count[kRed], 7);
    ChangeStarCount(state.stars, kRed, +1);
    EXPECT_EQ(state.stars.count[kRed], 0);
    state.settings.starSize = 3;
    ApplyStarSize(state);
    ChangeStarCount(state.stars, kBlue, -1);
    EXPECT_EQ(state.stars.count[kBlue], 24);
    ChangeStarCount(state.stars, kBlue, +1);
    EXPECT_EQ(state.stars.count[kBlue], 0);
    // A count left from a larger modulus still wraps into range.
    state.stars.count[kRed] = 20;
    state.settings.starSize = 0;
    ApplyStarSize(state);
    ChangeStarCount(state.stars, kRed, +1);
    EXPECT_EQ(state.stars.count[kRed], 5);
}

TEST(RoundControl, StarSizeTable) {
    GameState state;
    const int expected[5][5] = {
        {136, 136, 1, 8, 149}, {102, 102, 1, 8, 150}, {68, 68, 1, 8, 151}, {136, 68, 2, 25, 151}, {136, 136, 1, 8, 149}};
    const int sizes[5] = {0, 1, 2, 3, 9};
    for (int i = 0; i < 5; ++i) {
        state.settings.starSize = sizes[i];
        state.drawn.starSlots[3] = 1;
        ApplyStarSize(state);
        EXPECT_EQ(state.stars.cellWidth, expected[i][0]) << sizes[i];
        EXPECT_EQ(state.stars.cellHeight, expected[i][1]);
        EXPECT_EQ(state.stars.columns, expected[i][2]);
        EXPECT_EQ(state.stars.modulus, expected[i][3]);
        EXPECT_EQ(StarSizeFor(sizes[i]).resourceId, expected[i][4]);
        EXPECT_EQ(state.drawn.starSlots[3], 0xFF);
    }
}

TEST(RoundControl, TimeLimitFramesAreClampedAndNeverOverflow) {
    EXPECT_EQ(TimeLimitFrames(5), 166u);
    EXPECT_EQ(TimeLimitFrames(60), 2000u);
    EXPECT_EQ(TimeLimitFrames(0), 0u);
    EXPECT_EQ(TimeLimitFrames(-7), 0u);
    EXPECT_EQ(TimeLimitFrames(2147483647), 0xFFFFFFFFu);  // a huge limit saturates instead of wrapping
    EXPECT_EQ(TimeLimitFrames(INT64_MAX), 0xFFFFFFFFu);
    EXPECT_EQ(ClampTimeLimit(-5), 0);
    EXPECT_EQ(ClampTimeLimit(99999999999LL), 2147483647);
    EXPECT_EQ(ClampTimeLimit(90), 90);
}

TEST(RoundControl, RaceBetweenReaderAndUiThreadStartsOnce) {
    // The remote reader and a key press start the same player at once: exactly one start wins.
    for (int round = 0; round < 200; ++round) {
        GameState state;
        ArmQuestion(state);
        int started[2] = {0, 0};
        std::thread reader([&] { started[0] = StartPlayer(state.shared, kRed, 111); });
        started[1] = StartPlayer(state.shared, kRed, 222);
        reader.join();
        ASSERT_EQ(started[0] + started[1], 1);
        EXPECT_EQ(state.shared.startTick[kRed], started[0] ? 111u : 222u);
        EXPECT_EQ(state.shared.playerState[kRed], kPlayerRunning);
    }
}
