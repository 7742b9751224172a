// CFolderTreeCtrl: expanding an unread item reads it, with the wait cursor up until every expansion is
// read; once the queue runs empty, the children around the current item are prefetched.
#include "treelist/foldertree/FolderTreeCtrl.h"

#include "treelist/foldertree/FolderTreeDirect.h"
#include "treelist/foldertree/FolderTreeTimers.h"
#include "treelist/foldertree/FolderTreeWorker.h"

using namespace foldertree;

namespace {

// Items that prefetch leaves alone: open, read or prefetched, slow, or on the network.
constexpr UINT kNoPrefetch = TVIS_EXPANDED | FTS_READ | FTS_UNREAD | FTS_SLOW | FTS_NETWORK;

bool CursorOver(HWND window) {
    POINT at;
    return GetCursorPos(&at) && WindowFromPoint(at) == window;
}

}  // namespace

const FolderTreeCursorSet& FolderTreeCursors() {
    static const FolderTreeCursorSet cursors = {LoadCursor(nullptr, IDC_ARROW), LoadCursor(nullptr, IDC_WAIT)};
    return cursors;
}

void CFolderTreeCtrl::OnItemExpanded(NMHDR* header, LRESULT* result) {
    *result = 0;
    const auto* nm = reinterpret_cast<const NMTREEVIEWA*>(header);
    HTREEITEM item = nm->itemNew.hItem;
    FolderTreeContext* c = m_context;
    if (!c || nm->action != TVE_EXPAND || (State(m_hWnd, item) & FTS_READ)) return;
    {
        CSingleLock lock(&c->lock, TRUE);
        if (c->jobs.Holds(item, FJ_EXPAND)) return;
    }
    QueueFolderJob(c, item, FJ_EXPAND, true, FJ_END);
    StartBusyCursor();
}

void CFolderTreeCtrl::StartBusyCursor() {
    if (!m_cursorState) SetTimer(kTimerBusy, kBusyTickMs, nullptr);
    m_cursorState = 1;
    if (CursorOver(m_hWnd)) SetCursor(FolderTreeCursors().wait);
}

void CFolderTreeCtrl::OnBusyTick() {
    if (GetPendingExpands() > 0) {
        ++m_cursorState;
        if (CursorOver(m_hWnd)) SetCursor(FolderTreeCursors().wait);
        return;
    }
    KillTimer(kTimerBusy);
    m_cursorState = 0;
    if (CursorOver(m_hWnd)) SetCursor(FolderTreeCursors().arrow);
}

BOOL CFolderTreeCtrl::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
    if (m_cursorState && hitTest == HTCLIENT) {
        SetCursor(FolderTreeCursors().wait);
        return TRUE;
    }
    return CTreeListCtrl::OnSetCursor(wnd, hitTest, message);
}

void CFolderTreeCtrl::QueuePrefetch() {
    FolderTreeContext* c = m_context;
    if (!c) return;
    int queued = 0;
    {
        CSingleLock lock(&c->lock, TRUE);
        const uint32_t generation = c->generation & FJ_GENERATION_MASK;
        auto consider = [&](HTREEITEM item, UINT skip, uint32_t kind) {
            if (c->jobs.Count() >= kPrefetchQueueLimit) return false;
            if (!(State(m_hWnd, item) & skip) && !c->jobs.Holds(item)) {
                c->jobs.Add(item, generation | kind, false, FJ_END);
                ++queued;
            }
            return true;
        };
        // The children of the current item and of its open ancestors.
        for (HTREEITEM up = c->currentItem; up; up = Parent(m_hWnd, up)) {
            const UINT state = State(m_hWnd, up);
            if ((state & (FTS_READ | TVIS_EXPANDED)) != (FTS_READ | TVIS_EXPANDED) || (state & FTS_SLOW)) continue;
            for (HTREEITEM child = FirstChild(m_hWnd, up); child; child = NextSibling(m_hWnd, child))
                if (!consider(child, kNoPrefetch, FJ_PREFETCH)) break;
        }
        // Open top-level items that are not read yet are read whole, the others only looked into.
        const HTREEITEM first = Next(m_hWnd, nullptr, TVGN_ROOT);
        for (HTREEITEM top = first; top; top = NextSibling(m_hWnd, top))
            if (State(m_hWnd, top) & TVIS_EXPANDED)
                consider(top, FTS_READ | FTS_SLOW | FTS_NETWORK, FJ_TOPLEVEL);
        for (HTREEITEM top = first; top; top = NextSibling(m_hWnd, top)) consider(top, kNoPrefetch, FJ_PREFETCH);
    }
    if (queued) c->jobSemaphore.Unlock(queued);
}
