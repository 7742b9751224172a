// Item images drawn once per paint pass and copied to further rows. Rows show the same image over the same
// background again and again, and drawing through an image list costs far more than copying the result: each
// is drawn once into a memory bitmap and copied from there.
#include "treelist/control/TreeListPaint.h"

#include "treelist/control/TreeListSeams.h"

#include <cstring>

PaintCopies::~PaintCopies() {
    if (!m_memory) return;
    SelectObject(m_memory, m_oldBitmap);
    DeleteObject(m_bitmap);
    DeleteDC(m_memory);
}

bool PaintCopies::Prepare(HDC dc, SIZE size) {
    if (m_memory) return size.cx == m_size.cx && size.cy == m_size.cy;
    if (size.cx <= 0 || size.cy <= 0 || size.cx > kMaxSide || size.cy > kMaxSide) return false;
    m_memory = CreateCompatibleDC(dc);
    m_bitmap = m_memory ? CreateCompatibleBitmap(dc, size.cx * kSlots, size.cy) : nullptr;
    if (!m_bitmap) {
        if (m_memory) DeleteDC(m_memory);
        m_memory = nullptr;
        return false;
    }
    m_oldBitmap = SelectObject(m_memory, m_bitmap);
    m_size = size;
    return true;
}

HDC PaintCopies::Find(HDC dc, const Key& key, UINT generation, SIZE size, int* x, bool* drawn) {
    if (!TreeListPaintCopiesOn()) return nullptr;
    // The parent was called since the copies were drawn: it may have changed what they show.
    if (generation != m_generation) m_count = 0;
    m_generation = generation;
    int slot = 0;
    while (slot < m_count && memcmp(&m_keys[slot], &key, sizeof key) != 0) ++slot;
    *drawn = slot < m_count;
    if (!*drawn) {
        if (m_count == kSlots || !Prepare(dc, size)) return nullptr;
        m_keys[m_count++] = key;
        // Besides its arguments, an image list's drawing depends on the target's colours (masks).
        SetBkColor(m_memory, GetBkColor(dc));
        SetTextColor(m_memory, GetTextColor(dc));
    }
    *x = slot * m_size.cx;
    return m_memory;
}

void PaintCopies::Copy(HDC dc, int x, int y, int fromX) {
    BitBlt(dc, x, y, m_size.cx, m_size.cy, m_memory, fromX, 0, SRCCOPY);
}
