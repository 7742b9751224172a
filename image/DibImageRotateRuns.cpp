// Rotation runs with SSE2 (every x86-64 processor has it), and the choice of the fastest set.
#include "image/DibImageRotateRuns.h"

#include <cstring>

#include <emmintrin.h>

namespace {

const uint8_t* SourceAt(const DibRotateBlock& block, int32_t u, int32_t v) {
    return block.row0 - (ptrdiff_t)((uint32_t)v >> 18) * block.stride + 4 * (size_t)((uint32_t)u >> 18);
}

// DibRotateInterpolate: both rows are mixed along x at once in 16-bit lanes (each sum is at most 65,280),
// then the column sums are formed exactly from the low and high halves of their products.
inline uint32_t Interpolate(const uint8_t* p, const uint8_t* q, uint32_t fx, uint32_t fy) {
    const __m128i zero = _mm_setzero_si128();
    // Bytes p00 q00 p01 q01, widened: left = p00 q00, right = p01 q01.
    const __m128i quad = _mm_unpacklo_epi32(_mm_loadl_epi64((const __m128i*)p), _mm_loadl_epi64((const __m128i*)q));
    const __m128i left = _mm_unpacklo_epi8(quad, zero), right = _mm_unpackhi_epi8(quad, zero);
    const __m128i rows = _mm_add_epi16(_mm_mullo_epi16(left, _mm_set1_epi16((short)(256 - fx))),
                                       _mm_mullo_epi16(right, _mm_set1_epi16((short)fx)));
    const __m128i weightsY = _mm_unpacklo_epi64(_mm_set1_epi16((short)(256 - fy)), _mm_set1_epi16((short)fy));
    const __m128i low = _mm_mullo_epi16(rows, weightsY), high = _mm_mulhi_epu16(rows, weightsY);
    const __m128i sum = _mm_add_epi32(_mm_unpacklo_epi16(low, high), _mm_unpackhi_epi16(low, high));
    const __m128i bytes = _mm_packs_epi32(_mm_srli_epi32(sum, 16), zero);
    return (uint32_t)_mm_cvtsi128_si32(_mm_packus_epi16(bytes, zero));
}

// True when the fourth byte of either pixel of the pair at p is 0.
inline bool ClearPair(const uint8_t* p) {
    return !p[3] || !p[7];
}

template <bool kAlpha>
void Bilinear(DibRotateBlock& block) {
    for (uint32_t r = 0; r < block.runCount; ++r) {
        DibRotateRun& run = block.runs[r];
        DibRotatePrefetch(block, r);
        run.clear = 0;
        int32_t u = run.u, v = run.v;
        for (uint32_t k = 0; k < run.count; ++k, u += block.du, v += block.dv) {
            const uint8_t *p = SourceAt(block, u, v), *q = p - block.stride;
            run.out[k] = Interpolate(p, q, ((uint32_t)u >> 10) & 255, ((uint32_t)v >> 10) & 255);
            if (kAlpha && (ClearPair(p) || ClearPair(q))) run.clear |= 1ull << k;
        }
    }
}

void Nearest(DibRotateBlock& block) {
    for (uint32_t r = 0; r < block.runCount; ++r) {
        DibRotateRun& run = block.runs[r];
        DibRotatePrefetch(block, r);
        run.clear = 0;
        int32_t u = run.u + (1 << 17), v = run.v + (1 << 17);
        for (uint32_t k = 0; k < run.count; ++k, u += block.du, v += block.dv)
            memcpy(run.out + k, SourceAt(block, u, v), 4);
    }
}

} // namespace

uint32_t DibRotateInterpolate(const uint8_t* p, const uint8_t* q, uint32_t fx, uint32_t fy) {
    return Interpolate(p, q, fx, fy);
}

const DibRotateFunctions& DibRotateSse2() {
    static const DibRotateFunctions functions = {Bilinear<false>, Bilinear<true>, Nearest};
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
