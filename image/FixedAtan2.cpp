// Fixed-point arctangent: one division and a table lookup with linear interpolation.
#include "image/FixedAtan2.h"

namespace {

// atan(i / 128) in units of 1/262,144 turn, rounded down (twice the angle unit).
constexpr uint16_t kAtan[129] = {
    0,     325,   651,   977,   1303,  1628,  1954,  2279,  2604,  2928,  3252,  3576,  3899,  4222,  4545,
    4867,  5188,  5508,  5828,  6148,  6466,  6784,  7101,  7417,  7732,  8047,  8360,  8673,  8985,  9295,
    9605,  9913,  10220, 10527, 10832, 11136, 11438, 11740, 12040, 12339, 12636, 12933, 13228, 13521, 13813,
    14104, 14394, 14681, 14968, 15253, 15537, 15819, 16099, 16378, 16656, 16932, 17206, 17479, 17750, 18020,
    18288, 18554, 18819, 19082, 19344, 19604, 19862, 20119, 20374, 20627, 20879, 21129, 21377, 21624, 21869,
    22113, 22354, 22595, 22833, 23070, 23305, 23539, 23771, 24001, 24230, 24457, 24682, 24906, 25128, 25348,
    25567, 25785, 26000, 26214, 26427, 26638, 26847, 27055, 27261, 27466, 27669, 27871, 28071, 28270, 28467,
    28662, 28856, 29049, 29240, 29430, 29618, 29805, 29990, 30174, 30357, 30538, 30717, 30896, 31072, 31248,
    31422, 31595, 31766, 31937, 32105, 32273, 32439, 32604, 32768};

// smaller * 65536 / larger (smaller <= larger, larger > 0) without overflow: the larger the operands,
// the more of the divisor's low bits are dropped.
uint32_t ScaledRatio(uint32_t smaller, uint32_t larger) {
    uint32_t q;
    if (smaller < 0x8000) q = (smaller << 16) / larger;
    else if (smaller < 0x80000) q = (smaller * 4096) / (larger / 16);
    else if (smaller < 0x800000) q = (smaller * 256) / (larger / 256);
    else if (smaller < 0x8000000) q = (smaller * 16) / (larger / 4096);
    else q = smaller / (larger / 65536);
    // Dropping the divisor's low bits can push an equal pair past 1.0 (32775 * 4096 / 2048 = 65550).
    return q > 0x10000 ? 0x10000 : q;
}

} // namespace

uint32_t FixedAtan2(int32_t y, int32_t x) {
    // Magnitudes as unsigned values: |INT_MIN| does not fit an int.
    uint32_t ay = y < 0 ? 0u - (uint32_t)y : (uint32_t)y;
    uint32_t ax = x < 0 ? 0u - (uint32_t)x : (uint32_t)x;
    int32_t base = 0, divisor = 2;
    if (x < 0) {
        base = 0x20000;
        divisor = y < 0 ? 2 : -2;
    } else if (y < 0) {
        divisor = -2;
    }
    if (ax < ay) {
        const uint32_t t = ax;
        ax = ay;
        ay = t;
        base = x < 0 ? 0x10000 : -0x10000;
        divisor = -divisor;
    }
    if (ax == 0) return 0;
    const uint32_t q = ScaledRatio(ay, ax);
    const uint32_t i = q >> 9, f = q & 0x1ff;
    int32_t t = kAtan[i];
    if (f) t += ((kAtan[i + 1] - kAtan[i]) * (int32_t)f) >> 9;
    return (uint32_t)((t + base) / divisor) & 0x1ffff;
}
