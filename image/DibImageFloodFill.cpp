// CDibImage span flood fill of a 4-connected region.
//
// A pixel belongs to the region while it reads as the region colour (and, in the callback form, has not
// been filled yet). The plain form writes a colour that reads back as another than the region's, so every
// filled pixel leaves the region; the callback form keeps a "filled" bit per pixel, so that it ends whatever
// the callback does (one that leaves the pixels alone cannot make it run forever).
#include "image/DibImageDetail.h"

#include <algorithm>
#include <new>
#include <vector>

namespace {

struct Seed {
    int x, y;
};

uint32_t ReadOwn(CDibImage* image, uint8_t* row, int x, int) { return image->readPixel(row, x); }
void WriteOwn(CDibImage* image, uint8_t* row, int x, int, uint32_t colour) { image->writePixel(row, x, colour); }

class Filler {
public:
    // trackFilled: keep the "filled" bits.
    Filler(CDibImage* image, uint32_t colour, DibPixelCallback plot, DibReadCallback read, uint32_t region,
           bool trackFilled)
        : m_image(image), m_w(image->width), m_h(image->height), m_colour(colour), m_plot(plot), m_read(read),
          m_region(region), m_track(trackFilled) {}

    // False when memory runs out.
    bool Run(int x, int y) {
        try {
            if (m_track) m_filled.assign(((size_t)m_w * m_h + 63) / 64, 0);
            m_stack.reserve(std::max<size_t>(8 * (size_t)m_w, 1024));
            m_stack.push_back({x, y});
            while (!m_stack.empty()) {
                const Seed s = m_stack.back();
                m_stack.pop_back();
                FillSpanAt(s.x, s.y);
            }
        } catch (const std::bad_alloc&) {
            return false;
        }
        return true;
    }

private:
    bool Filled(int x, int y) const {
        if (!m_track) return false;
        const size_t i = (size_t)y * m_w + x;
        return (m_filled[i >> 6] >> (i & 63)) & 1;
    }
    void MarkFilled(int x, int y) {
        if (!m_track) return;
        const size_t i = (size_t)y * m_w + x;
        m_filled[i >> 6] |= uint64_t(1) << (i & 63);
    }
    bool InRegion(uint8_t* row, int x, int y) const {
        return !Filled(x, y) && m_read(m_image, row, x, y) == m_region;
    }

    // Fills the run of region pixels through (x, y) and queues the runs it touches on the rows above and below.
    void FillSpanAt(int x, int y) {
        uint8_t* row = m_image->RowAddress(y);
        if (!InRegion(row, x, y)) return;
        int left = x, right = x;
        while (left > 0 && InRegion(row, left - 1, y)) --left;
        while (right + 1 < (int)m_w && InRegion(row, right + 1, y)) ++right;
        for (int i = left; i <= right; ++i) {
            MarkFilled(i, y);
            m_plot(m_image, row, i, y, m_colour);
        }
        if (y > 0) QueueRuns(left, right, y - 1);
        if (y + 1 < (int)m_h) QueueRuns(left, right, y + 1);
    }

    void QueueRuns(int left, int right, int y) {
        uint8_t* row = m_image->RowAddress(y);
        bool inRun = false;
        for (int i = left; i <= right; ++i) {
            const bool in = InRegion(row, i, y);
            if (in && !inRun) m_stack.push_back({i, y});
            inRun = in;
        }
    }

    CDibImage* m_image;
    uint32_t m_w, m_h, m_colour;
    DibPixelCallback m_plot;
    DibReadCallback m_read;
    uint32_t m_region;
    bool m_track;
    std::vector<uint64_t> m_filled;
    std::vector<Seed> m_stack;
};

} // namespace

bool CDibImage::FloodFill(int x, int y, uint32_t colour) {
    if (!HasPixels() || !Contains(x, y)) return false;
    const uint32_t region = readPixel(RowAddress(y), x);
    // What the fill leaves in a pixel: the colour as this depth stores and reads it back.
    uint8_t scratch[8] = {};
    writePixel(scratch, 0, colour);
    if (readPixel(scratch, 0) == region) return true;
    return Filler(this, colour, WriteOwn, ReadOwn, region, false).Run(x, y);
}

bool CDibImage::FloodFillCallback(int x, int y, uint32_t colour, DibPixelCallback plot, DibReadCallback read,
                                  uint32_t region) {
    if (!HasPixels() || !plot || !Contains(x, y)) return false;
    if (!read) read = ReadOwn;
    if (region == kDibRegionAtSeed) region = read(this, RowAddress(y), x, y);
    return Filler(this, colour, plot, read, region, true).Run(x, y);
}
