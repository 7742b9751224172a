// The quantizer's colour table (open addressing, linear probing, at most half full: it grows as colours
// appear, so that it stays in proportion to the colours, not to the pixels).
#include "image/quantizer/QuantizeTable.h"

void DibQuantColourTableDeleter::operator()(DibQuantColourTable* table) const { delete table; }

DibQuantColourTable::DibQuantColourTable() { m_slots.assign(kFirstSlots, Slot{0, 0}); }

void DibQuantColourTable::Grow() {
    // Four times as large while small (fewer moves of every colour, measured about twice as fast over a
    // photograph's histogram), twice beyond a million slots, so that the table stays within 8 slots a colour.
    std::vector<Slot> old(m_slots.size() * (m_slots.size() < kQuadrupleBelow ? 4 : 2), Slot{0, 0});
    old.swap(m_slots);
    for (const Slot& s : old)
        if (s.count) m_slots[SlotOf(s.key & 0xffffff)] = s;
}

void DibQuantColourTable::Insert(uint32_t colour) {
    if (2 * ((size_t)m_distinct + 1) > m_slots.size()) Grow();
    m_slots[SlotOf(colour)] = {colour, 1};
    ++m_distinct;
}

void DibQuantColourTable::ListColours() {
    colours.clear();
    colours.reserve(m_distinct);
    for (size_t i = 0; i < m_slots.size(); ++i)
        if (m_slots[i].count) colours.push_back({m_slots[i].key & 0xffffff, m_slots[i].count, (uint32_t)i});
    rangeBegin[0] = 0;
    rangeEnd[0] = (uint32_t)colours.size();
}
