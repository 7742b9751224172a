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

bool CDibImage::Quantize(const CDibImage& source) {
    if (&source == this) return Quantize(CDibImage(source));
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
    quantBoxes.reset(new (std::nothrow) DibQuantBox[kMaxBoxes]);
    quantColours.reset(new (std::nothrow) DibQuantColourTable);
    if (!quantBoxes || !quantColours) return false;

    try {
        QuantizeHistogram(source);
    } catch (...) {
        return false; // cancelled or out of memory
    }
    DibQuantBox& whole = quantBoxes[0];
    whole = {{0, 0, 0}, {255, 255, 255}, quantColours->distinct, width * height};
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
}

void CDibImage::QuantizeHistogram(const CDibImage& source) {
    DibQuantColourTable& table = *quantColours;
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* p = source.rowTo24(source.RowAddress((int)y), &source);
        uint32_t last = 0xffffffff;
        DibQuantNode* node = nullptr;
        for (uint32_t x = 0; x < width; ++x, p += 3) {
            const uint32_t colour = p[0] | p[1] << 8 | (uint32_t)p[2] << 16;
            if (colour == last) ++node->count;
            else node = table.Add(colour);
            last = colour;
        }
        ReportProgress(kPhaseHistogram, kPhaseCount, (int)(100ull * y / height));
    }
    ReportProgress(kPhaseHistogram, kPhaseCount, 100);
}

void CDibImage::QuantizeMap(const CDibImage& source) {
    const DibQuantColourTable& table = *quantColours;
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* p = source.rowTo24(source.RowAddress((int)y), &source);
        uint8_t* out = RowAddress((int)y);
        uint32_t last = 0xffffffff, lastBox = 0;
        for (uint32_t x = 0; x < width; ++x, p += 3) {
            const uint32_t colour = p[0] | p[1] << 8 | (uint32_t)p[2] << 16;
            if (colour != last) {
                const DibQuantNode* node = table.Find(colour);
                const DibQuantBox* box = node ? &quantBoxes[node->box] : nullptr;
                const bool inside = box && p[0] >= box->min[0] && p[0] <= box->max[0] && p[1] >= box->min[1] &&
                                    p[1] <= box->max[1] && p[2] >= box->min[2] && p[2] <= box->max[2];
                lastBox = inside ? node->box : QuantizeFindBox(p[2], p[1], p[0]);
                last = colour;
            }
            out[x] = (uint8_t)lastBox;
        }
        ReportProgress(kPhaseMap, kPhaseCount, (int)(100ull * y / height));
    }
    ReportProgress(kPhaseMap, kPhaseCount, 100);
}
