// CDibImage composition: Put, CropFrom, TransformFrom, MoveRect and Scroll.
#include "image/DibImageDetail.h"

#include <algorithm>
#include <cstdlib>

bool DibPlace(const CDibImage& dest, const CDibImage& source, int x, int y, DibPlacement* p) {
    if (!dest.HasPixels() || !source.HasPixels()) return false;
    const int64_t srcW = source.width, srcH = source.height;
    if (x >= (int64_t)dest.width || y >= (int64_t)dest.height || x + srcW < 1 || y + srcH < 1) return false;
    p->srcX = x < 0 ? -x : 0;
    p->srcY = y < 0 ? -y : 0;
    p->dstX = x < 0 ? 0 : x;
    p->dstY = y < 0 ? 0 : y;
    p->width = (int)std::min<int64_t>(srcW - p->srcX, (int64_t)dest.width - p->dstX);
    p->height = (int)std::min<int64_t>(srcH - p->srcY, (int64_t)dest.height - p->dstY);
    return p->width > 0 && p->height > 0;
}

namespace {

// Depths whose values carry neither a fourth byte nor a top bit.
bool PlainDepth(uint32_t depth) { return depth <= 8 || depth == 12 || depth == 16 || depth == 24; }

uint32_t NormalisePutFlags(uint32_t flags, const CDibImage& dest, const CDibImage& source) {
    if (PlainDepth(dest.depth)) flags &= ~0xe0000000u;
    if (PlainDepth(source.depth)) flags &= ~0x0e000000u;
    if (dest.depth == 15) flags &= ~kPutKeepDestBit30;
    if (source.depth == 15) flags &= ~kPutSkipSourceBit30;
    // Only the tests 1 (key) and 8 (bit 30) of either nibble are defined.
    flags &= ~0x66000000u;
    if (flags & kPutSkipSourceKey) flags = (flags & ~(0x0e000000u | kPutKeyMask)) | (flags & source.significantBits);
    if (flags & kPutKeepDestKey) flags = (flags & ~(0xe0000000u | kPutKeyMask)) | (flags & dest.significantBits);
    return flags;
}

void PutSameDepth(CDibImage& dest, const CDibImage& source, const DibPlacement& p) {
    const size_t bpp = DibStorageBits(dest.depth);
    for (int r = 0; r < p.height; ++r)
        DibCopyBitRun(dest.RowAddress(p.dstY + r), p.dstX * bpp, source.RowAddress(p.srcY + r), p.srcX * bpp,
                      p.width * bpp);
}

void Put24To32(CDibImage& dest, const CDibImage& source, const DibPlacement& p) {
    for (int r = 0; r < p.height; ++r) {
        const uint8_t* in = source.RowAddress(p.srcY + r) + 3 * p.srcX;
        uint8_t* out = dest.RowAddress(p.dstY + r) + 4 * p.dstX;
        for (int c = 0; c < p.width; ++c, in += 3, out += 4) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            out[3] = 0xff;
        }
    }
}

// Whether a value is left out by a test of the flag word: 1 equal to the key, 8 bit 30 set.
inline bool Excluded(uint32_t test, uint32_t key, uint32_t v) {
    return (test == 1 && (v & kPutKeyMask) == key) || (test == 8 && (v & 0x40000000));
}

// 32 bits to 32 bits with tests (the game's glyph tiles and markers): whole words.
void PutPixels32(CDibImage& dest, const CDibImage& source, const DibPlacement& p, uint32_t flags) {
    const uint32_t key = flags & kPutKeyMask;
    const uint32_t sourceTest = (flags >> 24) & 15, destTest = flags >> 28;
    for (int r = 0; r < p.height; ++r) {
        const uint8_t* in = source.RowAddress(p.srcY + r) + 4 * p.srcX;
        uint8_t* out = dest.RowAddress(p.dstY + r) + 4 * p.dstX;
        for (int c = 0; c < p.width; ++c) {
            if (destTest && Excluded(destTest, key, LoadU32(out + 4 * c))) continue;
            const uint32_t s = LoadU32(in + 4 * c);
            if (!Excluded(sourceTest, key, s)) StoreU32(out + 4 * c, s);
        }
    }
}

void PutPixels(CDibImage& dest, const CDibImage& source, const DibPlacement& p, uint32_t flags) {
    if (dest.depth == 32 && source.depth == 32) return PutPixels32(dest, source, p, flags);
    const uint32_t key = flags & kPutKeyMask;
    const uint32_t sourceTest = (flags >> 24) & 15, destTest = flags >> 28;
    const bool opaque = dest.depth == 32 && source.depth <= 24 && destTest == 0;
    for (int r = 0; r < p.height; ++r) {
        const uint8_t* in = source.RowAddress(p.srcY + r);
        uint8_t* out = dest.RowAddress(p.dstY + r);
        for (int c = 0; c < p.width; ++c) {
            const int dx = p.dstX + c;
            if (destTest && Excluded(destTest, key, dest.readPixel(out, dx))) continue;
            const uint32_t s = source.readPixel(in, p.srcX + c);
            if (Excluded(sourceTest, key, s)) continue;
            uint32_t v = s;
            if (dest.trueColour) {
                v = DibValueColour(source, s);
                if (opaque) v |= 0xff000000;
            }
            dest.writePixel(out, dx, v);
        }
    }
}

} // namespace

bool CDibImage::Put(const CDibImage& source, int x, int y, uint32_t flags) {
    if (&source == this) {
        const auto snapshot = DibSnapshot(source);
        return snapshot && Put(*snapshot, x, y, flags);
    }
    DibPlacement p;
    if (!DibPlace(*this, source, x, y, &p)) return false;
    flags = NormalisePutFlags(flags, *this, source);
    if (source.depth == depth && (flags & 0xff000000) == 0) PutSameDepth(*this, source, p);
    else if (source.depth == 24 && depth == 32 && (flags & 0xff000000) == 0) Put24To32(*this, source, p);
    else PutPixels(*this, source, p, flags);
    return true;
}

bool CDibImage::CropFrom(const CDibImage& source, int x, int y, int w, int h) {
    if (&source == this) {
        const auto snapshot = DibSnapshot(source);
        if (!snapshot) Reset();
        return snapshot && CropFrom(*snapshot, x, y, w, h);
    }
    if (!source.HasPixels()) {
        Reset();
        return false;
    }
    DibSpan r;
    DibNormaliseRect(x, y, w, h, &r);
    const uint32_t cropW = (uint32_t)std::abs((int64_t)w), cropH = (uint32_t)std::abs((int64_t)h);
    if (!Create(source.depth, cropW, cropH, kDibNoFill, kDibHeapPixels)) {
        const uint8_t error = lastError;
        Reset();
        lastError = error;
        return false;
    }
    if (paletteSize) memcpy(palette, source.palette, sizeof(RGBQUAD) * source.paletteSize);
    // The part of the rectangle that lies inside the source.
    const int64_t left = std::max<int64_t>(r.left, 0), top = std::max<int64_t>(r.top, 0);
    const int64_t right = std::min<int64_t>((int64_t)r.left + cropW, source.width);
    const int64_t bottom = std::min<int64_t>((int64_t)r.top + cropH, source.height);
    const bool inside = left == r.left && top == r.top && right == (int64_t)r.left + cropW &&
                        bottom == (int64_t)r.top + cropH;
    if (!inside && imageSize) memset(bits, 0, imageSize);
    if (left >= right || top >= bottom) return true;
    const size_t bpp = DibStorageBits(depth);
    for (int64_t sy = top; sy < bottom; ++sy)
        DibCopyBitRun(RowAddress((int)(sy - r.top)), (size_t)(left - r.left) * bpp, source.RowAddress((int)sy),
                      (size_t)left * bpp, (size_t)(right - left) * bpp);
    return true;
}

bool CDibImage::TransformFrom(const CDibImage& source, int turn, int mirrorTopBottom, int mirrorLeftRight) {
    if (&source == this) {
        const auto snapshot = DibSnapshot(source);
        if (!snapshot) Reset();
        return snapshot && TransformFrom(*snapshot, turn, mirrorTopBottom, mirrorLeftRight);
    }
    turn &= 3;
    const int srcW = (int)source.width, srcH = (int)source.height;
    const bool odd = turn & 1;
    if (!Create(source.depth, odd ? source.height : source.width, odd ? source.width : source.height, kDibNoFill,
                kDibHeapPixels))
        return false;
    const int w = (int)width, h = (int)height;
    for (int sy = 0; sy < srcH; ++sy) {
        const uint8_t* in = source.RowAddress(sy);
        for (int sx = 0; sx < srcW; ++sx) {
            int tx, ty;
            switch (turn) {
            case 0: tx = sx, ty = sy; break;
            case 1: tx = srcH - 1 - sy, ty = sx; break;
            case 2: tx = srcW - 1 - sx, ty = srcH - 1 - sy; break;
            default: tx = sy, ty = srcW - 1 - sx; break;
            }
            if (mirrorTopBottom) ty = h - 1 - ty;
            if (mirrorLeftRight) tx = w - 1 - tx;
            writePixel(RowAddress(ty), tx, source.readPixel(in, sx));
        }
    }
    if (paletteSize) memcpy(palette, source.palette, sizeof(RGBQUAD) * paletteSize);
    return true;
}

bool CDibImage::MoveRect(int x, int y, int w, int h, int toX, int toY) {
    DibSpan r;
    if (w == 0 || h == 0 || !DibNormaliseRect(x, y, w, h, &r)) return false;
    if (r.left == toX && r.top == toY) return true;
    if (!HasPixels()) return false;
    int64_t sx = r.left, sy = r.top, tx = toX, ty = toY;
    int64_t mw = (int64_t)r.right - r.left, mh = (int64_t)r.bottom - r.top;
    // Clip the source rectangle, then the target.
    if (sx < 0) tx -= sx, mw += sx, sx = 0;
    if (sy < 0) ty -= sy, mh += sy, sy = 0;
    mw = std::min<int64_t>(mw, (int64_t)width - sx);
    mh = std::min<int64_t>(mh, (int64_t)height - sy);
    if (mw <= 0 || mh <= 0) return false;
    if (tx < 0) sx -= tx, mw += tx, tx = 0;
    if (ty < 0) sy -= ty, mh += ty, ty = 0;
    mw = std::min<int64_t>(mw, (int64_t)width - tx);
    mh = std::min<int64_t>(mh, (int64_t)height - ty);
    if (mw <= 0 || mh <= 0) return false;

    const size_t bpp = DibStorageBits(depth);
    const bool byteAligned = ((sx * bpp) | (tx * bpp) | (mw * bpp)) % 8 == 0;
    // Rows in an order that never overwrites a row still to be read.
    const bool upwards = ty > sy;
    for (int64_t i = 0; i < mh; ++i) {
        const int64_t row = upwards ? mh - 1 - i : i;
        const uint8_t* in = RowAddress((int)(sy + row));
        uint8_t* out = RowAddress((int)(ty + row));
        if (byteAligned) {
            memmove(out + tx * bpp / 8, in + sx * bpp / 8, (size_t)(mw * bpp / 8));
        } else if (in == out) {
            // Same row: take the run out first (the row buffer holds a whole row).
            DibCopyBitRun(rowBuffer, 0, in, (size_t)(sx * bpp), (size_t)(mw * bpp));
            DibCopyBitRun(out, (size_t)(tx * bpp), rowBuffer, 0, (size_t)(mw * bpp));
        } else {
            DibCopyBitRun(out, (size_t)(tx * bpp), in, (size_t)(sx * bpp), (size_t)(mw * bpp));
        }
    }
    return true;
}

void CDibImage::Scroll(int dx, int dy, uint32_t fillColour) {
    if ((dx == 0 && dy == 0) || !HasPixels()) return;
    const int64_t adx = std::abs((int64_t)dx), ady = std::abs((int64_t)dy);
    const bool fill = fillColour != kDibNoFill;
    if (adx >= width || ady >= height) {
        if (fill) FillRect(0, 0, (int)width, (int)height, fillColour);
        return;
    }
    const int keepW = (int)(width - adx), keepH = (int)(height - ady);
    MoveRect(dx < 0 ? (int)adx : 0, dy < 0 ? (int)ady : 0, keepW, keepH, dx > 0 ? dx : 0, dy > 0 ? dy : 0);
    if (!fill) return;
    if (dy > 0) FillRect(0, 0, (int)width, dy, fillColour);
    if (dy < 0) FillRect(0, keepH, (int)width, (int)ady, fillColour);
    const int restTop = dy > 0 ? dy : 0;
    if (dx > 0) FillRect(0, restTop, dx, keepH, fillColour);
    if (dx < 0) FillRect(keepW, restTop, (int)adx, keepH, fillColour);
}
