// CDibImage filled triangles and polygons (up to 64 points): each edge is walked downwards with the line
// core's stepping, and each row is filled between the runs the edges cover on it.
#include "image/DibImageDetail.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kMaxPolygonPoints = 64;

// An edge from its upper to its lower end. The run it covers on any row comes in closed form, so rows above
// the image cost nothing: a steep edge covers one pixel a row, a flat one several, a horizontal one its length.
struct Edge {
    int64_t xa, ya, xb, yb, dx, dy;
    int sx;
    int64_t big, small, error; // D, d and the starting error term (D - d + 1) / 2
    bool steep;

    Edge(POINT p, POINT q) {
        if (q.y < p.y) std::swap(p, q);
        xa = p.x, ya = p.y, xb = q.x, yb = q.y;
        dx = xb >= xa ? xb - xa : xa - xb;
        dy = yb - ya;
        sx = xb >= xa ? 1 : -1;
        steep = dy >= dx;
        big = steep ? dy : dx;
        small = steep ? dx : dy;
        error = (big - small + 1) / 2;
    }
    bool Covers(int64_t row) const { return row >= ya && row <= yb; }

    // Minor moves after k major steps (the line core's entry jump).
    int64_t MovesAfter(int64_t k) const {
        return (int64_t)(((__int128)k * small - error - small + big) / big);
    }
    // The first major step that lies on row ya + k of a flat edge.
    int64_t FirstStepOnRow(int64_t k) const {
        if (k == 0) return 0;
        const __int128 n = (__int128)k * big + error + small - big;
        return (int64_t)((n + small - 1) / small);
    }
    void RunOn(int64_t row, int64_t* lo, int64_t* hi) const {
        const int64_t k = row - ya;
        int64_t j0, j1;
        if (dy == 0) {
            j0 = 0, j1 = dx;
        } else if (steep) {
            j0 = j1 = MovesAfter(k);
        } else {
            j0 = FirstStepOnRow(k);
            j1 = k == dy ? dx : FirstStepOnRow(k + 1) - 1;
        }
        const int64_t x0 = xa + sx * j0, x1 = xa + sx * j1;
        *lo = std::min(x0, x1);
        *hi = std::max(x0, x1);
    }
};

struct Run {
    int64_t lo, hi;
    int dir, firstEdge, lastEdge;
};

void FillRow(CDibImage* image, int64_t row, int64_t lo, int64_t hi, uint32_t colour, DibPixelCallback callback) {
    lo = std::max<int64_t>(lo, 0);
    hi = std::min<int64_t>(hi, (int64_t)image->width - 1);
    if (lo > hi) return;
    if (callback) image->FillRectCallback((int)lo, (int)row, (int)(hi - lo + 1), 1, colour, callback);
    else image->FillRect((int)lo, (int)row, (int)(hi - lo + 1), 1, colour);
}

RECT Bounds(const POINT* points, int count) {
    RECT box = {points[0].x, points[0].y, points[0].x, points[0].y};
    for (int i = 1; i < count; ++i) {
        box.left = std::min(box.left, points[i].x);
        box.right = std::max(box.right, points[i].x);
        box.top = std::min(box.top, points[i].y);
        box.bottom = std::max(box.bottom, points[i].y);
    }
    return box;
}

bool BoxOutside(const CDibImage& image, const RECT& box) {
    return box.right < 0 || box.bottom < 0 || box.left >= (int64_t)image.width || box.top >= (int64_t)image.height;
}

bool Line(CDibImage* image, int x1, int y1, int x2, int y2, uint32_t colour, DibPixelCallback callback) {
    return callback ? image->DrawLineCallback(x1, y1, x2, y2, colour, callback, 1)
                    : image->DrawLine(x1, y1, x2, y2, colour);
}

bool FillTriangleWith(CDibImage* image, const POINT (&p)[3], uint32_t colour, DibPixelCallback callback) {
    if (!image->HasPixels()) return false;
    const RECT box = Bounds(p, 3);
    if (BoxOutside(*image, box)) return false;
    const Edge edges[3] = {Edge(p[0], p[1]), Edge(p[1], p[2]), Edge(p[2], p[0])};
    const int64_t last = std::min<int64_t>(box.bottom, (int64_t)image->height - 1);
    for (int64_t row = std::max<int64_t>(box.top, 0); row <= last; ++row) {
        int64_t lo = INT64_MAX, hi = INT64_MIN;
        for (const Edge& e : edges) {
            if (!e.Covers(row)) continue;
            int64_t a, b;
            e.RunOn(row, &a, &b);
            lo = std::min(lo, a);
            hi = std::max(hi, b);
        }
        FillRow(image, row, lo, hi, colour, callback);
    }
    return true;
}

// The runs of one row in edge order, those of neighbouring edges going the same way merged (the last edge
// and the first are neighbours too), so that a vertex the outline passes straight through counts once.
void MergeRuns(std::vector<Run>& runs, int edgeCount) {
    std::vector<Run> merged;
    for (const Run& r : runs) {
        if (!merged.empty() && merged.back().lastEdge + 1 == r.firstEdge && merged.back().dir == r.dir) {
            Run& m = merged.back();
            m.lo = std::min(m.lo, r.lo);
            m.hi = std::max(m.hi, r.hi);
            m.lastEdge = r.lastEdge;
        } else {
            merged.push_back(r);
        }
    }
    if (merged.size() > 1 && merged.back().lastEdge == edgeCount - 1 && merged.front().firstEdge == 0 &&
        merged.back().dir == merged.front().dir) {
        merged.front().lo = std::min(merged.front().lo, merged.back().lo);
        merged.front().hi = std::max(merged.front().hi, merged.back().hi);
        merged.pop_back();
    }
    runs.swap(merged);
}

bool FillPolygonWith(CDibImage* image, const POINT* points, int count, uint32_t colour, DibPixelCallback callback) {
    if (!image->HasPixels() || !points || count < 1 || count > kMaxPolygonPoints) return false;
    if (count == 1) {
        if (!image->Contains(points[0].x, points[0].y)) return false;
        return Line(image, points[0].x, points[0].y, points[0].x, points[0].y, colour, callback);
    }
    if (count == 2) return Line(image, points[0].x, points[0].y, points[1].x, points[1].y, colour, callback);
    const RECT box = Bounds(points, count);
    if (BoxOutside(*image, box)) return false;
    if (box.left == box.right || box.top == box.bottom)
        return Line(image, box.left, box.top, box.right, box.bottom, colour, callback);

    std::vector<Edge> edges;
    std::vector<int> dirs(count);
    for (int i = 0; i < count; ++i) {
        const POINT a = points[i], b = points[(i + 1) % count];
        edges.emplace_back(a, b);
        dirs[i] = b.y > a.y ? 1 : b.y < a.y ? -1 : 0;
    }
    // A horizontal edge goes the way of the edge before it.
    int start = 0;
    while (dirs[start] == 0) ++start;
    for (int n = 1; n < count; ++n) {
        const int i = (start + n) % count;
        if (dirs[i] == 0) dirs[i] = dirs[(i + count - 1) % count];
    }

    std::vector<Run> runs;
    const int64_t last = std::min<int64_t>(box.bottom, (int64_t)image->height - 1);
    for (int64_t row = std::max<int64_t>(box.top, 0); row <= last; ++row) {
        runs.clear();
        for (int i = 0; i < count; ++i) {
            if (!edges[i].Covers(row)) continue;
            Run r = {0, 0, dirs[i], i, i};
            edges[i].RunOn(row, &r.lo, &r.hi);
            runs.push_back(r);
        }
        MergeRuns(runs, count);
        std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.lo < b.lo; });
        // In pairs: from the start of the first to the end of the second (or of the first, when it reaches
        // further); an odd last run stands alone.
        for (size_t i = 0; i < runs.size(); i += 2) {
            const int64_t hi = i + 1 < runs.size() ? std::max(runs[i].hi, runs[i + 1].hi) : runs[i].hi;
            FillRow(image, row, runs[i].lo, hi, colour, callback);
        }
    }
    return true;
}

} // namespace

bool CDibImage::FillTriangle(int x1, int y1, int x2, int y2, int x3, int y3, uint32_t colour) {
    const POINT p[3] = {{x1, y1}, {x2, y2}, {x3, y3}};
    return FillTriangleWith(this, p, colour, nullptr);
}

bool CDibImage::FillTriangleCallback(int x1, int y1, int x2, int y2, int x3, int y3, uint32_t colour,
                                     DibPixelCallback callback) {
    const POINT p[3] = {{x1, y1}, {x2, y2}, {x3, y3}};
    return callback && FillTriangleWith(this, p, colour, callback);
}

bool CDibImage::FillPolygon(const POINT* points, int count, uint32_t colour) {
    return FillPolygonWith(this, points, count, colour, nullptr);
}

bool CDibImage::FillPolygonCallback(const POINT* points, int count, uint32_t colour, DibPixelCallback callback) {
    return callback && FillPolygonWith(this, points, count, colour, callback);
}
