// The portable row loops, and the choice of the set the image operations use.
#include "image/loops/DibLoops.h"
#include "image/loops/DibLoopsScalar.h"

#include <atomic>

DibRoundedDivider::DibRoundedDivider(uint64_t d) : half(d / 2), shift(0) {
    const unsigned __int128 bound = (unsigned __int128)256 * d * d;
    while (((unsigned __int128)1 << shift) < bound) ++shift;
    multiplier = (uint64_t)((((unsigned __int128)1 << shift) + d - 1) / d);
}

namespace {

void To32From24(const uint8_t* in, uint32_t* out, size_t count) {
    for (size_t i = 0; i < count; ++i, in += 3) out[i] = in[0] | in[1] << 8 | (uint32_t)in[2] << 16;
}

void To24From32(const uint32_t* in, uint8_t* out, size_t count) {
    for (size_t i = 0; i < count; ++i, out += 3) {
        out[0] = (uint8_t)in[i];
        out[1] = (uint8_t)(in[i] >> 8);
        out[2] = (uint8_t)(in[i] >> 16);
    }
}

template <size_t kBytes>
void Grey(const uint8_t* in, uint8_t* out, size_t count) {
    for (size_t i = 0; i < count; ++i, in += kBytes) out[i] = (uint8_t)((29 * in[0] + 152 * in[1] + 76 * in[2]) >> 8);
}

void ScaleRow(const uint8_t* in, uint32_t, uint32_t bytesPerPixel, const DibScaleTaps& taps, uint32_t* sums) {
    for (uint32_t i = 0; i < taps.results; ++i) DibScaleRowPixel(in, bytesPerPixel, taps, i, sums + 4 * (size_t)i);
}

void ScaleFinish(const uint32_t* const* rows, const uint32_t* weights, uint32_t taps, uint32_t count,
                 const DibRoundedDivider& divide, uint8_t* out, uint32_t outBytes) {
    for (uint32_t i = 0; i < count; ++i)
        DibScaleFinishPixel(rows, weights, taps, i, divide, out + outBytes * (size_t)i, outBytes);
}

const DibLoopSet kPortable = {To32From24, To24From32, Grey<3>, Grey<4>, ScaleRow, ScaleFinish};

std::atomic<bool> g_portable{false};

} // namespace

const DibLoopSet& DibLoopsPortable() { return kPortable; }

const DibLoopSet& DibLoops() {
    static const DibLoopSet* const fastest = [] {
        __builtin_cpu_init();
        const DibLoopSet* avx2 = DibLoopsAvx2();
        return avx2 && __builtin_cpu_supports("avx2") ? avx2 : &kPortable;
    }();
    return g_portable.load(std::memory_order_relaxed) ? kPortable : *fastest;
}

void DibUsePortableLoops(bool portable) { g_portable.store(portable, std::memory_order_relaxed); }
