// Helpers shared by the CDibImage sources; not part of the image's interface.
#pragma once

#include "image/DibImage.h"

#include <cstring>
#include <memory>
#include <new>

// Writes values (colour words, or indices on palette images) as pixels 0 .. count - 1 of a row.
typedef void (*DibRowWriter)(uint8_t* row, const uint32_t* values, uint32_t count);
// Pixel x of out becomes pixel column[x] of in (both rows of the depth), for x < count.
typedef void (*DibRowSampler)(uint8_t* out, const uint8_t* in, const uint32_t* column, uint32_t count);

// The accessors and layout constants of one bit depth.
struct DibDepthTraits {
    DibPixelReader read;
    DibPixelWriter write;
    DibColourPacker pack;
    DibRowConverter toIndex8, to24, to32, copy8, copy24, copy32;
    DibRowWriter writeRow;
    DibRowSampler sampleRow;
    uint32_t subByteMask, subByteShift, fillClass, significantBits;
};

// The traits of a supported depth, or null.
const DibDepthTraits* DibTraitsForDepth(uint32_t depth);
// The accessors of an empty image.
const DibDepthTraits& DibEmptyTraits();
// The traits of an image's depth (of an empty image when it has none).
inline const DibDepthTraits& DibTraitsOf(const CDibImage& image) {
    const DibDepthTraits* traits = DibTraitsForDepth(image.depth);
    return traits ? *traits : DibEmptyTraits();
}

inline uint32_t LoadU32(const void* p) {
    uint32_t v;
    memcpy(&v, p, 4);
    return v;
}
inline void StoreU32(void* p, uint32_t v) { memcpy(p, &v, 4); }
inline uint16_t LoadU16(const void* p) {
    uint16_t v;
    memcpy(&v, p, 2);
    return v;
}
inline void StoreU16(void* p, uint16_t v) { memcpy(p, &v, 2); }

// True when one of count 32-bit pixels from `pixels` has a fourth byte other than 0.
bool DibAnyFourthByte(const uint8_t* pixels, size_t count);

// Bits per pixel in memory (15-bit pixels take 16).
inline uint32_t DibStorageBits(uint32_t depth) { return depth == 15 ? 16 : depth; }

// A palette entry as a colour word (fourth byte included).
inline uint32_t DibPaletteWord(const CDibImage& image, uint32_t index) {
    return LoadU32(&image.palette[index & 255]);
}

// The colour of a pixel value: palette images look the index up (whole entry), others pass it on.
inline uint32_t DibValueColour(const CDibImage& image, uint32_t value) {
    return image.trueColour ? value : DibPaletteWord(image, value & image.valueMask);
}

// The grey level of a colour: (29 blue + 76 red + 152 green) >> 8; the weights sum to 257, so white stays 255.
inline uint8_t DibGreyLevel(uint32_t c) {
    return (uint8_t)((29 * (c & 255) + 76 * ((c >> 16) & 255) + 152 * ((c >> 8) & 255)) >> 8);
}

// Loops over rows that do not depend on each other go in storage order (for (y = height; y-- > 0;)), the
// bottom row first: memory then goes upwards, which the processor's prefetching follows far better than the
// picture's top-down order (about 2.5 times as fast on large pictures).

// The colours of row y of an image as 0x00RRGGBB words (palette images through their palette, fourth
// byte included), in the image's row buffer or the row itself. Valid until the next converter call.
inline const uint8_t* DibColourRow(const CDibImage& image, int y) {
    return image.rowTo32(image.RowAddress(y), &image);
}
// The same as words. Rows and row buffers are 4-byte aligned.
inline const uint32_t* DibColourWords(const CDibImage& image, int y) {
    return reinterpret_cast<const uint32_t*>(DibColourRow(image, y));
}
inline uint32_t* DibWords(uint8_t* row) { return reinterpret_cast<uint32_t*>(row); }

// A rectangle (x, y, width, height) with signed sizes, normalised and clipped to width x height:
// left and top inclusive, right and bottom exclusive. False when nothing is left.
struct DibSpan {
    int left, top, right, bottom;
};
bool DibNormaliseRect(int x, int y, int width, int height, DibSpan* out);
bool DibClipRect(int x, int y, int width, int height, uint32_t imageWidth, uint32_t imageHeight, DibSpan* out);

// Copies `count` bits from bit `srcBit` of `src` to bit `dstBit` of `dst` (bit streams in memory order,
// the most significant bit of each byte first). Destination bits outside the run keep their values;
// no source byte outside the run is read. The two runs must not overlap.
void DibCopyBitRun(uint8_t* dst, size_t dstBit, const uint8_t* src, size_t srcBit, size_t count);

// Where a source lands in a destination at (x, y), clipped: the source's first column and row, the
// destination position and the size. False when the placement is rejected or nothing is left.
struct DibPlacement {
    int srcX, srcY, dstX, dstY, width, height;
};
bool DibPlace(const CDibImage& dest, const CDibImage& source, int x, int y, DibPlacement* p);

// Channel-wise blend of the three colour bytes: (old * (256 - w) + new * w) >> 8; the fourth byte stays.
uint32_t DibBlend256(uint32_t old, uint32_t colour, uint32_t weight);
// Blends the pixel at (x, y) towards the colour with weight w (0-256); points outside are left alone.
void DibBlendAt(CDibImage* image, int64_t x, int64_t y, uint32_t colour, uint32_t weight);

// A copy of an image for the operations whose source is the image itself, or null when memory runs out for
// it (the operation then fails as for a rejected source: none throws).
inline std::unique_ptr<CDibImage> DibSnapshot(const CDibImage& image) {
    try {
        return std::make_unique<CDibImage>(image);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// For the operations that make an image from a source that may be the image itself: op(source), with a
// copy in the place of a source that is the image. None of them throws: when memory runs out for the copy
// or for an operation's work rows, the image is reset and the result is false.
template <typename Op>
bool DibFromSource(CDibImage& image, const CDibImage& source, Op op) {
    try {
        if (&source != &image) return op(source);
        const CDibImage copy(source);
        return op(copy);
    } catch (const std::bad_alloc&) {
        image.Reset();
        return false;
    }
}
