// The pixel readers and writers of each bit depth as inline functions, for loops specialised per depth.
#pragma once

#include "image/DibImageDetail.h"

namespace DibPixels {

inline uint32_t Read1(const uint8_t* row, int x) { return (row[x >> 3] >> (7 - (x & 7))) & 1; }
inline void Write1(uint8_t* row, int x, uint32_t v) {
    const uint8_t bit = (uint8_t)(0x80 >> (x & 7));
    row[x >> 3] = (uint8_t)((v & 1) ? row[x >> 3] | bit : row[x >> 3] & ~bit);
}

inline uint32_t Read2(const uint8_t* row, int x) { return (row[x >> 2] >> ((3 - (x & 3)) * 2)) & 3; }
inline void Write2(uint8_t* row, int x, uint32_t v) {
    const int shift = (3 - (x & 3)) * 2;
    row[x >> 2] = (uint8_t)((row[x >> 2] & ~(3 << shift)) | ((v & 3) << shift));
}

inline uint32_t Read4(const uint8_t* row, int x) { return (x & 1) ? row[x >> 1] & 15 : row[x >> 1] >> 4; }
inline void Write4(uint8_t* row, int x, uint32_t v) {
    uint8_t& b = row[x >> 1];
    b = (x & 1) ? (uint8_t)((b & 0xf0) | (v & 15)) : (uint8_t)((b & 0x0f) | ((v & 15) << 4));
}

inline uint32_t Read8(const uint8_t* row, int x) { return row[x]; }
inline void Write8(uint8_t* row, int x, uint32_t v) { row[x] = (uint8_t)v; }

// Two pixels share three bytes: B0 G0 | R0 B1 | G1 R1 (high nibble first).
inline uint32_t Read12(const uint8_t* row, int x) {
    const uint8_t* p = row + 3 * (x >> 1);
    uint32_t r, g, b;
    if (x & 1) {
        b = p[1] & 15;
        g = p[2] >> 4;
        r = p[2] & 15;
    } else {
        b = p[0] >> 4;
        g = p[0] & 15;
        r = p[1] >> 4;
    }
    return (r << 20) | (g << 12) | (b << 4);
}
inline void Write12(uint8_t* row, int x, uint32_t c) {
    uint8_t* p = row + 3 * (x >> 1);
    const uint32_t r = (c >> 20) & 15, g = (c >> 12) & 15, b = (c >> 4) & 15;
    if (x & 1) {
        p[1] = (uint8_t)((p[1] & 0xf0) | b);
        p[2] = (uint8_t)((g << 4) | r);
    } else {
        p[0] = (uint8_t)((b << 4) | g);
        p[1] = (uint8_t)((p[1] & 0x0f) | (r << 4));
    }
}

inline uint32_t Pack15(uint32_t c) {
    return ((c >> 9) & 0x7c00) | ((c >> 6) & 0x03e0) | ((c >> 3) & 0x001f) | ((c >> 16) & 0x8000);
}
inline uint32_t Unpack15(uint32_t w) {
    return ((w & 0x7c00) << 9) | ((w & 0x03e0) << 6) | ((w & 0x001f) << 3) | ((w & 0x8000) << 16);
}
inline uint32_t Read15(const uint8_t* row, int x) { return Unpack15(LoadU16(row + 2 * x)); }
inline void Write15(uint8_t* row, int x, uint32_t c) { StoreU16(row + 2 * x, (uint16_t)Pack15(c)); }

inline uint32_t Pack16(uint32_t c) { return ((c >> 8) & 0xf800) | ((c >> 5) & 0x07e0) | ((c >> 3) & 0x001f); }
inline uint32_t Unpack16(uint32_t w) { return ((w & 0xf800) << 8) | ((w & 0x07e0) << 5) | ((w & 0x001f) << 3); }
inline uint32_t Read16(const uint8_t* row, int x) { return Unpack16(LoadU16(row + 2 * x)); }
inline void Write16(uint8_t* row, int x, uint32_t c) { StoreU16(row + 2 * x, (uint16_t)Pack16(c)); }

// Three bytes only: the last pixel of a DIB section or of caller memory may end at a page boundary.
inline uint32_t Read24(const uint8_t* row, int x) {
    const uint8_t* p = row + 3 * x;
    return p[0] | (p[1] << 8) | ((uint32_t)p[2] << 16);
}
inline void Write24(uint8_t* row, int x, uint32_t c) {
    uint8_t* p = row + 3 * x;
    p[0] = (uint8_t)c;
    p[1] = (uint8_t)(c >> 8);
    p[2] = (uint8_t)(c >> 16);
}

inline uint32_t Read32(const uint8_t* row, int x) { return LoadU32(row + 4 * x); }
inline void Write32(uint8_t* row, int x, uint32_t c) { StoreU32(row + 4 * x, c); }

} // namespace DibPixels
