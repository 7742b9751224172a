// CDibImage::Quantize: median cut over the exact colour histogram of a true-colour image.
#include "image/DibImageDetail.h"
#include "image/quantizer/QuantizeTable.h"

static_assert(sizeof(DibQuantBox) == 16, "box table layout");

namespace {

constexpr uint32_t kMaxBoxes = 256;
enum : int { kPhaseHistogram = 1, kPhaseMap = 2, kPhaseCount = 2 };

// Runs a function when the scope ends, however it ends.
template <typename F>
struct ScopeExit {
    F f;
    ~ScopeExit() { f(); }
};
template <typename F>
ScopeExit<F> OnScopeExit(F f) {
    return {f};
}

// colours x (blue extent)^2 + (green extent)^2 + (red extent)^2: only the blue term is weighted.
uint64_t SplitScore(const DibQuantBox& b) {
    const uint64_t db = b.max[kQuantBlue] - b.min[kQuantBlue], dg = b.max[kQuantGreen] - b.min[kQuantGreen],
                   dr = b.max[kQuantRed] - b.min[kQuantRed];
    return b.colours * db * db + dg * dg + dr * dr;
}

} // namespace

void CDibImage::QuantizeFree() {
    quantColours.reset();
    quantBoxes.reset();
    quantBoxCount = 0;
}

bool CDibImage::Quantize(const CDibImage& image) {
    return DibFromSource(*this, image, [&](const CDibImage& source) {
        if (!source.HasPixels()) {
            Create(8, 0, 0, 0, 0);
            return false;
        }
        if (source.depth == 8) return Copy(source);
        if (!source.trueColour) {
            if (!Create(8, source.width, source.height, kDibNoFill, kDibHeapPixels)) return false;
            memcpy(palette, source.palette, sizeof(RGBQUAD) * 256);
            return Put(source, 0, 0, 0);
        }

        SetProgressCallback(source.progressCallback, source.progressContext);
        if (!Create(8, source.width, source.height, kDibNoFill, kDibHeapPixels)) return false;
        // The work buffers go however the run ends: result, cancel or a thrown message.
        const auto freeBuffers = OnScopeExit([this] { QuantizeFree(); });
        try {
            quantBoxes.reset(new DibQuantBox[kMaxBoxes]);
            quantColours.reset(new DibQuantColourTable());
            QuantizeHistogram(source);
        } catch (...) {
            return false; // cancelled or out of memory
        }
        quantBoxes[0] = {{0, 0, 0}, {255, 255, 255}, quantColours->Distinct(), width * height};
        quantBoxCount = 1;
        QuantizeSplitBox(7, 0, 0, kQuantRed);
        while (quantBoxCount < kMaxBoxes) {
            uint32_t best = 0;
            uint64_t bestScore = SplitScore(quantBoxes[0]);
            for (uint32_t i = 1; i < quantBoxCount; ++i) {
                if (quantBoxes[i].colours <= 1) continue;
                const uint64_t score = SplitScore(quantBoxes[i]);
                if (score > bestScore) best = i, bestScore = score;
            }
            const uint32_t before = quantBoxCount;
            if (quantBoxes[best].colours <= 1) break;
            QuantizeSplitBox(0, 0, best, QuantizeLongestAxis(best));
            if (quantBoxCount == before) break; // nothing left that splits
        }
        for (uint32_t i = 0; i < quantBoxCount; ++i) QuantizeBoxMean(i);

        try {
            QuantizeMap(source);
        } catch (...) {
            return false;
        }
        return true;
    });
}

void CDibImage::QuantizeHistogram(const CDibImage& source) {
    DibQuantColourTable& table = *quantColours;
    for (uint32_t y = 0; y < height; ++y) {
        // Every pixel looks its colour up: repeats of the colour before come in no order, and a test for
        // them costs more in mispredicted branches than the search (in the caches then) saves.
        const uint32_t* in = DibColourWords(source, (int)y);
        for (uint32_t x = 0; x < width; ++x) {
            if (x + kQuantAhead < width) table.Prefetch(in[x + kQuantAhead]);
            table.Add(in[x]);
        }
        ReportProgress(kPhaseHistogram, kPhaseCount, (int)(100ull * y / height));
    }
    table.ListColours();
    ReportProgress(kPhaseHistogram, kPhaseCount, 100);
}

void CDibImage::QuantizeMap(const CDibImage& source) {
    const DibQuantColourTable& table = *quantColours;
    for (uint32_t y = 0; y < height; ++y) {
        const uint32_t* in = DibColourWords(source, (int)y);
        uint8_t* out = RowAddress((int)y);
        for (uint32_t x = 0; x < width; ++x) {
            if (x + kQuantAhead < width) table.Prefetch(in[x + kQuantAhead]);
            // The box recorded with the colour, checked; a colour the table lacks is searched for.
            const uint32_t colour = in[x] & 0xffffff;
            const int box = table.BoxOf(colour);
            const uint8_t blue = (uint8_t)colour, green = (uint8_t)(colour >> 8), red = (uint8_t)(colour >> 16);
            const bool recorded = box >= 0 && BoxHolds(quantBoxes[box], red, green, blue);
            out[x] = (uint8_t)(recorded ? (uint32_t)box : QuantizeFindBox(red, green, blue));
        }
        ReportProgress(kPhaseMap, kPhaseCount, (int)(100ull * y / height));
    }
    ReportProgress(kPhaseMap, kPhaseCount, 100);
}
