// Per-depth pixel readers, writers, colour packers and row converters of CDibImage.
#include "image/DibImageDetail.h"

#include <intrin.h>

namespace {

// ---- Readers and writers

uint32_t Read1(const uint8_t* row, int x) { return (row[x >> 3] >> (7 - (x & 7))) & 1; }
void Write1(uint8_t* row, int x, uint32_t v) {
    const uint8_t bit = (uint8_t)(0x80 >> (x & 7));
    row[x >> 3] = (uint8_t)((v & 1) ? row[x >> 3] | bit : row[x >> 3] & ~bit);
}

uint32_t Read2(const uint8_t* row, int x) { return (row[x >> 2] >> ((3 - (x & 3)) * 2)) & 3; }
void Write2(uint8_t* row, int x, uint32_t v) {
    const int shift = (3 - (x & 3)) * 2;
    row[x >> 2] = (uint8_t)((row[x >> 2] & ~(3 << shift)) | ((v & 3) << shift));
}

uint32_t Read4(const uint8_t* row, int x) { return (x & 1) ? row[x >> 1] & 15 : row[x >> 1] >> 4; }
void Write4(uint8_t* row, int x, uint32_t v) {
    uint8_t& b = row[x >> 1];
    b = (x & 1) ? (uint8_t)((b & 0xf0) | (v & 15)) : (uint8_t)((b & 0x0f) | ((v & 15) << 4));
}

uint32_t Read8(const uint8_t* row, int x) { return row[x]; }
void Write8(uint8_t* row, int x, uint32_t v) { row[x] = (uint8_t)v; }

// Two pixels share three bytes: B0 G0 | R0 B1 | G1 R1 (high nibble first).
uint32_t Read12(const uint8_t* row, int x) {
    const uint8_t* p = row + 3 * (x >> 1);
    uint32_t r, g, b;
    if (x & 1) {
        b = p[1] & 15;
        g = p[2] >> 4;
        r = p[2] & 15;
    } else {
        b = p[0] >> 4;
        g = p[0] & 15;
        r = p[1] >> 4;
    }
    return (r << 20) | (g << 12) | (b << 4);
}
void Write12(uint8_t* row, int x, uint32_t c) {
    uint8_t* p = row + 3 * (x >> 1);
    const uint32_t r = (c >> 20) & 15, g = (c >> 12) & 15, b = (c >> 4) & 15;
    if (x & 1) {
        p[1] = (uint8_t)((p[1] & 0xf0) | b);
        p[2] = (uint8_t)((g << 4) | r);
    } else {
        p[0] = (uint8_t)((b << 4) | g);
        p[1] = (uint8_t)((p[1] & 0x0f) | (r << 4));
    }
}

uint32_t Pack15(uint32_t c) {
    return ((c >> 9) & 0x7c00) | ((c >> 6) & 0x03e0) | ((c >> 3) & 0x001f) | ((c >> 16) & 0x8000);
}
uint32_t Unpack15(uint32_t w) {
    return ((w & 0x7c00) << 9) | ((w & 0x03e0) << 6) | ((w & 0x001f) << 3) | ((w & 0x8000) << 16);
}
uint32_t Read15(const uint8_t* row, int x) { return Unpack15(LoadU16(row + 2 * x)); }
void Write15(uint8_t* row, int x, uint32_t c) { StoreU16(row + 2 * x, (uint16_t)Pack15(c)); }

uint32_t Pack16(uint32_t c) { return ((c >> 8) & 0xf800) | ((c >> 5) & 0x07e0) | ((c >> 3) & 0x001f); }
uint32_t Unpack16(uint32_t w) { return ((w & 0xf800) << 8) | ((w & 0x07e0) << 5) | ((w & 0x001f) << 3); }
uint32_t Read16(const uint8_t* row, int x) { return Unpack16(LoadU16(row + 2 * x)); }
void Write16(uint8_t* row, int x, uint32_t c) { StoreU16(row + 2 * x, (uint16_t)Pack16(c)); }

// Three bytes only: the last pixel of a DIB section or of caller memory may end at a page boundary.
uint32_t Read24(const uint8_t* row, int x) {
    const uint8_t* p = row + 3 * x;
    return p[0] | (p[1] << 8) | ((uint32_t)p[2] << 16);
}
void Write24(uint8_t* row, int x, uint32_t c) {
    uint8_t* p = row + 3 * x;
    p[0] = (uint8_t)c;
    p[1] = (uint8_t)(c >> 8);
    p[2] = (uint8_t)(c >> 16);
}

uint32_t Read32(const uint8_t* row, int x) { return LoadU32(row + 4 * x); }
void Write32(uint8_t* row, int x, uint32_t c) { StoreU32(row + 4 * x, c); }

uint32_t Pack12(uint32_t c) { return ((c >> 12) & 0xf00) | ((c >> 8) & 0x0f0) | ((c >> 4) & 0x00f); }
uint32_t PackSame(uint32_t c) { return c; }

// ---- Row converters

const uint8_t* UnpackIndices(const uint8_t* row, const CDibImage* image) {
    uint8_t* out = image->rowBuffer;
    for (uint32_t x = 0; x < image->width; ++x) out[x] = (uint8_t)image->readPixel(row, (int)x);
    return out;
}
const uint8_t* GreyIndices(const uint8_t* row, const CDibImage* image) {
    uint8_t* out = image->rowBuffer;
    for (uint32_t x = 0; x < image->width; ++x) out[x] = DibGreyLevel(image->readPixel(row, (int)x));
    return out;
}
const uint8_t* SameRow(const uint8_t* row, const CDibImage*) { return row; }
const uint8_t* CopyRow(const uint8_t* row, const CDibImage* image) {
    memcpy(image->rowBuffer, row, image->stride);
    return image->rowBuffer;
}

void Put24(uint8_t* p, uint32_t c) {
    p[0] = (uint8_t)c;
    p[1] = (uint8_t)(c >> 8);
    p[2] = (uint8_t)(c >> 16);
}
const uint8_t* PaletteTo24(const uint8_t* row, const CDibImage* image) {
    uint8_t* out = image->rowBuffer;
    for (uint32_t x = 0; x < image->width; ++x, out += 3)
        Put24(out, DibPaletteWord(*image, image->readPixel(row, (int)x)));
    return image->rowBuffer;
}
const uint8_t* ColourTo24(const uint8_t* row, const CDibImage* image) {
    uint8_t* out = image->rowBuffer;
    for (uint32_t x = 0; x < image->width; ++x, out += 3) Put24(out, image->readPixel(row, (int)x));
    return image->rowBuffer;
}
const uint8_t* PaletteTo32(const uint8_t* row, const CDibImage* image) {
    uint8_t* out = image->rowBuffer;
    for (uint32_t x = 0; x < image->width; ++x)
        StoreU32(out + 4 * x, DibPaletteWord(*image, image->readPixel(row, (int)x)));
    return out;
}
const uint8_t* ColourTo32(const uint8_t* row, const CDibImage* image) {
    uint8_t* out = image->rowBuffer;
    for (uint32_t x = 0; x < image->width; ++x) StoreU32(out + 4 * x, image->readPixel(row, (int)x));
    return out;
}
const uint8_t* Row24To32(const uint8_t* row, const CDibImage* image) {
    uint8_t* out = image->rowBuffer;
    for (uint32_t x = 0; x < image->width; ++x) StoreU32(out + 4 * x, Read24(row, (int)x));
    return out;
}

// ---- Empty image

uint8_t g_emptyRow[8];
const uint8_t* EmptyRow(const uint8_t*, const CDibImage*) { return g_emptyRow; }
uint32_t ReadNothing(const uint8_t*, int) { return 0; }
void WriteNothing(uint8_t*, int, uint32_t) {}

constexpr uint32_t kAllBits = 0xffffff;

const DibDepthTraits kTraits1 = {Read1, Write1, PackSame, UnpackIndices, PaletteTo24, PaletteTo32,
                                 UnpackIndices, PaletteTo24, PaletteTo32, 7, 3, 1, kAllBits};
const DibDepthTraits kTraits2 = {Read2, Write2, PackSame, UnpackIndices, PaletteTo24, PaletteTo32,
                                 UnpackIndices, PaletteTo24, PaletteTo32, 3, 2, 1, kAllBits};
const DibDepthTraits kTraits4 = {Read4, Write4, PackSame, UnpackIndices, PaletteTo24, PaletteTo32,
                                 UnpackIndices, PaletteTo24, PaletteTo32, 1, 1, 1, kAllBits};
const DibDepthTraits kTraits8 = {Read8, Write8, PackSame, SameRow, PaletteTo24, PaletteTo32,
                                 CopyRow, PaletteTo24, PaletteTo32, 0, 0, 1, kAllBits};
const DibDepthTraits kTraits12 = {Read12, Write12, Pack12, GreyIndices, ColourTo24, ColourTo32,
                                  GreyIndices, ColourTo24, ColourTo32, 1, 1, 3, 0xf0f0f0};
const DibDepthTraits kTraits15 = {Read15, Write15, Pack15, GreyIndices, ColourTo24, ColourTo32,
                                  GreyIndices, ColourTo24, ColourTo32, 0, 0, 2, 0xf8f8f8};
const DibDepthTraits kTraits16 = {Read16, Write16, Pack16, GreyIndices, ColourTo24, ColourTo32,
                                  GreyIndices, ColourTo24, ColourTo32, 0, 0, 2, 0xf8fcf8};
const DibDepthTraits kTraits24 = {Read24, Write24, PackSame, GreyIndices, SameRow, Row24To32,
                                  GreyIndices, CopyRow, Row24To32, 0, 0, 3, kAllBits};
const DibDepthTraits kTraits32 = {Read32, Write32, PackSame, GreyIndices, ColourTo24, SameRow,
                                  GreyIndices, ColourTo24, CopyRow, 0, 0, 4, kAllBits};
const DibDepthTraits kTraitsEmpty = {ReadNothing, WriteNothing, PackSame, EmptyRow, EmptyRow, EmptyRow,
                                     EmptyRow, EmptyRow, EmptyRow, 0, 0, 0, 0};

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
