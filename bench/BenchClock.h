// The benchmarks' clock: the performance counter.
#pragma once

#include <windows.h>

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
