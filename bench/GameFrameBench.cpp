// Cost of one game frame at a 1920 x 1080 board while both pointers sweep, against a frame that redraws the whole
// band (the peer measured in the same run). A sweeping frame should touch only what changed.
#include "bench/BenchClock.h"
#include "bench/BenchFigure.h"
#include "game/BoardPainter.h"
#include "game/GameFrame.h"
#include "game/RoundControl.h"
#include "tests/game/GameTestSupport.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace game;

namespace {

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Board {
    GameState state;
    BoardArt art;
    CDibImage image;
    long long invalidatedArea = 0;
    int invalidations = 0;
    BoardPainter painter{art, [this](int, int, int cx, int cy) {
                             invalidatedArea += (long long)cx * cy;
                             ++invalidations;
                         }};
    GameFrame frame{state, nullptr, &painter, [] { return 0; }};

    bool Setup(int width, int height) {
        if (!LoadBoardArt(art, GetModuleHandleA(nullptr))) return false;
        for (int i = 0; i < 3; ++i) BuildPointerSprite(art, i, state.pointers.colour[i]);
        SelectStarImage(art, 0);
        if (!image.Create(32, width, height, 0)) return false;
        painter.SetImage(&image);
        gametest::ArmQuestion(state);  // 0..1000, solution 500
        state.geometry.clientWidth = width;
        state.geometry.clientHeight = height;
        state.stars.count[kRed] = 3;
        state.stars.count[kBlue] = 5;
        return true;
    }
};

}  // namespace

int main() {
    Board board;
    if (!board.Setup(1920, 1080)) {
        std::printf("GameFrameBench: the board's artwork could not be loaded\n");
        return 1;
    }
    uint32_t now = 100000;
    board.frame.Run(now);
    StartPlayer(board.state.shared, kRed, now);
    StartPlayer(board.state.shared, kBlue, now + 700);

    const int warmUp = 50, sweepFrames = 1000, redrawFrames = 300;
    for (int i = 0; i < warmUp; ++i) board.frame.Run(now += 30);

    std::vector<double> sweeping;
    board.invalidatedArea = 0;
    board.invalidations = 0;
    for (int i = 0; i < sweepFrames; ++i) {
        now += 30;
        const double t0 = BenchSeconds();
        board.frame.Run(now);
        sweeping.push_back(BenchSeconds() - t0);
    }
    const double sweepArea = double(board.invalidatedArea) / sweepFrames;
    const double sweepRects = double(board.invalidations) / sweepFrames;

    std::vector<double> redraw;
    board.invalidatedArea = 0;
    for (int i = 0; i < redrawFrames; ++i) {
        now += 30;
        board.state.drawn.board = 0;  // as after a new page, a resize or a settings change
        const double t0 = BenchSeconds();
        board.frame.Run(now);
        redraw.push_back(BenchSeconds() - t0);
    }
    const double redrawArea = double(board.invalidatedArea) / redrawFrames;

    const double sweep = Median(sweeping), full = Median(redraw);
    std::printf("GameFrameBench (1920 x 1080 board, both pointers sweeping)\n");
    std::printf("  sweeping frame:        median %8.1f us, %.1f rectangles, %.0f pixels invalidated\n", sweep * 1e6,
                sweepRects, sweepArea);
    std::printf("  full band redraw:      median %8.1f us, %.0f pixels invalidated\n", full * 1e6, redrawArea);
    std::printf("  ratio sweeping / full: %.1f %% (goal <= 10 %%)\n", 100.0 * sweep / full);
    std::printf("  invalidated area:      %.1f %% of a full redraw\n", 100.0 * sweepArea / redrawArea);
    BenchFigure("sweeping frame (median)", sweep * 1e6, full * 1e6, "us");
    BenchFigure("sweeping frame invalidated", sweepArea, redrawArea, "pixels");
    return 0;
}
