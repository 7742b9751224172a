// The machine-readable figures of a benchmark, one line each, which tools/bench.sh gathers into its table:
//   @bench<TAB>figure<TAB>ours<TAB>peer<TAB>unit
// ours and peer are plain decimal numbers; peer is "-" for a figure without a platform peer. The human
// report of the benchmark may stand around them.
#pragma once

#include <cstdio>

constexpr double kNoPeer = -1;

inline void BenchFigure(const char* figure, double ours, double peer, const char* unit) {
    if (peer < 0)
        std::printf("@bench\t%s\t%.6g\t-\t%s\n", figure, ours, unit);
    else
        std::printf("@bench\t%s\t%.6g\t%.6g\t%s\n", figure, ours, peer, unit);
    std::fflush(stdout);
}
