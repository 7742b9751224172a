// CDibImage::Scale: nearest-pixel sampling, or an exact area average (box filter).
#include "image/DibImageDetail.h"
#include "image/scale/DibScale.h"

#include <vector>

namespace {

// Each result pixel takes the source pixel under its centre; `asColour` takes colour words (for a 24-bit or
// 32-bit result of another depth), otherwise the source's own values are copied. A result row that takes
// the same source row as the one before is that row again.
void Sample(CDibImage& result, const CDibImage& source, bool asColour) {
    std::vector<uint32_t> column(result.width), colours(asColour && result.depth != 32 ? result.width : 0);
    for (uint32_t x = 0; x < result.width; ++x)
        column[x] = (uint32_t)(((2 * (uint64_t)x + 1) * source.width) / (2 * (uint64_t)result.width));
    const DibDepthTraits &from = DibTraitsOf(source), &to = DibTraitsOf(result), &words = *DibTraitsForDepth(32);
    int previous = -1;
    for (uint32_t y = result.height; y-- > 0;) { // storage order
        const int sy = (int)(((2 * (uint64_t)y + 1) * source.height) / (2 * (uint64_t)result.height));
        uint8_t* out = result.RowAddress((int)y);
        if (sy == previous) {
            memcpy(out, out - result.stride, result.stride);
            continue;
        }
        previous = sy;
        if (!asColour) {
            from.sampleRow(out, source.RowAddress(sy), column.data(), result.width);
        } else if (result.depth == 32) {
            words.sampleRow(out, DibColourRow(source, sy), column.data(), result.width);
        } else {
            words.sampleRow(reinterpret_cast<uint8_t*>(colours.data()), DibColourRow(source, sy), column.data(),
                            result.width);
            to.writeRow(out, colours.data(), result.width);
        }
    }
}

bool ScaleInto(CDibImage& result, const CDibImage& source, int newWidth, int newHeight, uint32_t flags) {
    const bool to32 = flags & kDibScaleTo32, smooth = flags & kDibScaleSmooth;
    if ((uint32_t)newWidth == source.width && (uint32_t)newHeight == source.height) {
        if (!to32) return result.Copy(source);
        if (!result.Create(32, source.width, source.height, kDibNoFill, kDibHeapPixels)) return false;
        for (uint32_t y = 0; y < result.height; ++y)
            memcpy(result.RowAddress((int)y), DibColourRow(source, (int)y), 4 * (size_t)result.width);
        return true;
    }
    const uint32_t resultDepth = to32 || source.depth == 32 ? 32 : smooth ? 24 : source.depth;
    if (!result.Create(resultDepth, (uint32_t)newWidth, (uint32_t)newHeight, kDibNoFill, kDibHeapPixels))
        return false;
    if (!result.trueColour) memcpy(result.palette, source.palette, sizeof(RGBQUAD) * source.paletteSize);
    // Sizes that are whole multiples of the source's make every result pixel's area one source pixel.
    const bool whole = result.width % source.width == 0 && result.height % source.height == 0;
    if (smooth && resultDepth == 32 && source.GetAlphaKind() == 2) DibAreaAverageCounted(result, source);
    else if (smooth && !whole) DibAreaAverage(result, source);
    else Sample(result, source, resultDepth != source.depth);
    return true;
}

} // namespace

bool CDibImage::Scale(const CDibImage& image, int newWidth, int newHeight, uint32_t flags) {
    if (!image.HasPixels() || newWidth <= 0 || newHeight <= 0) {
        Create(image.depth, 0, 0, 0, 0);
        return false;
    }
    return DibFromSource(*this, image, [&](const CDibImage& source) {
        return ScaleInto(*this, source, newWidth, newHeight, flags);
    });
}
