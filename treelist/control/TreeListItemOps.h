// Reading and changing items of the "TreeList" control: the get and set messages, own cell colours, check
// boxes, expanding, sorting and moving. All run inside the per-window lock and leave it around their
// notifications; afterwards they look their items up again. The storage they work on is in TreeListItems.h.
#pragma once

#include "treelist/control/TreeListData.h"

// --- reading items (TreeListItemMessages.cpp)
LRESULT GetItemMessage(TreeListData* d, TVITEMA* record);
LRESULT SetItemParam(TreeListData* d, ItemId item, LPARAM value);
LRESULT GetItemParam(TreeListData* d, ItemId item);
LRESULT GetItemState(TreeListData* d, ItemId item);
LRESULT GetUserData(TreeListData* d, ItemId item);
LRESULT SetUserDataSize(TreeListData* d, LPARAM size);
LRESULT GetNextItem(TreeListData* d, UINT code, ItemId item);

// --- setting items (TreeListSetItem.cpp)
// TVM_SETITEMA for an item or (mask TLIF_CELL, column in cChildren) a cell; TRUE when applied.
BOOL SetItem(TreeListData* d, const TVITEMA* record);
LRESULT SetItemMessage(TreeListData* d, const TVITEMA* record);
// Applies state bits (TVIS_SELECTED, TVIS_EXPANDED, TVIS_EXPANDPARTIAL) that a caller on another thread
// could not: mask chooses the bits, values gives them.
void ApplyStateBits(TreeListData* d, ItemId item, UINT mask, UINT values);

// --- own colours of items and cells (TreeListCellColours.cpp); itemAndColumn packs both (PackItemColumn),
// column kAllColumns colours the item and all its cells.
constexpr int kAllColumns = 255;
LRESULT GetCellColour(TreeListData* d, ItemId item, int column, bool background);
LRESULT SetCellColour(TreeListData* d, WPARAM itemAndColumn, COLORREF colour, bool background);
LRESULT SetCellColourRecord(TreeListData* d, ItemId item, const TreeListCellColour* record);

// --- check boxes of the tree column (TreeListChecks.cpp)
// Toggles the check box of the tree column as a click or Space does, and tells the parent (TLN_CHECKCHANGED).
void ToggleCheckBox(TreeListData* d, ItemId item, int x, int y);
// Follows the last checked item after the state of an item changed.
void TrackChecked(TreeListData* d, ItemId item);

// --- expand and collapse (TreeListExpand.cpp)
// code bits 0-3: 0 toggle, 2 expand, any other value collapse; 0x80 stores TVIS_EXPANDPARTIAL.
// 0 done or nothing to change, 1 refused by the parent, -1 bad item or one that vanished meanwhile.
int ExpandItem(TreeListData* d, ItemId item, UINT code);
LRESULT ExpandMessage(TreeListData* d, UINT code, ItemId item);

// --- sort (TreeListSort.cpp)
enum SortKind : int { kSortByText, kSortByParam, kSortByItem };
LRESULT SortChildItems(TreeListData* d, ItemId parent, bool recurse, SortKind kind, const TVSORTCB* sort);
LRESULT SortChildrenMessage(TreeListData* d, bool recurse, ItemId parent);
LRESULT SortChildrenCallback(TreeListData* d, bool recurse, const TVSORTCB* sort, bool sixArguments);

// --- move (TreeListMove.cpp)
// mode 0 before the target, 1 after it, 2 as its first child, 3 as its last child.
// 0 refused, 1 nothing to do, 2 moved.
int MoveItem(TreeListData* d, ItemId item, ItemId target, int mode);
LRESULT MoveItemMessage(TreeListData* d, int mode, ItemId target, ItemId item);
