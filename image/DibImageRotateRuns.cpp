// Rotation runs with SSE2 (every x86-64 processor has it), and the choice of the fastest set.
#include "image/DibImageRotateRuns.h"

#include <cstring>

namespace {

// The source pixel at (u, v), pixels of kBytes bytes.
template <size_t kBytes>
const uint8_t* SourceAt(const DibRotateBlock& block, int32_t u, int32_t v) {
    return block.row0 - (ptrdiff_t)((uint32_t)v >> 18) * block.stride + kBytes * (size_t)((uint32_t)u >> 18);
}

// The pixel at p and the one after it as colour words (low and high half), reading their bytes only.
template <size_t kBytes>
uint64_t PixelPair(const uint8_t* p) {
    uint64_t pair = 0;
    if (kBytes == 4) {
        memcpy(&pair, p, 8);
    } else {
        uint32_t first = 0, second = 0;
        memcpy(&first, p, 3);
        memcpy(&second, p + 3, 3);
        pair = first | (uint64_t)second << 32;
    }
    return pair;
}

// True when the fourth byte of either pixel of the pair at p is 0.
inline bool ClearPair(const uint8_t* p) {
    return !p[3] || !p[7];
}

// Calls draw(run) for each run (its clear mask 0 first), fetching the run's share of the spans.
template <typename Draw>
void EachRun(DibRotateBlock& block, Draw draw) {
    const uint32_t share = DibRotatePrefetchShare(block);
    for (uint32_t r = 0; r < block.runCount; ++r) {
        DibRotatePrefetch(block, r, share);
        block.runs[r].clear = 0;
        draw(block.runs[r]);
    }
}

template <bool kAlpha, size_t kBytes>
void Bilinear(DibRotateBlock& block) {
    EachRun(block, [&block](DibRotateRun& run) {
        int32_t u = run.u, v = run.v;
        for (uint32_t k = 0; k < run.count; ++k, u += block.du, v += block.dv) {
            const uint8_t *p = SourceAt<kBytes>(block, u, v), *q = p - block.stride;
            run.out[k] = DibRotateInterpolate(PixelPair<kBytes>(p), PixelPair<kBytes>(q), ((uint32_t)u >> 10) & 255,
                                              ((uint32_t)v >> 10) & 255);
            if (kAlpha && (ClearPair(p) || ClearPair(q))) run.clear |= 1ull << k;
        }
    });
}

template <size_t kBytes>
void Nearest(DibRotateBlock& block) {
    EachRun(block, [&block](DibRotateRun& run) {
        int32_t u = run.u + (1 << 17), v = run.v + (1 << 17);
        for (uint32_t k = 0; k < run.count; ++k, u += block.du, v += block.dv) {
            run.out[k] = 0;
            memcpy(run.out + k, SourceAt<kBytes>(block, u, v), kBytes);
        }
    });
}

} // namespace

const DibRotateFunctions& DibRotateSse2() {
    static const DibRotateFunctions functions = {Bilinear<false, 4>, Bilinear<true, 4>, Nearest<4>,
                                                 Bilinear<false, 3>, Nearest<3>};
    return functions;
}

const DibRotateFunctions& DibRotateForProcessor() {
    static const DibRotateFunctions& functions = []() -> const DibRotateFunctions& {
        __builtin_cpu_init();
        const DibRotateFunctions* avx2 = DibRotateAvx2();
        return avx2 && __builtin_cpu_supports("avx2") ? *avx2 : DibRotateSse2();
    }();
    return functions;
}
