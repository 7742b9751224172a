// The benchmarks' clock: the performance counter.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>

inline double BenchSeconds() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / frequency;
}

inline double BenchNowMs() { return 1000.0 * BenchSeconds(); }

// The best time of `runs` runs of `work` in milliseconds, after one run to warm up (pages touched,
// caches filled).
inline double BenchBestOf(int runs, const std::function<void()>& work) {
    work();
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        const double start = BenchNowMs();
        work();
        best = std::min(best, BenchNowMs() - start);
    }
    return best;
}
