// Bitmap-font blobs and the text engine of CDibImage.
#include "image/BitmapFont.h"

#include "image/DibImageDetail.h"

bool ReadBitmapFontHeader(const uint8_t* blob, BitmapFontHeader* out) {
    if (LoadU32(blob) == kBitmapFontMagic) {
        out->headerSize = 16;
        out->flags = blob[4];
        out->first = LoadU16(blob + 8);
        out->last = LoadU16(blob + 10);
    } else {
        out->headerSize = 2;
        out->flags = 0;
        out->first = blob[0];
        out->last = blob[1];
    }
    return out->first <= out->last;
}

BitmapFontMetrics ReadBitmapFontMetrics(const uint8_t* blob, const BitmapFontHeader& header) {
    BitmapFontMetrics metrics;
    const uint8_t* block = blob + header.headerSize + 4 * ((size_t)header.last - header.first + 1);
    if (LoadU32(block) != kBitmapFontMetricsMagic) return metrics;
    const uint32_t length = LoadU32(block + 4);
    if (length < 9 || length > 4096) return metrics;
    for (uint32_t at = 8; at + 4 <= length;) {
        const uint16_t type = LoadU16(block + at), size = LoadU16(block + at + 2);
        if (size >= 1 && at + 5 <= length) {
            const int32_t value = (int8_t)block[at + 4];
            if (type == 0) metrics.spacing = value;
            else if (type == 1) metrics.refSpacing = value;
            else if (type == 2) metrics.baseline = value;
        }
        at += 4 + size;
    }
    return metrics;
}

bool BitmapFontFits(const void* blob, size_t size) {
    const uint8_t* data = static_cast<const uint8_t*>(blob);
    BitmapFontHeader h;
    if (!data || size < 4 || (LoadU32(data) == kBitmapFontMagic && size < 16) || !ReadBitmapFontHeader(data, &h))
        return false;
    const uint64_t tableEnd = h.headerSize + 4 * ((uint64_t)h.last - h.first + 1);
    if (tableEnd + 4 > size) return false;
    if (LoadU32(data + tableEnd) == kBitmapFontMetricsMagic) {
        if (tableEnd + 8 > size) return false;
        const uint32_t length = LoadU32(data + tableEnd + 4);
        if (length >= 9 && length <= 4096 && tableEnd + length > size) return false;
    }
    for (unsigned code = h.first; code <= h.last; ++code) {
        const uint64_t at = LoadU32(data + h.headerSize + 4 * (size_t)(code - h.first));
        if (at + 2 > size) return false;
        const uint64_t glyphBytes = (uint64_t)data[at + 1] * ((data[at] + 7) / 8);
        if (at + 2 + glyphBytes > size) return false;
    }
    return true;
}

const uint8_t* BitmapFontGlyph(const uint8_t* blob, const BitmapFontHeader& header, unsigned code) {
    if (code < header.first || code > header.last) return nullptr;
    return blob + LoadU32(blob + header.headerSize + 4 * (size_t)(code - header.first));
}

namespace {

BitmapFontHeader HeaderOf(const CDibImage& image) {
    return {image.fontFirstChar, image.fontLastChar, image.fontHeaderSize, image.fontFlags};
}

} // namespace

void CDibImage::SetFont(const void* blob) {
    if (!blob) {
        fontBlob = nullptr;
        return;
    }
    const uint8_t* data = static_cast<const uint8_t*>(blob);
    BitmapFontHeader h;
    const bool usable = ReadBitmapFontHeader(data, &h);
    fontFirstChar = h.first;
    fontLastChar = h.last;
    fontFlags = h.flags;
    fontHeaderSize = h.headerSize;
    if (!usable) {
        fontBlob = nullptr;
        return;
    }
    fontBlob = data;
    const BitmapFontMetrics m = ReadBitmapFontMetrics(data, h);
    fontSpacing = m.spacing;
    fontRefSpacing = m.refSpacing;
    fontBaseline = m.baseline;
    SetCharSpacing(charSpacing);

    if (textVAlign == 0) {
        textYOffset = 0;
    } else if (textVAlign == 3 && fontBaseline != 0) {
        textYOffset = (int8_t)-fontBaseline;
    } else {
        // The reference glyph: the blank when a small font starts at or below it, else the first one.
        const unsigned range = (unsigned)h.last - h.first;
        unsigned index = (h.first <= 32 && range <= 32) ? (32u - h.first) % 256 : h.first % 256u;
        if (index > range) index = 0;
        const int8_t glyphHeight = (int8_t)BitmapFontGlyph(data, h, h.first + index)[1];
        textYOffset = textVAlign == 1 ? (int8_t)(glyphHeight >> 1) : glyphHeight;
    }
}

void CDibImage::SetCharSpacing(uint32_t spacing) {
    charSpacing = spacing;
    charAdvanceGap = spacing == kDibFontSpacing ? fontSpacing : fontSpacing - fontRefSpacing + (int32_t)spacing;
}

void CDibImage::SetTextColor(DibPen pen, uint32_t colour, int which) {
    pen = ResolvePen(pen);
    if (which == 0) {
        textPen = pen;
        textColor = colour;
    } else {
        textBkPen = pen;
        textBkColor = colour;
    }
}

int CDibImage::DrawText(int x, int y, const char* text) {
    if (!fontBlob || !text) return 0;
    const BitmapFontHeader h = HeaderOf(*this);
    // Characters are bytes 0-255: German letters lie above 127.
    const unsigned char* chars = reinterpret_cast<const unsigned char*>(text);
    const int gap = charAdvanceGap;

    if (textAlign != 0 || y == kDibMeasureText) {
        int width = 0;
        bool first = true;
        for (const unsigned char* c = chars; *c; ++c) {
            const uint8_t* glyph = BitmapFontGlyph(fontBlob, h, *c);
            if (!glyph) continue;
            width += glyph[0] + (first ? 0 : gap);
            first = false;
        }
        if (y == kDibMeasureText) return width;
        // Signed halving: a large negative spacing can make the width negative.
        x -= textAlign == 1 ? width / 2 : width;
    }
    y -= textYOffset;

    const DibPen backgroundPen = textBkPen;
    int p = 0;
    bool first = true;
    for (const unsigned char* c = chars; *c; ++c) {
        const uint8_t* glyph = BitmapFontGlyph(fontBlob, h, *c);
        if (!glyph) continue;
        const int preceding = first ? 0 : gap;
        p += preceding;
        if (backgroundPen && gap < 0) {
            // The box starts where the previous glyph ended; the glyph then draws only its ink, so that
            // its background never covers the ink of its left neighbour.
            FillTextBox(x + p - preceding, y, glyph[0] + preceding, glyph[1], backgroundPen);
            textBkPen = nullptr;
            DrawGlyph(x + p, y, glyph);
            textBkPen = backgroundPen;
        } else {
            if (backgroundPen && preceding > 0) FillTextBox(x + p - preceding, y, preceding, glyph[1], backgroundPen);
            DrawGlyph(x + p, y, glyph);
        }
        p += glyph[0];
        first = false;
    }
    return p;
}

void CDibImage::DrawGlyph(int x, int y, const uint8_t* glyph) {
    if (!glyph || (!textPen && !textBkPen)) return;
    const int w = glyph[0], h = glyph[1], rowBytes = (w + 7) / 8;
    const uint8_t* data = glyph + 2;
    for (int r = 0; r < h; ++r, data += rowBytes) {
        const int py = y + h - 1 - r; // the first stored row is the bottom one
        for (int c = 0; c < w; ++c) {
            if (data[c >> 3] & (0x80 >> (c & 7))) {
                if (textBkPen) textBkPen(this, x + c, py, textBkColor);
            } else if (textPen) {
                textPen(this, x + c, py, textColor);
            }
        }
    }
}

void CDibImage::FillTextBox(int x, int y, int w, int h, DibPen pen) {
    if (!pen) return;
    for (int py = y + h - 1; py >= y; --py)
        for (int px = x; px < x + w; ++px) pen(this, px, py, textBkColor);
}
