// The colour quantizer's histogram: an open-addressing table with one slot per distinct colour, and
// the colours in an order in which each box owns one contiguous range.
#pragma once

#include "image/DibImage.h"

#include <vector>

// Channel order of boxes and axes.
enum : int { kQuantBlue = 0, kQuantGreen = 1, kQuantRed = 2 };

// A distinct colour in box order, with its pixel count and its slot in the table.
struct DibQuantColour {
    uint32_t colour; // 0x00RRGGBB
    uint32_t count;
    uint32_t slot;

    uint32_t Channel(int c) const { return (colour >> (8 * c)) & 255; }
};

// Whether a box's three ranges hold a colour.
inline bool BoxHolds(const DibQuantBox& b, uint8_t red, uint8_t green, uint8_t blue) {
    return red >= b.min[kQuantRed] && red <= b.max[kQuantRed] && green >= b.min[kQuantGreen] &&
           green <= b.max[kQuantGreen] && blue >= b.min[kQuantBlue] && blue <= b.max[kQuantBlue];
}

struct DibQuantColourTable {
    // Sized for `pixels` pixels without growing while there is room (at most 2^22 slots up front).
    explicit DibQuantColourTable(uint64_t pixels);

    // Counts one pixel; returns the colour's count for further pixels of the same colour. The count
    // stays valid until the next call. Throws std::bad_alloc.
    uint32_t* Add(uint32_t colour);
    uint32_t Distinct() const { return distinct_; }
    // Lists the distinct colours into `colours`, all owned by box 0. Throws std::bad_alloc.
    void ListColours();
    // Records the box of a listed colour.
    void SetBox(const DibQuantColour& c, uint32_t box) { slots_[c.slot].key = c.colour | box << 24; }
    // The box recorded for a colour, or -1 when the colour was never counted.
    int BoxOf(uint32_t colour) const;

    std::vector<DibQuantColour> colours;
    uint32_t rangeBegin[256] = {}, rangeEnd[256] = {}; // box i owns colours[rangeBegin[i] .. rangeEnd[i])

private:
    struct Slot {
        uint32_t key;   // the colour, and its box in bits 24-31 once the boxes are final
        uint32_t count; // 0: a free slot
    };
    size_t SlotOf(uint32_t colour) const;
    void Grow();

    std::vector<Slot> slots_;
    uint32_t distinct_ = 0;
};
