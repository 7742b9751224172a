// CDibImage::Rotate: rotation by any angle about a centre, bilinear (alpha-aware) or nearest pixel.
//
// Positions are in quarter pixels relative to the centre; source pixel k has its centre at 4k - centre.
// A positive angle turns clockwise on screen (a quarter turn matches TransformFrom's turn 1).
#include "image/DibImageDetail.h"
#include "image/FixedSin.h"

#include <algorithm>
#include <cmath>

#include <emmintrin.h>

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
    f->cosine = FixedCos((int32_t)angle);
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

// The back-mapped centre of result pixel (i, j) in source quarter pixels x 65,536: along a row it steps
// by (4 cos, -4 sin). Shifted right by 10 it is a source pixel position with 8 fractional bits.
struct RowWalk {
    int64_t u, v, du, dv;
    RowWalk(const RotateFrame& f, int64_t cx4, int64_t cy4, uint32_t j) {
        const int64_t x = f.minX + 2, y = f.minY + 2 + 4 * (int64_t)j;
        u = x * f.cosine + y * f.sine + (cx4 << 16);
        v = -x * f.sine + y * f.cosine + (cy4 << 16);
        du = 4 * f.cosine;
        dv = -4 * f.sine;
    }
    // The first and last-plus-one i whose point may touch the source (within a pixel of it), with a
    // margin of a pixel; every other pixel of the row lies clear of the source.
    void Span(uint32_t sourceW, uint32_t sourceH, uint32_t width, uint32_t* begin, uint32_t* end) const {
        double lo = 0, hi = width;
        auto clip = [&](double start, double step, double limit) {
            // start + i * step must lie in [-1, limit] (source pixels).
            if (step == 0) {
                if (start < -1 || start > limit) hi = lo;
                return;
            }
            double a = (-1 - start) / step, b = (limit - start) / step;
            if (a > b) std::swap(a, b);
            lo = std::max(lo, a), hi = std::min(hi, b);
        };
        const double scale = 1.0 / (1 << 18);
        clip(u * scale, du * scale, sourceW);
        clip(v * scale, dv * scale, sourceH);
        *begin = lo >= hi ? 0 : (uint32_t)std::max(0.0, std::floor(lo) - 1);
        *end = lo >= hi ? 0 : (uint32_t)std::min((double)width, std::ceil(hi) + 2);
    }
};

// Bilinear sampling of a true-colour source. Outside pixels are the background, with its fourth byte as
// alpha; a source without alpha counts as opaque. Samples of alpha 0 add nothing to the colour, and the
// result's fourth byte is the weighted mean of the four samples' fourth bytes.
class BilinearSampler {
public:
    BilinearSampler(const CDibImage& source, uint32_t background, bool hasAlpha)
        : source_(source), background_(background), hasAlpha_(hasAlpha) {}

    // (u, v): the back-mapped point in source pixels with 8 fractional bits.
    // Returns false when no sample counts (the pixel keeps the background).
    bool Sample(int64_t u, int64_t v, uint32_t* colour) const {
        const int64_t x0 = u >> 8, y0 = v >> 8;
        const uint32_t fx = (uint32_t)(u & 255), fy = (uint32_t)(v & 255);
        if (!hasAlpha_ && (uint64_t)x0 < source_.width - 1 && (uint64_t)y0 < source_.height - 1) {
            const uint8_t* row0 = source_.RowAddress((int)y0);
            const uint8_t* row1 = source_.RowAddress((int)y0 + 1);
            *colour = Interpolate(source_.readPixel(row0, (int)x0), source_.readPixel(row0, (int)x0 + 1),
                                  source_.readPixel(row1, (int)x0), source_.readPixel(row1, (int)x0 + 1), fx, fy);
            return true;
        }
        const uint32_t weights[4] = {(256 - fx) * (256 - fy), fx * (256 - fy), (256 - fx) * fy, fx * fy};
        uint32_t pixels[4], present = 0;
        for (int k = 0; k < 4; ++k) {
            const int64_t x = x0 + (k & 1), y = y0 + (k >> 1);
            const bool inside = x >= 0 && y >= 0 && x < (int64_t)source_.width && y < (int64_t)source_.height;
            pixels[k] = inside ? source_.GetPixel((int)x, (int)y) : background_;
            // Samples that count: opaque, and with a weight (a point on a pixel's centre has only that one).
            if (weights[k] && ((inside && !hasAlpha_) || (pixels[k] >> 24))) present |= 1u << k;
        }
        if (!present) return false;
        *colour = Blend(pixels, weights, present);
        return true;
    }

    // The four samples all count: (p00 (256 - fx) + p01 fx) (256 - fy) + (p10 (256 - fx) + p11 fx) fy,
    // >> 16, for the four bytes at once. Blue and red (green and the fourth byte) share a word; the
    // row sums stay below 2^16 per byte, the column sums below 2^24 in 32-bit lanes.
    static uint32_t Interpolate(uint32_t p00, uint32_t p01, uint32_t p10, uint32_t p11, uint32_t fx, uint32_t fy) {
        const uint32_t gx = 256 - fx, gy = 256 - fy;
        auto lanes = [](uint32_t pair) { return (uint64_t)(pair & 0xffff) | (uint64_t)(pair >> 16) << 32; };
        auto mix = [&](uint32_t mask, int shift) {
            const uint32_t top = ((p00 >> shift) & mask) * gx + ((p01 >> shift) & mask) * fx;
            const uint32_t bottom = ((p10 >> shift) & mask) * gx + ((p11 >> shift) & mask) * fx;
            const uint64_t sum = lanes(top) * gy + lanes(bottom) * fy;
            return ((uint32_t)(sum >> 16) & 0xff) | ((uint32_t)(sum >> 48) & 0xff) << 16;
        };
        return mix(0x00ff00ff, 0) | mix(0x00ff00ff, 8) << 8;
    }

private:
    // Colour channels over the present samples, the fourth byte over all.
    static uint32_t Blend(const uint32_t* pixels, const uint32_t* weights, uint32_t present) {
        uint32_t sums[3] = {}, alpha = 0, total = 0;
        for (int k = 0; k < 4; ++k) {
            alpha += weights[k] * (pixels[k] >> 24);
            if (!(present & (1u << k))) continue;
            total += weights[k];
            for (int c = 0; c < 3; ++c) sums[c] += weights[k] * ((pixels[k] >> (8 * c)) & 255);
        }
        uint32_t colour = (alpha >> 16) << 24;
        for (int c = 0; c < 3; ++c) colour |= std::min(sums[c] / total, 255u) << (8 * c);
        return colour;
    }

    const CDibImage& source_;
    uint32_t background_;
    bool hasAlpha_;
};

// Interpolate for two adjacent 32-bit pixels at p and the two below them at q, in vector registers:
// both rows are mixed along x at once (16-bit lanes), then the column sums are formed exactly from the
// low and high halves of their products.
inline uint32_t Interpolate32(const uint8_t* p, const uint8_t* q, uint32_t fx, uint32_t fy) {
    const __m128i zero = _mm_setzero_si128();
    // Bytes p00 q00 p01 q01, widened: left = p00 q00, right = p01 q01.
    const __m128i quad = _mm_unpacklo_epi32(_mm_loadl_epi64((const __m128i*)p), _mm_loadl_epi64((const __m128i*)q));
    const __m128i left = _mm_unpacklo_epi8(quad, zero), right = _mm_unpackhi_epi8(quad, zero);
    const __m128i rows = _mm_add_epi16(_mm_mullo_epi16(left, _mm_set1_epi16((short)(256 - fx))),
                                       _mm_mullo_epi16(right, _mm_set1_epi16((short)fx)));
    const __m128i weightsY = _mm_unpacklo_epi64(_mm_set1_epi16((short)(256 - fy)), _mm_set1_epi16((short)fy));
    const __m128i low = _mm_mullo_epi16(rows, weightsY), high = _mm_mulhi_epu16(rows, weightsY);
    const __m128i sum = _mm_add_epi32(_mm_unpacklo_epi16(low, high), _mm_unpackhi_epi16(low, high));
    const __m128i bytes = _mm_packs_epi32(_mm_srli_epi32(sum, 16), zero);
    return (uint32_t)_mm_cvtsi128_si32(_mm_packus_epi16(bytes, zero));
}

// A run of bilinear pixels from a 32-bit source without alpha, all four samples inside: the hot loop.
// Returns the first i it did not handle.
uint32_t Interior32(const CDibImage& source, uint8_t* out, uint32_t i, uint32_t end, RowWalk& walk) {
    // Locals: the stores through `out` could otherwise change the image's fields as far as the compiler knows.
    const uint32_t lastX = source.width - 1, lastY = source.height - 1;
    const uint8_t* row0 = source.row0;
    const ptrdiff_t stride = (ptrdiff_t)source.stride;
    int64_t su = walk.u, sv = walk.v;
    const int64_t du = walk.du, dv = walk.dv;
    for (; i < end; ++i, su += du, sv += dv) {
        const int64_t u = su >> 10, v = sv >> 10;
        const uint64_t x0 = (uint64_t)(u >> 8), y0 = (uint64_t)(v >> 8);
        if (x0 >= lastX || y0 >= lastY) break;
        const uint8_t* p = row0 - (ptrdiff_t)y0 * stride + 4 * x0;
        StoreU32(out + 4 * (size_t)i, Interpolate32(p, p - stride, (uint32_t)(u & 255), (uint32_t)(v & 255)));
    }
    walk.u = su;
    walk.v = sv;
    return i;
}

// A run of nearest pixels from a 32-bit source, the point inside: the other hot loop.
uint32_t Nearest32(const CDibImage& source, uint8_t* out, uint32_t i, uint32_t end, RowWalk& walk) {
    const uint8_t* row0 = source.row0;
    const ptrdiff_t stride = (ptrdiff_t)source.stride;
    int64_t su = walk.u, sv = walk.v;
    for (; i < end; ++i, su += walk.du, sv += walk.dv) {
        const uint64_t x = (uint64_t)(((su >> 10) + 128) >> 8), y = (uint64_t)(((sv >> 10) + 128) >> 8);
        if (x >= source.width || y >= source.height) break;
        StoreU32(out + 4 * (size_t)i, LoadU32(row0 - (ptrdiff_t)y * stride + 4 * x));
    }
    walk.u = su;
    walk.v = sv;
    return i;
}

// Writes the background over pixels [begin, end) of row y.
void FillBackground(CDibImage& image, int y, uint32_t begin, uint32_t end, uint32_t background) {
    if (begin >= end) return;
    if (image.depth == 32) std::fill_n((uint32_t*)(image.RowAddress(y) + 4 * (size_t)begin), end - begin, background);
    else image.FillRect((int)begin, y, (int)(end - begin), 1, background);
}

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
    if (!Create(source.depth, f.width, f.height, kDibNoFill, kDibHeapPixels)) return false;
    if (paletteSize) memcpy(palette, source.palette, sizeof(RGBQUAD) * paletteSize);

    // Pixels no sample reaches take the background as given.
    const bool nearest = (flags & kDibRotateNearest) || !source.trueColour;
    const bool hasAlpha = !nearest && source.HasAlpha();
    const BilinearSampler bilinear(source, background, hasAlpha);
    for (uint32_t j = 0; j < height; ++j) {
        // Only a span of the row may touch the source; the rest is background.
        RowWalk walk(f, cx4, cy4, j);
        uint32_t begin, end;
        walk.Span(source.width, source.height, width, &begin, &end);
        FillBackground(*this, (int)j, 0, begin, background);
        FillBackground(*this, (int)j, std::max(begin, end), width, background);
        walk.u += begin * walk.du;
        walk.v += begin * walk.dv;
        uint8_t* out = RowAddress((int)j);
        for (uint32_t i = begin; i < end; ++i, walk.u += walk.du, walk.v += walk.dv) {
            if (source.depth == 32) {
                // The hot loops run until the point leaves the source's inside.
                i = nearest ? Nearest32(source, out, i, end, walk)
                    : hasAlpha ? i
                               : Interior32(source, out, i, end, walk);
                if (i == end) break;
            }
            const int64_t u = walk.u >> 10, v = walk.v >> 10;
            uint32_t colour = background;
            if (nearest) {
                const int64_t sx = (u + 128) >> 8, sy = (v + 128) >> 8;
                if (sx >= 0 && sy >= 0 && sx < (int64_t)source.width && sy < (int64_t)source.height)
                    colour = source.GetPixel((int)sx, (int)sy);
            } else if (!bilinear.Sample(u, v, &colour)) {
                colour = background;
            }
            writePixel(out, (int)i, colour);
        }
    }
    // Where the centre landed in the result.
    if (centreX) *centreX = (int)(quarterPixels ? -2 - f.minX : -f.minX / 4);
    if (centreY) *centreY = (int)(quarterPixels ? -2 - f.minY : -f.minY / 4);
    return true;
}
