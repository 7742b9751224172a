#include "treelist/pathcombo/LevelList.h"

#include "text/TextList.h"

namespace {

constexpr int kIconMargin = 16;  // space of the icon besides the image itself
constexpr int kPopupBorder = 3;
constexpr int kPopupMaxRows = 450;

// The drive letter's bit of an entry that is a drive ("C:"), 0 for other roots.
uint32_t DriveBit(const char* text) {
    const char letter = (char)(text[0] & ~0x20);
    if (letter < 'A' || letter > 'Z' || text[1] != ':' || text[2]) return 0;
    return 1u << (letter - 'A');
}

}  // namespace

PopupSize MeasurePopup(int rowHeight, int count, int widestText, int imageWidth, int scrollBarWidth) {
    PopupSize size = {widestText + imageWidth + kIconMargin, 0, 0};
    if (rowHeight < 1) rowHeight = 1;
    if ((long long)rowHeight * count <= kPopupMaxRows) {
        size.height = rowHeight * count + kPopupBorder;
    } else {
        size.height = kPopupMaxRows + kPopupBorder - kPopupMaxRows % rowHeight;
        size.scroll = scrollBarWidth;
        size.width += scrollBarWidth;
    }
    return size;
}

PopupPlaceRect PlaceLevelPopup(int x, int top, int bottom, int width, int height, int rowHeight,
                               const PopupPlaceRect& area) {
    constexpr int kMinRoomBelow = 112;
    PopupPlaceRect r = {x, bottom, x + width, bottom + height};
    if (r.right > area.right) r.left = area.right - width, r.right = area.right;
    if (r.left < area.left) r.left = area.left, r.right = area.left + width;
    if (r.bottom <= area.bottom) return r;
    const int below = area.bottom - bottom;
    if (below >= kMinRoomBelow) {
        const int rows = rowHeight > 0 ? (below - kPopupBorder) / rowHeight : 0;
        r.bottom = bottom + rows * rowHeight + kPopupBorder;
    } else {
        r.bottom = top;
        r.top = top - height < area.top ? area.top : top - height;
    }
    return r;
}

void MergeDriveEntries(CTextList& level, uint32_t mask, DescribeEntryFn describe, void* context) {
    uint32_t present = 0;
    for (int i = 0; i < level.GetCount();) {
        const uint32_t bit = DriveBit(level.GetItemText(i));
        if (bit && !(mask & bit)) {
            level.RemoveItem(i);
            continue;
        }
        present |= bit;
        ++i;
    }
    int at = 0;
    for (int d = 0; d < 26; ++d) {
        const uint32_t bit = 1u << d;
        // Skip the drives before this letter, which are in letter order.
        while (at < level.GetCount()) {
            const uint32_t here = DriveBit(level.GetItemText(at));
            if (!here || here > bit) break;
            ++at;
        }
        if (!(mask & bit) || (present & bit)) continue;
        const char name[3] = {(char)('A' + d), ':', 0};
        LevelEntryData data = describe(name, context);
        if (level.InsertItemN(2, name, at, &data) >= 0) ++at;
    }
}
