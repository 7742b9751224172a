// CDibImage::Rotate: rotation by any angle about a centre, bilinear (alpha-aware) or nearest pixel.
//
// Positions are in quarter pixels relative to the centre; source pixel k has its centre at 4k - centre.
// A positive angle turns clockwise on screen (a quarter turn matches TransformFrom's turn 1).
#include "image/DibImageDetail.h"
#include "image/FixedAngle.h"

#include <algorithm>

namespace {

constexpr uint32_t kMaxSourceSize = 4096, kMaxResultSize = 8192;

// The result rectangle in quarter pixels relative to the centre, and the rotation.
struct RotateFrame {
    int64_t sine, cosine;   // x 65,536
    int64_t minX, minY;     // the rotated corners' minimum
    uint32_t width, height; // of the result
};

bool MakeFrame(uint32_t angle, int64_t cx4, int64_t cy4, uint32_t w, uint32_t h, RotateFrame* f) {
    f->sine = FixedSin((int32_t)angle);
    f->cosine = FixedSin((int32_t)(angle + 0x8000));
    const int64_t left = -cx4 - 2, top = -cy4 - 2, xs[2] = {left, left + 4 * (int64_t)w},
                  ys[2] = {top, top + 4 * (int64_t)h};
    int64_t minX = INT64_MAX, maxX = INT64_MIN, minY = INT64_MAX, maxY = INT64_MIN;
    for (int64_t x : xs)
        for (int64_t y : ys) {
            const int64_t rx = (x * f->cosine - y * f->sine) >> 16, ry = (x * f->sine + y * f->cosine) >> 16;
            minX = std::min(minX, rx), maxX = std::max(maxX, rx);
            minY = std::min(minY, ry), maxY = std::max(maxY, ry);
        }
    f->minX = minX;
    f->minY = minY;
    const int64_t width = (maxX - minX + 3) >> 2, height = (maxY - minY + 3) >> 2;
    if (width > kMaxResultSize || height > kMaxResultSize) return false;
    f->width = (uint32_t)width;
    f->height = (uint32_t)height;
    return true;
}

// Bilinear sampling of a true-colour source. Outside pixels are the background, with its fourth byte as
// alpha; a source without alpha counts as opaque. Samples of alpha 0 add nothing to the colour, and the
// result's fourth byte is the weighted mean of the four samples' fourth bytes.
class BilinearSampler {
public:
    BilinearSampler(const CDibImage& source, uint32_t background)
        : source_(source), background_(background), hasAlpha_(source.HasAlpha()) {}

    // (u, v): the back-mapped point in source pixels with 8 fractional bits.
    // Returns false when no sample counts (the pixel keeps the background).
    bool Sample(int64_t u, int64_t v, uint32_t* colour) const {
        const int64_t x0 = u >> 8, y0 = v >> 8;
        const uint32_t fx = (uint32_t)(u & 255), fy = (uint32_t)(v & 255);
        const uint32_t weights[4] = {(256 - fx) * (256 - fy), fx * (256 - fy), (256 - fx) * fy, fx * fy};
        const bool inside = x0 >= 0 && y0 >= 0 && x0 + 1 < (int64_t)source_.width && y0 + 1 < (int64_t)source_.height;
        uint32_t pixels[4];
        if (inside) {
            const uint8_t* row0 = source_.RowAddress((int)y0);
            const uint8_t* row1 = source_.RowAddress((int)y0 + 1);
            pixels[0] = source_.readPixel(row0, (int)x0);
            pixels[1] = source_.readPixel(row0, (int)x0 + 1);
            pixels[2] = source_.readPixel(row1, (int)x0);
            pixels[3] = source_.readPixel(row1, (int)x0 + 1);
            if (!hasAlpha_) {
                *colour = Blend(pixels, weights, 0xf);
                return true;
            }
        } else {
            for (int k = 0; k < 4; ++k) pixels[k] = At(x0 + (k & 1), y0 + (k >> 1));
        }
        // Samples that count: opaque, and with a weight (a point on a pixel's centre has only that one).
        uint32_t present = 0;
        for (int k = 0; k < 4; ++k)
            if (weights[k] && Opaque(x0 + (k & 1), y0 + (k >> 1), pixels[k])) present |= 1u << k;
        if (!present) return false;
        *colour = Blend(pixels, weights, present);
        return true;
    }

private:
    bool Contains(int64_t x, int64_t y) const {
        return x >= 0 && y >= 0 && x < (int64_t)source_.width && y < (int64_t)source_.height;
    }
    uint32_t At(int64_t x, int64_t y) const {
        return Contains(x, y) ? source_.GetPixel((int)x, (int)y) : background_;
    }
    bool Opaque(int64_t x, int64_t y, uint32_t pixel) const {
        return Contains(x, y) && !hasAlpha_ ? true : (pixel >> 24) != 0;
    }
    // Colour channels over the present samples (a shift when all four count), the fourth byte over all.
    static uint32_t Blend(const uint32_t* pixels, const uint32_t* weights, uint32_t present) {
        uint32_t sums[3] = {}, alpha = 0, total = 0;
        for (int k = 0; k < 4; ++k) {
            alpha += weights[k] * (pixels[k] >> 24);
            if (!(present & (1u << k))) continue;
            total += weights[k];
            for (int c = 0; c < 3; ++c) sums[c] += weights[k] * ((pixels[k] >> (8 * c)) & 255);
        }
        uint32_t colour = (alpha >> 16) << 24;
        for (int c = 0; c < 3; ++c) {
            const uint32_t channel = present == 0xf ? sums[c] >> 16 : sums[c] / total;
            colour |= std::min(channel, 255u) << (8 * c);
        }
        return colour;
    }

    const CDibImage& source_;
    uint32_t background_;
    bool hasAlpha_;
};

} // namespace

bool CDibImage::Rotate(const CDibImage& source, uint32_t angle, uint32_t flags, int* centreX, int* centreY,
                       uint32_t background) {
    if (&source == this) return Rotate(CDibImage(source), angle, flags, centreX, centreY, background);
    if (!source.HasPixels() || source.width > kMaxSourceSize || source.height > kMaxSourceSize) return false;
    const bool quarterPixels = flags & kDibRotateQuarterPixels;
    const int64_t cx = centreX ? *centreX : 0, cy = centreY ? *centreY : 0;
    const int64_t cx4 = quarterPixels ? cx : 4 * cx, cy4 = quarterPixels ? cy : 4 * cy;
    RotateFrame f;
    if (!MakeFrame(angle & 0x1ffff, cx4, cy4, source.width, source.height, &f)) return false;
    if (!Create(source.depth, f.width, f.height, background, kDibHeapPixels)) return false;
    if (paletteSize) memcpy(palette, source.palette, sizeof(RGBQUAD) * paletteSize);

    // The back-mapped centre of result pixel (i, j), in source quarter pixels x 65,536, steps along i by
    // (4 cos, -4 sin) and along j by (4 sin, 4 cos); >> 10 gives source pixels with 8 fractional bits.
    const BilinearSampler bilinear(source, background);
    const bool nearest = (flags & kDibRotateNearest) || !source.trueColour;
    for (uint32_t j = 0; j < height; ++j) {
        const int64_t x = f.minX + 2, y = f.minY + 2 + 4 * (int64_t)j;
        int64_t su = x * f.cosine + y * f.sine + (cx4 << 16), sv = -x * f.sine + y * f.cosine + (cy4 << 16);
        uint8_t* out = RowAddress((int)j);
        for (uint32_t i = 0; i < width; ++i, su += 4 * f.cosine, sv -= 4 * f.sine) {
            const int64_t u = su >> 10, v = sv >> 10;
            if (nearest) {
                const int64_t sx = (u + 128) >> 8, sy = (v + 128) >> 8;
                const bool inside = sx >= 0 && sy >= 0 && sx < (int64_t)source.width && sy < (int64_t)source.height;
                writePixel(out, (int)i, inside ? source.GetPixel((int)sx, (int)sy) : background);
                continue;
            }
            uint32_t colour;
            // A pixel without samples takes the background as it is (the fill above, written again in case
            // the background is Create's no-fill value).
            writePixel(out, (int)i, bilinear.Sample(u, v, &colour) ? colour : background);
        }
    }
    // Where the centre landed in the result.
    if (centreX) *centreX = (int)(quarterPixels ? -2 - f.minX : -f.minX / 4);
    if (centreY) *centreY = (int)(quarterPixels ? -2 - f.minY : -f.minY / 4);
    return true;
}
