// CDibImage conversions: bit depth, reduction to a palette, grey levels, threshold and alpha masks.
#include "image/ColourDistance.h"
#include "image/DibImageDetail.h"
#include "image/loops/DibLoops.h"

#include <vector>

namespace {

// The palette depth for a colour count: up to 2 colours 1 bit, 3-4 2 bits, 5-16 4 bits, more 8 bits.
uint32_t PaletteBitsFor(uint32_t count) { return count <= 2 ? 1 : count <= 4 ? 2 : count <= 16 ? 4 : 8; }

// The nearest of `count` palette words by ColourDistanceAbs; on equal distances the lowest index.
uint32_t NearestEntry(const uint32_t* colours, uint32_t count, uint32_t colour) {
    uint32_t best = 0, bestDistance = 0xffffffff;
    for (uint32_t i = 0; i < count && bestDistance; ++i) {
        const uint32_t d = ColourDistanceAbs(colours[i], colour);
        if (d < bestDistance) bestDistance = d, best = i;
    }
    return best;
}

// Remembers recent nearest-entry answers: photos repeat colours, and a palette search costs `count` steps.
class NearestEntryCache {
public:
    NearestEntryCache(const uint32_t* colours, uint32_t count) : m_colours(colours), m_count(count) {
        for (Slot& s : m_slots) s.colour = 0xffffffff; // no 0x00RRGGBB key has a fourth byte of 255
    }
    uint32_t Find(uint32_t colour) {
        colour &= 0xffffff;
        Slot& s = m_slots[(colour * 2654435761u) >> (32 - kBits)];
        if (s.colour != colour) s = {colour, NearestEntry(m_colours, m_count, colour)};
        return s.index;
    }

private:
    static constexpr int kBits = 12;
    struct Slot {
        uint32_t colour, index;
    };
    const uint32_t* m_colours;
    uint32_t m_count;
    Slot m_slots[1 << kBits];
};

} // namespace

bool CDibImage::ConvertDepth(const CDibImage& image, uint32_t newDepth) {
    return DibFromSource(*this, image, [&](const CDibImage& source) {
        if (newDepth == 0) newDepth = 24;
        if (!source.HasPixels() || newDepth < 12) {
            Create(0, 0, 0, 0, 0);
            return false;
        }
        if (newDepth == source.depth) return Copy(source);
        if (!Create(newDepth, source.width, source.height, kDibNoFill, kDibHeapPixels)) return false;
        const DibRowWriter write = DibTraitsOf(*this).writeRow;
        for (uint32_t y = height; y-- > 0;) {
            uint8_t* out = RowAddress((int)y);
            if (source.depth == 24 && depth == 32)
                DibLoops().to32From24(source.RowAddress((int)y), DibWords(out), width);
            else
                write(out, DibColourWords(source, (int)y), width);
        }
        return true;
    });
}

bool CDibImage::ToPalette(const CDibImage& image, uint32_t spec, const uint32_t* colours) {
    return DibFromSource(*this, image, [&](const CDibImage& source) {
        uint32_t count = spec & 0xffffff, bits = spec >> 24;
        if (count == 0) count = depth >= 1 && depth <= 7 ? 1u << depth : 256;
        if (bits == 0) bits = PaletteBitsFor(count);
        if (!source.HasPixels() || (bits != 1 && bits != 2 && bits != 4 && bits != 8)) {
            Create(0, 0, 0, 0, 0);
            return false;
        }
        if (count > (1u << bits)) count = 1u << bits;

        // The palette to map to: the caller's, or this image's own, saved before Create resets it. An image
        // without a palette (empty or true colour) gives the default palette of the new depth.
        uint32_t used[256];
        const bool ownPalette = !colours && HasPixels() && !trueColour;
        if (ownPalette) colours = reinterpret_cast<const uint32_t*>(memcpy(used, palette, 4 * count));
        if (!Create(bits, source.width, source.height, kDibNoFill, kDibHeapPixels)) return false;
        if (!colours) colours = reinterpret_cast<const uint32_t*>(memcpy(used, palette, 4 * count));
        for (uint32_t i = 0; i < count; ++i) SetPaletteColor((int)i, colours[i]);

        NearestEntryCache nearest(colours, count);
        std::vector<uint32_t> indices(width);
        for (uint32_t y = height; y-- > 0;) {
            const uint32_t* in = DibColourWords(source, (int)y);
            for (uint32_t x = 0; x < width; ++x) indices[x] = nearest.Find(in[x]);
            DibTraitsOf(*this).writeRow(RowAddress((int)y), indices.data(), width);
        }
        return true;
    });
}

bool CDibImage::GreyFrom(const CDibImage& source) { return Copy(source) && MakeGrey(); }

bool CDibImage::MakeGrey() {
    if (!HasPixels()) return false;
    if (!trueColour) {
        for (int i = 0; i < 256; ++i) {
            const uint8_t g = DibGreyLevel(DibPaletteWord(*this, (uint32_t)i));
            SetPaletteEntry(i, g, g, g);
        }
        return true;
    }
    // Every true-colour depth's index row holds its grey levels; they widen to grey words in the row
    // buffer in place (from the right, as each word lies at or after its level).
    uint32_t* greys = DibWords(rowBuffer);
    for (uint32_t y = height; y-- > 0;) {
        uint8_t* row = RowAddress((int)y);
        const uint8_t* levels = rowToIndex8(row, this);
        for (uint32_t x = width; x-- > 0;) greys[x] = levels[x] * 0x010101u;
        DibTraitsOf(*this).writeRow(row, greys, width);
    }
    return true;
}

bool CDibImage::GreyIndex8From(const CDibImage& image) {
    return DibFromSource(*this, image, [&](const CDibImage& source) {
        if (!source.HasPixels() || !Create(8, source.width, source.height, kDibNoFill, kDibHeapPixels)) return false;
        for (int i = 0; i < 256; ++i) SetPaletteColor(i, (uint32_t)i * 0x010101u);
        for (uint32_t y = height; y-- > 0;) {
            uint8_t* out = RowAddress((int)y);
            if (source.trueColour) {
                // The index rows of true-colour depths are their grey levels.
                const uint8_t* in = source.RowAddress((int)y);
                if (source.depth == 24) DibLoops().grey24(in, out, width);
                else if (source.depth == 32) DibLoops().grey32(in, out, width);
                else memcpy(out, source.rowToIndex8(in, &source), width);
                continue;
            }
            const uint32_t* in = DibColourWords(source, (int)y);
            for (uint32_t x = 0; x < width; ++x) out[x] = DibGreyLevel(in[x]);
        }
        return true;
    });
}

bool CDibImage::Threshold1From(const CDibImage& image) {
    return DibFromSource(*this, image, [&](const CDibImage& source) {
        if (!source.HasPixels() || !Create(1, source.width, source.height, kDibNoFill, kDibHeapPixels)) return false;
        std::vector<uint32_t> bits(width);
        for (uint32_t y = height; y-- > 0;) {
            const uint32_t* in = DibColourWords(source, (int)y);
            for (uint32_t x = 0; x < width; ++x) {
                const uint32_t c = in[x];
                bits[x] = 29 * (c & 255) + 76 * (((c >> 16) & 255) + 2 * ((c >> 8) & 255)) > 32767;
            }
            DibTraitsOf(*this).writeRow(RowAddress((int)y), bits.data(), width);
        }
        return true;
    });
}

bool CDibImage::MaskToColor(const CDibImage& image, int mode, COLORREF colour) {
    return DibFromSource(*this, image, [&](const CDibImage& source) {
        if (source.depth != 8 || !source.HasPixels() || mode < 0 || mode > 3) return false;
        const uint32_t rgb = (uint32_t)GetRValue(colour) << 16 | (uint32_t)GetGValue(colour) << 8 | GetBValue(colour);
        // Modes 2 and 3 take the blue byte of the mask's palette entry.
        uint8_t alpha[256];
        for (int v = 0; v < 256; ++v) {
            const uint8_t level = mode < 2 ? (uint8_t)v : source.palette[v].rgbBlue;
            alpha[v] = (mode & 1) ? (uint8_t)(255 - level) : level;
        }
        if (!Create(32, source.width, source.height, kDibNoFill, kDibHeapPixels)) return false;
        for (uint32_t y = height; y-- > 0;) {
            const uint8_t* in = source.RowAddress((int)y);
            uint8_t* out = RowAddress((int)y);
            for (uint32_t x = 0; x < width; ++x) StoreU32(out + 4 * x, rgb | (uint32_t)alpha[in[x]] << 24);
        }
        return true;
    });
}

bool CDibImage::CompactPalette() {
    if (depth != 8 || !HasPixels()) return false;
    // Each entry maps to the first entry equal to it.
    uint8_t map[256];
    for (int i = 0; i < 256; ++i) {
        int j = 0;
        while (DibPaletteWord(*this, (uint32_t)j) != DibPaletteWord(*this, (uint32_t)i)) ++j;
        map[i] = (uint8_t)j;
    }
    bool used[256] = {};
    for (uint32_t y = 0; y < height; ++y) {
        uint8_t* row = RowAddress((int)y);
        memset(row + width, 0, stride - width);
        for (uint32_t x = 0; x < width; ++x) used[map[row[x]]] = true;
    }
    // Fill each free slot from the highest used slot above it.
    int top = 255;
    for (int i = 0; i < 256; ++i) {
        if (used[i]) continue;
        while (top > i && !used[top]) --top;
        if (top <= i) break;
        palette[i] = palette[top];
        // Every entry that showed slot `top` now shows slot i.
        for (uint8_t& m : map)
            if (m == top) m = (uint8_t)i;
        used[i] = true;
        used[top] = false;
    }
    bool identity = true;
    for (int i = 0; i < 256; ++i) identity = identity && map[i] == i;
    if (identity) return true;
    for (uint32_t y = 0; y < height; ++y) {
        uint8_t* row = RowAddress((int)y);
        for (uint32_t x = 0; x < width; ++x) row[x] = map[row[x]];
    }
    return true;
}
