// The bitmap-font blob that CDibImage::DrawText writes with.
//
// Layout (little-endian, no alignment):
//   short header  2 bytes: first and last character code
//   long header  16 bytes: magic 0x4e460000, flags byte, 3 reserved, u16 first, u16 last, 4 reserved
//   offset table  one u32 per character first..last, counted from the start of the blob
//   metrics block optional, right behind the table: u32 magic 0x55aa00ff, u32 length L (9..4096),
//                 then records of u16 type, u16 length n, n bytes; the first byte is a signed value:
//                 type 0 default spacing, 1 reference spacing, 2 baseline
//   glyphs        u8 width, u8 height, then height rows of (width + 7) / 8 bytes; the first stored row
//                 is the bottom row, the leftmost pixel is the top bit, a clear bit is ink
// The readers take the blob's size on trust: BitmapFontFits checks a blob against its length first.
#pragma once

#include <cstdint>

constexpr uint32_t kBitmapFontMagic = 0x4e460000;
constexpr uint32_t kBitmapFontMetricsMagic = 0x55aa00ff;

struct BitmapFontHeader {
    uint16_t first, last;
    uint8_t headerSize; // 2 or 16: where the offset table starts
    uint8_t flags;
};

struct BitmapFontMetrics {
    int32_t spacing = 0, refSpacing = 1, baseline = 0;
};

// Reads the header; false when the blob is unusable (first > last).
bool ReadBitmapFontHeader(const uint8_t* blob, BitmapFontHeader* out);
BitmapFontMetrics ReadBitmapFontMetrics(const uint8_t* blob, const BitmapFontHeader& header);
// True when everything the readers and the text engine take from the blob lies within its size bytes: the
// header, the offset table, a metrics block (its magic is always looked for right behind the table) and
// every glyph. A blob from outside the program must pass this before it is used.
bool BitmapFontFits(const void* blob, size_t size);
// The glyph of a character code, or null when the font does not have it.
const uint8_t* BitmapFontGlyph(const uint8_t* blob, const BitmapFontHeader& header, unsigned code);
