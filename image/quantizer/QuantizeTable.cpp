// The quantizer's colour table: node storage, the per-channel lists and the colour index.
#include "image/quantizer/QuantizeTable.h"

void DibQuantColourTableDeleter::operator()(DibQuantColourTable* table) const { delete table; }

size_t DibQuantColourTable::SlotOf(uint32_t colour) const {
    const size_t mask = slots_.size() - 1;
    size_t i = (colour * 2654435761u) & mask;
    while (slots_[i].colour != colour && slots_[i].colour != kEmpty) i = (i + 1) & mask;
    return i;
}

DibQuantNode* DibQuantColourTable::Find(uint32_t colour) const {
    if (slots_.empty()) return nullptr;
    const Slot& s = slots_[SlotOf(colour & 0xffffff)];
    return s.colour == kEmpty ? nullptr : &NodeAt(s.node);
}

void DibQuantColourTable::Grow() {
    std::vector<Slot> old(slots_.empty() ? 0 : slots_.size() * 2, Slot{kEmpty, 0});
    old.swap(slots_);
    if (slots_.empty()) slots_.assign(4096, Slot{kEmpty, 0});
    for (const Slot& s : old)
        if (s.colour != kEmpty) slots_[SlotOf(s.colour)] = s;
}

DibQuantNode* DibQuantColourTable::Add(uint32_t colour) {
    colour &= 0xffffff;
    if ((size_t)(distinct + 1) * 2 > slots_.size()) Grow();
    Slot& s = slots_[SlotOf(colour)];
    if (s.colour != kEmpty) {
        DibQuantNode& node = NodeAt(s.node);
        ++node.count;
        return &node;
    }
    if (distinct % kChunkNodes == 0) chunks_.emplace_back(new DibQuantNode[kChunkNodes]);
    DibQuantNode& node = NodeAt(distinct);
    s = {colour, distinct++};
    node.count = 1;
    node.box = 0;
    node.channel[kQuantBlue] = (uint8_t)colour;
    node.channel[kQuantGreen] = (uint8_t)(colour >> 8);
    node.channel[kQuantRed] = (uint8_t)(colour >> 16);
    // New nodes go to the front of their three lists.
    for (int c = 0; c < 3; ++c) {
        DibQuantNode*& head = heads[node.channel[c]][c];
        node.next[c] = head;
        head = &node;
    }
    return &node;
}
