// The quarter-sine and quarter-circle tables and their interpolation.
#include "image/FixedSin.h"

namespace {

// round(32768 x sin(i x pi / 256)) for i = 0..128, and a 0 so that entry i + 1 can always be read.
const uint16_t kSine[130] = {
    0, 402, 804, 1206, 1608, 2009, 2411, 2811, 3212, 3612, 4011, 4410, 4808,
    5205, 5602, 5998, 6393, 6787, 7180, 7571, 7962, 8351, 8740, 9127, 9512, 9896,
    10279, 10660, 11039, 11417, 11793, 12167, 12540, 12910, 13279, 13646, 14010, 14373, 14733,
    15091, 15447, 15800, 16151, 16500, 16846, 17190, 17531, 17869, 18205, 18538, 18868, 19195,
    19520, 19841, 20160, 20475, 20788, 21097, 21403, 21706, 22006, 22302, 22595, 22884, 23170,
    23453, 23732, 24008, 24279, 24548, 24812, 25073, 25330, 25583, 25833, 26078, 26320, 26557,
    26791, 27020, 27246, 27467, 27684, 27897, 28106, 28311, 28511, 28707, 28899, 29086, 29269,
    29448, 29622, 29792, 29957, 30118, 30274, 30425, 30572, 30715, 30853, 30986, 31114, 31238,
    31357, 31471, 31581, 31686, 31786, 31881, 31972, 32058, 32138, 32214, 32286, 32352, 32413,
    32470, 32522, 32568, 32610, 32647, 32679, 32706, 32729, 32746, 32758, 32766, 32768, 0,
};

constexpr uint32_t ISqrt(uint64_t n) {
    uint64_t r = 0, bit = uint64_t(1) << 62;
    while (bit > n) bit >>= 2;
    while (bit) {
        if (n >= r + bit) {
            n -= r + bit;
            r = (r >> 1) + bit;
        } else {
            r >>= 1;
        }
        bit >>= 2;
    }
    return (uint32_t)r;
}

// floor(32768 x sqrt(1 - (i / 128)^2)) = floor(sqrt(65536 x (16384 - i^2))) for i = 0..128, then 0 pads.
struct CircleTable {
    uint16_t v[130];
    constexpr CircleTable() : v() {
        for (uint32_t i = 0; i <= 128; ++i) v[i] = (uint16_t)ISqrt(65536ull * (16384 - i * i));
    }
};
constexpr CircleTable kCircle;
static_assert(kCircle.v[0] == 32768 && kCircle.v[128] == 0 && kCircle.v[129] == 0, "circle table ends");

} // namespace

int FixedSin(int angle) {
    const uint32_t a = (uint32_t)angle;
    uint32_t v = a & 0xffff;
    if (a & 0x8000) v = 0x10000 - v; // mirror inside the half turn: v <= 0x8000
    const uint32_t i = v >> 8, f = v & 255;
    int s0 = kSine[i], s1 = kSine[i + 1];
    if (a & 0x10000) s0 = -s0, s1 = -s1;
    if (f == 0) return 2 * s0;
    return ((256 - (int)f) * s0 + (int)f * s1) / 128;
}

uint32_t FixedCircle(uint32_t t) {
    if (t > 32768) t = 32768;
    const uint32_t k = t >> 8, f = t & 255;
    return (kCircle.v[k] * (256 - f) + kCircle.v[k + 1] * f) >> 8;
}
