// WM_TIMER: each timer of the control goes to the part that set it; any other id goes on to DefWindowProcA.
#include "treelist/control/TreeListTimers.h"

#include "treelist/control/TreeListDrag.h"
#include "treelist/control/TreeListScroll.h"
#include "treelist/control/TreeListTip.h"
#include "treelist/control/TreeListWindow.h"

LRESULT OnTimer(TreeListData* d, WPARAM id) {
    switch (id) {
    case kTimerTip: OnTipTimer(d); return 0;
    case kTimerHover: OnHoverTimer(d); return 0;
    case kTimerAutoScroll: OnAutoScrollTimer(d); return 0;
    case kTimerScrollBar: OnScrollBarTimer(d); return 0;
    default: return kPassOn;
    }
}
