// The colour quantizer's histogram: one node per distinct colour, linked into three lists (by blue,
// by green and by red value), plus a hash index that finds a colour's node in one probe or a few.
#pragma once

#include "image/DibImage.h"

#include <memory>
#include <new>
#include <vector>

// Channel order of nodes, boxes and list heads.
enum : int { kQuantBlue = 0, kQuantGreen = 1, kQuantRed = 2 };

struct DibQuantNode {
    DibQuantNode* next[3]; // next node in the list of bucket[channel[i]], list i
    uint32_t count;        // pixels of this colour
    uint8_t channel[3];    // blue, green, red
    uint8_t box;           // the box that holds the colour, once the boxes are final
};

struct DibQuantColourTable {
    DibQuantNode* heads[256][3] = {};
    uint32_t distinct = 0;

    // The node of a colour (0x00RRGGBB), or null.
    DibQuantNode* Find(uint32_t colour) const;
    // Counts one pixel of a colour, adding its node when the colour is new. Throws std::bad_alloc.
    DibQuantNode* Add(uint32_t colour);

private:
    static constexpr uint32_t kChunkNodes = 4096;
    static constexpr uint32_t kEmpty = 0xffffffff;
    struct Slot {
        uint32_t colour; // kEmpty when free
        uint32_t node;   // index into the chunks
    };
    DibQuantNode& NodeAt(uint32_t i) const { return chunks_[i / kChunkNodes][i % kChunkNodes]; }
    size_t SlotOf(uint32_t colour) const;
    void Grow();

    std::vector<std::unique_ptr<DibQuantNode[]>> chunks_;
    std::vector<Slot> slots_;
};
