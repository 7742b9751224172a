// CDibImage filled ellipses: horizontal spans from the quarter-circle table, solid or with soft ends.
// All position arithmetic is 64-bit, so radii up to the limits of int neither overflow nor loop long: only the
// rows inside the image are visited.
#include "image/DibImageDetail.h"
#include "image/FixedSin.h"

#include <algorithm>

namespace {

int64_t Abs64(int v) { return v < 0 ? -(int64_t)v : v; }

// Bounding box of the ellipse: w x h pixels from `left`, rows centred on `centre` (for an even height
// the lower half starts at the centre row).
struct EllipseBox {
    int64_t left, w, h, centre;
};

bool LayOut(int x, int y, int rx, int ry, uint32_t flags, EllipseBox* b) {
    if (flags & kEllipseSizes) {
        if (rx == 0 || ry == 0) return false;
        b->w = Abs64(rx);
        b->h = Abs64(ry);
    } else {
        b->w = 2 * Abs64(rx) + 1;
        b->h = 2 * Abs64(ry) + 1;
    }
    switch ((flags & kEllipseAnchorXMask) >> 2) {
    case 0: b->left = x - b->w / 2; break;
    case 1: b->left = rx < 0 ? x + 1 - b->w : x; break;
    case 2: b->left = rx >= 1 ? x + 1 - b->w : x; break;
    default: return false;
    }
    switch ((flags & kEllipseAnchorYMask) >> 4) {
    case 0: b->centre = y; break;
    case 1: b->centre = ry >= 1 ? y + b->h / 2 : y - (b->h - 1) / 2; break;
    case 2: b->centre = ry >= 1 ? y - (b->h - 1) / 2 : y + b->h / 2; break;
    default: return false;
    }
    return true;
}

bool Outside(const CDibImage& image, const EllipseBox& b) {
    const int64_t top = b.centre - b.h / 2;
    return b.left + b.w <= 0 || b.left >= (int64_t)image.width || top + b.h <= 0 || top >= (int64_t)image.height;
}

// Fills columns [x0, x1) of a row, clipped; through the callback when there is one.
void FillSpan(CDibImage* image, int64_t row, int64_t x0, int64_t x1, uint32_t colour, DibPixelCallback callback) {
    if (row < 0 || row >= (int64_t)image->height) return;
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, image->width);
    if (x0 >= x1) return;
    if (callback) image->FillRectCallback((int)x0, (int)row, (int)(x1 - x0), 1, colour, callback);
    else image->FillRect((int)x0, (int)row, (int)(x1 - x0), 1, colour);
}

// Hands row(i, y) every row of the ellipse inside the image: i = 0 is the full-width centre row of an odd
// height, i >= 1 the rows i above and below the centre.
template <typename Row>
void ForEachRow(const CDibImage& image, const EllipseBox& b, Row row) {
    const int64_t H = image.height, half = b.h / 2, even = b.h % 2 == 0 ? 1 : 0;
    if (!even) row(0, b.centre);
    // Rows above: centre - i; rows below: centre + i - even. Only the i whose row lies in the image.
    for (int64_t i = std::max<int64_t>(1, b.centre - H + 1), last = std::min(half, b.centre); i <= last; ++i)
        row(i, b.centre - i);
    for (int64_t i = std::max<int64_t>(1, even - b.centre), last = std::min(half, H - 1 - b.centre + even); i <= last;
         ++i)
        row(i, b.centre + i - even);
}

// The circle-table height at row i of h, in 1/32768 of the half width.
uint32_t RowShare(int64_t i, int64_t h) {
    const int64_t t = (65536 * i - (h % 2 == 0 ? 32768 : 0)) / h;
    return FixedCircle((uint32_t)t);
}

bool FillSolid(CDibImage* image, int x, int y, int rx, int ry, uint32_t colour, uint32_t flags,
               DibPixelCallback callback) {
    EllipseBox b;
    if (!image->HasPixels() || !LayOut(x, y, rx, ry, flags, &b) || Outside(*image, b)) return false;
    ForEachRow(*image, b, [&](int64_t i, int64_t y) {
        const int64_t span = i == 0 ? b.w : (RowShare(i, b.h) * b.w + 16383) >> 15;
        const int64_t start = b.left + (b.w - span) / 2;
        FillSpan(image, y, start, start + span, colour, callback);
    });
    return true;
}

// Span widths in 1/256 pixel: the whole part solid, the pixel just outside each end blended with half the
// fraction.
bool FillSoft(CDibImage* image, int x, int y, int rx, int ry, uint32_t colour, uint32_t flags) {
    EllipseBox b;
    if (!image->HasPixels() || !LayOut(x, y, rx, ry, flags, &b) || Outside(*image, b)) return false;
    ForEachRow(*image, b, [&](int64_t i, int64_t y) {
        if (i == 0) return FillSpan(image, y, b.left, b.left + b.w, colour, nullptr);
        const int64_t fine = (RowShare(i, b.h) * b.w) >> 7;
        const int64_t whole = fine >> 8, start = b.left + (b.w - whole) / 2;
        const uint32_t weight = (uint32_t)(fine & 255) / 2;
        FillSpan(image, y, start, start + whole, colour, nullptr);
        if (weight) {
            DibBlendAt(image, start - 1, y, colour, weight);
            DibBlendAt(image, start + whole, y, colour, weight);
        }
    });
    return true;
}

} // namespace

bool CDibImage::FillEllipse(int x, int y, int rx, int ry, uint32_t colour, uint32_t flags) {
    if (depth >= 9 && (flags & kEllipseSmooth)) return FillSoft(this, x, y, rx, ry, colour, flags);
    return FillSolid(this, x, y, rx, ry, colour, flags, nullptr);
}

bool CDibImage::FillEllipseCallback(int x, int y, int rx, int ry, uint32_t colour, uint32_t flags,
                                    DibPixelCallback callback) {
    if (!callback) return false;
    return FillSolid(this, x, y, rx, ry, colour, flags, callback);
}

bool CDibImage::FillEllipseAA(int x, int y, int rx, int ry, uint32_t colour, uint32_t flags) {
    if (depth < 9) return FillSolid(this, x, y, rx, ry, colour, flags, nullptr);
    return FillSoft(this, x, y, rx, ry, colour, flags);
}
