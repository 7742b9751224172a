// Operations on items and on the selection that messages, keys, the mouse and the deferred queue share:
// expanding, setting items, selecting, check boxes, sorting, moving and scrolling. All run inside the
// per-window lock and leave it around their notifications; afterwards they look their items up again.
#pragma once

#include "treelist/control/TreeListData.h"

// --- expand and collapse (TreeListExpand.cpp)
// code bits 0-3: 0 toggle, 2 expand, any other value collapse; 0x80 stores TVIS_EXPANDPARTIAL.
// 0 done or nothing to change, 1 refused by the parent, -1 bad item or one that vanished meanwhile.
int ExpandItem(TreeListData* d, ItemId item, UINT code);

// --- setting items (TreeListSetItem.cpp)
// TVM_SETITEMA for an item or (mask TLIF_CELL, column in cChildren) a cell; TRUE when applied.
BOOL SetItem(TreeListData* d, const TVITEMA* record);
// Applies state bits (TVIS_SELECTED, TVIS_EXPANDED, TVIS_EXPANDPARTIAL) that a caller on another thread
// could not: mask chooses the bits, values gives them.
void ApplyStateBits(TreeListData* d, ItemId item, UINT mask, UINT values);

// --- selection (TreeListSelect.cpp)
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

// --- check boxes (TreeListChecks.cpp)
// Toggles the check box of the tree column as a click or Space does, and tells the parent (TLN_CHECKCHANGED).
void ToggleCheckBox(TreeListData* d, ItemId item, int x, int y);
// Follows the last checked item after the state of an item changed.
void TrackChecked(TreeListData* d, ItemId item);

// --- scrolling (TreeListScroll.cpp). reason: the scroll-bar code for TLN_SCROLLED (11: wheel); with
// kScrollUnlocked the caller does not hold the lock. false when the parent refused or nothing changed.
constexpr UINT kScrollUnlocked = 0x10000;
bool SetFirstRow(TreeListData* d, UINT firstRow, UINT reason);
bool SetScrollX(TreeListData* d, int scrollX, UINT reason);
// The first shown row and the horizontal position that bring a cell fully into view (as far as it fits).
void ScrollIntoView(TreeListData* d, ItemId item, int column);
// The right edge a horizontal position may reach: the last column's right edge minus the client width.
int MaxScrollX(const TreeListData* d);

// --- sort and move (TreeListSort.cpp, TreeListMove.cpp)
enum SortKind : int { kSortByText, kSortByParam, kSortByItem };
LRESULT SortChildItems(TreeListData* d, ItemId parent, bool recurse, SortKind kind, const TVSORTCB* sort);
// mode 0 before the target, 1 after it, 2 as its first child, 3 as its last child.
// 0 refused, 1 nothing to do, 2 moved.
int MoveItem(TreeListData* d, ItemId item, ItemId target, int mode);
