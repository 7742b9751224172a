// The label tooltip of the "TreeList" control (TreeListTip.cpp): a tracking tooltip window (control id 2) that
// shows the whole text of a label or cell cut off by its column, or the parent's own text (TLN_CELLTIP), at
// once or after a delay. Its timer is dispatched in TreeListTimers.cpp.
#pragma once

#include "treelist/control/TreeListData.h"

void CreateTip(TreeListData* d);
void DestroyTip(TreeListData* d);
// Shows, moves or hides the tip for the item under the mouse and its hit flags.
void UpdateTip(TreeListData* d, ItemId item, UINT flags);
void HideTip(TreeListData* d);
void OnTipTimer(TreeListData* d);
// TTN_NEEDTEXTA from the tip (handed on by WM_NOTIFY, TreeListHeaderNotify.cpp).
LRESULT OnTipNeedText(TreeListData* d, NMTTDISPINFOA* info);
LRESULT SetToolTips(TreeListData* d, HWND tip);
// Moves a tip rectangle (screen) into the work area: left by its overhang on the right, but never past the
// work area's left edge; the same vertically. True when it moved.
bool KeepRectOnArea(RECT* tip, const RECT& work);
