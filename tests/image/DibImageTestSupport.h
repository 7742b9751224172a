// Helpers shared by the image tests.
#pragma once

#include "image/DibImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <random>
#include <set>
#include <utility>
#include <vector>

inline const std::vector<uint32_t>& AllDepths() {
    static const std::vector<uint32_t> depths = {1, 2, 4, 8, 12, 15, 16, 24, 32};
    return depths;
}

// Random bytes over the whole pixel block, padding included.
inline void FillRandom(CDibImage& image, std::mt19937& rng) {
    for (uint32_t i = 0; i < image.imageSize; ++i) image.bits[i] = (uint8_t)rng();
}

inline CDibImage RandomImage(uint32_t depth, uint32_t w, uint32_t h, std::mt19937& rng) {
    CDibImage image;
    EXPECT_TRUE(image.Create(depth, w, h, kDibNoFill));
    FillRandom(image, rng);
    return image;
}

// A value that survives a write at this depth unchanged.
inline uint32_t RandomValue(const CDibImage& image, std::mt19937& rng) {
    uint32_t v = rng();
    if (!image.trueColour) return v & image.valueMask;
    if (image.depth == 32) return v;
    if (image.depth == 15) return v & (image.significantBits | 0x80000000);
    return v & image.significantBits;
}

// Compares every stored byte, padding included.
inline ::testing::AssertionResult SameBytes(const CDibImage& a, const CDibImage& b) {
    if (a.imageSize != b.imageSize || a.width != b.width || a.height != b.height)
        return ::testing::AssertionFailure() << "sizes differ";
    for (uint32_t i = 0; i < a.imageSize; ++i)
        if (a.bits[i] != b.bits[i])
            return ::testing::AssertionFailure() << "byte " << i << " differs: " << (int)a.bits[i] << " vs "
                                                 << (int)b.bits[i] << " (stride " << a.stride << ")";
    return ::testing::AssertionSuccess();
}

// Compares pixel values through the readers (the bits of `mask`).
inline ::testing::AssertionResult SamePixels(const CDibImage& a, const CDibImage& b, uint32_t mask = 0xffffffff) {
    if (a.width != b.width || a.height != b.height) return ::testing::AssertionFailure() << "sizes differ";
    for (uint32_t y = 0; y < a.height; ++y)
        for (uint32_t x = 0; x < a.width; ++x)
            if ((a.GetPixel((int)x, (int)y) ^ b.GetPixel((int)x, (int)y)) & mask)
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") differs: " << std::hex << a.GetPixel((int)x, (int)y)
                       << " vs " << b.GetPixel((int)x, (int)y);
    return ::testing::AssertionSuccess();
}

// The colour a pixel shows: palette images through their palette (the whole entry).
inline uint32_t PixelColour(const CDibImage& image, int x, int y) {
    const uint32_t v = image.GetPixel(x, y);
    return image.trueColour ? v : image.GetPaletteEntryRGBA((int)v, nullptr, nullptr, nullptr, nullptr);
}

// An image holding `values` row by row, `width` a row (the rest of the last row 0).
inline CDibImage ImageOf(uint32_t depth, uint32_t width, const std::vector<uint32_t>& values) {
    CDibImage image;
    image.Create(depth, width, (uint32_t)(values.size() + width - 1) / width, 0);
    for (size_t i = 0; i < values.size(); ++i) image.SetPixel((int)(i % width), (int)(i / width), values[i]);
    return image;
}

// The pixel values row by row (the inverse of ImageOf), or through the palette with `colours`.
inline std::vector<uint32_t> ValuesOf(const CDibImage& image, bool colours = false) {
    std::vector<uint32_t> out;
    for (int y = 0; y < (int)image.height; ++y)
        for (int x = 0; x < (int)image.width; ++x)
            out.push_back(colours ? PixelColour(image, x, y) : image.GetPixel(x, y));
    return out;
}

// Caller-owned pixel memory with guard bytes on both sides, to catch writes outside an image.
struct GuardedPixels {
    static constexpr size_t kGuard = 64;
    std::vector<uint8_t> block;
    CDibImage image;

    GuardedPixels(uint32_t depth, uint32_t w, uint32_t h) {
        CDibImage probe;
        probe.Create(depth, w, h, kDibNoFill);
        block.assign(probe.imageSize + 2 * kGuard, 0xa5);
        EXPECT_TRUE(image.Create(depth, w, h, 0, (uintptr_t)(block.data() + kGuard)));
    }
    bool GuardsIntact() const {
        for (size_t i = 0; i < kGuard; ++i)
            if (block[i] != 0xa5 || block[block.size() - 1 - i] != 0xa5) return false;
        return true;
    }
};

// Runs `check(depth, image, rng)` `rounds` times per depth on random images of up to 40 x `maxHeight` pixels.
template <typename Check>
void ForRandomImages(uint32_t seed, int rounds, uint32_t maxHeight, Check check) {
    std::mt19937 rng(seed);
    for (uint32_t depth : AllDepths())
        for (int round = 0; round < rounds; ++round) {
            const uint32_t w = 1 + rng() % 40, h = 1 + rng() % maxHeight;
            CDibImage image = RandomImage(depth, w, h, rng);
            check(depth, image, rng);
            if (::testing::Test::HasFatalFailure()) return;
        }
}

using Points = std::set<std::pair<int, int>>;

// Every point of the line, stepped one by one from its start, with the same rules as the drawing code.
inline Points ReferenceLine(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t w, int64_t h,
                            bool includeEnd = true) {
    const int64_t dx = x2 > x1 ? x2 - x1 : x1 - x2, dy = y2 > y1 ? y2 - y1 : y1 - y2;
    const bool xMajor = dx >= dy;
    const int64_t D = xMajor ? dx : dy, d = xMajor ? dy : dx;
    const int sx = x2 >= x1 ? 1 : -1, sy = y2 >= y1 ? 1 : -1;
    int64_t e = (D - d + 1) / 2, x = x1, y = y1;
    Points out;
    for (int64_t i = 0; i < D + (includeEnd ? 1 : 0); ++i) {
        if (x >= 0 && y >= 0 && x < w && y < h) out.insert({(int)x, (int)y});
        if (e > 0) {
            e -= d;
        } else {
            e += D - d;
            if (xMajor) y += sy;
            else x += sx;
        }
        if (xMajor) x += sx;
        else y += sy;
    }
    return out;
}

inline Points SetPixels(const CDibImage& image, uint32_t background) {
    Points out;
    for (int y = 0; y < (int)image.height; ++y)
        for (int x = 0; x < (int)image.width; ++x)
            if (image.GetPixel(x, y) != background) out.insert({x, y});
    return out;
}

inline CDibImage Blank(uint32_t depth, uint32_t w, uint32_t h) {
    CDibImage image;
    EXPECT_TRUE(image.Create(depth, w, h, 0));
    return image;
}

// The points the drawing callbacks hand to RecordPoint since Plotted().clear().
inline Points& Plotted() {
    static Points points;
    return points;
}
inline void RecordPoint(CDibImage*, uint8_t*, int x, int y, uint32_t) { Plotted().insert({x, y}); }

// The points' bounding box, inclusive: left, top, right, bottom.
inline std::vector<int> Bounds(const Points& points) {
    std::vector<int> box = {INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (auto [x, y] : points)
        box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x), std::max(box[3], y)};
    return box;
}
