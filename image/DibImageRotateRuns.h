// The inner loops of CDibImage::Rotate for 32-bit sources: blocks of runs of result pixels, one run per
// row, whose back-mapped points all lie inside the source (for bilinear sampling, with all four samples
// inside). Points are in source pixels x 2^18: shifted right by 10 they have 8 fractional bits.
#pragma once

#include <cstddef>
#include <cstdint>

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

// The runs of a block of rows and their source: row y at row0 - y * stride, width x height pixels. Along
// a row the points step by (du, dv). While the runs are drawn, the source's cache lines listed (those the
// next block reads) are fetched into the caches, a share with each run.
struct DibRotateBlock {
    const uint8_t* row0;
    ptrdiff_t stride;
    uint32_t width, height;
    int32_t du, dv;
    DibRotateRun* runs;
    uint32_t runCount;
    const uint8_t* const* lines;
    uint32_t lineCount;
};

typedef void (*DibRotateBlockFunction)(DibRotateBlock& block);

struct DibRotateFunctions {
    DibRotateBlockFunction bilinear;      // a source without alpha: every sample counts
    DibRotateBlockFunction bilinearAlpha; // a source with alpha
    DibRotateBlockFunction nearest;
};

// The fastest the processor runs.
const DibRotateFunctions& DibRotateForProcessor();

// With SSE2 only, and with AVX2 (null when the compiler has no AVX2).
const DibRotateFunctions& DibRotateSse2();
const DibRotateFunctions* DibRotateAvx2();

// The four bytes of p00, p01 (at p) and p10, p11 (at q) each (p00 (256 - fx) + p01 fx) (256 - fy) +
// (p10 (256 - fx) + p11 fx) fy >> 16: the runs' bilinear arithmetic, for the pixels they leave.
uint32_t DibRotateInterpolate(const uint8_t* p, const uint8_t* q, uint32_t fx, uint32_t fy);

// Fetches run r's share of the block's lines into the caches.
inline void DibRotatePrefetch(const DibRotateBlock& block, uint32_t r) {
    const uint32_t share = (block.lineCount + block.runCount - 1) / block.runCount;
    const uint32_t end = share * (r + 1) < block.lineCount ? share * (r + 1) : block.lineCount;
    for (uint32_t k = share * r; k < end; ++k) __builtin_prefetch(block.lines[k], 0, 3);
}
