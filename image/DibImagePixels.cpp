// Per-depth pixel readers, writers, colour packers and row converters of CDibImage.
#include "image/DibImageDetail.h"
#include "image/DibPixelAccess.h"
#include "image/loops/DibLoops.h"

#include <intrin.h>

namespace {

using namespace DibPixels;

uint32_t Pack12(uint32_t c) { return ((c >> 12) & 0xf00) | ((c >> 8) & 0x0f0) | ((c >> 4) & 0x00f); }
uint32_t PackSame(uint32_t c) { return c; }

// ---- Row converters, each a loop of its depth's reader

template <DibPixelReader Read>
const uint8_t* UnpackIndices(const uint8_t* row, const CDibImage* image) {
    uint8_t* out = image->rowBuffer;
    for (uint32_t x = 0; x < image->width; ++x) out[x] = (uint8_t)Read(row, (int)x);
    return out;
}
template <DibPixelReader Read>
const uint8_t* GreyIndices(const uint8_t* row, const CDibImage* image) {
    uint8_t* out = image->rowBuffer;
    for (uint32_t x = 0; x < image->width; ++x) out[x] = DibGreyLevel(Read(row, (int)x));
    return out;
}
const uint8_t* GreyIndices24(const uint8_t* row, const CDibImage* image) {
    DibLoops().grey24(row, image->rowBuffer, image->width);
    return image->rowBuffer;
}
const uint8_t* GreyIndices32(const uint8_t* row, const CDibImage* image) {
    DibLoops().grey32(row, image->rowBuffer, image->width);
    return image->rowBuffer;
}
const uint8_t* SameRow(const uint8_t* row, const CDibImage*) { return row; }
const uint8_t* CopyRow(const uint8_t* row, const CDibImage* image) {
    memcpy(image->rowBuffer, row, image->stride);
    return image->rowBuffer;
}

template <DibPixelReader Read>
const uint8_t* PaletteTo24(const uint8_t* row, const CDibImage* image) {
    uint8_t* out = image->rowBuffer;
    for (uint32_t x = 0; x < image->width; ++x, out += 3) Write24(out, 0, DibPaletteWord(*image, Read(row, (int)x)));
    return image->rowBuffer;
}
template <DibPixelReader Read>
const uint8_t* ColourTo24(const uint8_t* row, const CDibImage* image) {
    uint8_t* out = image->rowBuffer;
    for (uint32_t x = 0; x < image->width; ++x, out += 3) Write24(out, 0, Read(row, (int)x));
    return image->rowBuffer;
}
const uint8_t* Row32To24(const uint8_t* row, const CDibImage* image) {
    DibLoops().to24From32(reinterpret_cast<const uint32_t*>(row), image->rowBuffer, image->width);
    return image->rowBuffer;
}
template <DibPixelReader Read>
const uint8_t* PaletteTo32(const uint8_t* row, const CDibImage* image) {
    uint8_t* out = image->rowBuffer;
    for (uint32_t x = 0; x < image->width; ++x) StoreU32(out + 4 * x, DibPaletteWord(*image, Read(row, (int)x)));
    return out;
}
template <DibPixelReader Read>
const uint8_t* ColourTo32(const uint8_t* row, const CDibImage* image) {
    uint8_t* out = image->rowBuffer;
    for (uint32_t x = 0; x < image->width; ++x) StoreU32(out + 4 * x, Read(row, (int)x));
    return out;
}
const uint8_t* Row24To32(const uint8_t* row, const CDibImage* image) {
    DibLoops().to32From24(row, reinterpret_cast<uint32_t*>(image->rowBuffer), image->width);
    return image->rowBuffer;
}

// ---- Row writers and samplers

template <DibPixelWriter Write>
void WriteRow(uint8_t* row, const uint32_t* values, uint32_t count) {
    for (uint32_t x = 0; x < count; ++x) Write(row, (int)x, values[x]);
}
void WriteRow24(uint8_t* row, const uint32_t* values, uint32_t count) { DibLoops().to24From32(values, row, count); }
void WriteRow32(uint8_t* row, const uint32_t* values, uint32_t count) { memcpy(row, values, 4 * (size_t)count); }

template <DibPixelReader Read, DibPixelWriter Write>
void SampleRow(uint8_t* out, const uint8_t* in, const uint32_t* column, uint32_t count) {
    for (uint32_t x = 0; x < count; ++x) Write(out, (int)x, Read(in, (int)column[x]));
}
// Whole bytes a pixel: copied as they are.
template <size_t kBytes>
void SampleBytes(uint8_t* out, const uint8_t* in, const uint32_t* column, uint32_t count) {
    for (uint32_t x = 0; x < count; ++x, out += kBytes) memcpy(out, in + kBytes * (size_t)column[x], kBytes);
}

// ---- Empty image

uint8_t g_emptyRow[8];
const uint8_t* EmptyRow(const uint8_t*, const CDibImage*) { return g_emptyRow; }
uint32_t ReadNothing(const uint8_t*, int) { return 0; }
void WriteNothing(uint8_t*, int, uint32_t) {}
void WriteNoRow(uint8_t*, const uint32_t*, uint32_t) {}
void SampleNothing(uint8_t*, const uint8_t*, const uint32_t*, uint32_t) {}

constexpr uint32_t kAllBits = 0xffffff;

template <DibPixelReader Read, DibPixelWriter Write, uint32_t kMask, uint32_t kShift>
constexpr DibDepthTraits PaletteTraits(DibRowConverter toIndex8, DibRowConverter copy8) {
    return {Read, Write, PackSame, toIndex8, PaletteTo24<Read>, PaletteTo32<Read>, copy8, PaletteTo24<Read>,
            PaletteTo32<Read>, WriteRow<Write>, SampleRow<Read, Write>, kMask, kShift, 1, kAllBits};
}
template <DibPixelReader Read, DibPixelWriter Write>
constexpr DibDepthTraits ColourTraits(DibColourPacker pack, DibRowSampler sample, uint32_t mask, uint32_t shift,
                                      uint32_t fillClass, uint32_t significant) {
    return {Read, Write, pack, GreyIndices<Read>, ColourTo24<Read>, ColourTo32<Read>, GreyIndices<Read>,
            ColourTo24<Read>, ColourTo32<Read>, WriteRow<Write>, sample, mask, shift, fillClass, significant};
}

const DibDepthTraits kTraits1 = PaletteTraits<Read1, Write1, 7, 3>(UnpackIndices<Read1>, UnpackIndices<Read1>);
const DibDepthTraits kTraits2 = PaletteTraits<Read2, Write2, 3, 2>(UnpackIndices<Read2>, UnpackIndices<Read2>);
const DibDepthTraits kTraits4 = PaletteTraits<Read4, Write4, 1, 1>(UnpackIndices<Read4>, UnpackIndices<Read4>);
const DibDepthTraits kTraits8 = {Read8, Write8, PackSame, SameRow, PaletteTo24<Read8>, PaletteTo32<Read8>,
                                 CopyRow, PaletteTo24<Read8>, PaletteTo32<Read8>, WriteRow<Write8>, SampleBytes<1>,
                                 0, 0, 1, kAllBits};
const DibDepthTraits kTraits12 =
    ColourTraits<Read12, Write12>(Pack12, SampleRow<Read12, Write12>, 1, 1, 3, 0xf0f0f0);
const DibDepthTraits kTraits15 = ColourTraits<Read15, Write15>(Pack15, SampleBytes<2>, 0, 0, 2, 0xf8f8f8);
const DibDepthTraits kTraits16 = ColourTraits<Read16, Write16>(Pack16, SampleBytes<2>, 0, 0, 2, 0xf8fcf8);
const DibDepthTraits kTraits24 = {Read24, Write24, PackSame, GreyIndices24, SameRow, Row24To32,
                                  GreyIndices24, CopyRow, Row24To32, WriteRow24, SampleBytes<3>, 0, 0, 3, kAllBits};
const DibDepthTraits kTraits32 = {Read32, Write32, PackSame, GreyIndices32, Row32To24, SameRow,
                                  GreyIndices32, Row32To24, CopyRow, WriteRow32, SampleBytes<4>, 0, 0, 4, kAllBits};
const DibDepthTraits kTraitsEmpty = {ReadNothing, WriteNothing, PackSame, EmptyRow, EmptyRow, EmptyRow, EmptyRow,
                                     EmptyRow, EmptyRow, WriteNoRow, SampleNothing, 0, 0, 0, 0};

} // namespace

const DibDepthTraits* DibTraitsForDepth(uint32_t depth) {
    switch (depth) {
    case 1: return &kTraits1;
    case 2: return &kTraits2;
    case 4: return &kTraits4;
    case 8: return &kTraits8;
    case 12: return &kTraits12;
    case 15: return &kTraits15;
    case 16: return &kTraits16;
    case 24: return &kTraits24;
    case 32: return &kTraits32;
    default: return nullptr;
    }
}

const DibDepthTraits& DibEmptyTraits() { return kTraitsEmpty; }

bool DibNormaliseRect(int x, int y, int width, int height, DibSpan* out) {
    int64_t left = x, top = y, right, bottom;
    if (width >= 0) {
        right = left + width;
    } else {
        right = left + 1;
        left = right + width;
    }
    if (height >= 0) {
        bottom = top + height;
    } else {
        bottom = top + 1;
        top = bottom + height;
    }
    // Keep the span inside int; an image is at most 32,768 pixels wide anyway.
    auto clampInt = [](int64_t v) { return (int)(v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : v); };
    *out = {clampInt(left), clampInt(top), clampInt(right), clampInt(bottom)};
    return left < right && top < bottom;
}

bool DibClipRect(int x, int y, int width, int height, uint32_t imageWidth, uint32_t imageHeight, DibSpan* out) {
    if (!DibNormaliseRect(x, y, width, height, out)) return false;
    if (out->left < 0) out->left = 0;
    if (out->top < 0) out->top = 0;
    if ((int64_t)out->right > (int64_t)imageWidth) out->right = (int)imageWidth;
    if ((int64_t)out->bottom > (int64_t)imageHeight) out->bottom = (int)imageHeight;
    return out->left < out->right && out->top < out->bottom;
}

void DibCopyBitRun(uint8_t* dst, size_t dstBit, const uint8_t* src, size_t srcBit, size_t count) {
    if (count == 0) return;
    if (((dstBit | srcBit) & 7) == 0) {
        // Byte-aligned: whole bytes, then the leading bits of the last one.
        uint8_t* d = dst + (dstBit >> 3);
        const uint8_t* s = src + (srcBit >> 3);
        const size_t whole = count >> 3, rest = count & 7;
        // Long rows go by the string instruction, which is at its best on whole rows of a large image.
        if (whole >= 1024) __movsb(d, s, whole);
        else memcpy(d, s, whole);
        if (rest) {
            const uint8_t keep = (uint8_t)(0xff >> rest);
            d[whole] = (uint8_t)((d[whole] & keep) | (s[whole] & ~keep));
        }
        return;
    }
    // General case, one destination byte at a time. Source bytes outside the run read as 0.
    const ptrdiff_t srcFirst = (ptrdiff_t)(srcBit >> 3), srcLast = (ptrdiff_t)((srcBit + count - 1) >> 3);
    auto srcByte = [&](ptrdiff_t i) -> unsigned { return i < srcFirst || i > srcLast ? 0u : src[i]; };
    const size_t dstEnd = dstBit + count;
    for (size_t j = dstBit >> 3; j <= (dstEnd - 1) >> 3; ++j) {
        // Source bit that lands on bit 0 (the most significant) of destination byte j.
        const ptrdiff_t s = (ptrdiff_t)srcBit + ((ptrdiff_t)(j * 8) - (ptrdiff_t)dstBit);
        const ptrdiff_t q = s >= 0 ? s >> 3 : -((-s + 7) >> 3);
        const int shift = (int)(s - q * 8);
        const unsigned window = (srcByte(q) << 8) | srcByte(q + 1);
        const uint8_t value = (uint8_t)(window >> (8 - shift));
        // Destination bits of byte j that belong to the run.
        const size_t lo = j * 8 < dstBit ? dstBit - j * 8 : 0;
        const size_t hi = (j + 1) * 8 > dstEnd ? dstEnd - j * 8 : 8;
        const uint8_t mask = (uint8_t)((0xff >> lo) & (0xff << (8 - hi)));
        dst[j] = (uint8_t)((dst[j] & ~mask) | (value & mask));
    }
}
