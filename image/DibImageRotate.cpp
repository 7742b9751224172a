// CDibImage::Rotate: rotation by any angle about a centre, bilinear (alpha-aware) or nearest pixel.
//
// Positions are in quarter pixels relative to the centre; source pixel k has its centre at 4k - centre.
// A positive angle turns clockwise on screen (a quarter turn matches TransformFrom's turn 1).
#include "image/DibImageDetail.h"
#include "image/DibImageRotateRuns.h"
#include "image/FixedSin.h"
#include "image/loops/DibLoops.h"

#include <algorithm>
#include <memory>

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

// Back-mapped points in source pixels x 2^18 (shifted right by 10 they have 8 fractional bits). Result
// pixel (i, j) has its centre at quarter pixel (minX + 2 + 4i, minY + 2 + 4j) relative to the centre.
struct BackMap {
    int64_t u0, v0;       // of pixel (0, 0)
    int64_t du, dv;       // per pixel along a row
    int64_t duRow, dvRow; // per row
    BackMap(const RotateFrame& f, int64_t cx4, int64_t cy4) {
        const int64_t x = f.minX + 2, y = f.minY + 2;
        u0 = x * f.cosine + y * f.sine + (cx4 << 16);
        v0 = -x * f.sine + y * f.cosine + (cy4 << 16);
        du = 4 * f.cosine, dv = -4 * f.sine;
        duRow = 4 * f.sine, dvRow = 4 * f.cosine;
    }
    int64_t U(int64_t i, int64_t j) const { return u0 + i * du + j * duRow; }
    int64_t V(int64_t i, int64_t j) const { return v0 + i * dv + j * dvRow; }
};

// Pixels [first, last) of a row.
struct Run {
    int64_t first, last;
    bool Empty() const { return first >= last; }
    Run operator&(const Run& o) const { return {std::max(first, o.first), std::min(last, o.last)}; }
};

int64_t FloorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// The steps i with lo <= start + i * step < hi.
Run Steps(int64_t start, int64_t step, int64_t lo, int64_t hi) {
    if (step == 0) return start >= lo && start < hi ? Run{INT64_MIN / 4, INT64_MAX / 4} : Run{0, 0};
    if (step > 0) return {-FloorDiv(start - lo, step), -FloorDiv(start - hi, step)};
    return {FloorDiv(start - hi, -step) + 1, FloorDiv(start - lo, -step) + 1};
}

// A rectangle of back-mapped points, [uLo, uHi) x [vLo, vHi).
struct PointBox {
    int64_t uLo, uHi, vLo, vHi;
};

// The pixels of row j whose points lie in the box; an empty run starts where nothing does.
Run RowRun(const BackMap& m, int64_t j, uint32_t width, const PointBox& box) {
    const Run r = Run{0, width} & Steps(m.U(0, j), m.du, box.uLo, box.uHi) & Steps(m.V(0, j), m.dv, box.vLo, box.vHi);
    return r.Empty() ? Run{0, 0} : r;
}

// The stretches of source rows that the samples of result pixels [i, i + columns) x [j, j + rows) lie on:
// a parallelogram of the source, widened by a pixel all round. At most max of them go to spans. Only a
// hint for the caches, so floating point will do.
uint32_t BlockSpans(const BackMap& m, const CDibImage& source, int64_t i, int64_t j, uint32_t columns,
                    uint32_t rows, DibRotateSpan* spans, uint32_t max) {
    const double scale = 1.0 / (1 << 18), ax = m.du * scale, ay = m.dv * scale, bx = m.duRow * scale,
                 by = m.dvRow * scale;
    const double x = m.U(i, j) * scale - ax - bx, y = m.V(i, j) * scale - ay - by;
    const double n = columns + 1.0, k = rows + 1.0;
    const double cornerX[4] = {x, x + n * ax, x + n * ax + k * bx, x + k * bx};
    const double cornerY[4] = {y, y + n * ay, y + n * ay + k * by, y + k * by};
    const double top = std::max(0.0, *std::min_element(cornerY, cornerY + 4));
    const double bottom = std::min(source.height - 1.0, *std::max_element(cornerY, cornerY + 4));
    // The edges as x = x0 + (row - y0) slope over [yLo, yHi]. With a level edge (turns by quarters) every
    // row spans the whole width.
    struct Edge {
        double yLo, yHi, x0, y0, slope;
    } edges[4];
    bool level = false;
    for (int e = 0; e < 4; ++e) {
        const double x0 = cornerX[e], y0 = cornerY[e], x1 = cornerX[(e + 1) & 3], y1 = cornerY[(e + 1) & 3];
        level = level || y0 == y1;
        edges[e] = {std::min(y0, y1), std::max(y0, y1), x0, y0, y0 == y1 ? 0 : (x1 - x0) / (y1 - y0)};
    }
    const double widest[2] = {*std::min_element(cornerX, cornerX + 4), *std::max_element(cornerX, cornerX + 4)};
    uint32_t count = 0;
    for (int64_t row = (int64_t)top; row <= (int64_t)bottom && count < max; ++row) {
        double left = level ? widest[0] : source.width, right = level ? widest[1] : -1;
        for (int e = 0; e < 4 && !level; ++e)
            if (row >= edges[e].yLo && row <= edges[e].yHi) {
                const double at = edges[e].x0 + (row - edges[e].y0) * edges[e].slope;
                left = std::min(left, at), right = std::max(right, at);
            }
        const int64_t first = std::max<int64_t>(0, (int64_t)left);
        const int64_t last = std::min<int64_t>(source.width - 1, (int64_t)right + 1);
        if (first > last) continue;
        const uint8_t* pixels = source.RowAddress((int)row);
        const size_t bytes = source.depth / 8;
        spans[count++] = {pixels + bytes * first, pixels + bytes * last};
    }
    return count;
}

// Bilinear sampling of a true-colour source, one point at a time: what the runs leave to it near the
// source's edges, and the pixels of a source with alpha that have a clear sample. Outside pixels are the
// background, with its fourth byte as alpha; a source without alpha counts as opaque. Samples of alpha 0
// add nothing to the colour, and the result's fourth byte is the weighted mean of the four samples' fourth
// bytes. With all four samples counting, this is what the runs compute.
class BilinearSampler {
public:
    BilinearSampler(const CDibImage& source, uint32_t background, bool hasAlpha)
        : m_source(source), m_background(background), m_hasAlpha(hasAlpha) {}

    // (u, v): the back-mapped point in source pixels with 8 fractional bits.
    // Returns false when no sample counts (the pixel keeps the background).
    bool Sample(int64_t u, int64_t v, uint32_t* colour) const {
        const int64_t x0 = u >> 8, y0 = v >> 8;
        const uint32_t fx = (uint32_t)(u & 255), fy = (uint32_t)(v & 255);
        const uint32_t weights[4] = {(256 - fx) * (256 - fy), fx * (256 - fy), (256 - fx) * fy, fx * fy};
        uint32_t pixels[4], present = 0;
        for (int k = 0; k < 4; ++k) {
            const int64_t x = x0 + (k & 1), y = y0 + (k >> 1);
            const bool inside = x >= 0 && y >= 0 && x < (int64_t)m_source.width && y < (int64_t)m_source.height;
            pixels[k] = inside ? Read((int)x, (int)y) : m_background;
            // Samples that count: opaque, and with a weight (a point on a pixel's centre has only that one).
            if (weights[k] && ((inside && !m_hasAlpha) || (pixels[k] >> 24))) present |= 1u << k;
        }
        if (!present) return false;
        *colour = Blend(pixels, weights, present);
        return true;
    }

private:
    uint32_t Read(int x, int y) const {
        return m_source.depth == 32 ? LoadU32(m_source.RowAddress(y) + 4 * x) : m_source.GetPixel(x, y);
    }

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

    const CDibImage& m_source;
    uint32_t m_background;
    bool m_hasAlpha;
};

// Whether a 32-bit source has alpha (a fourth byte other than 0 anywhere), found out while it is turned:
// a glance at the first, middle and last pixels first, then the rest a stretch with each block of the
// drawing (fetched into the caches during the block before), so that the reading hides behind the
// drawing. Until everything is read, the drawing takes the source to have none.
class AlphaWatch {
public:
    explicit AlphaWatch(const CDibImage& source) : m_pixels(source.bits), m_count((size_t)source.width * source.height) {}

    // True when a glance finds alpha.
    bool Glance() const {
        const size_t n = std::min(m_count, kStretch);
        return DibAnyFourthByte(m_pixels, n) || DibAnyFourthByte(m_pixels + 4 * ((m_count - n) / 2), n) ||
               DibAnyFourthByte(m_pixels + 4 * (m_count - n), n);
    }

    // The next stretch in spans of a few cache lines (so that each run fetches a share), at most max.
    uint32_t NextSpans(DibRotateSpan* spans, uint32_t max) const {
        const uint8_t *at = m_pixels + 4 * m_done, *end = m_pixels + 4 * std::min(m_count, m_done + kStretch);
        uint32_t count = 0;
        for (; at < end && count < max; at += kSpanBytes)
            spans[count++] = {at, std::min(at + kSpanBytes, end) - 1};
        return count;
    }

    // Reads the next stretch, or all the rest; false once alpha was found.
    bool Step() { return Read(kStretch); }
    bool Finish() { return Read(m_count); }

private:
    static constexpr size_t kStretch = 8192, kSpanBytes = 512; // pixels, about a block's worth

    bool Read(size_t most) {
        const size_t n = std::min(most, m_count - m_done);
        m_found = m_found || DibAnyFourthByte(m_pixels + 4 * m_done, n);
        m_done += n;
        return !m_found;
    }

    const uint8_t* m_pixels;
    size_t m_count, m_done = 0;
    bool m_found = false;
};

// One rotation into a result of the frame's size. Each row has a run of pixels whose points reach the
// source (the rest is background) and within it an inner run (nearest: the rounded point inside;
// bilinear: all four samples inside), drawn in blocks by the run functions from a 32-bit or 24-bit source
// and one pixel at a time through the reader from others; the pixels between are sampled one by one.
class Rotation {
public:
    // watch: where the source's alpha is being looked for (hasAlpha false until it turns up).
    Rotation(CDibImage& result, const CDibImage& source, const BackMap& map, bool nearest, bool hasAlpha,
             uint32_t background, AlphaWatch* watch)
        : m_result(result), m_source(source), m_map(map), m_nearest(nearest), m_background(background),
          m_sampler(source, background, hasAlpha), m_watch(watch) {
        const int64_t one = 1 << 18, w = source.width, h = source.height;
        if (nearest) {
            m_reach = {-one / 2, w * one - one / 2, -one / 2, h * one - one / 2};
            m_inner = m_reach;
        } else {
            m_reach = {-one, w * one, -one, h * one};
            m_inner = {0, (w - 1) * one, 0, (h - 1) * one};
        }
        const DibRotateFunctions& functions = DibRotateForProcessor();
        // The 24-bit runs may read two bytes after a pixel pair: past the top row of pixels that are not
        // the image's own heap block (which has a spare row there), only when the row has that padding.
        const bool runs24 = source.depth == 24 && (!source.foreignPixels || source.stride >= 3 * source.width + 2);
        if (source.depth == 32) m_inner32 = nearest ? functions.nearest : hasAlpha ? functions.bilinearAlpha
                                                                                  : functions.bilinear;
        else if (runs24) m_inner32 = nearest ? functions.nearest24 : functions.bilinear24;
        if (runs24) m_runs24.reset(new uint32_t[kBand * kColumns]);
    }

    // Each band's edges are drawn before the blocks of the band before it, so that its first block is
    // known (and fetched) while the last of that band is drawn. False when the watch found alpha (the
    // drawing stops there).
    bool Draw() {
        Band bands[2];
        BandEdges(0, &bands[0]);
        for (uint32_t j0 = 0, k = 0; j0 < m_result.height; j0 += kBand, k ^= 1) {
            Band* next = j0 + kBand < m_result.height ? &bands[k ^ 1] : nullptr;
            if (next) BandEdges(j0 + kBand, next);
            if (!Blocks(bands[k], next)) return false;
        }
        return true;
    }

private:
    // Rows are drawn in bands, their inner runs in blocks of columns, so that the source pixels a block
    // reads stay in the caches; while a block is drawn, the source of the next is fetched.
    static constexpr uint32_t kBand = 128, kColumns = kDibRotateRunMax, kMaxSpans = 512;

    struct Band {
        uint32_t j0, rows;
        Run inner[kBand];
        int64_t left, right; // of the inner runs
    };

    // Draws the rows of the band from j0 but for their inner runs.
    void BandEdges(uint32_t j0, Band* band) {
        band->j0 = j0;
        band->rows = std::min(kBand, m_result.height - j0);
        band->left = m_result.width, band->right = 0;
        for (uint32_t r = 0; r < band->rows; ++r) {
            const Run inner = band->inner[r] = RowEdges(j0 + r);
            if (inner.Empty()) continue;
            band->left = std::min(band->left, inner.first);
            band->right = std::max(band->right, inner.last);
        }
    }

    bool Blocks(const Band& band, const Band* next) {
        for (int64_t c = band.left; c < band.right; c += kColumns) {
            uint32_t spans = 0;
            if (c + kColumns < band.right)
                spans = BlockSpans(m_map, m_source, c + kColumns, band.j0, kColumns, band.rows, m_spans, kMaxSpans);
            else if (next && next->left < next->right)
                spans = BlockSpans(m_map, m_source, next->left, next->j0, kColumns, next->rows, m_spans, kMaxSpans);
            if (m_watch) spans += m_watch->NextSpans(m_spans + spans, kMaxSpans - spans);
            Block(c, band.j0, band.rows, band.inner, spans);
            if (m_watch && !m_watch->Step()) return false;
        }
        return true;
    }

    // Draws the inner runs of rows [j0, j0 + rows) in columns [c, c + kColumns), fetching the first
    // spanCount of m_spans meanwhile.
    void Block(int64_t c, int64_t j0, uint32_t rows, const Run* inner, uint32_t spanCount) {
        DibRotateRun runs[kBand];
        int64_t rowOf[kBand], firstOf[kBand]; // each run's row and first column
        DibRotateBlock block = {m_source.row0, (ptrdiff_t)m_source.stride, m_source.width, m_source.height,
                                (int32_t)m_map.du, (int32_t)m_map.dv, runs, 0, m_spans, spanCount};
        const bool words = m_result.depth == 32; // else colour words into m_runs24, packed after
        for (uint32_t r = 0; r < rows; ++r) {
            const Run part = inner[r] & Run{c, c + kColumns};
            if (part.Empty()) continue;
            // Inside the source the points fit in 32 bits.
            const int64_t j = j0 + r;
            uint32_t* out = words ? (uint32_t*)m_result.RowAddress((int)j) + part.first
                                  : m_runs24.get() + kColumns * block.runCount;
            rowOf[block.runCount] = j;
            firstOf[block.runCount] = part.first;
            runs[block.runCount++] = {out, (int32_t)m_map.U(part.first, j), (int32_t)m_map.V(part.first, j),
                                      (uint32_t)(part.last - part.first), 0};
        }
        m_inner32(block);
        for (uint32_t k = 0; k < block.runCount && !words; ++k)
            DibLoops().to24From32(runs[k].out, m_result.RowAddress((int)rowOf[k]) + 3 * firstOf[k], runs[k].count);
        // Pixels of a source with alpha that have a clear sample.
        for (uint32_t k = 0; k < block.runCount; ++k) {
            uint8_t* out = m_result.RowAddress((int)rowOf[k]);
            for (uint64_t again = runs[k].clear; again; again &= again - 1)
                Sample(out, runs[k].out - (uint32_t*)out + __builtin_ctzll(again), rowOf[k]);
        }
    }

    // Draws row j but for its inner run, which it returns.
    Run RowEdges(int64_t j) {
        uint8_t* out = m_result.RowAddress((int)j);
        const Run reach = RowRun(m_map, j, m_result.width, m_reach);
        Run inner = RowRun(m_map, j, m_result.width, m_inner) & reach;
        if (inner.Empty()) inner = {reach.first, reach.first};
        Fill(out, j, 0, reach.first);
        Fill(out, j, std::max(reach.first, reach.last), m_result.width);
        for (int64_t i = reach.first; i < inner.first; ++i) Sample(out, i, j);
        for (int64_t i = inner.last; i < reach.last; ++i) Sample(out, i, j);
        if (m_inner32) return inner;
        InnerByReader(out, j, inner);
        return Run{0, 0};
    }

    // The inner run of row j from a source that the run functions do not take (never one with alpha), one
    // pixel at a time through the source's reader.
    void InnerByReader(uint8_t* out, int64_t j, const Run& inner) {
        int64_t u = m_map.U(inner.first, j), v = m_map.V(inner.first, j);
        for (int64_t i = inner.first; i < inner.last; ++i, u += m_map.du, v += m_map.dv) {
            uint32_t colour;
            if (m_nearest) {
                colour = m_source.GetPixel((int)((u + (1 << 17)) >> 18), (int)((v + (1 << 17)) >> 18));
            } else {
                const int x = (int)(u >> 18);
                const uint8_t *upper = m_source.RowAddress((int)(v >> 18)), *lower = upper - m_source.stride;
                const uint64_t top = m_source.readPixel(upper, x) | (uint64_t)m_source.readPixel(upper, x + 1) << 32;
                const uint64_t bottom = m_source.readPixel(lower, x) | (uint64_t)m_source.readPixel(lower, x + 1) << 32;
                colour = DibRotateInterpolate(top, bottom, (uint32_t)(u >> 10) & 255, (uint32_t)(v >> 10) & 255);
            }
            m_result.writePixel(out, (int)i, colour);
        }
    }

    void Sample(uint8_t* out, int64_t i, int64_t j) {
        const int64_t u = m_map.U(i, j) >> 10, v = m_map.V(i, j) >> 10;
        uint32_t colour = m_background;
        if (m_nearest) {
            const int64_t x = (u + 128) >> 8, y = (v + 128) >> 8;
            if (x >= 0 && y >= 0 && x < (int64_t)m_source.width && y < (int64_t)m_source.height)
                colour = m_source.GetPixel((int)x, (int)y);
        } else if (!m_sampler.Sample(u, v, &colour)) {
            colour = m_background;
        }
        m_result.writePixel(out, (int)i, colour);
    }

    // The background over pixels [begin, end) of row j (at out).
    void Fill(uint8_t* out, int64_t j, int64_t begin, int64_t end) {
        if (begin >= end) return;
        if (m_result.depth == 32) std::fill((uint32_t*)out + begin, (uint32_t*)out + end, m_background);
        else m_result.FillRect((int)begin, (int)j, (int)(end - begin), 1, m_background);
    }

    CDibImage& m_result;
    const CDibImage& m_source;
    const BackMap& m_map;
    const bool m_nearest;
    const uint32_t m_background;
    const BilinearSampler m_sampler;
    PointBox m_reach, m_inner;
    DibRotateBlockFunction m_inner32 = nullptr;
    AlphaWatch* m_watch;
    DibRotateSpan m_spans[kMaxSpans]; // of the next block
    std::unique_ptr<uint32_t[]> m_runs24; // a 24-bit result's runs as colour words, kColumns each (kBand)
};

} // namespace

bool CDibImage::Rotate(const CDibImage& image, uint32_t angle, uint32_t flags, int* centreX, int* centreY,
                       uint32_t background) {
    return DibFromSource(*this, image, [&](const CDibImage& source) {
        if (!source.HasPixels() || source.width > kMaxSourceSize || source.height > kMaxSourceSize) return false;
        const bool quarterPixels = flags & kDibRotateQuarterPixels;
        const int64_t cx = centreX ? *centreX : 0, cy = centreY ? *centreY : 0;
        const int64_t cx4 = quarterPixels ? cx : 4 * cx, cy4 = quarterPixels ? cy : 4 * cy;
        RotateFrame f;
        if (!MakeFrame(angle & 0x1ffff, cx4, cy4, source.width, source.height, &f)) return false;
        if (!Create(source.depth, f.width, f.height, kDibNoFill, kDibHeapPixels)) return false;
        if (paletteSize) memcpy(palette, source.palette, sizeof(RGBQUAD) * paletteSize);

        const bool nearest = (flags & kDibRotateNearest) || !source.trueColour;
        const BackMap map(f, cx4, cy4);
        // Only bilinear sampling from a 32-bit source tells alpha apart. When it turns up after the drawing
        // began as if there were none, the drawing starts again with it.
        AlphaWatch watch(source);
        const bool bilinear32 = !nearest && source.depth == 32, hasAlpha = bilinear32 && watch.Glance();
        AlphaWatch* watching = bilinear32 && !hasAlpha ? &watch : nullptr;
        if (!Rotation(*this, source, map, nearest, hasAlpha, background, watching).Draw() ||
            (watching && !watch.Finish()))
            Rotation(*this, source, map, nearest, true, background, nullptr).Draw();
        // Where the centre landed in the result.
        if (centreX) *centreX = (int)(quarterPixels ? -2 - f.minX : -f.minX / 4);
        if (centreY) *centreY = (int)(quarterPixels ? -2 - f.minY : -f.minY / 4);
        return true;
    });
}
