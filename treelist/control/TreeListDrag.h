// The control's own drag and drop of items: the drag started by the mouse or by TLM_STARTDRAG, its feedback
// (drop-target bar and cursor), automatic scrolling at the edges, hover expansion and the drop with TLN_DROP.
#pragma once

#include "treelist/control/TreeListData.h"

// Drag flags: the left button was down at the start; started by TLM_STARTDRAG. BeginInternalDrag takes them
// together with the MK_* key bits below them.
constexpr UINT kDragLeftButton = 0x01, kDragByMessage = 0x80;
constexpr UINT kDragKeyBits = 0x7F;
// The dragged item while the drag runs on after that item was deleted: past every table, so it names no item
// (a handle given out again later must not be dropped), but the drag keeps its capture and timers until the
// button-up, Escape or a right press ends it, and then drops nothing.
constexpr ItemId kDraggedItemGone = 0xFFFFFFFF;
// Drop modes (as the moves of TLM_MOVEITEM): before, after, first child, last child.
enum DropModeKind : int { kDropBefore = 0, kDropAfter = 1, kDropOntoFirst = 2, kDropOntoLast = 3 };

// --- feedback (TreeListDragFeedback.cpp)
BOOL BeginInternalDrag(TreeListData* d, ItemId item, UINT flags, POINT point);
LRESULT StartDragMessage(TreeListData* d, ItemId item);
void UpdateDragFeedback(TreeListData* d, UINT keys, POINT point);
// The feedback once more at the last position: after scrolling, or with Ctrl pressed (copy) or released.
void RefreshDragFeedback(TreeListData* d);
void SetDragCopyKey(TreeListData* d, bool down);
// Ends the drag without a drop (Escape, a right press); report: TLN_DROP with TLDROP_CANCELLED.
void CancelInternalDrag(TreeListData* d, bool report);
// The button-up of a drag: the drop and the end of the drag.
void EndInternalDrag(TreeListData* d, UINT keys);
// A key while a drag runs (Escape cancels it, Control refreshes the feedback, Tab does nothing). False when no
// drag runs, and the key takes its usual way.
bool DragKey(TreeListData* d, UINT key, bool down);

// --- rules and the drop (TreeListDrop.cpp)
// 0 not possible, 1 already there, 2 a real move.
int CanDropAt(const TreeListData* d, ItemId item, ItemId target, int mode);
// 0 allowed (target and mode possibly moved to keep the item's level), 1 refused.
int AdjustDropLevel(const TreeListData* d, ItemId item, ItemId* target, int* mode);
int InternalDrop(TreeListData* d, ItemId target, ItemId dragged, UINT keys);

// --- target bar and timers (TreeListDropTarget.cpp; the timers are dispatched in TreeListTimers.cpp)
ItemId SetDropTarget(TreeListData* d, ItemId item, int height, int offset);
LRESULT SetDropTargetMessage(TreeListData* d, WPARAM height, ItemId item);
// Interval 0 stops the timer. The answer of SetTimer (or KillTimer).
LRESULT SetAutoScrollTimer(TreeListData* d, int mode, UINT interval);
LRESULT AutoScrollMessage(TreeListData* d, WPARAM mode, LPARAM interval);
// The interval the auto-scroll timer runs at for a requested one (30 to 900 ms).
UINT AutoScrollInterval(UINT interval);
void OnAutoScrollTimer(TreeListData* d);
void OnHoverTimer(TreeListData* d);
