// The footprints of an area-average scaling along one axis.
#include "image/scale/ScaleFootprints.h"

#include <algorithm>
#include <cstring>
#include <numeric>

DibFootprints::DibFootprints(uint32_t sourceSize, uint32_t resultSize, bool grouped) {
    const uint32_t g = std::gcd(sourceSize, resultSize), a = sourceSize / g, b = resultSize / g;
    total = a;
    first.resize(resultSize);
    weightStart.resize(resultSize + 1);
    for (uint32_t i = 0; i < resultSize; ++i) {
        const uint64_t begin = (uint64_t)i * a, end = begin + a;
        first[i] = (uint32_t)(begin / b);
        weightStart[i] = (uint32_t)weights.size();
        for (uint64_t s = begin / b; s * b < end; ++s) {
            const uint64_t lo = s * b > begin ? s * b : begin, hi = (s + 1) * b < end ? (s + 1) * b : end;
            weights.push_back((uint32_t)(hi - lo));
        }
    }
    weightStart[resultSize] = (uint32_t)weights.size();
    if (!grouped) return;
    // A weight is at most min(a, b), below 2^15 unless a = b = 1: the 16-bit halves hold it.
    groups.resize(resultSize + 1);
    for (uint32_t i = 0; i < resultSize; ++i) {
        groups[i] = (uint32_t)(groupWeights.size() / 8);
        const uint32_t* w = WeightsOf(i);
        for (uint32_t k = 0; k < Count(i); k += 4) {
            uint32_t four[4] = {};
            for (uint32_t t = 0; t < 4 && k + t < Count(i); ++t) four[t] = w[k + t];
            groupWeights.insert(groupWeights.end(), 4, four[0] | four[1] << 16);
            groupWeights.insert(groupWeights.end(), 4, four[2] | four[3] << 16);
        }
    }
    groups[resultSize] = (uint32_t)(groupWeights.size() / 8);
}

bool DibFootprints::Same(uint32_t i, uint32_t j) const {
    return first[i] == first[j] && Count(i) == Count(j) &&
           !memcmp(WeightsOf(i), WeightsOf(j), sizeof(uint32_t) * Count(i));
}

uint32_t DibFootprints::MostCount() const {
    uint32_t most = 0;
    for (uint32_t i = 0; i < first.size(); ++i) most = std::max(most, Count(i));
    return most;
}

DibScaleTaps DibFootprints::Taps() const {
    return {(uint32_t)first.size(), first.data(), weightStart.data(), weights.data(), groups.data(),
            groupWeights.data()};
}
