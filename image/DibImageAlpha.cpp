// CDibImage alpha composition (AlphaPut, AlphaBlendPut), masked drawing and the alpha helpers.
#include "image/DibImageDetail.h"

#include <algorithm>

namespace {

// Each colour channel (s * w + d * (257 - w)) >> 8 with w = a + 1; the fourth byte is left at 0.
// Red and blue go together: each sum stays below 2^16, so neither spills into the other.
uint32_t BlendChannels(uint32_t s, uint32_t d, uint32_t a) {
    const uint32_t w = a + 1, v = 257 - w;
    const uint32_t redBlue = (((s & 0xff00ff) * w + (d & 0xff00ff) * v) >> 8) & 0xff00ff;
    const uint32_t green = (((s & 0x00ff00) * w + (d & 0x00ff00) * v) >> 8) & 0x00ff00;
    return redBlue | green;
}

// The 32-bit destination pixel d after a source pixel s of alpha a (not 0) went over it.
uint32_t AlphaOver32(uint32_t s, uint32_t d, uint32_t a) {
    const uint32_t da = d >> 24;
    if (da == 0) return s; // an empty layer takes the source as it is
    const uint32_t w = a + 1, alpha = da < 255 ? (a * w + da * (257 - w)) >> 8 : 255;
    return BlendChannels(s, d, a) | (alpha << 24);
}

template <typename Visit>
void ForEachStoredPixel32(const CDibImage& image, Visit visit) {
    for (uint32_t y = 0; y < image.height; ++y) {
        uint8_t* row = image.RowAddress((int)y);
        for (uint32_t x = 0; x < image.width; ++x) visit(row + 4 * x);
    }
}

} // namespace

bool CDibImage::AlphaPut(const CDibImage& source, int x, int y) {
    if (&source == this) {
        const auto snapshot = DibSnapshot(source);
        return snapshot && AlphaPut(*snapshot, x, y);
    }
    DibPlacement p;
    if (depth < 12 || source.depth != 32 || !DibPlace(*this, source, x, y, &p)) return false;
    for (int r = 0; r < p.height; ++r) {
        const uint8_t* in = source.RowAddress(p.srcY + r) + 4 * p.srcX;
        uint8_t* out = RowAddress(p.dstY + r);
        if (depth == 32) {
            // The game's sprites: whole words, without the per-depth accessors.
            uint8_t* o = out + 4 * p.dstX;
            for (int c = 0; c < p.width; ++c) {
                const uint32_t s = LoadU32(in + 4 * c), a = s >> 24;
                if (a == 255) StoreU32(o + 4 * c, s);
                else if (a) StoreU32(o + 4 * c, AlphaOver32(s, LoadU32(o + 4 * c), a));
            }
            continue;
        }
        for (int c = 0; c < p.width; ++c) {
            const uint32_t s = LoadU32(in + 4 * c), a = s >> 24;
            if (a == 0) continue;
            const int dx = p.dstX + c;
            const uint32_t d = readPixel(out, dx);
            // No alpha of its own: the destination is opaque; keep whatever top bit it stores.
            writePixel(out, dx, BlendChannels(s, d, a) | (d & 0xff000000));
        }
    }
    return true;
}

bool CDibImage::AlphaBlendPut(const CDibImage& source, int x, int y) {
    if (&source == this) {
        const auto snapshot = DibSnapshot(source);
        return snapshot && AlphaBlendPut(*snapshot, x, y);
    }
    DibPlacement p;
    if (depth < 12 || !DibPlace(*this, source, x, y, &p)) return false;
    const bool paletteSource = !source.trueColour;
    const uint32_t blendedTop = (source.depth == 32 || paletteSource) ? 0xff000000 : 0;
    for (int r = 0; r < p.height; ++r) {
        const uint8_t* in = source.RowAddress(p.srcY + r);
        uint8_t* out = RowAddress(p.dstY + r);
        for (int c = 0; c < p.width; ++c) {
            const uint32_t raw = source.readPixel(in, p.srcX + c);
            const uint32_t s = paletteSource ? DibPaletteWord(source, raw) : raw, a = s >> 24;
            const int dx = p.dstX + c;
            const uint32_t d = readPixel(out, dx);
            uint32_t v;
            if (a == 0) v = paletteSource ? d | 0xff000000 : d;
            else if (a == 255) v = s;
            else v = BlendChannels(s, d, a) | blendedTop;
            writePixel(out, dx, v);
        }
    }
    return true;
}

bool CDibImage::MaskedPut(const CDibImage& source, int x, int y, const CDibImage& mask) {
    if (&source == this || &mask == this) {
        const auto snapshot = DibSnapshot(*this);
        return snapshot && MaskedPut(&source == this ? *snapshot : source, x, y, &mask == this ? *snapshot : mask);
    }
    // The mask is read at the source's own positions, so it has to cover the whole source.
    if (!mask.HasPixels() || mask.width < source.width || mask.height < source.height) return false;
    DibPlacement p;
    if (!DibPlace(*this, source, x, y, &p)) return false;
    const bool lookUp = source.depth < 12 && depth >= 12;
    for (int r = 0; r < p.height; ++r) {
        const uint8_t* in = source.RowAddress(p.srcY + r);
        const uint8_t* m = mask.RowAddress(p.srcY + r);
        uint8_t* out = RowAddress(p.dstY + r);
        for (int c = 0; c < p.width; ++c) {
            const int sx = p.srcX + c;
            if (mask.readPixel(m, sx) != 0) continue;
            const uint32_t s = source.readPixel(in, sx);
            writePixel(out, p.dstX + c, lookUp ? DibPaletteWord(source, s) : s);
        }
    }
    return true;
}

bool DibAnyFourthByte(const uint8_t* pixels, size_t count) {
    // Combined a block at a time (a loop the compiler vectorises), the fourth bytes checked after each.
    constexpr size_t kBlock = 1024;
    for (size_t done = 0; done < count; done += kBlock) {
        const size_t end = std::min(count, done + kBlock);
        uint32_t any = 0;
        for (size_t i = done; i < end; ++i) any |= LoadU32(pixels + 4 * i);
        if (any >> 24) return true;
    }
    return false;
}

bool CDibImage::HasAlpha() const {
    // 32-bit rows have no padding: the pixels lie one after the other through the whole block.
    return depth == 32 && HasPixels() && DibAnyFourthByte(bits, (size_t)width * height);
}

bool CDibImage::SetAlpha(uint8_t value) {
    if (depth != 32 || !HasPixels()) return false;
    ForEachStoredPixel32(*this, [value](uint8_t* p) { p[3] = value; });
    return true;
}

int CDibImage::GetAlphaKind() const {
    const uint8_t* values;
    size_t count, step;
    if (depth == 32 && HasPixels()) {
        // 32-bit rows have no padding: the fourth bytes lie 4 bytes apart through the whole block.
        values = bits + 3;
        count = (size_t)width * height;
        step = 4;
    } else if (!trueColour && paletteSize) {
        values = &palette[0].rgbReserved;
        count = paletteSize;
        step = sizeof(RGBQUAD);
    } else {
        return 0;
    }
    const uint8_t last = values[(count - 1) * step];
    if (last != 0 && last != 255) return 2;
    for (size_t i = 0; i + 1 < count; ++i)
        if (values[i * step] != last) return 2;
    return last ? 1 : 0;
}

bool CDibImage::FlattenAlpha(uint32_t background) {
    if (depth != 32 || !HasPixels()) return false;
    ForEachStoredPixel32(*this, [background](uint8_t* p) {
        const uint32_t a = p[3];
        if (a == 255) return;
        for (int i = 0; i < 3; ++i) {
            const uint32_t bg = (background >> (8 * i)) & 255;
            p[i] = a == 0 ? (uint8_t)bg : (uint8_t)((p[i] * (a + 1) + (256 - a) * bg) >> 8);
        }
        p[3] = 0xff;
    });
    return true;
}
