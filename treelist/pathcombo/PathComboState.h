// The part of a path combo box's state that its worker reads and writes: the path, its segments and
// the level lists. Every access from either thread is made under PathComboLock.
#pragma once

#include "text/TextList.h"
#include "treelist/pathcombo/LevelList.h"
#include "treelist/shared/PathText.h"

#include <cstdint>
#include <memory>

struct PathComboState {
    PathComboState();

    char path[kPathBufferSize] = {};
    uint32_t segStart[kMaxSegments + 1] = {};  // [count] is the end of the path shown
    uint16_t segLength[kMaxSegments] = {};
    int count = 0;
    uint32_t generation = 0;  // incremented by every new path (24 bits count)
    // Level 0: drives and other roots; level k: the folders in the path up to segment k - 1.
    std::unique_ptr<CTextList> levels[kLevelCount];
    uint32_t levelGeneration[kLevelCount];  // the level word a list was read for, kLevelNeverRead
    uint16_t popupWidth[kLevelCount];
    uint16_t popupHeight[kLevelCount];
    uint8_t popupScroll[kLevelCount] = {};
    uint32_t drives = 0;       // drive mask level 0 holds
    bool noNetwork = false;

    // The length of the path up to and with segment level - 1 (0 for level 0).
    int LevelPathLength(int level) const;
    // Sets a level's popup size from the text widths of its list.
    void MeasureLevelPopup(int level);
    // Brings level 0's drives to the present ones when they changed.
    void RefreshDrives();
};
