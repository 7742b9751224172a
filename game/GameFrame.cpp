#include "game/GameFrame.h"

#include "game/PointerMotion.h"
#include "game/Reveal.h"

namespace game {

namespace {

constexpr uint32_t kCountdownFrames = 166;  // beeps at 165, 132, 99, 66 and 33 frames before the end
constexpr uint32_t kCountdownStep = 33;
constexpr int32_t kMarkerOffset = 5;

bool BothStopped(const GameState& state) {
    return state.playerState[kRed] == kPlayerStopped && state.playerState[kBlue] == kPlayerStopped;
}

}  // namespace

GameFrame::GameFrame(GameState& state, GameEvents* events, FrameDrawing* drawing, std::function<int()> random)
    : m_state(state), m_events(events), m_drawing(drawing), m_random(std::move(random)) {}

uint32_t GameFrame::Run(uint32_t now) {
    if (m_state.clientWidth <= 0 || m_state.clientHeight <= 0) return 0;
    RunTimeLimit(now);
    if (m_drawing) m_drawing->DrawStarColumns(m_state);

    if (m_state.autoStartCountdown != 0 && --m_state.autoStartCountdown == 0) StartBothPlayers(m_state, now);

    uint32_t dirty = 0;
    if (!m_state.boardDrawn) {
        RedrawBand();
        dirty |= kDirtyBand;
    }
    MovePlayers(now);
    if (BothStopped(m_state)) dirty |= RunReveal(now);

    if (m_drawing) m_drawing->DrawPointers(m_state, dirty);
    m_state.boardDrawn = 1;
    return dirty;
}

void GameFrame::RunTimeLimit(uint32_t now) {
    if (m_state.remainingLimitFrames == 0 || m_state.timeLimit == 0) return;
    if (--m_state.remainingLimitFrames == 0) {
        // Time is up: a player who never started is stopped at his start end.
        for (int player : {kRed, kBlue})
            if (m_state.playerState[player] == kPlayerIdle) StartPlayer(m_state, player, now);
        for (int player : {kRed, kBlue})
            if (m_state.playerState[player] == kPlayerRunning) StopPlayer(m_state, player, now, m_events);
        return;
    }
    const uint32_t left = m_state.remainingLimitFrames;
    if (left % kCountdownStep == 0 && left < kCountdownFrames && !BothStopped(m_state) && m_events)
        m_events->QueueSound(kSoundTimer);
}

void GameFrame::RedrawBand() {
    const ScaleLayout layout =
        ComputeScaleLayout(m_state.clientWidth, m_state.minimum, m_state.maximum, m_state.logScale != 0);
    m_state.scaleLength = layout.scaleLength;
    m_state.minimum = layout.minimum;
    m_state.maximum = layout.maximum;
    m_state.pixelsPerUnit = layout.pixelsPerUnit;
    m_state.decimals = layout.decimals;
    m_state.decimalFactor = layout.decimalFactor;
    if (m_drawing) m_drawing->DrawBand(m_state, layout);
}

void GameFrame::MovePlayers(uint32_t now) {
    for (int player : {kRed, kBlue}) m_state.position[player] = PlayerPosition(m_state, player, now);
}

uint32_t GameFrame::RunReveal(uint32_t now) {
    if (m_state.revealState == kRevealNone) {
        m_state.repeatNumber = 0;
        m_state.revealState = kRevealRunning;
        m_state.revealStart = now;
        const int swingRandom = m_random ? m_random() : 0;
        const int amplitudeRandom = m_random ? m_random() : 0;
        const RevealPlan plan = PlanReveal(SolutionPixel(m_state), m_state.scaleLength, swingRandom, amplitudeRandom);
        m_state.swingCount = plan.swingCount;
        m_state.targetPixel = plan.target;
        m_state.runUpMs = plan.runUpMs;
        m_state.amplitude = plan.amplitude;
    }
    if (m_state.revealState == kRevealFinished) {
        m_state.labelValue[kSolution] = m_state.solution;
        m_state.position[kSolution] = m_state.targetPixel;
        return 0;
    }

    RevealPlan plan;
    plan.swingCount = m_state.swingCount;
    plan.target = m_state.targetPixel;
    plan.runUpMs = m_state.runUpMs;
    plan.amplitude = m_state.amplitude;
    bool finished = false;
    m_state.position[kSolution] = RevealPosition(plan, m_state.scaleLength, now - m_state.revealStart, &finished);
    uint32_t dirty = 0;
    if (finished) dirty = FinishReveal();
    return dirty;
}

uint32_t GameFrame::FinishReveal() {
    m_state.labelValue[kSolution] = m_state.solution;
    m_state.roundActive = 0;
    m_state.revealState = kRevealFinished;

    const int winner = DecideWinner(m_state.targetPixel, m_state.position[kRed], m_state.position[kBlue]);
    if (winner >= 0) {
        if (m_state.autoCount) ChangeStarCount(m_state, winner, +1);
        m_state.winner = winner;
        m_state.markerPosition = m_state.position[winner] + kMarkerOffset;
    }
    if (m_events) m_events->QueueSound(kSoundCling3);
    return kDirtyRevealEnded;
}

}  // namespace game
