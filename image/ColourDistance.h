// Distances between two 0x00RRGGBB colour words; bits 24-31 are ignored.
#pragma once

#include <cstdint>

inline int ColourChannelDelta(uint32_t a, uint32_t b, int shift) {
    return (int)((a >> shift) & 255) - (int)((b >> shift) & 255);
}

// |red difference| + |green difference| + |blue difference|.
inline uint32_t ColourDistanceAbs(uint32_t a, uint32_t b) {
    uint32_t sum = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int d = ColourChannelDelta(a, b, shift);
        sum += (uint32_t)(d < 0 ? -d : d);
    }
    return sum;
}

// The sum of the squared channel differences.
inline uint32_t ColourDistanceSq(uint32_t a, uint32_t b) {
    uint32_t sum = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int d = ColourChannelDelta(a, b, shift);
        sum += (uint32_t)(d * d);
    }
    return sum;
}
