// One frame of the game clock: time limit and countdown, star columns, auto-start, the band, the players'
// pointers, the reveal, the winner and the star award, then the sprites and labels.
#pragma once

#include "game/GameState.h"
#include "game/RoundControl.h"
#include "game/ScaleLayout.h"

#include <cstdint>
#include <functional>

namespace game {

// The drawing steps a frame asks for, in frame order.
class FrameDrawing {
public:
    virtual void DrawStarColumns(GameState& state) = 0;
    virtual void DrawBand(GameState& state, const ScaleLayout& layout) = 0;
    // dirty: kDirtyBand when the band was redrawn in this frame, kDirtyRevealEnded when the reveal ended.
    virtual void DrawPointers(GameState& state, uint32_t dirty) = 0;

protected:
    ~FrameDrawing() = default;
};

class GameFrame {
public:
    // random draws like rand(); drawing and events may be null.
    GameFrame(GameState& state, GameEvents* events, FrameDrawing* drawing, std::function<int()> random);

    // Runs one frame at tick now and returns its dirty mask (nothing happens without a client area).
    uint32_t Run(uint32_t now);

private:
    void RunTimeLimit(uint32_t now);
    void RedrawBand();
    void MovePointers(uint32_t now);
    uint32_t RunReveal(uint32_t now);
    uint32_t FinishReveal();

    GameState& m_state;
    GameEvents* m_events;
    FrameDrawing* m_drawing;
    std::function<int()> m_random;
};

}  // namespace game
