// The timers of the "TreeList" control and WM_TIMER, which hands each to the part it belongs to
// (TreeListTimers.cpp). The parts set and kill their own timers.
#pragma once

#include "treelist/control/TreeListData.h"

// Timer ids of the control:
constexpr UINT_PTR kTimerHover = 0x3910;       // a drag hovers over a collapsed item (TreeListDropTarget.cpp)
constexpr UINT_PTR kTimerTip = 0x3912;         // a delayed tip shows or a shown one hides (TreeListTip.cpp)
constexpr UINT_PTR kTimerAutoScroll = 0x3913;  // scrolling near the top and bottom edges (TreeListDropTarget.cpp)
constexpr UINT_PTR kTimerScrollBar = 0x3914;   // the vertical bar's late redraw (TreeListScrollBars.cpp)

LRESULT OnTimer(TreeListData* d, WPARAM id);
