#include "treelist/pathcombo/PathComboState.h"

#include "system/SystemIcons.h"
#include "treelist/pathcombo/PathComboShared.h"
#include "treelist/shared/FolderWidgetLook.h"

#include <windows.h>

namespace {

LevelEntryData DescribeDrive(const char* text, void* measure) {
    int icon = GetDriveIconIndex(text[0], TRUE);
    LevelEntryData data = {icon >= 0 ? icon : GetFolderWidgetLook().folderIcon, 0};
    data.info = LevelEntryInfo(static_cast<PathTextMeasure*>(measure)->Width(text, 2), LEVEL_ENTRY_FOLDER);
    return data;
}

}  // namespace

PathComboState::PathComboState() {
    for (int level = 0; level < kLevelCount; ++level) {
        levels[level].reset(new CTextList(sizeof(LevelEntryData)));
        levelGeneration[level] = kLevelNeverRead;
        popupWidth[level] = kPopupStartWidth;
        popupHeight[level] = kPopupStartHeight;
    }
}

int PathComboState::LevelPathLength(int level) const {
    if (level <= 0 || level > count) return 0;
    return (int)(segStart[level - 1] + segLength[level - 1]);
}

void PathComboState::MeasureLevelPopup(int level) {
    const CTextList& list = *levels[level];
    int widest = 0;
    LevelEntryData data;
    for (int i = 0; i < list.GetCount(); ++i) {
        list.GetItemData(i, &data);
        if (LevelEntryWidth(data) > widest) widest = LevelEntryWidth(data);
    }
    const FolderWidgetLook& look = GetFolderWidgetLook();
    PopupSize size = MeasurePopup(look.rowHeight, list.GetCount(), widest, look.imageWidth,
                                  GetSystemMetrics(SM_CXVSCROLL));
    popupWidth[level] = (uint16_t)size.width;
    popupHeight[level] = (uint16_t)size.height;
    popupScroll[level] = (uint8_t)size.scroll;
}

void PathComboState::RefreshDrives() {
    const uint32_t mask = GetLogicalDrives();
    if (mask == drives) return;
    drives = mask;
    PathTextMeasure measure;
    MergeDriveEntries(*levels[0], mask, DescribeDrive, &measure);
    MeasureLevelPopup(0);
}
