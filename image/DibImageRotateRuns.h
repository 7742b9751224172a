// The inner loops of CDibImage::Rotate for 32-bit and 24-bit sources: blocks of runs of result pixels, one
// run per row, whose back-mapped points all lie inside the source (for bilinear sampling, with all four
// samples inside). Points are in source pixels x 2^18: shifted right by 10 they have 8 fractional bits.
#pragma once

#include <cstddef>
#include <cstdint>

#include <emmintrin.h>

constexpr uint32_t kDibRotateRunMax = 64;

// One row's run: count (1 to kDibRotateRunMax) pixels to out, the first point at (u, v).
struct DibRotateRun {
    uint32_t* out;
    int32_t u, v;
    uint32_t count;
    // Set by bilinear runs for a source with alpha: the pixels (bit k for out[k]) of which a sample is
    // clear. They are written as if it were not and must be sampled again.
    uint64_t clear;
};

// A stretch of a source row, bytes first to last.
struct DibRotateSpan {
    const uint8_t *first, *last;
};

// The runs of a block of rows and their source: row y at row0 - y * stride, width x height pixels. Along
// a row the points step by (du, dv). While the runs are drawn, the source spans listed (those the next
// block reads) are fetched into the caches, a share with each run.
struct DibRotateBlock {
    const uint8_t* row0;
    ptrdiff_t stride;
    uint32_t width, height;
    int32_t du, dv;
    DibRotateRun* runs;
    uint32_t runCount;
    const DibRotateSpan* spans;
    uint32_t spanCount;
};

typedef void (*DibRotateBlockFunction)(DibRotateBlock& block);

struct DibRotateFunctions {
    DibRotateBlockFunction bilinear;      // a source without alpha: every sample counts
    DibRotateBlockFunction bilinearAlpha; // a source with alpha
    DibRotateBlockFunction nearest;
    // A 24-bit source (three bytes a pixel), read as colour words with a fourth byte of 0. The vector set
    // reads up to two bytes after a pixel pair: the source must be readable there (heap pixels have a
    // spare row after the last).
    DibRotateBlockFunction bilinear24;
    DibRotateBlockFunction nearest24;
};

// The fastest the processor runs.
const DibRotateFunctions& DibRotateForProcessor();

// With SSE2 only, and with AVX2 (null when the compiler has no AVX2).
const DibRotateFunctions& DibRotateSse2();
const DibRotateFunctions* DibRotateAvx2();

// The four bytes of p00, p01 (top = p00 | p01 << 32) and p10, p11 (bottom) each (p00 (256 - fx) +
// p01 fx) (256 - fy) + (p10 (256 - fx) + p11 fx) fy >> 16: the runs' bilinear arithmetic, for the pixels
// they leave. Both rows are mixed along x at once in 16-bit lanes (each sum is at most 65,280), then the
// column sums are formed exactly from the low and high halves of their products.
inline uint32_t DibRotateInterpolate(uint64_t top, uint64_t bottom, uint32_t fx, uint32_t fy) {
    const __m128i zero = _mm_setzero_si128();
    // Bytes p00 p10 p01 p11, widened: left = p00 p10, right = p01 p11.
    const __m128i quad = _mm_unpacklo_epi32(_mm_cvtsi64_si128((long long)top), _mm_cvtsi64_si128((long long)bottom));
    const __m128i left = _mm_unpacklo_epi8(quad, zero), right = _mm_unpackhi_epi8(quad, zero);
    const __m128i rows = _mm_add_epi16(_mm_mullo_epi16(left, _mm_set1_epi16((short)(256 - fx))),
                                       _mm_mullo_epi16(right, _mm_set1_epi16((short)fx)));
    const __m128i weightsY = _mm_unpacklo_epi64(_mm_set1_epi16((short)(256 - fy)), _mm_set1_epi16((short)fy));
    const __m128i low = _mm_mullo_epi16(rows, weightsY), high = _mm_mulhi_epu16(rows, weightsY);
    const __m128i sum = _mm_add_epi32(_mm_unpacklo_epi16(low, high), _mm_unpackhi_epi16(low, high));
    const __m128i bytes = _mm_packs_epi32(_mm_srli_epi32(sum, 16), zero);
    return (uint32_t)_mm_cvtsi128_si32(_mm_packus_epi16(bytes, zero));
}

// The spans each run fetches, and run r's share of them into the caches (a line at a time).
inline uint32_t DibRotatePrefetchShare(const DibRotateBlock& block) {
    return block.runCount ? (block.spanCount + block.runCount - 1) / block.runCount : 0;
}
inline void DibRotatePrefetch(const DibRotateBlock& block, uint32_t r, uint32_t share) {
    const uint32_t end = share * (r + 1) < block.spanCount ? share * (r + 1) : block.spanCount;
    for (uint32_t k = share * r; k < end; ++k) {
        const uintptr_t last = (uintptr_t)block.spans[k].last;
        for (uintptr_t line = (uintptr_t)block.spans[k].first & ~(uintptr_t)63; line <= last; line += 64)
            __builtin_prefetch((const void*)line, 0, 3);
    }
}
