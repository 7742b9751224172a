// The colour quantizer's histogram: an open-addressing table with a slot per distinct colour, and
// the colours in an order in which each box owns one contiguous range.
#pragma once

#include "image/DibImage.h"

#include <vector>

// How many pixels or colours ahead the loops over the table fetch the slots they will use (about the time
// a fetch from memory takes on a busy machine: 16 left a quarter of the mapping waiting).
constexpr uint32_t kQuantAhead = 48;

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
    // Throws std::bad_alloc.
    DibQuantColourTable();

    // Counts one pixel of a colour (bits 24-31 left out). Throws std::bad_alloc.
    void Add(uint32_t colour) {
        colour &= 0xffffff;
        Slot& s = m_slots[SlotOf(colour)];
        if (s.count) ++s.count;
        else Insert(colour);
    }
    uint32_t Distinct() const { return m_distinct; }
    // Lists the distinct colours into `colours`, all owned by box 0. Throws std::bad_alloc.
    void ListColours();
    // Records the box of a listed colour.
    void SetBox(const DibQuantColour& c, uint32_t box) { m_slots[c.slot].key = c.colour | box << 24; }
    // The box recorded for a colour, or -1 when the colour was never counted.
    int BoxOf(uint32_t colour) const {
        const Slot& s = m_slots[SlotOf(colour & 0xffffff)];
        return s.count ? (int)(s.key >> 24) : -1;
    }
    // Fetches the slots where a colour's search starts into the caches: the table is larger than they are,
    // and colours come in no order, so each search waits for memory unless it is fetched a while before.
    void Prefetch(uint32_t colour) const { __builtin_prefetch(&m_slots[Home(colour & 0xffffff)]); }
    // The same for a listed colour's slot, to be written.
    void PrefetchSlot(const DibQuantColour& c) const { __builtin_prefetch(&m_slots[c.slot], 1); }

    std::vector<DibQuantColour> colours;
    uint32_t rangeBegin[256] = {}, rangeEnd[256] = {}; // box i owns colours[rangeBegin[i] .. rangeEnd[i])

private:
    struct Slot {
        uint32_t key;   // the colour, and its box in bits 24-31 once the boxes are final
        uint32_t count; // 0: a free slot
    };
    static constexpr size_t kFirstSlots = 4096, kQuadrupleBelow = 1u << 20;
    size_t Home(uint32_t colour) const { return (colour * 2654435761u) >> 8 & (m_slots.size() - 1); }
    // The colour's slot, or the free slot where it would go.
    size_t SlotOf(uint32_t colour) const {
        const size_t mask = m_slots.size() - 1;
        size_t i = Home(colour);
        while (m_slots[i].count && (m_slots[i].key & 0xffffff) != colour) i = (i + 1) & mask;
        return i;
    }
    // Adds a colour not in the table yet, with a count of 1.
    void Insert(uint32_t colour);
    void Grow();

    std::vector<Slot> m_slots;
    uint32_t m_distinct = 0;
};
