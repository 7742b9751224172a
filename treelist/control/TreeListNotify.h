// Notifications to the parent and the queue of operations deferred to the window's own thread.
#pragma once

#include "treelist/control/TreeListData.h"

// --- notifications (TreeListNotify.cpp). Each sends WM_NOTIFY to the parent with every level of the lock
// left for the duration of the send. Afterwards items may be gone and the window may be dying: callers check
// their handles again (Item()) and IsDying().
LRESULT SendNotify(TreeListData* d, UINT code, NMHDR* header);
// NMTREEVIEWA with both item records filled from the items (mask 0x801C: handle, state, lParam, cell bit).
LRESULT NotifyTreeView(TreeListData* d, UINT code, UINT action, ItemId oldItem, ItemId newItem,
                       POINT point = POINT{0, 0});
// An item record for a tree-view notification: handle, state and lParam of the item (0 for none), stateMask,
// pszText and cchTextMax -1, and the column in cChildren.
TVITEMA NotifyRecord(const TreeListData* d, ItemId item, UINT mask, int column = 0);
// The record of an item or cell with its text: mask 0x801D (text, state, handle, lParam, cell bit), the cell's
// state for a column past 0 (0 for a missing cell), pszText its own text, cchTextMax its length.
TVITEMA TextRecord(const TreeListData* d, ItemId item, int column);
LRESULT SendTreeView(TreeListData* d, UINT code, UINT action, const TVITEMA& oldItem, const TVITEMA& newItem,
                     POINT point = POINT{0, 0});
// Asks the parent for the call-back parts (TVIF_TEXT, TVIF_IMAGE, TVIF_SELECTEDIMAGE, TVIF_CHILDREN) of an
// item or cell. The text lands in d->dispBuffer[buffer]; out gets the answer. False when the item went away
// during the send.
bool FetchCallbacks(TreeListData* d, ItemId item, int column, UINT mask, TVITEMA* out, int buffer = 0);
inline bool IsDying(const TreeListData* d) { return d->dying.load(); }
// ShowsButton for an item, asking the parent for a call-back children count; false when the item went away.
bool AskShowsButton(TreeListData* d, ItemId item);

// --- deferred operations (TreeListDeferred.cpp), worked off by TLM_DEFERRED on the window's thread.
enum DeferredKind : int {
    kDeferSetState = 1,    // arg1 item, arg2 state bits to change << 16 | their new values (TVM_SETITEMA)
    kDeferExpand = 3,      // arg1 item, arg2 TVM_EXPAND code
    kDeferState = 2,       // arg1 item, arg2 state bits held back by an insert
    kDeferDeleted = 4,     // arg1 parent of deleted items, arg2 1 when the caret or a selected item went
    kDeferScroll = 6,      // scroll bars and relayout
    kDeferRefresh = 8,     // scroll bars redrawn later
    kDeferRows = 9,        // arg1 item: rebuild the rows from it
    kDeferRepaint = 10,    // arg1 item, arg2 column: repaint a cell
    kDeferFirstRow = 11,   // the first shown row changed: scroll bar and repaint
    kDeferRepaintRow = 12, // arg1 item: repaint its row
};
struct DeferredOp {
    DeferredOp* next;
    LPARAM arg1, arg2;
    int kind;
};
void Defer(TreeListData* d, DeferredKind kind, LPARAM arg1 = 0, LPARAM arg2 = 0);
// Posts TLM_DEFERRED when operations wait and no post is out (a failed post is tried again here).
void PostDeferred(TreeListData* d);
// Queues the rows after an insert (kDeferRows), unless the last queued operation rebuilds them already: an
// item inserted as the next sibling of the last item such a rebuild covers lies on the rebuild's way.
void DeferRowsAfterInsert(TreeListData* d, ItemId item);
void RunDeferred(TreeListData* d);
void FreeDeferred(TreeListData* d);
