// Item images drawn once per paint pass and copied to further rows. Rows show the same image over the same
// background again and again, and drawing through an image list costs far more than copying the result: each
// is drawn once into a memory bitmap and copied from there.
#include "treelist/control/TreeListPaint.h"
#include "treelist/control/TreeListSeams.h"

#include <cstring>

PaintCopies::~PaintCopies() {
    if (!memory_) return;
    SelectObject(memory_, oldBitmap_);
    DeleteObject(bitmap_);
    DeleteDC(memory_);
}

bool PaintCopies::Prepare(HDC dc, SIZE size) {
    if (memory_) return size.cx == size_.cx && size.cy == size_.cy;
    if (size.cx <= 0 || size.cy <= 0 || size.cx > kMaxSide || size.cy > kMaxSide) return false;
    memory_ = CreateCompatibleDC(dc);
    bitmap_ = memory_ ? CreateCompatibleBitmap(dc, size.cx * kSlots, size.cy) : nullptr;
    if (!bitmap_) {
        if (memory_) DeleteDC(memory_);
        memory_ = nullptr;
        return false;
    }
    oldBitmap_ = SelectObject(memory_, bitmap_);
    size_ = size;
    return true;
}

HDC PaintCopies::Find(HDC dc, const Key& key, UINT generation, SIZE size, int* x, bool* drawn) {
    if (!TreeListPaintCopiesOn()) return nullptr;
    // The parent was called since the copies were drawn: it may have changed what they show.
    if (generation != generation_) count_ = 0;
    generation_ = generation;
    int slot = 0;
    while (slot < count_ && memcmp(&keys_[slot], &key, sizeof key) != 0) ++slot;
    *drawn = slot < count_;
    if (!*drawn) {
        if (count_ == kSlots || !Prepare(dc, size)) return nullptr;
        keys_[count_++] = key;
        // Besides its arguments, an image list's drawing depends on the target's colours (masks).
        SetBkColor(memory_, GetBkColor(dc));
        SetTextColor(memory_, GetTextColor(dc));
    }
    *x = slot * size_.cx;
    return memory_;
}

void PaintCopies::Copy(HDC dc, int x, int y, int fromX) {
    BitBlt(dc, x, y, size_.cx, size_.cy, memory_, fromX, 0, SRCCOPY);
}
