#include "game/GameFrame.h"

#include "game/PointerMotion.h"
#include "game/Reveal.h"

namespace game {

namespace {

constexpr uint32_t kCountdownFrames = 166;  // beeps at 165, 132, 99, 66 and 33 frames before the end
constexpr uint32_t kCountdownStep = 33;

bool BothStopped(const ThreadShared& shared) {
    return shared.playerState[kRed] == kPlayerStopped && shared.playerState[kBlue] == kPlayerStopped;
}

}  // namespace

GameFrame::GameFrame(GameState& state, GameEvents* events, FrameDrawing* drawing, std::function<int()> random)
    : m_state(state), m_events(events), m_drawing(drawing), m_random(std::move(random)) {}

uint32_t GameFrame::Run(uint32_t now) {
    if (m_state.geometry.clientWidth <= 0 || m_state.geometry.clientHeight <= 0) return 0;
    RunTimeLimit(now);
    if (m_drawing) m_drawing->DrawStarColumns(m_state);

    int32_t& countdown = m_state.round.autoStartCountdown;
    if (countdown != 0 && --countdown == 0) StartBothPlayers(m_state.shared, now);

    uint32_t dirty = 0;
    if (!m_state.drawn.board) {
        RedrawBand();
        dirty |= kDirtyBand;
    }
    MovePointers(now);
    if (BothStopped(m_state.shared)) dirty |= RunReveal(now);

    if (m_drawing) m_drawing->DrawPointers(m_state, dirty);
    m_state.drawn.board = 1;
    return dirty;
}

void GameFrame::RunTimeLimit(uint32_t now) {
    ThreadShared& shared = m_state.shared;
    uint32_t& left = m_state.round.remainingLimitFrames;
    if (left == 0 || m_state.settings.timeLimit == 0) return;
    if (--left == 0) {
        // Time is up: a player who never started is stopped at his start end.
        for (int player : {kRed, kBlue})
            if (shared.playerState[player] == kPlayerIdle) StartPlayer(shared, player, now);
        for (int player : {kRed, kBlue})
            if (shared.playerState[player] == kPlayerRunning) StopPlayer(shared, player, now, m_events);
        return;
    }
    if (left % kCountdownStep == 0 && left < kCountdownFrames && !BothStopped(shared) && m_events)
        m_events->QueueSound(kSoundTimer);
}

void GameFrame::RedrawBand() {
    BoardGeometry& geometry = m_state.geometry;
    Question& question = m_state.question;
    const ScaleLayout layout =
        ComputeScaleLayout(geometry.clientWidth, question.minimum, question.maximum, question.logScale != 0);
    geometry.scaleLength = layout.scaleLength;
    question.minimum = layout.minimum;
    question.maximum = layout.maximum;
    geometry.pixelsPerUnit = layout.pixelsPerUnit;
    geometry.decimals = layout.decimals;
    geometry.decimalFactor = layout.decimalFactor;
    if (m_drawing) m_drawing->DrawBand(m_state, layout);
}

// A pointer that is not on the board stands at kNotDrawn: the players' pointers while no question is on screen,
// the solution pointer until its reveal starts (RunReveal places it from then on). A frame in which nothing
// moves thus finds every pointer where it was drawn, or not drawn, and redraws nothing.
void GameFrame::MovePointers(uint32_t now) {
    int32_t* position = m_state.pointers.position;
    const bool onBoard = !m_state.shared.noQuestion;
    for (int player : {kRed, kBlue}) position[player] = onBoard ? PlayerPosition(m_state, player, now) : kNotDrawn;
    if (m_state.round.revealState == kRevealNone) position[kSolution] = kNotDrawn;
}

uint32_t GameFrame::RunReveal(uint32_t now) {
    Round& round = m_state.round;
    const int32_t scaleLength = m_state.geometry.scaleLength;
    if (round.revealState == kRevealNone) {
        round.repeatNumber = 0;
        round.revealState = kRevealRunning;
        round.revealStart = now;
        const int swingRandom = m_random ? m_random() : 0;
        const int amplitudeRandom = m_random ? m_random() : 0;
        round.reveal = PlanReveal(SolutionPixel(m_state.question, m_state.geometry), scaleLength, swingRandom,
                                  amplitudeRandom);
    }
    if (round.revealState == kRevealFinished) {
        m_state.drawn.labelValue[kSolution] = m_state.question.solution;
        m_state.pointers.position[kSolution] = round.reveal.target;
        return 0;
    }

    bool finished = false;
    const uint32_t elapsed = now - round.revealStart;
    m_state.pointers.position[kSolution] = RevealPosition(round.reveal, scaleLength, elapsed, &finished);
    uint32_t dirty = 0;
    if (finished) dirty = FinishReveal();
    return dirty;
}

uint32_t GameFrame::FinishReveal() {
    Round& round = m_state.round;
    const int32_t* position = m_state.pointers.position;
    m_state.drawn.labelValue[kSolution] = m_state.question.solution;
    round.roundActive = 0;
    round.revealState = kRevealFinished;

    AwardWinner(m_state, DecideWinner(round.reveal.target, position[kRed], position[kBlue]));
    if (m_events) m_events->QueueSound(kSoundCling3);
    return kDirtyRevealEnded;
}

}  // namespace game
