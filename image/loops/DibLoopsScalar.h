// One pixel of the scale loops, shared by the portable set and the vector set's edges.
#pragma once

#include "image/loops/DibLoops.h"

#include <cstring>

// The weighted sums of result pixel i's source bytes, four words at sums.
inline void DibScaleRowPixel(const uint8_t* in, uint32_t bytesPerPixel, const DibScaleTaps& taps, uint32_t i,
                             uint32_t* sums) {
    const uint8_t* p = in + bytesPerPixel * (size_t)taps.first[i];
    uint32_t s[4] = {};
    for (uint32_t k = taps.weightStart[i]; k < taps.weightStart[i + 1]; ++k, p += bytesPerPixel)
        for (uint32_t c = 0; c < bytesPerPixel; ++c) s[c] += taps.weights[k] * p[c];
    memcpy(sums, s, sizeof s);
}

// Result pixel i of the second pass, outBytes bytes at out.
inline void DibScaleFinishPixel(const uint32_t* const* rows, const uint32_t* weights, uint32_t taps, size_t i,
                                const DibRoundedDivider& divide, uint8_t* out, uint32_t outBytes) {
    for (uint32_t c = 0; c < outBytes; ++c) {
        uint64_t sum = 0;
        for (uint32_t k = 0; k < taps; ++k) sum += (uint64_t)weights[k] * rows[k][4 * i + c];
        out[c] = (uint8_t)divide(sum);
    }
}
