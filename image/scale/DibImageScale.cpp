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

// Rounded quotient through a reciprocal: exact for the operands here (at most 2^38 by at most 2^30),
// as the half added keeps a true integer from falling below itself.
inline uint32_t RoundedDiv(uint64_t sum, uint64_t total, double reciprocal) {
    return (uint32_t)(((double)(sum + total / 2) + 0.5) * reciprocal);
}

// columns[i] += weight x in[i]. Products of up to 255 x 257 fit 16 bits, which vector units multiply
// in one step (a 32-bit multiply is not in the x64 baseline).
void AddWeightedRow(uint32_t* columns, const uint8_t* in, size_t n, uint32_t weight) {
    if (weight == 1) {
        for (size_t i = 0; i < n; ++i) columns[i] += in[i];
    } else if (weight <= 257) {
        const uint16_t w = (uint16_t)weight;
        for (size_t i = 0; i < n; ++i) columns[i] += (uint16_t)(w * in[i]);
    } else {
        for (size_t i = 0; i < n; ++i) columns[i] += weight * in[i];
    }
}

// Exact rounded division of an area sum by its fixed total weight d: floor((n + d / 2) / d) as one
// multiply and a shift. With n + d / 2 < 256 d and m = ceil(2^k / d), 2^k >= 256 d^2 keeps the error
// of m below what could move the quotient; d of at most 2^20 keeps the product inside 64 bits.
class RoundedDivider {
public:
    static constexpr uint64_t kMaxDivisor = 1u << 20;
    explicit RoundedDivider(uint64_t d) : half_(d / 2) {
        while ((1ull << shift_) < 256 * d * d) ++shift_;
        multiplier_ = ((1ull << shift_) + d - 1) / d;
    }
    uint32_t operator()(uint32_t n) const { return (uint32_t)(((n + half_) * multiplier_) >> shift_); }

private:
    uint64_t half_, multiplier_;
    int shift_ = 0;
};

// The second pass of a result row: the column sums under each result pixel, divided by the total weight.
void SumColumns(CDibImage& result, int y, const Footprints& fx, const uint32_t* columns, uint64_t total,
                double reciprocal) {
    uint8_t* out = result.RowAddress(y);
    if (total <= RoundedDivider::kMaxDivisor) {
        // The common case: every sum fits 32 bits.
        const RoundedDivider divide(total);
        for (uint32_t x = 0; x < result.width; ++x) {
            const uint32_t* c = columns + 4 * (size_t)fx.first[x];
            const uint32_t* w = &fx.weights[fx.weightStart[x]];
            const uint32_t n = fx.weightStart[x + 1] - fx.weightStart[x];
            uint32_t s0 = 0, s1 = 0, s2 = 0, s3 = 0;
            for (uint32_t k = 0; k < n; ++k, c += 4)
                s0 += w[k] * c[0], s1 += w[k] * c[1], s2 += w[k] * c[2], s3 += w[k] * c[3];
            const uint32_t colour = divide(s0) | divide(s1) << 8 | divide(s2) << 16 | divide(s3) << 24;
            if (result.depth == 32) StoreU32(out + 4 * (size_t)x, colour);
            else result.writePixel(out, (int)x, colour);
        }
        return;
    }
    for (uint32_t x = 0; x < result.width; ++x) {
        uint64_t sums[4] = {};
        for (uint32_t k = fx.weightStart[x], s = fx.first[x]; k < fx.weightStart[x + 1]; ++k, ++s)
            for (int i = 0; i < 4; ++i) sums[i] += (uint64_t)fx.weights[k] * columns[4 * (size_t)s + i];
        result.writePixel(out, (int)x,
                          RoundedDiv(sums[0], total, reciprocal) | RoundedDiv(sums[1], total, reciprocal) << 8 |
                              RoundedDiv(sums[2], total, reciprocal) << 16 |
                              RoundedDiv(sums[3], total, reciprocal) << 24);
    }
}

// The same leaving out clear pixels: colours divided by the weight of the pixels that count.
void SumColumnsCounted(CDibImage& result, int y, const Footprints& fx, const uint32_t* columns,
                       const uint32_t* counted, uint64_t total, double reciprocal) {
    uint8_t* out = result.RowAddress(y);
    for (uint32_t x = 0; x < result.width; ++x) {
        uint64_t sums[4] = {}, weight = 0;
        for (uint32_t k = fx.weightStart[x], s = fx.first[x]; k < fx.weightStart[x + 1]; ++k, ++s) {
            for (int i = 0; i < 4; ++i) sums[i] += (uint64_t)fx.weights[k] * columns[4 * (size_t)s + i];
            weight += (uint64_t)fx.weights[k] * counted[s];
        }
        uint32_t colour = RoundedDiv(sums[3], total, reciprocal) << 24;
        for (int i = 0; i < 3 && weight; ++i) colour |= (uint32_t)((sums[i] + weight / 2) / weight) << (8 * i);
        result.writePixel(out, (int)x, colour);
    }
}

// Area average in two passes per result row: the source rows under it are summed column by column
// (weighted, bytes in memory order: blue, green, red, fourth), then the columns under each result pixel.
// With `skipClear` pixels whose fourth byte is 0 add nothing to the colour sums nor to the weight that
// divides them; the fourth byte always averages over all pixels.
void AreaAverage(CDibImage& result, const CDibImage& source, bool skipClear) {
    const Footprints fx = MakeFootprints(source.width, result.width);
    const Footprints fy = MakeFootprints(source.height, result.height);
    const size_t sourceBytes = 4 * (size_t)source.width;
    const uint64_t total = (uint64_t)fx.total * fy.total;
    const double reciprocal = 1.0 / (double)total;
    // Column sums stay below 255 x 32,768 (the weights of one footprint add up to at most 32,768).
    std::vector<uint32_t> columns(sourceBytes), counted(skipClear ? source.width : 0);
    for (uint32_t y = 0; y < result.height; ++y) {
        std::fill(columns.begin(), columns.end(), 0);
        std::fill(counted.begin(), counted.end(), 0);
        for (uint32_t k = fy.weightStart[y]; k < fy.weightStart[y + 1]; ++k) {
            const uint8_t* in = DibColourRow(source, (int)(fy.first[y] + (k - fy.weightStart[y])));
            const uint32_t weight = fy.weights[k];
            if (!skipClear) {
                AddWeightedRow(columns.data(), in, sourceBytes, weight);
                continue;
            }
            for (size_t x = 0; x < source.width; ++x) {
                const uint8_t* p = in + 4 * x;
                uint32_t* c = &columns[4 * x];
                c[3] += weight * p[3];
                if (!p[3]) continue;
                c[0] += weight * p[0], c[1] += weight * p[1], c[2] += weight * p[2];
                counted[x] += weight;
            }
        }
        if (skipClear) SumColumnsCounted(result, (int)y, fx, columns.data(), counted.data(), total, reciprocal);
        else SumColumns(result, (int)y, fx, columns.data(), total, reciprocal);
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
