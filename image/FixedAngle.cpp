// Fixed-point sine and arctangent: table lookups with linear interpolation, integer arithmetic only.
#include "image/FixedAngle.h"

namespace {

// round(32768 x sin(i x pi / 256)): a quarter turn in 128 steps, then a 0 pad for the i + 1 read.
constexpr uint16_t kSine[130] = {
    0,     402,   804,   1206,  1608,  2009,  2411,  2811,  3212,  3612,  4011,  4410,  4808,  5205,  5602,
    5998,  6393,  6787,  7180,  7571,  7962,  8351,  8740,  9127,  9512,  9896,  10279, 10660, 11039, 11417,
    11793, 12167, 12540, 12910, 13279, 13646, 14010, 14373, 14733, 15091, 15447, 15800, 16151, 16500, 16846,
    17190, 17531, 17869, 18205, 18538, 18868, 19195, 19520, 19841, 20160, 20475, 20788, 21097, 21403, 21706,
    22006, 22302, 22595, 22884, 23170, 23453, 23732, 24008, 24279, 24548, 24812, 25073, 25330, 25583, 25833,
    26078, 26320, 26557, 26791, 27020, 27246, 27467, 27684, 27897, 28106, 28311, 28511, 28707, 28899, 29086,
    29269, 29448, 29622, 29792, 29957, 30118, 30274, 30425, 30572, 30715, 30853, 30986, 31114, 31238, 31357,
    31471, 31581, 31686, 31786, 31881, 31972, 32058, 32138, 32214, 32286, 32352, 32413, 32470, 32522, 32568,
    32610, 32647, 32679, 32706, 32729, 32746, 32758, 32766, 32768, 0};

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

int FixedSin(int32_t angle) {
    const uint32_t a = (uint32_t)angle;
    uint32_t v = a & 0xffff;
    if (a & 0x8000) v = 0x10000 - v; // mirror inside the half turn
    const uint32_t i = v >> 8, f = v & 255;
    int s0 = kSine[i], s1 = kSine[i + 1];
    if (a & 0x10000) s0 = -s0, s1 = -s1; // second half turn
    if (f == 0) return 2 * s0;
    return ((256 - (int)f) * s0 + (int)f * s1) / 128;
}

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
