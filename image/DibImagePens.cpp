// Pen functions of CDibImage: each plots one pixel or a small stamp and clips every pixel itself.
#include "image/DibImageDetail.h"

namespace {

struct Offset {
    int dx, dy;
};

void PlotAll(CDibImage* image, int x, int y, uint32_t colour, const Offset* offsets, int count) {
    for (int i = 0; i < count; ++i) CDibImage::PlotPixel(image, x + offsets[i].dx, y + offsets[i].dy, colour);
}

// Three quarters of the old pixel plus a quarter of the colour; the fourth byte stays.
void PlotQuarter(CDibImage* image, int x, int y, uint32_t colour) {
    if (!image->Contains(x, y)) return;
    uint8_t* row = image->RowAddress(y);
    const uint32_t old = image->readPixel(row, x);
    image->writePixel(row, x, old - ((old >> 2) & 0x3f3f3f) + ((colour >> 2) & 0x3f3f3f));
}

void QuarterAll(CDibImage* image, int x, int y, uint32_t colour, const Offset* offsets, int count) {
    for (int i = 0; i < count; ++i) PlotQuarter(image, x + offsets[i].dx, y + offsets[i].dy, colour);
}

// The soft 3 x 3 stamp: weights 1 2 1 / 2 20 2 / 1 2 1 out of 32. `bytes` is 3, or 4 to blend the
// fourth byte too.
void SoftStamp(CDibImage* image, int x, int y, uint32_t colour, int bytes) {
    static const uint32_t kWeights[9] = {1, 2, 1, 2, 20, 2, 1, 2, 1};
    for (int i = 0; i < 9; ++i) {
        const int px = x + i % 3 - 1, py = y + i / 3 - 1;
        if (!image->Contains(px, py)) continue;
        uint8_t* row = image->RowAddress(py);
        const uint32_t old = DibValueColour(*image, image->readPixel(row, px));
        const uint32_t w = kWeights[i];
        uint32_t out = bytes == 4 ? 0 : old & 0xff000000;
        for (int b = 0; b < bytes; ++b) {
            const int shift = 8 * b;
            const uint32_t o = (old >> shift) & 255, n = (colour >> shift) & 255;
            out |= ((o * (32 - w) + n * w) >> 5) << shift;
        }
        image->writePixel(row, px, out);
    }
}

const Offset kCross[] = {{0, 0}, {0, -1}, {-1, 0}, {0, 1}, {1, 0}};
const Offset kBlock3[] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {0, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};
const Offset kTips2[] = {{-2, 0}, {2, 0}, {0, -2}, {0, 2}};
const Offset kTips3[] = {{-3, 0}, {0, -3}, {3, 0}, {0, 3}};
const Offset kCrossRing[] = {{-1, -1}, {-1, 1}, {1, 1}, {1, -1}, {0, -2}, {-2, 0}, {0, 2}, {2, 0}};
// The 5 x 5 ring without its corners.
const Offset kRing5[] = {{-1, -2}, {0, -2}, {1, -2}, {-1, 2}, {0, 2}, {1, 2},
                         {-2, -1}, {-2, 0}, {-2, 1}, {2, -1}, {2, 0}, {2, 1}};

// The dashed pens rotate their mask right by one bit per pixel; a 1 shifted out skips the pixel.
void PlotDashed(CDibImage* image, uint32_t* mask, int x, int y, uint32_t colour) {
    const uint32_t out = *mask & 1;
    *mask = (*mask >> 1) | (out << 31);
    if (!out) CDibImage::PlotPixel(image, x, y, colour);
}

} // namespace

void CDibImage::PlotPixel(CDibImage* image, int x, int y, uint32_t colour) {
    if (image->Contains(x, y)) image->writePixel(image->RowAddress(y), x, colour);
}

void CDibImage::PlotDashed1(CDibImage* image, int x, int y, uint32_t colour) {
    PlotDashed(image, &image->dashMask1, x, y, colour);
}

void CDibImage::PlotDashed2(CDibImage* image, int x, int y, uint32_t colour) {
    PlotDashed(image, &image->dashMask2, x, y, colour);
}

void CDibImage::PlotSoft(CDibImage* image, int x, int y, uint32_t colour) { SoftStamp(image, x, y, colour, 3); }

void CDibImage::PlotSoft32(CDibImage* image, int x, int y, uint32_t colour) { SoftStamp(image, x, y, colour, 4); }

void CDibImage::PlotBlock2x2(CDibImage* image, int x, int y, uint32_t colour) {
    static const Offset kBlock2[] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};
    PlotAll(image, x, y, colour, kBlock2, 4);
}

void CDibImage::PlotCross(CDibImage* image, int x, int y, uint32_t colour) { PlotAll(image, x, y, colour, kCross, 5); }

void CDibImage::PlotDisc4(CDibImage* image, int x, int y, uint32_t colour) {
    for (int dy = -2; dy <= 1; ++dy)
        for (int dx = -2; dx <= 1; ++dx)
            if ((dx == -2 || dx == 1) && (dy == -2 || dy == 1)) continue;
            else PlotPixel(image, x + dx, y + dy, colour);
}

void CDibImage::PlotDisc5(CDibImage* image, int x, int y, uint32_t colour) {
    PlotAll(image, x, y, colour, kBlock3, 9);
    PlotAll(image, x, y, colour, kTips2, 4);
}

void CDibImage::PlotSoftCross(CDibImage* image, int x, int y, uint32_t colour) {
    PlotAll(image, x, y, colour, kCross, 5);
    QuarterAll(image, x, y, colour, kCrossRing, 8);
}

void CDibImage::PlotSoftDisc5(CDibImage* image, int x, int y, uint32_t colour) {
    PlotAll(image, x, y, colour, kBlock3, 9);
    QuarterAll(image, x, y, colour, kRing5, 12);
}

void CDibImage::PlotSoftDisc7(CDibImage* image, int x, int y, uint32_t colour) {
    PlotSoftDisc5(image, x, y, colour);
    QuarterAll(image, x, y, colour, kTips3, 4);
}

DibPen CDibImage::ResolvePen(DibPen pen) const {
    if (pen != PlotSoft) return pen;
    if (depth < 9) return PlotPixel;
    return depth == 32 ? PlotSoft32 : PlotSoft;
}
