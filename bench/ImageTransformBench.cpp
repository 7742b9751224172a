// Image transforms against their GDI or textbook peers, in one process, on photo-like pictures:
//   Scale down by 3 of a 4-megapixel 32-bit image / StretchBlt in HALFTONE mode, with each one's mean
//     difference to an exact 3 x 3 box filter;
//   Rotate by 30 degrees of a 2-megapixel image / PlgBlt;
//   Quantize of a 1-megapixel image / a plain popularity palette (the 256 most frequent 5-5-5 cells),
//     with each one's mean colour error.
// Times are the best of several runs; a ratio below 1.0 means ours is faster.
#include "bench/BenchClock.h"
#include "bench/BenchFigure.h"
#include "bench/BenchSection.h"
#include "image/DibImage.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {

constexpr int kRuns = 7;

double BestOf(const std::function<void()>& work) { return BenchBestOf(kRuns, work); }

// A 32-bit GDI picture with top-down rows, as the images' rows are addressed.
struct Section : BenchSection {
    Section(int w, int h) : BenchSection(w, h, 32, true) {}
};

// Smooth shading, a few hard-edged discs and a little grain: many distinct colours, as in a photo.
uint32_t PhotoPixel(int x, int y, int w, int h, std::mt19937& rng) {
    const double u = (double)x / w, v = (double)y / h;
    double r = 120 + 90 * std::sin(5.1 * u + 1.3 * v), g = 110 + 80 * std::sin(3.7 * v - 2.2 * u + 0.5),
           b = 100 + 70 * std::cos(4.3 * (u + v));
    for (int k = 0; k < 5; ++k) {
        const double cx = 0.15 + 0.17 * k, cy = 0.3 + 0.1 * (k % 3), dx = u - cx, dy = v - cy;
        if (dx * dx + dy * dy < 0.006 * (k + 1)) r = 40 * k, g = 230 - 30 * k, b = 60 + 35 * k;
    }
    const int grain = (int)(rng() % 13) - 6;
    auto clamp = [grain](double c) { return (uint32_t)std::clamp((int)c + grain, 0, 255); };
    return clamp(r) << 16 | clamp(g) << 8 | clamp(b);
}

void PaintPhoto(CDibImage& image) {
    std::mt19937 rng(1);
    for (int y = 0; y < (int)image.height; ++y)
        for (int x = 0; x < (int)image.width; ++x)
            image.SetPixel(x, y, 0xff000000 | PhotoPixel(x, y, (int)image.width, (int)image.height, rng));
}

void CopyToSection(const CDibImage& image, Section& section) {
    for (int y = 0; y < section.height; ++y)
        memcpy(section.bits + 4 * (size_t)section.width * y, image.RowAddress(y), 4 * (size_t)section.width);
}

double ChannelDistance(uint32_t a, uint32_t b) {
    double d = 0;
    for (int s = 0; s <= 16; s += 8) d += std::abs((int)((a >> s) & 255) - (int)((b >> s) & 255));
    return d / 3;
}

double ColourError(uint32_t a, uint32_t b) {
    double d = 0;
    for (int s = 0; s <= 16; s += 8) d += std::pow((int)((a >> s) & 255) - (int)((b >> s) & 255), 2);
    return std::sqrt(d);
}

// ---- Scale

bool BenchScale() {
    constexpr int w = 2304, h = 1728, rw = w / 3, rh = h / 3;
    CDibImage source, ours;
    source.Create(32, w, h, 0);
    PaintPhoto(source);
    Section gdiSource(w, h), gdiResult(rw, rh);
    CopyToSection(source, gdiSource);
    SetStretchBltMode(gdiResult.dc, HALFTONE);
    SetBrushOrgEx(gdiResult.dc, 0, 0, nullptr);

    const double oursMs = BestOf([&] { ours.Scale(source, rw, rh, kDibScaleSmooth); });
    const double gdiMs = BestOf([&] { StretchBlt(gdiResult.dc, 0, 0, rw, rh, gdiSource.dc, 0, 0, w, h, SRCCOPY); });
    GdiFlush();

    // The exact box filter of a reduction by 3: the rounded mean of each 3 x 3 block.
    double oursDiff = 0, gdiDiff = 0;
    for (int y = 0; y < rh; ++y)
        for (int x = 0; x < rw; ++x) {
            uint32_t box = 0;
            for (int s = 0; s <= 16; s += 8) {
                uint32_t sum = 0;
                for (int j = 0; j < 3; ++j)
                    for (int i = 0; i < 3; ++i) sum += (source.GetPixel(3 * x + i, 3 * y + j) >> s) & 255;
                box |= ((sum + 4) / 9) << s;
            }
            oursDiff += ChannelDistance(ours.GetPixel(x, y), box);
            gdiDiff += ChannelDistance(gdiResult.Pixel32(x, y), box);
        }
    printf("Scale %dx%d -> %dx%d (32-bit)\n", w, h, rw, rh);
    printf("  ours %8.2f ms   StretchBlt HALFTONE %8.2f ms   ratio %5.2f\n", oursMs, gdiMs, oursMs / gdiMs);
    printf("  mean difference to the exact box filter per channel: ours %.3f, GDI %.3f\n", oursDiff / (rw * rh),
           gdiDiff / (rw * rh));
    BenchFigure("Scale 4 MP down by 3 / StretchBlt HALFTONE", oursMs, gdiMs, "ms");
    BenchFigure("Scale mean difference to a box filter", oursDiff / (rw * rh), gdiDiff / (rw * rh), "levels");
    return ours.width == (uint32_t)rw && ours.height == (uint32_t)rh;
}

// ---- Rotate

bool BenchRotate() {
    constexpr int w = 1632, h = 1224; // 2 megapixels
    constexpr uint32_t angle = 0x20000 / 12;
    CDibImage source, ours;
    source.Create(32, w, h, 0);
    PaintPhoto(source);
    source.SetAlpha(0); // a plain picture: no alpha
    int cx = w / 2, cy = h / 2;
    ours.Rotate(source, angle, 0, &cx, &cy, 0x00ffffff);
    const int rw = (int)ours.width, rh = (int)ours.height;
    Section gdiSource(w, h), gdiResult(rw, rh);
    CopyToSection(source, gdiSource);
    // The parallelogram of the source's top-left, top-right and bottom-left corners, turned clockwise.
    const double a = M_PI / 6, c = std::cos(a), s = std::sin(a);
    auto turned = [&](double x, double y) {
        const double dx = x - w / 2.0, dy = y - h / 2.0;
        return POINT{(LONG)std::lround(cx + dx * c - dy * s), (LONG)std::lround(cy + dx * s + dy * c)};
    };
    const POINT corners[3] = {turned(0, 0), turned(w, 0), turned(0, h)};

    auto rotate = [&](uint32_t flags) {
        return BestOf([&] {
            int x = w / 2, y = h / 2;
            ours.Rotate(source, angle, flags, &x, &y, 0x00ffffff);
        });
    };
    const double nearestMs = rotate(kDibRotateNearest), bilinearMs = rotate(0);
    // Rotate makes a new picture; the GDI side makes a section for each, as well as reusing one.
    auto plgBlt = [&](Section& into) {
        PatBlt(into.dc, 0, 0, rw, rh, WHITENESS);
        PlgBlt(into.dc, corners, gdiSource.dc, 0, 0, w, h, nullptr, 0, 0);
        GdiFlush();
    };
    const double newSectionMs = BestOf([&] {
        Section fresh(rw, rh);
        plgBlt(fresh);
    });
    const double reusedMs = BestOf([&] { plgBlt(gdiResult); });
    // How much of the turned picture each side painted (the background is white, the picture never is).
    size_t oursPainted = 0, gdiPainted = 0;
    for (int y = 0; y < rh; ++y)
        for (int x = 0; x < rw; ++x) {
            oursPainted += (ours.GetPixel(x, y) & 0xffffff) != 0xffffff;
            gdiPainted += (gdiResult.Pixel32(x, y) & 0xffffff) != 0xffffff;
        }
    printf("Rotate %dx%d by 30 degrees -> %dx%d (32-bit)\n", w, h, rw, rh);
    printf("  ours bilinear %8.2f ms, nearest %8.2f ms   PlgBlt into a new section %8.2f ms, into one kept %8.2f ms\n",
           bilinearMs, nearestMs, newSectionMs, reusedMs);
    printf("  ratios to PlgBlt into a new section: bilinear %5.2f, nearest %5.2f\n", bilinearMs / newSectionMs,
           nearestMs / newSectionMs);
    printf("  pixels painted: ours %zu, PlgBlt %zu (%.0f%%)\n", oursPainted, gdiPainted,
           100.0 * gdiPainted / oursPainted);
    BenchFigure("Rotate 2 MP by 30 degrees bilinear / PlgBlt", bilinearMs, newSectionMs, "ms");
    BenchFigure("Rotate 2 MP by 30 degrees nearest / PlgBlt", nearestMs, newSectionMs, "ms");
    BenchFigure("Rotate pixels painted", (double)oursPainted, (double)gdiPainted, "pixels");
    return oursPainted > 0;
}

// ---- Quantize

// The 256 most frequent cells of 5 bits per channel, each shown as its mean colour; every cell maps to
// the nearest of them.
void PopularityQuantize(const CDibImage& source, std::vector<uint8_t>& indices, uint32_t palette[256]) {
    std::vector<uint32_t> count(32768), sums(32768 * 3);
    auto cellOf = [](uint32_t c) { return (c >> 9 & 0x7c00) | (c >> 6 & 0x3e0) | (c >> 3 & 0x1f); };
    for (int y = 0; y < (int)source.height; ++y) {
        const uint32_t* row = (const uint32_t*)source.RowAddress(y);
        for (int x = 0; x < (int)source.width; ++x) {
            const uint32_t c = row[x], cell = cellOf(c);
            ++count[cell];
            for (int k = 0; k < 3; ++k) sums[3 * cell + k] += (c >> (8 * k)) & 255;
        }
    }
    std::vector<uint32_t> order(32768);
    for (uint32_t i = 0; i < 32768; ++i) order[i] = i;
    std::partial_sort(order.begin(), order.begin() + 256, order.end(),
                      [&](uint32_t a, uint32_t b) { return count[a] > count[b]; });
    for (int i = 0; i < 256; ++i) {
        const uint32_t cell = order[i], n = std::max(count[cell], 1u);
        palette[i] = 0;
        for (int k = 0; k < 3; ++k) palette[i] |= ((sums[3 * cell + k] + n / 2) / n) << (8 * k);
    }
    std::vector<uint8_t> nearest(32768);
    for (uint32_t cell = 0; cell < 32768; ++cell) {
        const uint32_t centre = (cell >> 10 << 19 | (cell >> 5 & 31) << 11 | (cell & 31) << 3) + 0x040404;
        uint32_t best = 0, bestD = 0xffffffff;
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t d = 0;
            for (int s = 0; s <= 16; s += 8) {
                const int e = (int)((centre >> s) & 255) - (int)((palette[i] >> s) & 255);
                d += (uint32_t)(e * e);
            }
            if (d < bestD) bestD = d, best = i;
        }
        nearest[cell] = (uint8_t)best;
    }
    indices.resize((size_t)source.width * source.height);
    for (int y = 0; y < (int)source.height; ++y) {
        const uint32_t* row = (const uint32_t*)source.RowAddress(y);
        for (int x = 0; x < (int)source.width; ++x) indices[(size_t)y * source.width + x] = nearest[cellOf(row[x])];
    }
}

bool BenchQuantize() {
    constexpr int w = 1152, h = 864; // 1 megapixel
    CDibImage source, ours;
    source.Create(32, w, h, 0);
    PaintPhoto(source);
    std::vector<uint8_t> indices;
    uint32_t palette[256];
    const double oursMs = BestOf([&] { ours.Quantize(source); });
    const double popularityMs = BestOf([&] { PopularityQuantize(source, indices, palette); });

    double oursError = 0, popularityError = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t c = source.GetPixel(x, y);
            oursError += ColourError(ours.GetPaletteEntry((int)ours.GetPixel(x, y), 0, 0, 0), c);
            popularityError += ColourError(palette[indices[(size_t)y * w + x]], c);
        }
    printf("Quantize %dx%d to 256 colours\n", w, h);
    printf("  ours %8.2f ms   popularity palette %8.2f ms   ratio %5.2f\n", oursMs, popularityMs,
           oursMs / popularityMs);
    printf("  mean colour error (RGB distance): ours %.2f, popularity %.2f, ratio %.2f\n", oursError / (w * h),
           popularityError / (w * h), oursError / popularityError);
    BenchFigure("Quantize 1 MP / popularity palette", oursMs, popularityMs, "ms");
    BenchFigure("Quantize mean colour error", oursError / (w * h), popularityError / (w * h), "RGB distance");
    return ours.depth == 8 && ours.width == (uint32_t)w;
}

} // namespace

int main() {
    printf("Image transforms, best of %d runs\n", kRuns);
    const bool scaled = BenchScale(), rotated = BenchRotate(), quantized = BenchQuantize();
    return scaled && rotated && quantized ? 0 : 1;
}
