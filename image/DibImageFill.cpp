// CDibImage rectangle fills: solid at every depth, through a callback, behind the alpha, checkerboards.
#include "image/DibImageDetail.h"

#include <algorithm>
#include <intrin.h>

namespace {

// Writes the packed colour over `bytes` bytes at `out` (a whole number of pattern units).
void FillPattern(uint8_t* out, size_t bytes, const uint8_t* unit, size_t unitBytes) {
    switch (unitBytes) {
    // Whole rows are filled with the string instructions: on large images they beat a vector loop.
    case 1: memset(out, unit[0], bytes); return;
    case 2: __stosw(reinterpret_cast<unsigned short*>(out), LoadU16(unit), bytes / 2); return;
    case 4: __stosd(reinterpret_cast<unsigned long*>(out), LoadU32(unit), bytes / 4); return;
    default:
        // Three-byte units: seed one unit, then double the filled part.
        if (bytes == 0) return;
        memcpy(out, unit, unitBytes);
        for (size_t done = unitBytes; done < bytes;) {
            const size_t n = std::min(done, bytes - done);
            memcpy(out + done, out, n);
            done += n;
        }
    }
}

// The packed unit that fills the byte-aligned middle of a row.
size_t FillUnit(const CDibImage& image, uint32_t colour, uint8_t unit[4]) {
    switch (image.depth) {
    case 1: unit[0] = (colour & 1) ? 0xff : 0x00; return 1;
    case 2: unit[0] = (uint8_t)((colour & 3) * 0x55); return 1;
    case 4: unit[0] = (uint8_t)((colour & 15) * 0x11); return 1;
    case 8: unit[0] = (uint8_t)colour; return 1;
    case 12: {
        const uint8_t r = (colour >> 20) & 15, g = (colour >> 12) & 15, b = (colour >> 4) & 15;
        unit[0] = (uint8_t)(b << 4 | g);
        unit[1] = (uint8_t)(r << 4 | b);
        unit[2] = (uint8_t)(g << 4 | r);
        return 3;
    }
    case 15:
    case 16: StoreU16(unit, (uint16_t)image.packColour(colour)); return 2;
    case 24:
        unit[0] = (uint8_t)colour;
        unit[1] = (uint8_t)(colour >> 8);
        unit[2] = (uint8_t)(colour >> 16);
        return 3;
    default: StoreU32(unit, colour); return 4;
    }
}

// Blends the colour behind a pixel of alpha a (0 < a < 255), keeping the alpha.
uint32_t BlendBehind(uint32_t old, uint32_t colour) {
    const uint32_t a = old >> 24;
    uint32_t out = old & 0xff000000;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t o = (old >> shift) & 255, n = (colour >> shift) & 255;
        out |= (((o * a + (255 - a) * n) * 257) >> 16) << shift;
    }
    return out;
}

uint32_t Behind(uint32_t old, uint32_t colour) {
    const uint32_t a = old >> 24;
    if (a == 255) return old;
    if (a == 0) return colour & 0xffffff;
    return BlendBehind(old, colour);
}

} // namespace

bool CDibImage::FillRect(int x, int y, int w, int h, uint32_t colour) {
    DibSpan r;
    if (!HasPixels() || !DibClipRect(x, y, w, h, width, height, &r)) return false;
    int left = r.left, right = r.right;
    // Pixels that share a byte (or a 12-bit pair) with pixels outside the rectangle go one by one.
    if (subByteMask) {
        const int mask = (int)subByteMask;
        const int innerLeft = (left + mask) & ~mask, innerRight = right & ~mask;
        const bool noMiddle = innerLeft >= innerRight;
        for (int yy = r.top; yy < r.bottom; ++yy) {
            uint8_t* row = RowAddress(yy);
            for (int xx = left; xx < (noMiddle ? right : innerLeft); ++xx) writePixel(row, xx, colour);
            if (!noMiddle)
                for (int xx = innerRight; xx < right; ++xx) writePixel(row, xx, colour);
        }
        if (noMiddle) return true;
        left = innerLeft;
        right = innerRight;
    }
    const uint32_t bitsPerPixel = DibStorageBits(depth);
    const size_t startByte = (size_t)left * bitsPerPixel / 8;
    const size_t bytes = (size_t)right * bitsPerPixel / 8 - startByte;
    uint8_t unit[4];
    const size_t unitBytes = FillUnit(*this, colour, unit);
    if (unitBytes == 3) {
        // Three-byte units: build one row, then copy it.
        uint8_t* first = RowAddress(r.top) + startByte;
        FillPattern(first, bytes, unit, unitBytes);
        for (int yy = r.top + 1; yy < r.bottom; ++yy) memcpy(RowAddress(yy) + startByte, first, bytes);
    } else {
        for (int yy = r.top; yy < r.bottom; ++yy) FillPattern(RowAddress(yy) + startByte, bytes, unit, unitBytes);
    }
    return true;
}

bool CDibImage::FillRectCallback(int x, int y, int w, int h, uint32_t colour, DibPixelCallback callback) {
    DibSpan r;
    if (!HasPixels() || !callback || !DibClipRect(x, y, w, h, width, height, &r)) return false;
    for (int yy = r.top; yy < r.bottom; ++yy) {
        uint8_t* row = RowAddress(yy);
        for (int xx = r.left; xx < r.right; ++xx) callback(this, row, xx, yy, colour);
    }
    return true;
}

bool CDibImage::FillRectBehind(int x, int y, int w, int h, uint32_t colour) {
    DibSpan r;
    if (depth != 32 || !HasPixels() || !DibClipRect(x, y, w, h, width, height, &r)) return false;
    for (int yy = r.top; yy < r.bottom; ++yy) {
        uint8_t* row = RowAddress(yy);
        for (int xx = r.left; xx < r.right; ++xx)
            StoreU32(row + 4 * xx, Behind(LoadU32(row + 4 * xx), colour));
    }
    return true;
}

namespace {
// Chooses colour2 where bit `shift` of (column ^ row) is set; column counts from the clipped left edge
// and row is the image row + 1.
inline uint32_t CheckerColour(int column, int row, uint32_t colour1, uint32_t colour2, int shift) {
    return (((unsigned)(column ^ row) >> (shift & 31)) & 1) ? colour2 : colour1;
}
} // namespace

bool CDibImage::FillCheckerBehind(int x, int y, int w, int h, uint32_t colour1, uint32_t colour2, int shift) {
    DibSpan r;
    if (depth != 32 || !HasPixels() || !DibClipRect(x, y, w, h, width, height, &r)) return false;
    for (int yy = r.bottom - 1; yy >= r.top; --yy) {
        uint8_t* row = RowAddress(yy);
        for (int xx = r.left; xx < r.right; ++xx) {
            const uint32_t c = CheckerColour(xx - r.left, yy + 1, colour1, colour2, shift);
            StoreU32(row + 4 * xx, Behind(LoadU32(row + 4 * xx), c));
        }
    }
    return true;
}

bool CDibImage::FillChecker(int x, int y, int w, int h, uint32_t colour1, uint32_t colour2, int shift) {
    DibSpan r;
    if (!HasPixels() || !DibClipRect(x, y, w, h, width, height, &r)) return false;
    for (int yy = r.bottom - 1; yy >= r.top; --yy) {
        uint8_t* row = RowAddress(yy);
        for (int xx = r.left; xx < r.right; ++xx)
            writePixel(row, xx, CheckerColour(xx - r.left, yy + 1, colour1, colour2, shift));
    }
    return true;
}
