// The rotation's inner loops, with SSE2 and (where the processor has it) AVX2, against the sampling
// arithmetic on random runs: every length up to the longest, pixels after a run left alone.
#include "image/DibImageRotateRuns.h"
#include "image/FixedSin.h"
#include "tests/image/DibImageTestSupport.h"

namespace {

// A point's pixel as the algorithm states it, all four samples inside: each byte of the samples weighted
// (256 - fx) (256 - fy), fx (256 - fy), (256 - fx) fy, fx fy and shifted right by 16; or the pixel of
// the rounded point. *clear: one of the four samples has a fourth byte of 0.
uint32_t Expected(const CDibImage& source, int32_t u, int32_t v, bool nearest, bool* clear) {
    if (nearest) return source.GetPixel((u + (1 << 17)) >> 18, (v + (1 << 17)) >> 18);
    const uint32_t fx = (uint32_t)(u >> 10) & 255, fy = (uint32_t)(v >> 10) & 255;
    const uint32_t weights[4] = {(256 - fx) * (256 - fy), fx * (256 - fy), (256 - fx) * fy, fx * fy};
    uint32_t samples[4], colour = 0;
    *clear = false;
    for (int k = 0; k < 4; ++k) {
        samples[k] = source.GetPixel((u >> 18) + (k & 1), (v >> 18) + (k >> 1));
        *clear = *clear || !(samples[k] >> 24);
    }
    for (int c = 0; c < 32; c += 8) {
        uint32_t sum = 0;
        for (int k = 0; k < 4; ++k) sum += weights[k] * ((samples[k] >> c) & 255);
        colour |= (sum >> 16) << c;
    }
    return colour;
}

} // namespace

TEST(DibImageRotateRuns, EverySetMatchesTheArithmetic) {
    std::vector<const DibRotateFunctions*> sets = {&DibRotateSse2()};
    if (DibRotateAvx2() && __builtin_cpu_supports("avx2")) sets.push_back(DibRotateAvx2());
    std::mt19937 rng(116);
    for (int n = 0; n < 30; ++n) {
        const uint32_t w = 2 + rng() % 120, h = 2 + rng() % 90;
        CDibImage source = RandomImage(32, w, h, rng), source24;
        for (uint32_t k = 0; k < w * h / 8; ++k) source.SetPixel((int)(rng() % w), (int)(rng() % h), rng() & 0xffffff);
        source24.ConvertDepth(source, 24);
        const int angle = (int)(rng() & 0x1ffff);
        const int32_t du = 4 * FixedCos(angle), dv = -4 * FixedSin(angle);
        // Runs whose points all lie inside, each starting at a random point.
        std::vector<DibRotateRun> runs;
        std::vector<std::vector<uint32_t>> outs;
        const int64_t limitU = (int64_t)(w - 1) << 18, limitV = (int64_t)(h - 1) << 18;
        for (int r = 0; r < 16; ++r) {
            const int32_t u = (int32_t)(rng() % limitU), v = (int32_t)(rng() % limitV);
            uint32_t count = 1 + rng() % kDibRotateRunMax;
            auto inside = [&](int64_t k) {
                const int64_t pu = u + k * du, pv = v + k * dv;
                return pu >= 0 && pv >= 0 && pu < limitU && pv < limitV;
            };
            while (count > 1 && !inside(count - 1)) --count;
            if (!inside(count - 1)) continue;
            runs.push_back({nullptr, u, v, count, 0});
        }
        outs.resize(runs.size());
        const std::vector<DibRotateSpan> spans = {{source.bits, source.bits + 40}, {source.row0, source.row0 + 4}};
        for (const DibRotateFunctions* set : sets)
            for (int kind = 0; kind < 5; ++kind) {
                // Kinds 3 and 4: bilinear and nearest from three-byte pixels.
                const DibRotateBlockFunction functions[] = {set->bilinear, set->bilinearAlpha, set->nearest,
                                                            set->bilinear24, set->nearest24};
                const CDibImage& from = kind < 3 ? source : source24;
                for (size_t r = 0; r < runs.size(); ++r) {
                    outs[r].assign(kDibRotateRunMax + 8, 0x5a5a5a5a);
                    runs[r].out = outs[r].data();
                    runs[r].clear = ~0ull;
                }
                DibRotateBlock block = {from.row0, (ptrdiff_t)from.stride, w, h, du, dv,
                                        runs.data(), (uint32_t)runs.size(), spans.data(), (uint32_t)spans.size()};
                functions[kind](block);
                for (size_t r = 0; r < runs.size(); ++r) {
                    uint64_t clear = 0;
                    for (uint32_t k = 0; k < kDibRotateRunMax + 8; ++k) {
                        bool pixelClear = false;
                        const bool nearest = kind == 2 || kind == 4;
                        const uint32_t expected = k >= runs[r].count ? 0x5a5a5a5a
                                                  : Expected(from, runs[r].u + (int32_t)k * du,
                                                             runs[r].v + (int32_t)k * dv, nearest, &pixelClear);
                        if (pixelClear && kind == 1) clear |= 1ull << k;
                        ASSERT_EQ(expected, outs[r][k]) << "case " << n << ", set " << (set != sets[0]) << ", kind "
                                                        << kind << ", run " << r << ", pixel " << k;
                    }
                    ASSERT_EQ(clear, runs[r].clear) << "case " << n << ", kind " << kind << ", run " << r;
                }
            }
    }
}
