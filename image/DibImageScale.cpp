// CDibImage::Scale: nearest-pixel sampling, or an exact area average (box filter) done in two passes.
#include "image/DibImageDetail.h"

#include <numeric>
#include <vector>

namespace {

// Which source pixels each result pixel covers along one axis, and by how much. With the sizes reduced
// to a : b (source : result), a result pixel spans a units and a source pixel b units, so every weight
// is a whole number of units and each result pixel's weights add up to a.
struct Footprints {
    std::vector<uint32_t> first;       // first source pixel of result pixel i
    std::vector<uint32_t> weightStart; // its weights: weights[weightStart[i] .. weightStart[i + 1])
    std::vector<uint32_t> weights;
    uint32_t total = 0;                // a
};

Footprints MakeFootprints(uint32_t sourceSize, uint32_t resultSize) {
    const uint32_t g = std::gcd(sourceSize, resultSize), a = sourceSize / g, b = resultSize / g;
    Footprints f;
    f.total = a;
    f.first.resize(resultSize);
    f.weightStart.resize(resultSize + 1);
    for (uint32_t i = 0; i < resultSize; ++i) {
        const uint64_t begin = (uint64_t)i * a, end = begin + a;
        f.first[i] = (uint32_t)(begin / b);
        f.weightStart[i] = (uint32_t)f.weights.size();
        for (uint64_t s = begin / b; s * b < end; ++s) {
            const uint64_t lo = s * b > begin ? s * b : begin, hi = (s + 1) * b < end ? (s + 1) * b : end;
            f.weights.push_back((uint32_t)(hi - lo));
        }
    }
    f.weightStart[resultSize] = (uint32_t)f.weights.size();
    return f;
}

// Sums per result pixel: blue, green, red, fourth byte, and the weight of the pixels that count.
constexpr int kSums = 5;

// One source row (colour words) reduced horizontally. With `skipClear`, pixels whose fourth byte is 0
// add nothing to the colour sums nor to the counted weight; the fourth byte always averages over all.
void SumRow(const uint8_t* in, const Footprints& fx, bool skipClear, uint32_t* out) {
    const size_t n = fx.first.size();
    for (size_t i = 0; i < n; ++i, out += kSums) {
        const uint8_t* p = in + 4 * (size_t)fx.first[i];
        uint32_t b = 0, g = 0, r = 0, a = 0, w = 0;
        for (uint32_t k = fx.weightStart[i]; k < fx.weightStart[i + 1]; ++k, p += 4) {
            const uint32_t weight = fx.weights[k];
            a += weight * p[3];
            if (skipClear && p[3] == 0) continue;
            b += weight * p[0];
            g += weight * p[1];
            r += weight * p[2];
            w += weight;
        }
        out[0] = b, out[1] = g, out[2] = r, out[3] = a, out[4] = w;
    }
}

// Rounded quotient through a reciprocal: exact for the operands here (at most 2^38 by at most 2^30),
// as the half added keeps a true integer from falling below itself.
inline uint32_t RoundedDiv(uint64_t sum, uint64_t total, double reciprocal) {
    return (uint32_t)(((double)(sum + total / 2) + 0.5) * reciprocal);
}

void AreaAverage(CDibImage& result, const CDibImage& source, bool skipClear) {
    const Footprints fx = MakeFootprints(source.width, result.width);
    const Footprints fy = MakeFootprints(source.height, result.height);
    const size_t w = result.width;
    const uint64_t total = (uint64_t)fx.total * fy.total;
    const double reciprocal = 1.0 / (double)total;
    std::vector<uint32_t> rowSums(w * kSums);
    std::vector<uint64_t> sums(w * kSums);
    uint32_t summedRow = 0xffffffff;
    for (uint32_t y = 0; y < result.height; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        for (uint32_t k = fy.weightStart[y]; k < fy.weightStart[y + 1]; ++k) {
            const uint32_t sy = fy.first[y] + (k - fy.weightStart[y]), weight = fy.weights[k];
            if (sy != summedRow) SumRow(DibColourRow(source, (int)sy), fx, skipClear, rowSums.data());
            summedRow = sy; // the last row of one footprint is often the first of the next
            for (size_t i = 0; i < w * kSums; ++i) sums[i] += (uint64_t)weight * rowSums[i];
        }
        uint8_t* out = result.RowAddress((int)y);
        for (size_t x = 0; x < w; ++x) {
            const uint64_t* s = &sums[x * kSums];
            uint32_t colour;
            if (!skipClear) {
                colour = RoundedDiv(s[0], total, reciprocal) | RoundedDiv(s[1], total, reciprocal) << 8 |
                         RoundedDiv(s[2], total, reciprocal) << 16;
            } else {
                const uint64_t counted = s[4] ? s[4] : 1;
                colour = (uint32_t)((s[0] + counted / 2) / counted) | (uint32_t)((s[1] + counted / 2) / counted) << 8 |
                         (uint32_t)((s[2] + counted / 2) / counted) << 16;
            }
            result.writePixel(out, (int)x, colour | RoundedDiv(s[3], total, reciprocal) << 24);
        }
    }
}

// Each result pixel takes the source pixel under its centre; `asColour` reads colour words (for a
// 32-bit result), otherwise the source's own values are copied.
void Sample(CDibImage& result, const CDibImage& source, bool asColour) {
    std::vector<uint32_t> column(result.width);
    for (uint32_t x = 0; x < result.width; ++x)
        column[x] = (uint32_t)(((2 * (uint64_t)x + 1) * source.width) / (2 * (uint64_t)result.width));
    for (uint32_t y = 0; y < result.height; ++y) {
        const int sy = (int)(((2 * (uint64_t)y + 1) * source.height) / (2 * (uint64_t)result.height));
        uint8_t* out = result.RowAddress((int)y);
        if (asColour) {
            const uint8_t* in = DibColourRow(source, sy);
            for (uint32_t x = 0; x < result.width; ++x) result.writePixel(out, (int)x, LoadU32(in + 4 * column[x]));
        } else {
            const uint8_t* in = source.RowAddress(sy);
            for (uint32_t x = 0; x < result.width; ++x)
                result.writePixel(out, (int)x, source.readPixel(in, (int)column[x]));
        }
    }
}

} // namespace

bool CDibImage::Scale(const CDibImage& source, int newWidth, int newHeight, uint32_t flags) {
    if (&source == this) return Scale(CDibImage(source), newWidth, newHeight, flags);
    if (!source.HasPixels() || newWidth <= 0 || newHeight <= 0) {
        Create(source.depth, 0, 0, 0, 0);
        return false;
    }
    const bool to32 = flags & kDibScaleTo32, smooth = flags & kDibScaleSmooth;
    if ((uint32_t)newWidth == source.width && (uint32_t)newHeight == source.height) {
        if (!to32) return Copy(source);
        if (!Create(32, source.width, source.height, kDibNoFill, kDibHeapPixels)) return false;
        for (uint32_t y = 0; y < height; ++y) memcpy(RowAddress((int)y), DibColourRow(source, (int)y), 4 * (size_t)width);
        return true;
    }
    const uint32_t resultDepth = to32 || source.depth == 32 ? 32 : smooth ? 24 : source.depth;
    if (!Create(resultDepth, (uint32_t)newWidth, (uint32_t)newHeight, kDibNoFill, kDibHeapPixels)) return false;
    if (!trueColour) memcpy(palette, source.palette, sizeof(RGBQUAD) * source.paletteSize);
    if (smooth) AreaAverage(*this, source, depth == 32 && source.GetAlphaKind() == 2);
    else Sample(*this, source, resultDepth != source.depth);
    return true;
}
