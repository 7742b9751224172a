// Scrolling of the "TreeList" control: the position setters every part shares (TreeListScroll.cpp), the
// scroll-bar messages, the wheel and scrolling an item into view (TreeListScrollMessages.cpp), and the scroll
// bars themselves (TreeListScrollBars.cpp). Its timer is dispatched in TreeListTimers.cpp.
#pragma once

#include "treelist/control/TreeListData.h"

// Reasons of TLN_SCROLLED besides the scroll-bar codes: the wheel, and a scroll to a given position.
constexpr UINT kScrollReasonWheel = 11, kScrollReasonRow = 12;
// Added to a reason when the caller does not hold the lock.
constexpr UINT kScrollUnlocked = 0x10000;

// --- position setters (TreeListScroll.cpp). reason: the scroll-bar code for TLN_SCROLLED, or one of the
// reasons above; false when the parent refused or nothing changed.
bool SetFirstRow(TreeListData* d, UINT firstRow, UINT reason);
bool SetScrollX(TreeListData* d, int scrollX, UINT reason);
// The first shown row and the horizontal position that bring a cell fully into view (as far as it fits).
void ScrollIntoView(TreeListData* d, ItemId item, int column);
// The right edge a horizontal position may reach: the last column's right edge minus the client width.
int MaxScrollX(const TreeListData* d);

// --- scroll messages and scrolling into view (TreeListScrollMessages.cpp)
LRESULT OnVScroll(TreeListData* d, WPARAM wp);
LRESULT OnHScroll(TreeListData* d, WPARAM wp);
LRESULT OnMouseWheel(TreeListData* d, WPARAM wp);
// Expands collapsed ancestors and scrolls the item (the cell of the column) into view; mode -2 makes the item
// the top row. -1 for a bad item, else 1.
int EnsureVisible(TreeListData* d, ItemId item, int column, int mode = 0);
inline int EnsureCaretVisible(TreeListData* d) { return EnsureVisible(d, d->caretItem, d->caretColumn); }
LRESULT EnsureVisibleMessage(TreeListData* d, WPARAM mode, ItemId item);
// Makes the item the top row (TVM_SELECTITEM with TVGN_FIRSTVISIBLE); 0 when it is not shown.
LRESULT ShowAtTop(TreeListData* d, ItemId item);

// --- scroll bars (TreeListScrollBars.cpp)
void UpdateHScrollBar(TreeListData* d, bool leaveLock);
void UpdateVScrollBar(TreeListData* d, bool leaveLock, bool force);
void RefreshVScrollBar(TreeListData* d);  // the queued refresh: at once or after the gap
void OnScrollBarTimer(TreeListData* d);   // the gap has passed: the refresh still due
