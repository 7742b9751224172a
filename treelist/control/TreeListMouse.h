// The mouse side of the "TreeList" control: the hit test every mouse handler shares, the buttons, the moves
// and the check boxes under the mouse. All of it runs inside the per-window lock; notifications leave it.
// Selection by the mouse is in TreeListSelect.h, its drag in TreeListDrag.h, its tooltip in TreeListTip.h.
#pragma once

#include "treelist/control/TreeListData.h"

// --- hit testing (TreeListHitTest.cpp)
// Fills flags and item of the record for its point (client coordinates); the item, 0 for none.
ItemId HitTestCell(TreeListData* d, TVHITTESTINFO* hit);
LRESULT HitTestMessage(TreeListData* d, TVHITTESTINFO* hit);
// The text part of the tree column (column 0) or of a cell, clipped to the client width; false when the item
// is not shown.
bool CellTextRect(TreeListData* d, ItemId item, int column, RECT* rect);
// The width of the image (or check box) that leads a cell; 0 when it shows none.
int CellImageWidth(const TreeListData* d, int column, const TreeListCell* cell);

// --- buttons (TreeListMouseButtons.cpp)
LRESULT OnButton(TreeListData* d, UINT msg, WPARAM keys, LPARAM point);

// --- moves (TreeListMouseMove.cpp)
LRESULT OnMouseMove(TreeListData* d, WPARAM keys, LPARAM point);
LRESULT OnMouseLeave(TreeListData* d);
// Asks for WM_MOUSELEAVE, once, so that hot marks go when the mouse leaves the window.
void RequestMouseLeave(TreeListData* d);

// --- check boxes under the mouse (TreeListCellChecks.cpp)
// Repaints the hot check box of the tree column or a cell.
void InvalidateHotCheck(TreeListData* d);
// The button-up after a check-style cell was pressed: TLN_CHECKCHANGED (0x10003), then the column editor.
void ReleaseCellCheck(TreeListData* d, POINT point);
