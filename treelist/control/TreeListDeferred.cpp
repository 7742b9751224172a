// The deferred queue: queueing an operation, posting TLM_DEFERRED, and working the queue off on the window's
// thread, row rebuilds in a row merged into one.
#include "treelist/control/TreeListDeferred.h"

#include "treelist/control/TreeListItemOps.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListNotify.h"
#include "treelist/control/TreeListScroll.h"
#include "treelist/control/TreeListSeams.h"

#include <cstdlib>

void Defer(TreeListData* d, DeferredKind kind, LPARAM arg1, LPARAM arg2) {
    auto* op = static_cast<DeferredOp*>(malloc(sizeof(DeferredOp)));
    if (!op) return;
    *op = DeferredOp{nullptr, arg1, arg2, kind};
    if (d->deferredTail)
        d->deferredTail->next = op;
    else
        d->deferredHead = op;
    d->deferredTail = op;
    PostDeferred(d);
}

void DeferRowsAfterInsert(TreeListData* d, ItemId item) {
    const DeferredOp* tail = d->deferredTail;
    const ItemId previous = d->items[item]->prevSibling;
    if (tail && tail->kind == kDeferRows && tail->arg1 && previous && previous == d->deferredRowsLast) {
        d->deferredRowsLast = item;
        return;
    }
    Defer(d, kDeferRows, static_cast<LPARAM>(item));
    d->deferredRowsLast = d->deferredTail != tail ? item : 0;
}

void PostDeferred(TreeListData* d) {
    // A failed post leaves the flag clear, so that the next operation tries again; nothing queued is lost.
    if (d->deferredHead && !d->deferredPosted)
        d->deferredPosted = TreeListPost(d->window, TLM_DEFERRED, 0, 0) != FALSE;
}

namespace {

void Run(TreeListData* d, const DeferredOp& op) {
    // Queued handles may have gone (or been reused) since; every kind checks them again.
    switch (op.kind) {
    case kDeferSetState:
        if (Item(d, ToItem(op.arg1)))
            ApplyStateBits(d, ToItem(op.arg1), static_cast<UINT>(op.arg2) >> 16, static_cast<UINT>(op.arg2) & 0xFFFF);
        break;
    case kDeferState:
        if (Item(d, ToItem(op.arg1)))
            ApplyStateBits(d, ToItem(op.arg1), static_cast<UINT>(op.arg2), static_cast<UINT>(op.arg2));
        break;
    case kDeferExpand:
        ExpandMessage(d, static_cast<UINT>(op.arg2), ToItem(op.arg1));
        break;
    case kDeferRepaint:
        InvalidateCell(d, ToItem(op.arg1), static_cast<int>(op.arg2));
        break;
    case kDeferRepaintRow:
        InvalidateRow(d, ToItem(op.arg1));
        break;
    case kDeferDeleted:
        if (op.arg2) NotifyTreeView(d, TVN_SELCHANGEDA, TVC_UNKNOWN, 0, 0);
        if (IsDying(d)) return;
        UpdateVScrollBar(d, true, true);
        InvalidateItems(d);
        break;
    case kDeferScroll:
        UpdateHScrollBar(d, true);
        UpdateVScrollBar(d, true, true);
        InvalidateItems(d);
        break;
    case kDeferRefresh:
        RefreshVScrollBar(d);
        break;
    case kDeferFirstRow:
        UpdateVScrollBar(d, true, true);
        InvalidateItems(d);
        break;
    }
}

}  // namespace

namespace {

// Row rebuilds queued in a row become one rebuild from the first place they took: every rebuild walks on to
// the last row, and one walk is cheaper than a walk from each of them. Rows above that place stay as they are
// and are not drawn again.
// Repaints between such rebuilds only invalidate: they run at once, and what they miss of rows that move
// lies below the first changed place, which the one rebuild invalidates.
bool RunsAmongRebuilds(int kind) { return kind == kDeferRepaint || kind == kDeferRepaintRow; }

// The row rebuilds from op on, up to the first operation that is neither one nor such a repaint.
int CountRowRebuilds(const DeferredOp* op) {
    int n = 0;
    for (; op && (op->kind == kDeferRows || RunsAmongRebuilds(op->kind)); op = op->next) n += op->kind == kDeferRows;
    return n;
}

}  // namespace

void RunDeferred(TreeListData* d) {
    DeferredOp* op = d->deferredHead;
    d->deferredHead = d->deferredTail = nullptr;
    d->deferredRowsLast = 0;
    d->deferredPosted = false;
    while (op) {
        int rebuilds = op->kind == kDeferRows ? CountRowRebuilds(op) : 0;
        if (rebuilds) {
            RowsAfterInserts rows(d);
            while (rebuilds) {
                DeferredOp* next = op->next;
                if (op->kind != kDeferRows) {
                    if (!IsDying(d)) Run(d, *op);
                } else {
                    if (!IsDying(d)) rows.Add(ToItem(op->arg1));
                    --rebuilds;
                }
                free(op);
                op = next;
            }
            if (!IsDying(d)) rows.Rebuild();
            continue;
        }
        DeferredOp* next = op->next;
        if (!IsDying(d)) Run(d, *op);
        free(op);
        op = next;
    }
}

void FreeDeferred(TreeListData* d) {
    for (DeferredOp* op = d->deferredHead; op;) {
        DeferredOp* next = op->next;
        free(op);
        op = next;
    }
    d->deferredHead = d->deferredTail = nullptr;
    d->deferredRowsLast = 0;
    d->deferredPosted = false;
}
