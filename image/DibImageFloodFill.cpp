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
        : image_(image), w_(image->width), h_(image->height), colour_(colour), plot_(plot), read_(read),
          region_(region), track_(trackFilled) {}

    // False when memory runs out.
    bool Run(int x, int y) {
        try {
            if (track_) filled_.assign(((size_t)w_ * h_ + 63) / 64, 0);
            stack_.reserve(std::max<size_t>(8 * (size_t)w_, 1024));
            stack_.push_back({x, y});
            while (!stack_.empty()) {
                const Seed s = stack_.back();
                stack_.pop_back();
                FillSpanAt(s.x, s.y);
            }
        } catch (const std::bad_alloc&) {
            return false;
        }
        return true;
    }

private:
    bool Filled(int x, int y) const {
        if (!track_) return false;
        const size_t i = (size_t)y * w_ + x;
        return (filled_[i >> 6] >> (i & 63)) & 1;
    }
    void MarkFilled(int x, int y) {
        if (!track_) return;
        const size_t i = (size_t)y * w_ + x;
        filled_[i >> 6] |= uint64_t(1) << (i & 63);
    }
    bool InRegion(uint8_t* row, int x, int y) const {
        return !Filled(x, y) && read_(image_, row, x, y) == region_;
    }

    // Fills the run of region pixels through (x, y) and queues the runs it touches on the rows above and below.
    void FillSpanAt(int x, int y) {
        uint8_t* row = image_->RowAddress(y);
        if (!InRegion(row, x, y)) return;
        int left = x, right = x;
        while (left > 0 && InRegion(row, left - 1, y)) --left;
        while (right + 1 < (int)w_ && InRegion(row, right + 1, y)) ++right;
        for (int i = left; i <= right; ++i) {
            MarkFilled(i, y);
            plot_(image_, row, i, y, colour_);
        }
        if (y > 0) QueueRuns(left, right, y - 1);
        if (y + 1 < (int)h_) QueueRuns(left, right, y + 1);
    }

    void QueueRuns(int left, int right, int y) {
        uint8_t* row = image_->RowAddress(y);
        bool inRun = false;
        for (int i = left; i <= right; ++i) {
            const bool in = InRegion(row, i, y);
            if (in && !inRun) stack_.push_back({i, y});
            inRun = in;
        }
    }

    CDibImage* image_;
    uint32_t w_, h_, colour_;
    DibPixelCallback plot_;
    DibReadCallback read_;
    uint32_t region_;
    bool track_;
    std::vector<uint64_t> filled_;
    std::vector<Seed> stack_;
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
