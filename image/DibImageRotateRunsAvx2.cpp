// Rotation runs with AVX2, eight result pixels at a time. They run only where the processor has AVX2
// (DibRotateForProcessor checks); the functions carry the target themselves, so that no code shared with
// other files is compiled for it.
#include "image/DibImageRotateRuns.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))

#include <cstring>

#include <immintrin.h>

#define WL_AVX2 __attribute__((target("avx2")))
#define WL_AVX2_INLINE __attribute__((target("avx2"), always_inline)) inline

namespace {

// Eight back-mapped points.
struct Points {
    __m256i u, v;
};

// The points of a run from (u, v) at the given steps along it.
WL_AVX2_INLINE Points At(const DibRotateBlock& block, int32_t u, int32_t v, __m256i steps) {
    return {_mm256_add_epi32(_mm256_set1_epi32(u), _mm256_mullo_epi32(steps, _mm256_set1_epi32(block.du))),
            _mm256_add_epi32(_mm256_set1_epi32(v), _mm256_mullo_epi32(steps, _mm256_set1_epi32(block.dv)))};
}

// Steps 0 to 7, those from count on repeating the last (count - 1).
WL_AVX2_INLINE __m256i Steps(uint32_t count) {
    return _mm256_min_epi32(_mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7), _mm256_set1_epi32((int)count - 1));
}

// The stores of the first count lanes.
WL_AVX2_INLINE __m256i FirstLanes(uint32_t count) {
    return _mm256_cmpgt_epi32(_mm256_set1_epi32((int)count), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
}

// The offsets from row0 of the points' top-left samples (x kBytes - y x stride; the stride is below 2^15
// and y below 2^12, so one 16-bit multiply-add forms the product), written to offsets[8].
template <int kBytes>
WL_AVX2_INLINE void Offsets(const DibRotateBlock& block, const Points& p, int32_t* offsets) {
    const __m256i x = _mm256_srli_epi32(p.u, 18), y = _mm256_srli_epi32(p.v, 18);
    const __m256i columns = kBytes == 4 ? _mm256_slli_epi32(x, 2) : _mm256_add_epi32(x, _mm256_slli_epi32(x, 1));
    _mm256_store_si256((__m256i*)offsets,
                       _mm256_sub_epi32(columns, _mm256_madd_epi16(y, _mm256_set1_epi32((int)block.stride))));
    // Read back from memory: cheaper than taking each out of the vector.
    __asm__("" : "+m"(*(int32_t(*)[8])offsets));
}

// The fractions f of the positions as 16-bit weight pairs (256 - f, f); f is the second byte of position >> 2.
WL_AVX2_INLINE __m256i WeightPairs(__m256i position) {
    const __m256i twice = _mm256_shuffle_epi8(
        _mm256_srli_epi32(position, 2),
        _mm256_broadcastsi128_si256(_mm_setr_epi8(1, -1, 1, -1, 5, -1, 5, -1, 9, -1, 9, -1, 13, -1, 13, -1)));
    return _mm256_add_epi16(_mm256_sign_epi16(twice, _mm256_set1_epi32(0x0001ffff)), _mm256_set1_epi32(256));
}

// An 8-byte load into every quarter of a vector (a load alone, no shuffle).
WL_AVX2_INLINE __m256i Broadcast8(const uint8_t* p) {
    long long v;
    memcpy(&v, p, 8);
    return _mm256_set1_epi64x(v);
}

// The weight pairs of pixel k (lane 0) and pixel k + 4 (lane 1) in every 32-bit lane.
template <int k>
WL_AVX2_INLINE __m256i PairOf(__m256i weights) {
    return _mm256_shuffle_epi32(weights, k * 0x55);
}

// Pixels k and k + 4 share a vector, one 128-bit lane each, which holds the two samples of the upper row
// and the two of the lower. A byte shuffle spreads two channels' four samples over 16-bit lanes, a
// multiply-add forms their row sums top = p00 (256 - fx) + p01 fx and bottom (each at most 65,280),
// and a second one the column sum top (256 - fy) + bottom fy. The row sums enter that as signed words
// less 32,768; as the weights sum to 256, that takes 2^23 off the column sum, so its shift by 16 is the
// channel less 128: a signed byte. Three-byte pixels lie at bytes 0 and 3 of each quarter, with no fourth
// byte (it comes out 0).
template <int k, int kBytes>
WL_AVX2_INLINE __m256i Pair(const uint8_t* top, const uint8_t* bottom, const int32_t* offsets, __m256i wx,
                            __m256i wy, __m256i* quad) {
    const ptrdiff_t a = offsets[k], b = offsets[k + 4];
    // Quarters: upper and lower samples of pixel k, then of pixel k + 4.
    const __m256i q = _mm256_blend_epi32(_mm256_blend_epi32(Broadcast8(top + a), Broadcast8(bottom + a), 0x0c),
                                         _mm256_blend_epi32(Broadcast8(top + b), Broadcast8(bottom + b), 0xcc), 0xf0);
    *quad = q;
    const __m256i blueGreen = _mm256_broadcastsi128_si256(
        kBytes == 4 ? _mm_setr_epi8(0, -1, 4, -1, 8, -1, 12, -1, 1, -1, 5, -1, 9, -1, 13, -1)
                    : _mm_setr_epi8(0, -1, 3, -1, 8, -1, 11, -1, 1, -1, 4, -1, 9, -1, 12, -1));
    const __m256i redAlpha = _mm256_broadcastsi128_si256(
        kBytes == 4 ? _mm_setr_epi8(2, -1, 6, -1, 10, -1, 14, -1, 3, -1, 7, -1, 11, -1, 15, -1)
                    : _mm_setr_epi8(2, -1, 5, -1, 10, -1, 13, -1, -1, -1, -1, -1, -1, -1, -1, -1));
    const __m256i wxk = PairOf<k>(wx), wyk = PairOf<k>(wy);
    const __m256i bg = _mm256_madd_epi16(_mm256_shuffle_epi8(q, blueGreen), wxk);
    const __m256i ra = _mm256_madd_epi16(_mm256_shuffle_epi8(q, redAlpha), wxk);
    const __m256i rows = _mm256_xor_si256(_mm256_packus_epi32(bg, ra), _mm256_set1_epi16((short)0x8000));
    return _mm256_srai_epi32(_mm256_madd_epi16(rows, wyk), 16);
}

// Bit k of the result: pixel k has a sample with a fourth byte of 0 (the quads of Pair).
WL_AVX2_INLINE uint32_t ClearSamples(const __m256i* quads) {
    uint32_t clear = 0;
    for (int k = 0; k < 4; ++k) {
        // The fourth bytes lie at 3, 7, 11 and 15 of each lane.
        const uint32_t z = (uint32_t)_mm256_movemask_epi8(_mm256_cmpeq_epi8(quads[k], _mm256_setzero_si256()));
        clear |= (uint32_t)((z & 0x8888u) != 0) << k | (uint32_t)((z & 0x88880000u) != 0) << (k + 4);
    }
    return clear;
}

// Eight bilinear pixels; with kAlpha, *clear gets the pixels that have a clear sample.
template <bool kAlpha, int kBytes>
WL_AVX2_INLINE __m256i Eight(const DibRotateBlock& block, const Points& p, uint32_t* clear) {
    alignas(32) int32_t offsets[8];
    Offsets<kBytes>(block, p, offsets);
    const __m256i wx = WeightPairs(p.u), wy = WeightPairs(p.v);
    const uint8_t *top = block.row0, *bottom = block.row0 - block.stride;
    __m256i quads[4];
    const __m256i s0 = Pair<0, kBytes>(top, bottom, offsets, wx, wy, &quads[0]);
    const __m256i s1 = Pair<1, kBytes>(top, bottom, offsets, wx, wy, &quads[1]);
    const __m256i s2 = Pair<2, kBytes>(top, bottom, offsets, wx, wy, &quads[2]);
    const __m256i s3 = Pair<3, kBytes>(top, bottom, offsets, wx, wy, &quads[3]);
    if (kAlpha) *clear = ClearSamples(quads);
    // Lanes: pixels 0 1 2 3 | 4 5 6 7.
    const __m256i bytes = _mm256_packs_epi16(_mm256_packs_epi32(s0, s1), _mm256_packs_epi32(s2, s3));
    return _mm256_xor_si256(bytes, _mm256_set1_epi8((char)0x80));
}

template <bool kAlpha, int kBytes>
WL_AVX2 void Bilinear(DibRotateBlock& block) {
    const __m256i du = _mm256_set1_epi32(8 * block.du), dv = _mm256_set1_epi32(8 * block.dv);
    const uint32_t share = DibRotatePrefetchShare(block);
    for (uint32_t r = 0; r < block.runCount; ++r) {
        DibRotateRun& run = block.runs[r];
        DibRotatePrefetch(block, r, share);
        uint64_t clear = 0;
        uint32_t done = 0, eight = 0;
        Points p = At(block, run.u, run.v, Steps(8));
        for (; done + 8 <= run.count; done += 8) {
            _mm256_storeu_si256((__m256i*)(run.out + done), Eight<kAlpha, kBytes>(block, p, &eight));
            clear |= (uint64_t)eight << done;
            p.u = _mm256_add_epi32(p.u, du);
            p.v = _mm256_add_epi32(p.v, dv);
        }
        if (done < run.count) {
            // The rest: the lanes past the end repeat the last point and are not stored.
            const uint32_t rest = run.count - done;
            p = At(block, run.u + (int32_t)done * block.du, run.v + (int32_t)done * block.dv, Steps(rest));
            _mm256_maskstore_epi32((int*)(run.out + done), FirstLanes(rest), Eight<kAlpha, kBytes>(block, p, &eight));
            clear |= (uint64_t)(eight & ((1u << rest) - 1)) << done;
        }
        run.clear = clear;
    }
}

// Nearest: the pixel of the rounded point, eight offsets at a time (three-byte pixels read four bytes).
template <int kBytes>
WL_AVX2 void Nearest(DibRotateBlock& block) {
    const __m256i du = _mm256_set1_epi32(8 * block.du), dv = _mm256_set1_epi32(8 * block.dv);
    alignas(32) int32_t offsets[8];
    const uint32_t share = DibRotatePrefetchShare(block);
    for (uint32_t r = 0; r < block.runCount; ++r) {
        DibRotateRun& run = block.runs[r];
        DibRotatePrefetch(block, r, share);
        run.clear = 0;
        Points p = At(block, run.u + (1 << 17), run.v + (1 << 17), Steps(run.count < 8 ? run.count : 8));
        for (uint32_t done = 0; done < run.count; done += 8) {
            Offsets<kBytes>(block, p, offsets);
            const uint32_t n = run.count - done < 8 ? run.count - done : 8;
            for (uint32_t k = 0; k < n; ++k) {
                uint32_t pixel;
                memcpy(&pixel, block.row0 + offsets[k], 4);
                run.out[done + k] = kBytes == 4 ? pixel : pixel & 0xffffff;
            }
            p.u = _mm256_add_epi32(p.u, du);
            p.v = _mm256_add_epi32(p.v, dv);
        }
    }
}

const DibRotateFunctions kFunctions = {Bilinear<false, 4>, Bilinear<true, 4>, Nearest<4>, Bilinear<false, 3>,
                                       Nearest<3>};

} // namespace

const DibRotateFunctions* DibRotateAvx2() { return &kFunctions; }

#else

const DibRotateFunctions* DibRotateAvx2() { return nullptr; }

#endif
