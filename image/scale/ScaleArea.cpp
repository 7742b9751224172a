// The area average of CDibImage::Scale: every result pixel the exact rounded mean of the source area under it.
#include "image/DibImageDetail.h"
#include "image/scale/DibScale.h"
#include "image/scale/ScaleFootprints.h"

#include <algorithm>

namespace {

// The bytes of source row y: 24-bit and 32-bit rows as they are, others as colour words.
const uint8_t* SourceBytes(const CDibImage& source, uint32_t y) {
    return source.depth == 24 || source.depth == 32 ? source.RowAddress((int)y) : DibColourRow(source, (int)y);
}

// The ring of summed rows is kept within this size; a result row over more source rows than fit adds them
// up one by one instead (a strong reduction in height: 10,000 rows into 1 would otherwise hold 10,000 rows).
constexpr size_t kMostRingBytes = 8u << 20;

// One result row from the weighted sum of its source rows, each source row summed along x in turn into
// rowSums (one row of x-sums, the work buffer) and added to runningSums.
void FinishFromRunningSums(uint8_t* out, uint32_t outBytes, uint32_t width, const CDibImage& source,
                           const DibFootprints& fy, uint32_t y, const DibScaleTaps& taps,
                           const DibRoundedDivider& divide, std::vector<uint32_t>& rowSums,
                           std::vector<uint64_t>& runningSums) {
    const uint32_t inBytes = source.depth == 24 ? 3 : 4;
    std::fill(runningSums.begin(), runningSums.end(), 0);
    for (uint32_t k = 0; k < fy.Count(y); ++k) {
        DibLoops().scaleRow(SourceBytes(source, fy.first[y] + k), source.width, inBytes, taps, rowSums.data());
        const uint64_t weight = fy.WeightsOf(y)[k];
        for (size_t i = 0; i < runningSums.size(); ++i) runningSums[i] += weight * rowSums[i];
    }
    for (size_t x = 0; x < width; ++x)
        for (uint32_t c = 0; c < outBytes; ++c) out[outBytes * x + c] = (uint8_t)divide(runningSums[4 * x + c]);
}

} // namespace

// With the sizes reduced to a : b per axis, a result pixel's area weighs total = ax x ay units and the
// exact sum of its source bytes x weights, rounded over total, is its byte. Each source row is summed
// along x once (first pass, into a ring of the rows that the current result row covers); each result row
// then weighs the sums of its source rows and divides (second pass). A result row that covers the same
// source rows with the same weights as the one before is that row again. Rows go in storage order.
void DibAreaAverage(CDibImage& result, const CDibImage& source) {
    const DibFootprints fx(source.width, result.width, true), fy(source.height, result.height, false);
    const uint64_t total = (uint64_t)fx.total * fy.total;
    const DibRoundedDivider divide(total);
    const DibLoopSet& loops = DibLoops();
    const DibLoopSet& finish = total < kDibVectorDivisorLimit ? loops : DibLoopsPortable();
    const uint32_t inBytes = source.depth == 24 ? 3 : 4, outBytes = result.depth == 24 ? 3 : 4;
    const DibScaleTaps taps = fx.Taps();
    const size_t rowWords = 4 * (size_t)result.width;
    const bool tall = (size_t)fy.MostCount() * rowWords * sizeof(uint32_t) > kMostRingBytes;
    const uint32_t ring = tall ? 1 : fy.MostCount();
    std::vector<uint32_t> sums(ring * rowWords);
    std::vector<uint64_t> runningSums(tall ? rowWords : 0);
    std::vector<int64_t> summed(ring, -1); // the source row in each ring slot
    std::vector<const uint32_t*> rows(ring);
    for (uint32_t y = result.height; y-- > 0;) { // storage order
        uint8_t* out = result.RowAddress((int)y);
        if (y + 1 < result.height && fy.Same(y + 1, y)) {
            memcpy(out, out - result.stride, (size_t)outBytes * result.width);
            continue;
        }
        if (tall) {
            FinishFromRunningSums(out, outBytes, result.width, source, fy, y, taps, divide, sums, runningSums);
            continue;
        }
        for (uint32_t k = fy.Count(y); k-- > 0;) { // storage order
            const uint32_t j = fy.first[y] + k, slot = j % ring;
            uint32_t* slotSums = &sums[slot * rowWords];
            if (summed[slot] != j) {
                loops.scaleRow(SourceBytes(source, j), source.width, inBytes, taps, slotSums);
                summed[slot] = j;
            }
            rows[k] = slotSums;
        }
        finish.scaleFinish(rows.data(), fy.WeightsOf(y), fy.Count(y), result.width, divide, out, outBytes);
    }
}

// The same leaving out clear pixels: colours divided by the weight of the pixels that count. In two passes
// per result row: the source rows under it are summed column by column (weighted, bytes in memory order:
// blue, green, red, fourth), then the columns under each result pixel. Pixels whose fourth byte is 0 add
// nothing to the colour sums nor to the weight that divides them; the fourth byte averages over all pixels.
void DibAreaAverageCounted(CDibImage& result, const CDibImage& source) {
    const DibFootprints fx(source.width, result.width, false), fy(source.height, result.height, false);
    const uint64_t total = (uint64_t)fx.total * fy.total;
    const DibRoundedDivider divide(total);
    // Column sums stay below 255 x 32,768 (the weights of one footprint add up to at most 32,768).
    std::vector<uint32_t> columns(4 * (size_t)source.width), counted(source.width);
    for (uint32_t y = 0; y < result.height; ++y) {
        std::fill(columns.begin(), columns.end(), 0);
        std::fill(counted.begin(), counted.end(), 0);
        for (uint32_t k = 0; k < fy.Count(y); ++k) {
            const uint8_t* in = DibColourRow(source, (int)(fy.first[y] + k));
            const uint32_t weight = fy.WeightsOf(y)[k];
            for (size_t x = 0; x < source.width; ++x) {
                const uint8_t* p = in + 4 * x;
                uint32_t* c = &columns[4 * x];
                c[3] += weight * p[3];
                if (!p[3]) continue;
                c[0] += weight * p[0], c[1] += weight * p[1], c[2] += weight * p[2];
                counted[x] += weight;
            }
        }
        uint8_t* out = result.RowAddress((int)y);
        for (uint32_t x = 0; x < result.width; ++x) {
            uint64_t sums[4] = {}, weight = 0;
            for (uint32_t k = 0, s = fx.first[x]; k < fx.Count(x); ++k, ++s) {
                for (int i = 0; i < 4; ++i) sums[i] += (uint64_t)fx.WeightsOf(x)[k] * columns[4 * (size_t)s + i];
                weight += (uint64_t)fx.WeightsOf(x)[k] * counted[s];
            }
            uint32_t colour = divide(sums[3]) << 24;
            for (int i = 0; i < 3 && weight; ++i) colour |= (uint32_t)((sums[i] + weight / 2) / weight) << (8 * i);
            StoreU32(out + 4 * (size_t)x, colour);
        }
    }
}
