// The folder lists of the breadcrumb's levels: the user data of their entries, the words that
// name a level and the path generation it was read for, the size of a level's popup, and level
// 0's drives.
#pragma once

#include <cstdint>

class CTextList;

// User data of a level entry (8 bytes).
struct LevelEntryData {
    int32_t icon;
    uint32_t info;  // text width in bits 0-15, entry kind in bits 16-23
};
enum : int {
    LEVEL_ENTRY_FOLDER = 0,
    LEVEL_ENTRY_NETWORK = 1,  // a shell entry: the network place, a server, a share
    LEVEL_ENTRY_OWN = 2,      // the path's own component, standing in for a level that could not be read
};
constexpr int kLevelTextWidthMax = 280;

inline uint32_t LevelEntryInfo(int width, int kind) {
    if (width > kLevelTextWidthMax) width = kLevelTextWidthMax;
    return (uint32_t)(width < 0 ? 0 : width) | (uint32_t)(kind & 0xFF) << 16;
}
inline int LevelEntryWidth(const LevelEntryData& d) { return (int)(d.info & 0xFFFF); }
inline int LevelEntryKind(const LevelEntryData& d) { return (int)(d.info >> 16 & 0xFF); }

// A level word: level + 1 in the top byte, the path generation in the low 24 bits.
constexpr uint32_t kLevelWordNone = 0;
constexpr uint32_t kLevelWordEnd = 0xFFFFFFFFu;
constexpr uint32_t kLevelNeverRead = 0xFFFFFFFFu;
inline uint32_t MakeLevelWord(int level, uint32_t generation) {
    return (uint32_t)(level + 1) << 24 | (generation & 0xFFFFFF);
}
inline int LevelOfWord(uint32_t word) { return (int)(word >> 24) - 1; }
inline uint32_t GenerationOfWord(uint32_t word) { return word & 0xFFFFFF; }

// Size of a level's popup.
struct PopupSize {
    int width;
    int height;
    int scroll;  // width of the vertical scroll bar included in width (0 none)
};
constexpr int kPopupStartWidth = 280;
constexpr int kPopupStartHeight = 450;
// Rows up to 450 pixels high show whole; longer lists get a scroll bar and a height of whole rows.
PopupSize MeasurePopup(int rowHeight, int count, int widestText, int imageWidth, int scrollBarWidth);

// Screen rectangle of a level's popup: under the combo (screen rows top to bottom) at the arrow's
// left x, inside area. When it would leave the bottom and at least 112 pixels are free below, its
// height is cut to whole rows; with less room it goes above the combo.
struct PopupPlaceRect {
    int left, top, right, bottom;
};
PopupPlaceRect PlaceLevelPopup(int x, int top, int bottom, int width, int height, int rowHeight,
                               const PopupPlaceRect& area);

// Describes a new entry of the drive list: its icon and text width.
using DescribeEntryFn = LevelEntryData (*)(const char* text, void* context);
// Brings level 0's drives to mask (bit 0 = A:): vanished drives go, new ones are inserted in letter
// order; drives stay before the other roots.
void MergeDriveEntries(CTextList& level, uint32_t mask, DescribeEntryFn describe, void* context);
