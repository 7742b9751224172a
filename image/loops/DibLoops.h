// The inner loops of the image operations, one row of pixels a call: a portable set and, where the compiler
// has it, a set for processors with AVX2. DibLoops() is the set the operations use.
#pragma once

#include <cstddef>
#include <cstdint>

// floor((n + d / 2) / d), the rounded quotient of an area sum n < 256 d by its total weight d (at most 2^30),
// as ((n + d / 2) m) >> k with m = ceil(2^k / d): with 2^k >= 256 d^2 the error of m stays below what could
// move the quotient.
struct DibRoundedDivider {
    uint64_t half, multiplier;
    uint32_t shift;
    explicit DibRoundedDivider(uint64_t d);
    uint32_t operator()(uint64_t n) const {
        return (uint32_t)(((unsigned __int128)(n + half) * multiplier) >> shift);
    }
};

// The x footprints of an area-average scaling (see scale/ScaleFootprints.h): result pixel i sums source pixels
// first[i], first[i] + 1, ... with weights[weightStart[i] .. weightStart[i + 1]).
struct DibScaleTaps {
    uint32_t results;
    const uint32_t* first;
    const uint32_t* weightStart;
    const uint32_t* weights;
    // For the vector loops: the taps of result pixel i in groups of four (the last group padded with
    // weight 0), groups[i] .. groups[i + 1] of groupWeights, each group eight 32-bit words: twice (w0 | w1 << 16)
    // four times, then (w2 | w3 << 16) four times.
    const uint32_t* groups;
    const uint32_t* groupWeights;
};

struct DibLoopSet {
    // Colour words 0x00RRGGBB of count 24-bit pixels; reads no byte after the last pixel.
    void (*to32From24)(const uint8_t* in, uint32_t* out, size_t count);
    // The low three bytes of count words as 24-bit pixels: exactly 3 x count bytes.
    void (*to24From32)(const uint32_t* in, uint8_t* out, size_t count);
    // Grey levels (29 blue + 152 green + 76 red) >> 8 of count 24-bit or 32-bit pixels.
    void (*grey24)(const uint8_t* in, uint8_t* out, size_t count);
    void (*grey32)(const uint8_t* in, uint8_t* out, size_t count);
    // The first pass of an area average: for each result pixel the weighted sums of its source pixels' bytes
    // (bytesPerPixel 3 or 4, `pixels` of them in `in`), four words a pixel (blue, green, red, fourth; the
    // fourth 0 for 3-byte pixels).
    void (*scaleRow)(const uint8_t* in, uint32_t pixels, uint32_t bytesPerPixel, const DibScaleTaps& taps,
                     uint32_t* sums);
    // The second: Σ weights[k] x rows[k][i] over `taps` rows of 4 x count words, divided by the total weight,
    // as count pixels of outBytes (3 or 4) bytes. The vector set takes totals below 2^23 only.
    void (*scaleFinish)(const uint32_t* const* rows, const uint32_t* weights, uint32_t taps, uint32_t count,
                        const DibRoundedDivider& divide, uint8_t* out, uint32_t outBytes);
};

// The loops for any x86-64 processor, and those with AVX2 (null when the compiler has none).
const DibLoopSet& DibLoopsPortable();
const DibLoopSet* DibLoopsAvx2();
// The set the image operations use: AVX2 where the processor has it, unless the portable set was asked for.
const DibLoopSet& DibLoops();
// Makes the image operations use the portable set (or the fastest again), so that tests reach both.
void DibUsePortableLoops(bool portable);
// Totals of scale weights that the vector loops divide by.
constexpr uint64_t kDibVectorDivisorLimit = 1u << 23;
