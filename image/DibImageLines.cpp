// CDibImage lines (plain, through a pen or a callback, anti-aliased) and rectangle outlines.
#include "image/DibImageDetail.h"

#include <algorithm>

namespace {

// A Bresenham walk along the major axis, already advanced to the part that matters for the image.
// Positions and error terms are 64-bit: end points far outside the image must not overflow.
struct LineWalk {
    bool xMajor;
    int64_t major, minor;         // current point
    int majorStep, minorStep;     // +1 or -1
    int64_t bigDiff, smallDiff;   // D and d
    int64_t error;
    int64_t count;                // points still to visit
    int64_t skipped;              // points jumped over at the start

    int X() const { return (int)(xMajor ? major : minor); }
    int Y() const { return (int)(xMajor ? minor : major); }
    void Step() {
        if (error > 0) {
            error -= smallDiff;
        } else {
            minor += minorStep;
            error += bigDiff - smallDiff;
        }
        major += majorStep;
    }
};

// Sets up the walk from (x1, y1) to (x2, y2) with `points` = D + extra points, skipping what lies
// more than `margin` pixels before the near edge of the major axis and cutting what lies more than
// `margin` pixels behind the far edge. False when nothing is left or both end points lie beyond the
// same edge of the minor axis.
bool StartLine(int x1, int y1, int x2, int y2, uint32_t imageWidth, uint32_t imageHeight, int margin,
               int extra, LineWalk* w) {
    const int64_t dx = x2 >= x1 ? (int64_t)x2 - x1 : (int64_t)x1 - x2;
    const int64_t dy = y2 >= y1 ? (int64_t)y2 - y1 : (int64_t)y1 - y2;
    w->xMajor = dx >= dy;
    const int64_t majorSize = w->xMajor ? imageWidth : imageHeight;
    const int64_t minorSize = w->xMajor ? imageHeight : imageWidth;
    const int64_t minor1 = w->xMajor ? y1 : x1, minor2 = w->xMajor ? y2 : x2;
    if ((minor1 > minorSize - 1 && minor2 > minorSize - 1) || (minor1 < 0 && minor2 < 0)) return false;

    w->major = w->xMajor ? x1 : y1;
    w->minor = minor1;
    w->majorStep = (w->xMajor ? x2 >= x1 : y2 >= y1) ? 1 : -1;
    w->minorStep = minor2 >= minor1 ? 1 : -1;
    w->bigDiff = w->xMajor ? dx : dy;
    w->smallDiff = w->xMajor ? dy : dx;
    w->error = (w->bigDiff - w->smallDiff + 1) / 2;
    w->count = w->bigDiff + extra;
    w->skipped = 0;

    const int64_t low = -margin, high = majorSize - 1 + margin;
    int64_t skip = 0;
    if (w->majorStep > 0 && w->major < low) skip = low - w->major;
    if (w->majorStep < 0 && w->major > high) skip = w->major - high;
    if (skip >= w->count) return false;
    if (skip > 0) {
        // The error term of a walk stays in (-d, D - d]; after k steps it is e0 - k*d + m*D for the
        // one number of minor moves m that puts it back into that range.
        const __int128 k = skip, D = w->bigDiff, d = w->smallDiff;
        const __int128 moves = (k * d - w->error - d + D) / D;
        w->error = (int64_t)(w->error - k * d + moves * D);
        w->minor += (int64_t)moves * w->minorStep;
        w->major += skip * w->majorStep;
        w->count -= skip;
        w->skipped = skip;
    }
    const int64_t room = w->majorStep > 0 ? high - w->major + 1 : w->major - low + 1;
    if (room < w->count) w->count = room;
    return w->count > 0;
}

} // namespace

uint32_t DibBlend256(uint32_t old, uint32_t colour, uint32_t weight) {
    uint32_t out = old & 0xff000000;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t o = (old >> shift) & 255, n = (colour >> shift) & 255;
        out |= ((o * (256 - weight) + n * weight) >> 8) << shift;
    }
    return out;
}

void DibBlendAt(CDibImage* image, int64_t x, int64_t y, uint32_t colour, uint32_t weight) {
    if (x < 0 || y < 0 || x >= image->width || y >= image->height) return;
    uint8_t* row = image->RowAddress((int)y);
    image->writePixel(row, (int)x, DibBlend256(image->readPixel(row, (int)x), colour, weight));
}

bool CDibImage::DrawLine(int x1, int y1, int x2, int y2, uint32_t colour) {
    LineWalk w;
    if (!HasPixels() || !StartLine(x1, y1, x2, y2, width, height, 0, 1, &w)) return false;
    bool drawn = false;
    for (int64_t i = 0; i < w.count; ++i, w.Step()) {
        const int x = w.X(), y = w.Y();
        if (Contains(x, y)) {
            writePixel(RowAddress(y), x, colour);
            drawn = true;
        }
    }
    return drawn;
}

bool CDibImage::DrawLinePen(int x1, int y1, int x2, int y2, uint32_t colour, DibPen pen, int includeEnd) {
    LineWalk w;
    pen = ResolvePen(pen);
    // Start two pixels before the edge so that a 3 x 3 stamp still reaches it.
    if (!HasPixels() || !pen || !StartLine(x1, y1, x2, y2, width, height, 2, includeEnd != 0, &w)) return false;
    for (int64_t i = 0; i < w.count; ++i, w.Step()) pen(this, w.X(), w.Y(), colour);
    return true;
}

bool CDibImage::DrawLineCallback(int x1, int y1, int x2, int y2, uint32_t colour, DibPixelCallback callback,
                                 int includeEnd) {
    LineWalk w;
    if (!HasPixels() || !callback || !StartLine(x1, y1, x2, y2, width, height, 0, includeEnd != 0, &w))
        return false;
    bool drawn = false;
    for (int64_t i = 0; i < w.count; ++i, w.Step()) {
        const int x = w.X(), y = w.Y();
        if (Contains(x, y)) {
            callback(this, RowAddress(y), x, y, colour);
            drawn = true;
        }
    }
    return drawn;
}

bool CDibImage::DrawLineAA(int x1, int y1, int x2, int y2, uint32_t colour, int includeEnd) {
    if (depth < 9 || x1 == x2 || y1 == y2) return DrawLine(x1, y1, x2, y2, colour);
    LineWalk w;
    if (!HasPixels() || !StartLine(x1, y1, x2, y2, width, height, 1, includeEnd != 0, &w)) return false;
    if (w.bigDiff == w.smallDiff) {
        // A true diagonal: full colour on the line, an eighth of it just above and below.
        const int dirY = y2 > y1 ? 1 : -1;
        for (int64_t i = 0; i < w.count; ++i, w.Step()) {
            const int64_t x = w.X(), y = w.Y();
            DibBlendAt(this, x, y + dirY, colour, 32);
            if (w.skipped + i > 0) DibBlendAt(this, x, y - dirY, colour, 32);
            if (Contains((int)x, (int)y)) writePixel(RowAddress((int)y), (int)x, colour);
        }
        return true;
    }
    for (int64_t i = 0; i < w.count; ++i, w.Step()) {
        // The share of the colour on this pixel; the neighbour towards the line's minor direction gets
        // the rest. e + d lies in (0, D].
        const uint32_t f = (uint32_t)(((w.error + w.smallDiff) << 8) / w.bigDiff);
        const int64_t x = w.X(), y = w.Y();
        DibBlendAt(this, x, y, colour, f);
        if (w.xMajor) DibBlendAt(this, x, y + w.minorStep, colour, 256 - f);
        else DibBlendAt(this, x + w.minorStep, y, colour, 256 - f);
    }
    return true;
}

bool CDibImage::FrameRect(int x, int y, int w, int h, uint32_t colour) {
    DibSpan r, clipped;
    if (!HasPixels() || !DibNormaliseRect(x, y, w, h, &r) ||
        !DibClipRect(x, y, w, h, width, height, &clipped))
        return false;
    // An edge beyond the image is not drawn wherever it lies: pulling the edges to one pixel outside
    // keeps the frame and its sizes within int.
    r.left = std::max(r.left, -1);
    r.top = std::max(r.top, -1);
    r.right = std::min(r.right, (int)width + 1);
    r.bottom = std::min(r.bottom, (int)height + 1);
    const int rectWidth = r.right - r.left, rectHeight = r.bottom - r.top;
    FillRect(r.left, r.top, rectWidth, 1, colour);
    if (rectHeight > 1) FillRect(r.left, r.bottom - 1, rectWidth, 1, colour);
    if (rectHeight > 2) {
        FillRect(r.left, r.top + 1, 1, rectHeight - 2, colour);
        if (rectWidth > 1) FillRect(r.right - 1, r.top + 1, 1, rectHeight - 2, colour);
    }
    return true;
}

bool CDibImage::FrameRectPen(int x, int y, int w, int h, uint32_t colour, DibPen pen) {
    DibSpan r, clipped;
    if (!HasPixels() || !pen || !DibNormaliseRect(x, y, w, h, &r) ||
        !DibClipRect(x, y, w, h, width, height, &clipped))
        return false;
    const int right = r.right - 1, bottom = r.bottom - 1;
    // Each corner once, and a dash pattern runs on round the frame.
    DrawLinePen(r.left, r.top, r.left, bottom, colour, pen, 0);
    DrawLinePen(r.left, bottom, right, bottom, colour, pen, 0);
    DrawLinePen(right, bottom, right, r.top, colour, pen, 0);
    DrawLinePen(right, r.top, r.left, r.top, colour, pen, 0);
    return true;
}
