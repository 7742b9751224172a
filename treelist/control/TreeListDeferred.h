// Operations deferred to the window's own thread (TreeListDeferred.cpp): a queue worked off by TLM_DEFERRED,
// which the first queued operation posts to the window. Callers on other threads use it so that
// notifications, scroll bars and repaints happen where the window lives.
#pragma once

#include "treelist/control/TreeListData.h"

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
