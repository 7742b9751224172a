// Operations of the keyboard, editing, mouse and item-operation parts that storage, columns and the deferred
// queue call into. Until those parts are in, TreeListPending.cpp holds their stand-ins; each part replaces
// its stand-in with the real operation in a file of its own.
#pragma once

#include "treelist/control/TreeListData.h"

// Item operations: applies the state bits an insert held back (TVIS_SELECTED, TVIS_EXPANDED,
// TVIS_EXPANDPARTIAL) to the new item.
void ApplyDeferredState(TreeListData* d, ItemId item, UINT bits);
// Item operations: TVM_SETITEMA for an item or a cell; TRUE when applied.
BOOL SetItem(TreeListData* d, TVITEMA* record);
// Keyboard and selection: moves the caret to a cell. flags as the keyboard part defines them.
BOOL SelectCell(TreeListData* d, ItemId item, int column, UINT flags);
// Editing: an open editor on this item (0 = any) and column (-1 = any) is closed without storing its text
// and without notifications.
void CancelEditOn(TreeListData* d, ItemId item, int column);
// Editing: WM_PASTE with a caret item and text on the clipboard opens an editor filled from it.
bool PasteIntoEditor(TreeListData* d);
