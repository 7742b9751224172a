// The game's board drawn in memory with the view's artwork, frame by frame, counting what each frame
// invalidates: the model the game benchmarks run the frame clock on. The program needs the view's artwork
// among its resources (res/view.rc).
#pragma once

#include "game/BoardPainter.h"
#include "game/GameFrame.h"
#include "game/RoundControl.h"
#include "tests/game/GameTestSupport.h"

#include <windows.h>

#include <algorithm>
#include <vector>

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

struct Board {
    game::GameState state;
    game::BoardArt art;
    CDibImage image;
    long long invalidatedArea = 0;
    int invalidations = 0;
    game::BoardPainter painter{art, [this](int, int, int cx, int cy) {
                                   invalidatedArea += (long long)cx * cy;
                                   ++invalidations;
                               }};
    game::GameFrame frame{state, nullptr, &painter, [] { return 0; }};

    // A board of the view's client size with the question 0..1000 on it and a few stars.
    bool Setup(int width, int height) {
        if (!game::LoadBoardArt(art, GetModuleHandleA(nullptr))) return false;
        for (int i = 0; i < 3; ++i) game::BuildPointerSprite(art, i, state.pointers.colour[i]);
        game::SelectStarImage(art, 0);
        if (!image.Create(32, width, height, 0)) return false;
        painter.SetImage(&image);
        gametest::ArmQuestion(state);  // 0..1000, solution 500
        state.geometry.clientWidth = width;
        state.geometry.clientHeight = height;
        state.stars.count[game::kRed] = 3;
        state.stars.count[game::kBlue] = 5;
        return true;
    }
};
