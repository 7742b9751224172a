#include "tests/game/GameTestSupport.h"

#include "game/GameFrame.h"

#include <gtest/gtest.h>

#include <string>

using namespace game;
using gametest::ArmQuestion;
using gametest::SoundRecorder;

namespace {

struct DrawingRecorder : FrameDrawing {
    std::string calls;
    std::vector<uint32_t> dirty;
    void DrawStarColumns(GameState&) override { calls += 'S'; }
    void DrawBand(GameState&, const ScaleLayout&) override { calls += 'B'; }
    void DrawPointers(GameState&, uint32_t mask) override {
        calls += 'P';
        dirty.push_back(mask);
    }
};

// A fixed random source: the swing count draw, then the amplitude draw, then repeating.
std::function<int()> Draws(int swing, int amplitude) {
    auto n = std::make_shared<int>(0);
    return [=] { return (*n)++ % 2 == 0 ? swing : amplitude; };
}

// Runs frames every 30 ms from `now` until the predicate holds or the frame budget is spent.
template <class Pred>
int RunUntil(GameFrame& frame, uint32_t& now, Pred done, int budget = 100000) {
    for (int frames = 0; frames < budget; ++frames) {
        if (done()) return frames;
        frame.Run(now);
        now += 30;
    }
    return -1;
}

}  // namespace

TEST(GameFrame, DrawsInFrameOrderAndTheBandOnlyWhenAsked) {
    GameState state;
    ArmQuestion(state);
    DrawingRecorder drawing;
    GameFrame frame(state, nullptr, &drawing, Draws(0, 0));
    EXPECT_EQ(frame.Run(1000), kDirtyBand);
    EXPECT_EQ(frame.Run(1030), 0u);
    EXPECT_EQ(drawing.calls, "SBPSP");
    EXPECT_EQ(state.drawn.board, 1);
    EXPECT_EQ(state.geometry.scaleLength, 800);
    EXPECT_DOUBLE_EQ(state.geometry.pixelsPerUnit, 0.8);
    // Without a client area the frame does nothing.
    state.geometry.clientHeight = 0;
    EXPECT_EQ(frame.Run(1060), 0u);
    EXPECT_EQ(drawing.calls, "SBPSP");
}

TEST(GameFrame, TimeLimitBeepsFiveTimesThenForcesStartAndStop) {
    GameState state;
    ArmQuestion(state);
    state.settings.timeLimit = 5;
    state.round.remainingLimitFrames = TimeLimitFrames(5);
    SoundRecorder sounds;
    GameFrame frame(state, &sounds, nullptr, Draws(0, 0));
    uint32_t now = 10000;
    std::vector<uint32_t> beepsAt;
    for (int i = 0; i < 166; ++i) {
        const size_t before = sounds.sounds.size();
        frame.Run(now);
        now += 30;
        if (sounds.sounds.size() > before && sounds.sounds.back() == kSoundTimer)
            beepsAt.push_back(state.round.remainingLimitFrames);
    }
    EXPECT_EQ(beepsAt, (std::vector<uint32_t>{165, 132, 99, 66, 33}));
    EXPECT_EQ(state.round.remainingLimitFrames, 0u);
    // Neither player had started: both stand stopped at their start ends.
    EXPECT_EQ(state.shared.playerState[kRed], kPlayerStopped);
    EXPECT_EQ(state.shared.playerState[kBlue], kPlayerStopped);
    frame.Run(now);
    EXPECT_EQ(state.pointers.position[kRed], 0);
    EXPECT_EQ(state.pointers.position[kBlue], 800);
    EXPECT_EQ(sounds.Count(kSoundCling1), 1);
    EXPECT_EQ(sounds.Count(kSoundCling2), 1);
}

TEST(GameFrame, CountdownIsSilentOnceBothHaveStopped) {
    GameState state;
    ArmQuestion(state);
    state.settings.timeLimit = 5;
    state.round.remainingLimitFrames = 100;
    state.shared.playerState[kRed] = kPlayerStopped;
    state.shared.playerState[kBlue] = kPlayerStopped;
    SoundRecorder sounds;
    GameFrame frame(state, &sounds, nullptr, Draws(0, 0));
    for (uint32_t t = 0; t < 99 * 30; t += 30) frame.Run(t);
    EXPECT_EQ(sounds.Count(kSoundTimer), 0);
    // No time limit configured: remaining frames are left alone.
    GameState idle;
    ArmQuestion(idle);
    idle.round.remainingLimitFrames = 50;
    GameFrame other(idle, &sounds, nullptr, Draws(0, 0));
    other.Run(0);
    EXPECT_EQ(idle.round.remainingLimitFrames, 50u);
}

TEST(GameFrame, SingleModeStartsBothPointersAfter33Frames) {
    GameState state;
    ArmQuestion(state);
    state.shared.singleMode = 1;
    state.round.autoStartCountdown = kAutoStartFrames;
    GameFrame frame(state, nullptr, nullptr, Draws(0, 0));
    uint32_t now = 500;
    for (int i = 0; i < 32; ++i, now += 30) frame.Run(now);
    EXPECT_EQ(state.shared.playerState[kRed], kPlayerIdle);
    frame.Run(now);
    EXPECT_EQ(state.shared.playerState[kRed], kPlayerRunning);
    EXPECT_EQ(state.shared.playerState[kBlue], kPlayerRunning);
    EXPECT_EQ(state.shared.startTick[kRed], now);
    EXPECT_EQ(state.round.autoStartCountdown, 0);
}

TEST(GameFrame, RoundEndsWithTheCloserPlayersStar) {
    GameState state;
    ArmQuestion(state, 0, 1000, 500);  // target pixel 400
    SoundRecorder sounds;
    DrawingRecorder drawing;
    GameFrame frame(state, &sounds, &drawing, Draws(0, 0));
    uint32_t now = 1000;
    frame.Run(now);
    StartPlayer(state.shared, kRed, now);
    StartPlayer(state.shared, kBlue, now);
    StopPlayer(state.shared, kRed, now + 1560, &sounds);   // red at 390
    StopPlayer(state.shared, kBlue, now + 1520, &sounds);  // blue at 800 - 380 = 420
    now += 2000;
    const int frames = RunUntil(frame, now, [&] { return state.round.revealState == kRevealFinished; });
    ASSERT_GT(frames, 0);
    // Run-up 850 ms and three half waves of 1700 ms: about 199 frames.
    EXPECT_NEAR(frames, (850 + 3 * 1700) / 30, 2);
    EXPECT_EQ(state.pointers.position[kRed], 390);
    EXPECT_EQ(state.pointers.position[kBlue], 420);
    EXPECT_EQ(state.round.winner, kRed);
    EXPECT_EQ(state.stars.count[kRed], 1);
    EXPECT_EQ(state.stars.count[kBlue], 0);
    EXPECT_EQ(state.round.markerPosition, 395);
    EXPECT_EQ(state.round.roundActive, 0);
    EXPECT_EQ(state.pointers.position[kSolution], 400);
    EXPECT_EQ(state.drawn.labelValue[kSolution], 500);
    EXPECT_EQ(sounds.Count(kSoundCling3), 1);
    EXPECT_EQ(drawing.dirty.back(), kDirtyRevealEnded);
    // Later frames keep the solution where it is and award nothing more.
    frame.Run(now);
    frame.Run(now + 30);
    EXPECT_EQ(state.stars.count[kRed], 1);
    EXPECT_EQ(sounds.Count(kSoundCling3), 1);
}

TEST(GameFrame, TieGivesNoStarButTheClosingSound) {
    GameState state;
    ArmQuestion(state, 0, 1000, 500);
    SoundRecorder sounds;
    GameFrame frame(state, &sounds, nullptr, Draws(2, 7));
    frame.Run(0);
    StartPlayer(state.shared, kRed, 0);
    StartPlayer(state.shared, kBlue, 0);
    StopPlayer(state.shared, kRed, 1520, &sounds);   // 380
    StopPlayer(state.shared, kBlue, 1520, &sounds);  // 420
    uint32_t now = 1600;
    ASSERT_GE(RunUntil(frame, now, [&] { return state.round.revealState == kRevealFinished; }), 0);
    EXPECT_EQ(state.round.reveal.swingCount, 5);
    EXPECT_EQ(state.round.winner, -1);
    EXPECT_EQ(state.round.markerPosition, kNotDrawn);
    EXPECT_EQ(state.stars.count[kRed] + state.stars.count[kBlue], 0);
    EXPECT_EQ(sounds.Count(kSoundCling3), 1);
}

TEST(GameFrame, NoStarWithoutAutomaticCounting) {
    GameState state;
    ArmQuestion(state, 0, 1000, 0);  // solution at the left end: no run-up
    state.settings.autoCount = 0;
    GameFrame frame(state, nullptr, nullptr, Draws(0, 0));
    frame.Run(0);
    StartPlayer(state.shared, kRed, 0);
    StartPlayer(state.shared, kBlue, 0);
    StopPlayer(state.shared, kRed, 40, nullptr);
    StopPlayer(state.shared, kBlue, 40, nullptr);
    uint32_t now = 100;
    const int frames = RunUntil(frame, now, [&] { return state.round.revealState == kRevealFinished; });
    EXPECT_EQ(state.round.reveal.runUpMs, 0);
    EXPECT_NEAR(frames, 3 * 1700 / 30, 2);
    EXPECT_EQ(state.round.winner, kRed);
    EXPECT_EQ(state.stars.count[kRed], 0);
}

TEST(GameFrame, DegenerateScalesStillEndTheReveal) {
    struct Case {
        double minimum, maximum, solution;
        int log;
    } cases[] = {
        {0, 1000, 0, 1},      // logarithmic, solution below the adjusted minimum (5 % of the maximum)
        {10, 1000, -5, 1},    // logarithmic, negative solution (left from a range error)
        {100, 100, 100, 0},   // minimum equal to maximum
        {1e20, 2e20, 1.5e20, 0},
        {500, 100, 300, 0},   // reversed range left from a range error
    };
    for (const Case& c : cases) {
        GameState state;
        ArmQuestion(state, c.minimum, c.maximum, c.solution);
        state.question.logScale = c.log;
        GameFrame frame(state, nullptr, nullptr, Draws(5, 99));
        frame.Run(0);
        StartPlayer(state.shared, kRed, 0);
        StartPlayer(state.shared, kBlue, 0);
        StopPlayer(state.shared, kRed, 100, nullptr);
        StopPlayer(state.shared, kBlue, 200, nullptr);
        uint32_t now = 300;
        EXPECT_GE(RunUntil(frame, now, [&] { return state.round.revealState == kRevealFinished; }, 2000), 0)
            << c.minimum << " " << c.maximum << " " << c.solution;
        EXPECT_GE(state.round.reveal.target, 0);
        EXPECT_LE(state.round.reveal.target, state.geometry.scaleLength);
    }
}

TEST(GameFrame, RevealTimesSurviveTheTickWrap) {
    GameState state;
    ArmQuestion(state, 0, 1000, 1000);
    GameFrame frame(state, nullptr, nullptr, Draws(0, 0));
    uint32_t now = 0xFFFFF000u;
    frame.Run(now);
    StartPlayer(state.shared, kRed, now);
    StartPlayer(state.shared, kBlue, now);
    StopPlayer(state.shared, kRed, now + 10, nullptr);
    StopPlayer(state.shared, kBlue, now + 20, nullptr);
    now += 100;
    const int frames = RunUntil(frame, now, [&] { return state.round.revealState == kRevealFinished; });
    EXPECT_NEAR(frames, (1700 + 3 * 1700) / 30, 2);
    EXPECT_EQ(state.pointers.position[kSolution], 800);
}
