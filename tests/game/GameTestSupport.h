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
    state.geometry.clientWidth = 864;
    state.geometry.clientHeight = 600;
    state.question.minimum = minimum;
    state.question.maximum = maximum;
    state.question.solution = solution;
    state.question.logScale = 0;
    state.shared.gameNumber = 1;
    state.shared.noQuestion = 0;
    state.round.roundActive = 1;
    state.drawn.board = 0;
}

}  // namespace gametest
