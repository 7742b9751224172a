// CDibImage elliptic arcs, optionally rotated: short line segments (plain or through a pen) or anti-aliased.
#include "image/DibImageDetail.h"
#include "image/FixedSin.h"

#include <algorithm>
#include <climits>

namespace {

int64_t Abs64(int v) { return v < 0 ? -(int64_t)v : v; }

int ClampToInt(int64_t v) { return (int)std::min<int64_t>(std::max<int64_t>(v, INT_MIN), INT_MAX); }

// The larger radius, and whether the whole figure lies outside the image.
bool ArcOutside(const CDibImage& image, int cx, int cy, int rx, int ry, int64_t* radius) {
    const int64_t r = std::max(Abs64(rx), Abs64(ry));
    *radius = r;
    return cx + r < -1 || cy + r < -1 || cx - r > (int64_t)image.width || cy - r > (int64_t)image.height;
}

// Points of an ellipse turned by `rotation`; a circle or a turn of 0 is not turned.
struct ArcEllipse {
    int64_t cx, cy, rx, ry, c, s;
    bool turned;

    ArcEllipse(int centreX, int centreY, int radiusX, int radiusY, int rotation)
        : cx(centreX), cy(centreY), rx(radiusX), ry(radiusY), c(FixedCos(rotation) / 16), s(FixedSin(rotation) / 16),
          turned((rotation & 0x1ffff) != 0 && Abs64(radiusX) != Abs64(radiusY)) {}

    POINT At(int a) const {
        if (!turned) return {ClampToInt(cx + FixedCos(a) * rx / 65536), ClampToInt(cy + FixedSin(a) * ry / 65536)};
        const int64_t px = FixedCos(a) * rx / 4096, py = FixedSin(a) * ry / 4096;
        return {ClampToInt(cx + (c * px - s * py) / 65536), ClampToInt(cy + (c * py + s * px) / 65536)};
    }
    // 16.16 fixed point, always through the turning formula.
    void AtFixed(int a, int64_t* x, int64_t* y) const {
        const int64_t px = FixedCos(a) * rx / 4096, py = FixedSin(a) * ry / 4096;
        *x = (cx << 16) + c * px - s * py;
        *y = (cy << 16) + s * px + c * py;
    }
};

// Angle step of the segment walk: 128 units for large radii, doubled for each quarter of the radius limit
// the radius stays within (radius 100: 2048, 64 segments a turn), at most 16384.
int SegmentStep(int64_t r) {
    if (r < 1) r = 1;
    int step = 128;
    if (r <= 13280) {
        int64_t limit = 13280;
        do {
            step *= 2;
            limit /= 4;
        } while (limit >= r && step < 16384);
    }
    return step;
}

// Walks from start to end (the short way round when end < start walks backwards; equal masked angles of
// different values make a full turn) and hands each segment to segment(from, to, last).
template <typename Segment>
void WalkArc(const ArcEllipse& e, int start, int end, int increment, Segment segment) {
    int step = increment;
    uint32_t sweep;
    if (end < start) {
        step = -increment;
        sweep = ((uint32_t)start - (uint32_t)end) & 0x1ffff;
    } else {
        sweep = ((uint32_t)end - (uint32_t)start) & 0x1ffff;
    }
    if (sweep == 0 && start != end) sweep = kFixedFullTurn;
    int a = start & 0x1ffff;
    POINT last = e.At(a);
    for (uint32_t done = increment; done < sweep; done += increment) {
        a += step;
        const POINT p = e.At(a);
        if (p.x != last.x || p.y != last.y) {
            segment(last, p, false);
            last = p;
        }
    }
    segment(last, e.At(end & 0x1ffff), true);
}

// One anti-aliased segment in 16.16 fixed point along its major axis, one step per whole pixel, without its
// last pixel unless `extra` adds one more step. Each step splits the colour between two neighbours.
void SoftSegment(CDibImage* image, int64_t X0, int64_t Y0, int64_t X1, int64_t Y1, uint32_t colour, int extra) {
    const int64_t x0 = X0 >> 16, y0 = Y0 >> 16, x1 = X1 >> 16, y1 = Y1 >> 16;
    if (x0 == x1 && y0 == y1) return;
    const bool steep = (y1 > y0 ? y1 - y0 : y0 - y1) > (x1 > x0 ? x1 - x0 : x0 - x1);
    // Major axis: m0 -> m1 in whole pixels; minor position in 16.16, half a pixel back.
    const int64_t m0 = steep ? y0 : x0, m1 = steep ? y1 : x1;
    const int64_t n = m1 > m0 ? m1 - m0 : m0 - m1;
    const int64_t dir = m1 > m0 ? 1 : -1;
    const int64_t minorStart = (steep ? X0 : Y0) - 32768;
    const int64_t minorStep = ((steep ? X1 : Y1) - (steep ? X0 : Y0)) / n;
    // Only the steps whose major coordinate lies in the image.
    const int64_t size = steep ? image->height : image->width;
    int64_t first = 0, last = n + extra - 1;
    if (dir > 0) {
        first = std::max<int64_t>(first, -m0);
        last = std::min<int64_t>(last, size - 1 - m0);
    } else {
        first = std::max<int64_t>(first, m0 - (size - 1));
        last = std::min<int64_t>(last, m0);
    }
    for (int64_t i = first; i <= last; ++i) {
        const int64_t m = m0 + dir * i, pos = minorStart + minorStep * i;
        const int64_t whole = pos >> 16;
        const uint32_t f = (uint32_t)(pos >> 8) & 255;
        if (steep) {
            DibBlendAt(image, whole, m, colour, 256 - f);
            if (f) DibBlendAt(image, whole + 1, m, colour, f);
        } else {
            DibBlendAt(image, m, whole, colour, 256 - f);
            if (f) DibBlendAt(image, m, whole + 1, colour, f);
        }
    }
}

} // namespace

bool CDibImage::DrawArc(int cx, int cy, int rx, int ry, uint32_t colour, int start, int end, int rotation) {
    int64_t r;
    if (!HasPixels() || ArcOutside(*this, cx, cy, rx, ry, &r)) return false;
    WalkArc(ArcEllipse(cx, cy, rx, ry, rotation), start, end, SegmentStep(r),
            [&](POINT a, POINT b, bool) { DrawLine(a.x, a.y, b.x, b.y, colour); });
    return true;
}

bool CDibImage::DrawArcPen(int cx, int cy, int rx, int ry, uint32_t colour, DibPen pen, int start, int end,
                           int rotation, int includeEnd) {
    int64_t r;
    if (!HasPixels() || !pen || ArcOutside(*this, cx, cy, rx, ry, &r)) return false;
    WalkArc(ArcEllipse(cx, cy, rx, ry, rotation), start, end, SegmentStep(r), [&](POINT a, POINT b, bool last) {
        DrawLinePen(a.x, a.y, b.x, b.y, colour, pen, last ? includeEnd : 0);
    });
    return true;
}

bool CDibImage::DrawArcAA(int cx, int cy, int rx, int ry, uint32_t colour, int start, int end, int rotation) {
    if (depth < 9) return DrawArc(cx, cy, rx, ry, colour, start, end, rotation);
    int64_t r;
    if (!HasPixels() || ArcOutside(*this, cx, cy, rx, ry, &r)) return false;
    int64_t from = start & 0x1ffff, to = end & 0x1ffff;
    if (from > to) std::swap(from, to);
    if (start != end && to <= from) to += kFixedFullTurn;
    // Like SegmentStep, but a radius equal to the limit stops the doubling.
    int step = 128;
    for (int64_t limit = 13280; limit > std::max<int64_t>(r, 1) && step < 16384; limit /= 4) step *= 2;

    const ArcEllipse e(cx, cy, rx, ry, rotation);
    int64_t X, Y;
    e.AtFixed((int)from, &X, &Y);
    // Equal angles make no segment, so nothing is drawn.
    for (int64_t a = from; a < to;) {
        const int64_t next = std::min<int64_t>(a + step, to);
        int64_t X1, Y1;
        e.AtFixed((int)next, &X1, &Y1);
        SoftSegment(this, X, Y, X1, Y1, colour, next == to ? 1 : 0);
        X = X1, Y = Y1, a = next;
    }
    return true;
}
