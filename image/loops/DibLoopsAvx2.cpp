// The row loops with AVX2. They run only where the processor has it (DibLoops checks); the functions carry
// the target themselves, so that no code shared with other files is compiled for it.
#include "image/loops/DibLoops.h"
#include "image/loops/DibLoopsScalar.h"

#if defined(__GNUC__) && defined(__x86_64__)

#include <immintrin.h>

#define WL_AVX2 __attribute__((target("avx2")))
#define WL_AVX2_INLINE __attribute__((target("avx2"), always_inline)) inline

namespace {

WL_AVX2_INLINE __m256i Both(__m128i lane) { return _mm256_broadcastsi128_si256(lane); }

// Eight 24-bit pixels from 28 readable bytes as four-byte pixels (fourth byte 0), in order.
WL_AVX2_INLINE __m256i Spread24(const uint8_t* in) {
    const __m256i v = _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128((const __m128i*)in)),
                                              _mm_loadu_si128((const __m128i*)(in + 12)), 1);
    return _mm256_shuffle_epi8(v, Both(_mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1)));
}

// The low three bytes of eight four-byte pixels, packed into the low 24 bytes.
WL_AVX2_INLINE __m256i Pack24(__m256i pixels) {
    const __m256i lanes =
        _mm256_shuffle_epi8(pixels, Both(_mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1)));
    return _mm256_permutevar8x32_epi32(lanes, _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7));
}

WL_AVX2_INLINE void Store24(uint8_t* out, __m256i packed) {
    _mm_storeu_si128((__m128i*)out, _mm256_castsi256_si128(packed));
    _mm_storel_epi64((__m128i*)(out + 16), _mm256_extracti128_si256(packed, 1));
}

WL_AVX2 void To32From24(const uint8_t* in, uint32_t* out, size_t count) {
    size_t i = 0;
    for (; i + 10 <= count; i += 8) _mm256_storeu_si256((__m256i*)(out + i), Spread24(in + 3 * i));
    DibLoopsPortable().to32From24(in + 3 * i, out + i, count - i);
}

WL_AVX2 void To24From32(const uint32_t* in, uint8_t* out, size_t count) {
    size_t i = 0;
    for (; i + 8 <= count; i += 8) Store24(out + 3 * i, Pack24(_mm256_loadu_si256((const __m256i*)(in + i))));
    DibLoopsPortable().to24From32(in + i, out + 3 * i, count - i);
}

// The grey levels of eight four-byte pixels b g r x as words: the bytes less 128 as signed times the
// weights, which cannot saturate (181 x 128 at most a pair), and the 128 x 257 taken off added back.
WL_AVX2_INLINE __m256i GreyWords(__m256i pixels) {
    const __m256i signedBytes = _mm256_xor_si256(pixels, _mm256_set1_epi8((char)0x80));
    const __m256i pairs = _mm256_maddubs_epi16(_mm256_set1_epi32(29 | 152 << 8 | 76 << 16), signedBytes);
    const __m256i sums = _mm256_madd_epi16(pairs, _mm256_set1_epi16(1));
    return _mm256_srli_epi32(_mm256_add_epi32(sums, _mm256_set1_epi32(128 * 257)), 8);
}

// Sixteen grey words (pixels 0-7, 8-15) as sixteen bytes in order.
WL_AVX2_INLINE void StoreGrey(uint8_t* out, __m256i low, __m256i high) {
    const __m256i words = _mm256_packus_epi32(low, high); // lanes: 0-3 8-11 | 4-7 12-15
    const __m256i bytes = _mm256_packus_epi16(words, words);
    const __m256i ordered = _mm256_permutevar8x32_epi32(bytes, _mm256_setr_epi32(0, 4, 1, 5, 0, 4, 1, 5));
    _mm_storeu_si128((__m128i*)out, _mm256_castsi256_si128(ordered));
}

WL_AVX2 void Grey24(const uint8_t* in, uint8_t* out, size_t count) {
    size_t i = 0;
    for (; i + 18 <= count; i += 16)
        StoreGrey(out + i, GreyWords(Spread24(in + 3 * i)), GreyWords(Spread24(in + 3 * i + 24)));
    DibLoopsPortable().grey24(in + 3 * i, out + i, count - i);
}

WL_AVX2 void Grey32(const uint8_t* in, uint8_t* out, size_t count) {
    size_t i = 0;
    for (; i + 16 <= count; i += 16)
        StoreGrey(out + i, GreyWords(_mm256_loadu_si256((const __m256i*)(in + 4 * i))),
                  GreyWords(_mm256_loadu_si256((const __m256i*)(in + 4 * i + 32))));
    DibLoopsPortable().grey32(in + 4 * i, out + i, count - i);
}

// The 16 bytes from result pixel i's first source pixel in both lanes, spread.
WL_AVX2_INLINE __m256i Window(const uint8_t* in, uint32_t bytesPerPixel, const DibScaleTaps& taps, uint32_t i,
                              __m256i spread) {
    return _mm256_shuffle_epi8(Both(_mm_loadu_si128((const __m128i*)(in + bytesPerPixel * taps.first[i]))), spread);
}

// A group of four taps reads 16 bytes from its first source pixel. Both lanes hold them; the shuffle spreads
// the channels of taps 0 and 1 (lower lane) and 2 and 3 (upper lane) over 16-bit pairs (tap, next tap) that
// one multiply-add weighs: each lane then holds the four channel sums of its two taps.
WL_AVX2 void ScaleRow(const uint8_t* in, uint32_t pixels, uint32_t bytesPerPixel, const DibScaleTaps& taps,
                      uint32_t* sums) {
    const __m256i spread =
        bytesPerPixel == 3
            ? _mm256_setr_epi8(0, -1, 3, -1, 1, -1, 4, -1, 2, -1, 5, -1, -1, -1, -1, -1, 6, -1, 9, -1, 7, -1, 10, -1,
                               8, -1, 11, -1, -1, -1, -1, -1)
            : _mm256_setr_epi8(0, -1, 4, -1, 1, -1, 5, -1, 2, -1, 6, -1, 3, -1, 7, -1, 8, -1, 12, -1, 9, -1, 13, -1,
                               10, -1, 14, -1, 11, -1, 15, -1);
    const size_t bytes = (size_t)bytesPerPixel * pixels;
    uint32_t i = 0;
    if (taps.groups[taps.results] == taps.results) {
        // One group a pixel (at most four taps): two pixels at a time, their sums gathered from the lanes.
        uint32_t safe = taps.results; // pixels whose 16 bytes lie in the row
        while (safe > 0 && (size_t)bytesPerPixel * taps.first[safe - 1] + 16 > bytes) --safe;
        const __m256i* weights = (const __m256i*)taps.groupWeights;
        for (; i + 2 <= safe; i += 2) {
            const __m256i a =
                _mm256_madd_epi16(Window(in, bytesPerPixel, taps, i, spread), _mm256_loadu_si256(weights + i));
            const __m256i b =
                _mm256_madd_epi16(Window(in, bytesPerPixel, taps, i + 1, spread), _mm256_loadu_si256(weights + i + 1));
            _mm256_storeu_si256((__m256i*)(sums + 4 * (size_t)i),
                                _mm256_add_epi32(_mm256_permute2x128_si256(a, b, 0x20),
                                                 _mm256_permute2x128_si256(a, b, 0x31)));
        }
    }
    for (; i < taps.results; ++i) {
        size_t at = (size_t)bytesPerPixel * taps.first[i];
        const uint32_t end = taps.groups[i + 1];
        if (at + 16 * (size_t)(end - taps.groups[i]) > bytes) {
            // Near the row's end the 16-byte reads would leave it.
            DibScaleRowPixel(in, bytesPerPixel, taps, i, sums + 4 * (size_t)i);
            continue;
        }
        __m256i sum = _mm256_setzero_si256();
        for (uint32_t g = taps.groups[i]; g < end; ++g, at += 4 * (size_t)bytesPerPixel) {
            const __m256i window = Both(_mm_loadu_si128((const __m128i*)(in + at)));
            const __m256i weights = _mm256_loadu_si256((const __m256i*)(taps.groupWeights + 8 * (size_t)g));
            sum = _mm256_add_epi32(sum, _mm256_madd_epi16(_mm256_shuffle_epi8(window, spread), weights));
        }
        _mm_storeu_si128((__m128i*)(sums + 4 * (size_t)i),
                         _mm_add_epi32(_mm256_castsi256_si128(sum), _mm256_extracti128_si256(sum, 1)));
    }
}

// Eight quotients from the 32-bit lanes at `lane` of the rows: the sums (below 2^32 as the total is below
// 2^23), then the divider's multiply and shift in 64-bit halves (the multiplier is below 2^32).
WL_AVX2_INLINE __m256i Quotients(const uint32_t* const* rows, const uint32_t* weights, uint32_t taps, size_t lane,
                                 __m256i half, __m256i multiplier, __m128i shift) {
    __m256i sum = _mm256_setzero_si256();
    for (uint32_t k = 0; k < taps; ++k)
        sum = _mm256_add_epi32(sum, _mm256_mullo_epi32(_mm256_set1_epi32((int)weights[k]),
                                                       _mm256_loadu_si256((const __m256i*)(rows[k] + lane))));
    const __m256i n = _mm256_add_epi32(sum, half);
    const __m256i even = _mm256_srl_epi64(_mm256_mul_epu32(n, multiplier), shift);
    const __m256i odd = _mm256_srl_epi64(_mm256_mul_epu32(_mm256_srli_epi64(n, 32), multiplier), shift);
    return _mm256_blend_epi32(even, _mm256_slli_epi64(odd, 32), 0xaa);
}

WL_AVX2 void ScaleFinish(const uint32_t* const* rows, const uint32_t* weights, uint32_t taps, uint32_t count,
                         const DibRoundedDivider& divide, uint8_t* out, uint32_t outBytes) {
    const __m256i half = _mm256_set1_epi32((int)divide.half);
    const __m256i multiplier = _mm256_set1_epi64x((long long)divide.multiplier);
    const __m128i shift = _mm_cvtsi32_si128((int)divide.shift);
    size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        __m256i q[4];
        for (int k = 0; k < 4; ++k) q[k] = Quotients(rows, weights, taps, 4 * i + 8 * k, half, multiplier, shift);
        // Pixels 0 2 4 6 | 1 3 5 7 after the packs.
        const __m256i bytes = _mm256_packus_epi16(_mm256_packus_epi32(q[0], q[1]), _mm256_packus_epi32(q[2], q[3]));
        const __m256i pixels = _mm256_permutevar8x32_epi32(bytes, _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7));
        if (outBytes == 4) _mm256_storeu_si256((__m256i*)(out + 4 * i), pixels);
        else Store24(out + 3 * i, Pack24(pixels));
    }
    for (; i < count; ++i) DibScaleFinishPixel(rows, weights, taps, i, divide, out + outBytes * i, outBytes);
}

const DibLoopSet kAvx2 = {To32From24, To24From32, Grey24, Grey32, ScaleRow, ScaleFinish};

} // namespace

const DibLoopSet* DibLoopsAvx2() { return &kAvx2; }

#else

const DibLoopSet* DibLoopsAvx2() { return nullptr; }

#endif
