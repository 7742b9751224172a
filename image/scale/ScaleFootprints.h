// The footprints of an area-average scaling along one axis.
#pragma once

#include "image/loops/DibLoops.h"

#include <vector>

// Which source pixels each result pixel covers along one axis, and by how much. With the sizes reduced
// to a : b (source : result), a result pixel spans a units and a source pixel b units, so every weight
// is a whole number of units and each result pixel's weights add up to a.
struct DibFootprints {
    std::vector<uint32_t> first;       // first source pixel of result pixel i
    std::vector<uint32_t> weightStart; // its weights: weights[weightStart[i] .. weightStart[i + 1])
    std::vector<uint32_t> weights;
    uint32_t total = 0;                // a
    // The weights in groups of four for the vector loops (see DibScaleTaps); only when asked for.
    std::vector<uint32_t> groups, groupWeights;

    // Throws std::bad_alloc.
    DibFootprints(uint32_t sourceSize, uint32_t resultSize, bool grouped);

    uint32_t Count(uint32_t i) const { return weightStart[i + 1] - weightStart[i]; }
    const uint32_t* WeightsOf(uint32_t i) const { return weights.data() + weightStart[i]; }
    // Whether result pixels i and j cover the same source pixels with the same weights.
    bool Same(uint32_t i, uint32_t j) const;
    // The most source pixels a result pixel covers.
    uint32_t MostCount() const;
    DibScaleTaps Taps() const;
};
