// CDibImage::Quantize: exact palettes for few colours, 256 close entries for many, passthrough of
// palette images, progress, and cancelling in either phase.
#include "tests/image/DibImageTestSupport.h"

#include <cmath>
#include <set>

namespace {

// Records the progress reports; cancels at the first report of `cancelPhase`.
struct ProgressLog {
    int cancelPhase = 0;
    std::vector<std::pair<int, int>> reports; // phase, percent
    int phaseCount = 0;
};

void Record(CDibImage*, void* context, int phase, int phaseCount, int percent, bool* cancel) {
    ProgressLog& log = *static_cast<ProgressLog*>(context);
    log.reports.push_back({phase, percent});
    log.phaseCount = phaseCount;
    if (phase == log.cancelPhase) *cancel = true;
}

// A 24-bit image with `colours` in runs of `counts` pixels, row by row.
CDibImage Runs(const std::vector<uint32_t>& colours, const std::vector<int>& counts, uint32_t width) {
    int total = 0;
    for (int c : counts) total += c;
    CDibImage image;
    image.Create(24, width, (uint32_t)(total + width - 1) / width, 0);
    int i = 0;
    for (size_t k = 0; k < colours.size(); ++k)
        for (int n = 0; n < counts[k]; ++n, ++i) image.SetPixel(i % (int)width, i / (int)width, colours[k]);
    return image;
}

uint32_t Shown(const CDibImage& image, int x, int y) {
    return image.GetPaletteEntry((int)image.GetPixel(x, y), nullptr, nullptr, nullptr);
}

// 300 x 200 pixels with more than 256 colours: red along x, green along y, blue along both.
CDibImage Gradient() {
    CDibImage image;
    image.Create(24, 300, 200, 0);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            image.SetPixel(x, y, (uint32_t)(x * 255 / 299) << 16 | (uint32_t)(y * 255 / 199) << 8 | (uint32_t)((x + y) * 255 / 498));
    return image;
}

} // namespace

TEST(DibImageQuantize, FewColoursGiveExactEntries) {
    CDibImage out, defaults;
    defaults.Create(8, 1, 1, 0);
    const CDibImage three = Runs({0x102030, 0xa0b0c0, 0x00ff00}, {5, 2, 9}, 4);
    ASSERT_TRUE(out.Quantize(three));
    ASSERT_EQ(out.depth, 8u);
    std::set<uint32_t> entries;
    for (int i = 0; i < 3; ++i) entries.insert(out.GetPaletteEntry(i, 0, 0, 0));
    EXPECT_EQ(entries, (std::set<uint32_t>{0x102030, 0xa0b0c0, 0x00ff00}));
    EXPECT_EQ(memcmp(out.palette + 3, defaults.palette + 3, 253 * sizeof(RGBQUAD)), 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(Shown(out, x, y), three.GetPixel(x, y));
    // One colour: one box, every pixel index 0.
    CDibImage flat;
    flat.Create(32, 5, 3, 0x00abcdef);
    ASSERT_TRUE(out.Quantize(flat));
    EXPECT_EQ(out.GetPaletteEntry(0, 0, 0, 0), 0xabcdefu);
    for (int i = 0; i < 15; ++i) EXPECT_EQ(out.GetPixel(i % 5, i / 5), 0u);
    // Red 10 once and red 200 three times: the first cut falls between them (boxes 0-199 and 200-255).
    ASSERT_TRUE(out.Quantize(Runs({0x0a0000, 0xc80000}, {1, 3}, 4)));
    EXPECT_EQ(out.GetPaletteEntry(0, 0, 0, 0), 0x0a0000u);
    EXPECT_EQ(out.GetPaletteEntry(1, 0, 0, 0), 0xc80000u);
    EXPECT_EQ(out.GetPixel(0, 0), 0u);
    EXPECT_EQ(out.GetPixel(3, 0), 1u);
}

TEST(DibImageQuantize, ManyColoursGiveAll256CloseEntries) {
    const CDibImage source = Gradient();
    CDibImage out;
    ASSERT_TRUE(out.Quantize(source));
    std::set<uint32_t> used;
    double error = 0;
    int worst = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x) {
            used.insert(out.GetPixel(x, y));
            const uint32_t a = Shown(out, x, y), b = source.GetPixel(x, y);
            double d = 0;
            for (int s = 0; s <= 16; s += 8) d += std::pow((int)((a >> s) & 255) - (int)((b >> s) & 255), 2);
            error += std::sqrt(d);
            worst = std::max(worst, (int)std::sqrt(d));
        }
    EXPECT_EQ(used.size(), 256u);
    EXPECT_LT(error / 60000, 8.0);
    EXPECT_LT(worst, 40);
    EXPECT_EQ(out.quantColours, nullptr);
    EXPECT_EQ(out.quantBoxes, nullptr);
}

TEST(DibImageQuantize, PaletteSourcesAreNotQuantized) {
    std::mt19937 rng(3);
    for (uint32_t depth : {1u, 2u, 4u, 8u}) {
        CDibImage source = RandomImage(depth, 9, 4, rng), out;
        for (int i = 0; i < 256; ++i) source.SetPaletteColor(i, rng() & 0xffffff);
        ASSERT_TRUE(out.Quantize(source));
        ASSERT_EQ(out.depth, 8u);
        EXPECT_EQ(memcmp(out.palette, source.palette, 256 * sizeof(RGBQUAD)), 0) << depth;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 9; ++x) ASSERT_EQ(out.GetPixel(x, y), source.GetPixel(x, y)) << depth;
    }
    CDibImage empty, out;
    EXPECT_FALSE(out.Quantize(empty));
}

TEST(DibImageQuantize, ReportsBothPhasesAndCancelsInEitherFreeingItsBuffers) {
    CDibImage source = Gradient();
    ProgressLog log;
    source.SetProgressCallback(Record, &log);
    CDibImage out;
    ASSERT_TRUE(out.Quantize(source));
    EXPECT_EQ(log.phaseCount, 2);
    EXPECT_EQ(log.reports.front(), std::make_pair(1, 0));
    EXPECT_EQ(log.reports.back(), std::make_pair(2, 100));
    for (size_t i = 1; i < log.reports.size(); ++i) {
        EXPECT_LE(log.reports[i - 1], log.reports[i]); // phases and percents only go up
        EXPECT_LE(log.reports[i].second, 100);
    }
    for (int phase : {1, 2}) {
        ProgressLog cancelling;
        cancelling.cancelPhase = phase;
        source.SetProgressCallback(Record, &cancelling);
        EXPECT_FALSE(out.Quantize(source)) << phase;
        EXPECT_EQ(cancelling.reports.back(), std::make_pair(phase, 0)); // stopped at its first report
        EXPECT_EQ(out.quantColours, nullptr) << phase;
        EXPECT_EQ(out.quantBoxes, nullptr) << phase;
        EXPECT_EQ(out.quantBoxCount, 0u);
        EXPECT_EQ(out.depth, 8u);
        EXPECT_EQ(out.width, 300u);
    }
}
