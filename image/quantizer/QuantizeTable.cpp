// The quantizer's colour table (open addressing, linear probing, at most half full).
#include "image/quantizer/QuantizeTable.h"

void DibQuantColourTableDeleter::operator()(DibQuantColourTable* table) const { delete table; }

DibQuantColourTable::DibQuantColourTable(uint64_t pixels) {
    size_t size = 4096;
    while (size < 2 * pixels && size < (1u << 22)) size *= 2;
    slots_.assign(size, Slot{0, 0});
}

size_t DibQuantColourTable::SlotOf(uint32_t colour) const {
    const size_t mask = slots_.size() - 1;
    size_t i = (colour * 2654435761u) >> 8 & mask;
    while (slots_[i].count && (slots_[i].key & 0xffffff) != colour) i = (i + 1) & mask;
    return i;
}

void DibQuantColourTable::Grow() {
    std::vector<Slot> old(slots_.size() * 2, Slot{0, 0});
    old.swap(slots_);
    for (const Slot& s : old)
        if (s.count) slots_[SlotOf(s.key & 0xffffff)] = s;
}

uint32_t* DibQuantColourTable::Add(uint32_t colour) {
    colour &= 0xffffff;
    Slot* s = &slots_[SlotOf(colour)];
    if (s->count) {
        ++s->count;
        return &s->count;
    }
    if (2 * ((size_t)distinct_ + 1) > slots_.size()) {
        Grow();
        s = &slots_[SlotOf(colour)];
    }
    ++distinct_;
    *s = {colour, 1};
    return &s->count;
}

void DibQuantColourTable::ListColours() {
    colours.clear();
    colours.reserve(distinct_);
    for (size_t i = 0; i < slots_.size(); ++i)
        if (slots_[i].count) colours.push_back({slots_[i].key & 0xffffff, slots_[i].count, (uint32_t)i});
    rangeBegin[0] = 0;
    rangeEnd[0] = (uint32_t)colours.size();
}

int DibQuantColourTable::BoxOf(uint32_t colour) const {
    const Slot& s = slots_[SlotOf(colour & 0xffffff)];
    return s.count ? (int)(s.key >> 24) : -1;
}
