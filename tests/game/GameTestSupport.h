// Helpers shared by the game tests: a sound recorder and a state with a question loaded.
#pragma once

#include "game/GameState.h"
#include "game/RoundControl.h"

#include <vector>

namespace gametest {

struct SoundRecorder : game::GameEvents {
    std::vector<game::GameSound> sounds;
    void QueueSound(game::GameSound sound) override { sounds.push_back(sound); }
    int Count(game::GameSound sound) const {
        int n = 0;
        for (game::GameSound s : sounds) n += s == sound;
        return n;
    }
};

// A board 864 pixels wide (scale of 800) with the question 0..1000, solution 500, ready to play.
inline void ArmQuestion(game::GameState& state, double minimum = 0, double maximum = 1000, double solution = 500) {
    state.clientWidth = 864;
    state.clientHeight = 600;
    state.minimum = minimum;
    state.maximum = maximum;
    state.solution = solution;
    state.logScale = 0;
    state.gameNumber = 1;
    state.noQuestion = 0;
    state.roundActive = 1;
    state.boardDrawn = 0;
}

}  // namespace gametest
