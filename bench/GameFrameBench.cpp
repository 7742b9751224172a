// Cost of one game frame at a 1920 x 1080 board at rest and while both pointers sweep, against a frame that redraws
// the whole band (the peer measured in the same run). A frame should touch only what changed: nothing at rest.
#include "bench/BenchClock.h"
#include "bench/BenchFigure.h"
#include "bench/GameBoardModel.h"
#include "game/RoundControl.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace game;

namespace {

// Median cost and invalidation per frame of a run of frames.
struct FrameRun {
    double median;
    double pixels;
    double rectangles;
};

// Runs frames 30 ms apart; redrawBand asks each for a full redraw, as after a new page, a resize or a settings change.
FrameRun RunFrames(Board& board, uint32_t& now, int frames, bool redrawBand = false) {
    std::vector<double> seconds;
    board.invalidatedArea = 0;
    board.invalidations = 0;
    for (int i = 0; i < frames; ++i) {
        now += 30;
        if (redrawBand) board.state.drawn.board = 0;
        const double t0 = BenchSeconds();
        board.frame.Run(now);
        seconds.push_back(BenchSeconds() - t0);
    }
    return {Median(seconds), double(board.invalidatedArea) / frames, double(board.invalidations) / frames};
}

}  // namespace

int main() {
    Board board;
    if (!board.Setup(1920, 1080)) {
        std::printf("GameFrameBench: the board's artwork could not be loaded\n");
        return 1;
    }
    uint32_t now = 100000;
    board.frame.Run(now);
    // At rest: the question is on the board and nothing moves, as between two questions.
    const FrameRun rest = RunFrames(board, now, 1000);

    StartPlayer(board.state.shared, kRed, now);
    StartPlayer(board.state.shared, kBlue, now + 700);
    RunFrames(board, now, 50);  // warm-up
    const FrameRun sweep = RunFrames(board, now, 1000);
    const FrameRun full = RunFrames(board, now, 300, true);

    std::printf("GameFrameBench (1920 x 1080 board, at rest and with both pointers sweeping)\n");
    std::printf("  resting frame:         median %8.1f us, %.1f rectangles, %.0f pixels invalidated (goal 0)\n",
                rest.median * 1e6, rest.rectangles, rest.pixels);
    std::printf("  sweeping frame:        median %8.1f us, %.1f rectangles, %.0f pixels invalidated\n",
                sweep.median * 1e6, sweep.rectangles, sweep.pixels);
    std::printf("  full band redraw:      median %8.1f us, %.0f pixels invalidated\n", full.median * 1e6, full.pixels);
    std::printf("  ratio sweeping / full: %.1f %% (goal <= 10 %%)\n", 100.0 * sweep.median / full.median);
    std::printf("  invalidated area:      %.1f %% of a full redraw\n", 100.0 * sweep.pixels / full.pixels);
    BenchFigure("resting frame (median)", rest.median * 1e6, full.median * 1e6, "us");
    BenchFigure("resting frame invalidated", rest.pixels, full.pixels, "pixels");
    BenchFigure("sweeping frame (median)", sweep.median * 1e6, full.median * 1e6, "us");
    BenchFigure("sweeping frame invalidated", sweep.pixels, full.pixels, "pixels");
    if (rest.pixels != 0) {
        std::printf("GameFrameBench: a resting frame invalidated pixels\n");
        return 1;
    }
    return 0;
}
