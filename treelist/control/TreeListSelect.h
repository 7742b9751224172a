// The caret, the selection and the marks on items of the "TreeList" control: SelectCell, which keys, the
// mouse and TVM_SELECTITEM share, multi-selection ranges, the selected-cell frame, the hot and drop highlight
// and the insert mark. All of it runs inside the per-window lock; notifications leave it.
#pragma once

#include "treelist/control/TreeListData.h"

// --- caret and selection (TreeListSelect.cpp)
enum : UINT {
    kSelectOnly = 0x8000,       // the item becomes the only selected one
    kSelectRemove = 0x4000,     // unselect the item instead
    kSelectAlready = 0x800000,  // the item is selected already
};
// Moves the caret to a cell (item 0: no caret). 0 refused or bad, 1 done.
BOOL SelectCell(TreeListData* d, ItemId item, int column, UINT flags);
// Flips the selection of one item of a multi-selection; 1 toggled, 0 refused or bad.
BOOL ToggleItemSelection(TreeListData* d, ItemId item, UINT action);
// Whether cell navigation is on: extended bit 0x40000 and more than one column.
bool CellNavigation(const TreeListData* d);
LRESULT SelectItemMessage(TreeListData* d, WPARAM code, ItemId item);
LRESULT SelectCellMessage(TreeListData* d, ItemId item, int column);

// --- multi-selection ranges (TreeListSelectRange.cpp)
// The range of a Shift-click: from the caret (or the Ctrl anchor) to the item.
void SelectRange(TreeListData* d, ItemId item, int column);
// Moves the selected-cell mark (flag 0x40 of the item or cell); item 0 clears it.
void MarkSelectedCell(TreeListData* d, ItemId item, int column);
// Unselects a selected item, and the selected items hidden below it when it is collapsed.
void UnselectWithHidden(TreeListData* d, ItemId item);
// TLM_SELECTSUBTREE: selects or unselects an item (flags bit 1), with its descendants (bit 0), or the whole
// tree; without notifications.
LRESULT SelectSubtree(TreeListData* d, WPARAM flags, ItemId item);

// --- hot and drop highlight (TreeListHighlight.cpp)
// The hot-track or drop highlight (flag 0x08 of the item or cell); 1 set, 0 refused. The column counts with
// cell highlighting (TLX_CELLDROPHILITE) or when anyColumn is set (TLM_SETDROPHILITE). A missing cell refuses
// unless createCell makes it (the messages do; hot tracking does not).
LRESULT SetDropHighlight(TreeListData* d, ItemId item, int column, bool anyColumn = false,
                         bool createCell = false);
// TLM_SETDROPHILITE (anyColumn: the cell of any column) and TLM_SETHOTHILITE (a cell only with cell highlighting).
LRESULT SetHighlightMessage(TreeListData* d, WPARAM column, ItemId item, bool anyColumn);

// --- insert mark (TreeListInsertMark.cpp)
ItemId SetInsertMark(TreeListData* d, ItemId item, bool after);
LRESULT SetInsertMarkMessage(TreeListData* d, WPARAM after, ItemId item);
