#include "tests/game/GameTestSupport.h"

#include "game/PointerMotion.h"

#include <gtest/gtest.h>

using namespace game;

TEST(PointerMotion, SweepsAndBouncesAtTheEnds) {
    const int32_t w = 800;
    EXPECT_EQ(SweepPosition(0, w, kRed, false), 0);
    EXPECT_EQ(SweepPosition(1600, w, kRed, false), 400);
    EXPECT_EQ(SweepPosition(3199, w, kRed, false), 799);
    EXPECT_EQ(SweepPosition(3200, w, kRed, false), 800);  // a multiple of 3200: the pass parity decides
    EXPECT_EQ(SweepPosition(4800, w, kRed, false), 400);
    EXPECT_EQ(SweepPosition(6400, w, kRed, false), 0);
    // Blue runs mirrored, from the right end, unless both start on the same side.
    EXPECT_EQ(SweepPosition(0, w, kBlue, false), 800);
    EXPECT_EQ(SweepPosition(800, w, kBlue, false), 600);
    EXPECT_EQ(SweepPosition(3200, w, kBlue, false), 0);
    EXPECT_EQ(SweepPosition(800, w, kBlue, true), 200);
    // Across the 32-bit tick wrap the elapsed time stays right.
    EXPECT_EQ(SweepPosition(static_cast<uint32_t>(100u - 0xFFFFFF00u), w, kRed, false),
              SweepPosition(356, w, kRed, false));
}

TEST(PointerMotion, PlayerPositionFollowsItsState) {
    GameState state;
    state.geometry.scaleLength = 800;
    EXPECT_EQ(PlayerPosition(state, kRed, 5000), 0);
    EXPECT_EQ(PlayerPosition(state, kBlue, 5000), 800);
    state.settings.sameSide = 1;
    EXPECT_EQ(PlayerPosition(state, kBlue, 5000), 0);
    state.settings.sameSide = 0;
    state.shared.playerState[kRed] = kPlayerRunning;
    state.shared.startTick[kRed] = 1000;
    EXPECT_EQ(PlayerPosition(state, kRed, 1800), 200);
    state.shared.playerState[kRed] = kPlayerStopped;
    state.shared.stopTick[kRed] = 2600;
    EXPECT_EQ(PlayerPosition(state, kRed, 99999), 400);  // stands where it was stopped
    state.shared.playerState[kRed] = kPlayerChanging;
    EXPECT_EQ(PlayerPosition(state, kRed, 99999), 0);
}
