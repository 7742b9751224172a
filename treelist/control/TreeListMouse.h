// The mouse side of the "TreeList" control: the hit test every mouse handler shares, scrolling, the hot and
// drop highlight, check boxes, multi-selection by mouse, the insert mark, the label tooltip and the width a
// column needs. All of it runs inside the per-window lock; notifications leave it.
#pragma once

#include "treelist/control/TreeListData.h"

// Timer ids of the control.
constexpr UINT_PTR kTimerHover = 0x3910, kTimerTip = 0x3912, kTimerAutoScroll = 0x3913;

// --- hit testing (TreeListHitTest.cpp)
// Fills flags and item of the record for its point (client coordinates); the item, 0 for none.
ItemId HitTestCell(TreeListData* d, TVHITTESTINFO* hit);
// The text part of the tree column (column 0) or of a cell, clipped to the client width; false when the item
// is not shown.
bool CellTextRect(TreeListData* d, ItemId item, int column, RECT* rect);
// The width of the image (or check box) that leads a cell; 0 when it shows none.
int CellImageWidth(const TreeListData* d, int column, const TreeListCell* cell);

// --- scrolling (TreeListScrollMessages.cpp; the setters are in TreeListScroll.cpp). Reasons of TLN_SCROLLED:
// the scroll-bar code, 11 for the wheel, 12 to a position.
constexpr UINT kScrollReasonWheel = 11, kScrollReasonRow = 12;
// Expands collapsed ancestors and scrolls the item (the cell of the column) into view; mode -2 makes the item
// the top row. -1 for a bad item, else 1.
int EnsureVisible(TreeListData* d, ItemId item, int column, int mode = 0);
inline int EnsureCaretVisible(TreeListData* d) { return EnsureVisible(d, d->caretItem, d->caretColumn); }
// Makes the item the top row (TVM_SELECTITEM with TVGN_FIRSTVISIBLE); 0 when it is not shown.
LRESULT ShowAtTop(TreeListData* d, ItemId item);
bool EditorOpen(const TreeListData* d);

// --- highlights and check boxes
// The hot-track or drop highlight (flag 0x08 of the item or cell); 1 set, 0 refused. The column counts with
// cell highlighting (TLX_CELLDROPHILITE) or when anyColumn is set (TLM_SETDROPHILITE). A missing cell refuses
// unless createCell makes it (the messages do; hot tracking does not).
LRESULT SetDropHighlight(TreeListData* d, ItemId item, int column, bool anyColumn = false,
                         bool createCell = false);
void RequestMouseLeave(TreeListData* d);
// Repaints the hot check box of the tree column or a cell.
void InvalidateHotCheck(TreeListData* d);
// The button-up after a check-style cell was pressed: TLN_CHECKCHANGED (0x10003), then the column editor.
void ReleaseCellCheck(TreeListData* d, POINT point);

// --- multi-selection by mouse (TreeListMouseSelect.cpp)
void SelectRange(TreeListData* d, ItemId item, int column);
// Moves the selected-cell mark (flag 0x40 of the item or cell); item 0 clears it.
void MarkSelectedCell(TreeListData* d, ItemId item, int column);
// Tree-order walk below root (kItemRoot: the whole tree) to the next (un)selected item after item.
ItemId NextSelectedInSubtree(const TreeListData* d, ItemId item, ItemId root);
ItemId NextUnselectedInSubtree(const TreeListData* d, ItemId item, ItemId root);
// Unselects a selected item, and the selected items hidden below it when it is collapsed.
void UnselectWithHidden(TreeListData* d, ItemId item);

// --- tooltip (TreeListTip.cpp)
void CreateTip(TreeListData* d);
void DestroyTip(TreeListData* d);
// Shows, moves or hides the tip for the item under the mouse and its hit flags.
void UpdateTip(TreeListData* d, ItemId item, UINT flags);
void HideTip(TreeListData* d);
void OnTipTimer(TreeListData* d);
// Moves a tip rectangle (screen) into the work area: left by its overhang on the right, but never past the
// work area's left edge; the same vertically. True when it moved.
bool KeepRectOnArea(RECT* tip, const RECT& work);

// --- header (TreeListHeaderNotify.cpp)
int OptimalColumnWidth(TreeListData* d, int column);

// --- insert mark (TreeListInsertMark.cpp)
ItemId SetInsertMark(TreeListData* d, ItemId item, bool after);
