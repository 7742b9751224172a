// The quantizer's colour table (open addressing, linear probing, at most half full: it grows as colours
// appear, so that it stays in proportion to the colours, not to the pixels).
#include "image/quantizer/QuantizeTable.h"

void DibQuantColourTableDeleter::operator()(DibQuantColourTable* table) const { delete table; }

DibQuantColourTable::DibQuantColourTable() { slots_.assign(kFirstSlots, Slot{0, 0}); }

void DibQuantColourTable::Grow() {
    // Four times as large while small (fewer moves of every colour, measured about twice as fast over a
    // photograph's histogram), twice beyond a million slots, so that the table stays within 8 slots a colour.
    std::vector<Slot> old(slots_.size() * (slots_.size() < kQuadrupleBelow ? 4 : 2), Slot{0, 0});
    old.swap(slots_);
    for (const Slot& s : old)
        if (s.count) slots_[SlotOf(s.key & 0xffffff)] = s;
}

void DibQuantColourTable::Insert(uint32_t colour) {
    if (2 * ((size_t)distinct_ + 1) > slots_.size()) Grow();
    slots_[SlotOf(colour)] = {colour, 1};
    ++distinct_;
}

void DibQuantColourTable::ListColours() {
    colours.clear();
    colours.reserve(distinct_);
    for (size_t i = 0; i < slots_.size(); ++i)
        if (slots_[i].count) colours.push_back({slots_[i].key & 0xffffff, slots_[i].count, (uint32_t)i});
    rangeBegin[0] = 0;
    rangeEnd[0] = (uint32_t)colours.size();
}
