// CDibImage::Quantize: exact palettes for few colours, 256 close entries for many, passthrough of
// palette images, progress, and cancelling in either phase.
#include "tests/image/DibImageTestSupport.h"

#include <cmath>

namespace {

// Records the progress reports (phase, percent); cancels at the first report of `cancelPhase`.
struct ProgressLog {
    int cancelPhase = 0, phaseCount = 0;
    std::vector<std::pair<int, int>> reports;
};

void Record(CDibImage*, void* context, int phase, int phaseCount, int percent, bool* cancel) {
    ProgressLog& log = *static_cast<ProgressLog*>(context);
    log.reports.push_back({phase, percent});
    log.phaseCount = phaseCount;
    *cancel = phase == log.cancelPhase;
}

// 300 x 200 pixels with more than 256 colours: red along x, green along y, blue along both.
CDibImage Gradient() {
    std::vector<uint32_t> values;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            values.push_back((uint32_t)(x * 255 / 299) << 16 | (uint32_t)(y * 255 / 199) << 8 |
                             (uint32_t)((x + y) * 255 / 498));
    return ImageOf(24, 300, values);
}

} // namespace

TEST(DibImageQuantize, FewColoursGiveExactEntries) {
    struct Case {
        std::vector<uint32_t> pixels, entries; // the palette's first entries, in order
    };
    // Three colours; one colour; red 10 once and red 200 three times (the first cut gives the boxes
    // red 0-199 and 200-255).
    const Case cases[] = {{{0x102030, 0xa0b0c0, 0x00ff00, 0x102030, 0x00ff00, 0x00ff00}, {}},
                          {{0xabcdef, 0xabcdef, 0xabcdef}, {0xabcdef}},
                          {{0x0a0000, 0xc80000, 0xc80000, 0xc80000}, {0x0a0000, 0xc80000}}};
    CDibImage defaults;
    defaults.Create(8, 1, 1, 0);
    for (const Case& c : cases) {
        const CDibImage source = ImageOf(24, (uint32_t)c.pixels.size(), c.pixels);
        CDibImage out;
        ASSERT_TRUE(out.Quantize(source));
        ASSERT_EQ(out.depth, 8u);
        for (size_t i = 0; i < c.entries.size(); ++i) EXPECT_EQ(out.GetPaletteEntry((int)i, 0, 0, 0), c.entries[i]);
        EXPECT_EQ(ValuesOf(out, true), c.pixels);
        const std::vector<uint32_t> indices = ValuesOf(out);
        const uint32_t used = *std::max_element(indices.begin(), indices.end()) + 1;
        // Entries past the boxes keep the default palette.
        EXPECT_EQ(memcmp(out.palette + used, defaults.palette + used, (256 - used) * sizeof(RGBQUAD)), 0);
    }
}

TEST(DibImageQuantize, ManyColoursGiveAll256CloseEntries) {
    const CDibImage source = Gradient();
    CDibImage out;
    ASSERT_TRUE(out.Quantize(source));
    const std::vector<uint32_t> indices = ValuesOf(out), shown = ValuesOf(out, true), wanted = ValuesOf(source);
    double error = 0, worst = 0;
    for (size_t i = 0; i < shown.size(); ++i) {
        double d = 0;
        for (int s = 0; s <= 16; s += 8) d += std::pow((int)((shown[i] >> s) & 255) - (int)((wanted[i] >> s) & 255), 2);
        error += std::sqrt(d);
        worst = std::max(worst, std::sqrt(d));
    }
    EXPECT_EQ(std::set<uint32_t>(indices.begin(), indices.end()).size(), 256u);
    EXPECT_LT(error / (300 * 200), 8.0);
    EXPECT_LT(worst, 40.0);
    EXPECT_TRUE(!out.quantColours && !out.quantBoxes); // the work buffers are freed
}

TEST(DibImageQuantize, PaletteSourcesAreNotQuantized) {
    std::mt19937 rng(3);
    for (uint32_t depth : {1u, 2u, 4u, 8u}) {
        CDibImage source = RandomImage(depth, 9, 4, rng), out;
        for (int i = 0; i < 256; ++i) source.SetPaletteColor(i, rng() & 0xffffff);
        ASSERT_TRUE(out.Quantize(source));
        ASSERT_EQ(out.depth, 8u);
        EXPECT_EQ(memcmp(out.palette, source.palette, 256 * sizeof(RGBQUAD)), 0) << depth;
        EXPECT_TRUE(SamePixels(out, source)) << depth;
    }
    CDibImage empty, out;
    EXPECT_FALSE(out.Quantize(empty));
}

TEST(DibImageQuantize, ReportsBothPhasesAndCancelsInEitherFreeingItsBuffers) {
    CDibImage source = Gradient(), out;
    ProgressLog log;
    source.SetProgressCallback(Record, &log);
    ASSERT_TRUE(out.Quantize(source));
    EXPECT_EQ(std::tuple(log.phaseCount, log.reports.front(), log.reports.back()),
              std::tuple(2, std::pair(1, 0), std::pair(2, 100)));
    for (size_t i = 1; i < log.reports.size(); ++i) EXPECT_LE(log.reports[i - 1], log.reports[i]); // only up
    for (int phase : {1, 2}) {
        ProgressLog cancelling;
        cancelling.cancelPhase = phase;
        source.SetProgressCallback(Record, &cancelling);
        EXPECT_FALSE(out.Quantize(source)) << phase;
        EXPECT_EQ(cancelling.reports.back(), std::make_pair(phase, 0)); // stopped at its first report
        EXPECT_TRUE(!out.quantColours && !out.quantBoxes && out.quantBoxCount == 0) << phase;
        EXPECT_EQ(out.depth * 1000 + out.width, 8300u);
    }
}
