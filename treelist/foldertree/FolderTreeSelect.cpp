// CFolderTreeCtrl: the current item. A mouse selection becomes current at once, a keyboard one after
// its ticks; the new current item is announced to the parent, and SelectPath's flags queue the reads
// of the item and its ancestors. Jobs of older selections are cancelled after a pause.
#include "treelist/foldertree/FolderTreeCtrl.h"

#include "system/SystemIcons.h"
#include "text/StrCopy.h"
#include "treelist/foldertree/FolderTreeDirect.h"
#include "treelist/foldertree/FolderTreeTimers.h"
#include "treelist/foldertree/FolderTreeWorker.h"

using namespace foldertree;

namespace {

constexpr int kReadItem = 2;

int OpenFolderIcon() {
    static const int icon = GetFileIconIndex(FI_FOLDER | FI_OPEN);
    return icon;
}

uint32_t KindOf(UINT state) {
    if (state & FTS_NETWORK) return FTK_NETWORK;
    return (state & FTS_DRIVE) ? FTK_DRIVE : FTK_FOLDER;
}

}  // namespace

void CFolderTreeCtrl::OnSelChanged(NMHDR* header, LRESULT* result) {
    *result = 0;
    const auto* nm = reinterpret_cast<const NMTREEVIEWA*>(header);
    HTREEITEM item = nm->itemNew.hItem;
    FolderTreeContext* c = m_context;
    if (!c || !item) return;
    HTREEITEM current;
    {
        CSingleLock lock(&c->lock, TRUE);
        current = c->currentItem;
    }
    if (item == current) {
        m_hoverCountdown = 0;
        KillTimer(kTimerHover);
        return;
    }
    // Quick key moves read nothing: the caret becomes current once it rests.
    if (nm->action == TVC_BYKEYBOARD || m_byKeyboard) {
        m_hoverCountdown = kHoverTicks;
        SetTimer(kTimerHover, kTickMs, nullptr);
        return;
    }
    char path[kFolderPathSize];
    const int length = GetItemPath(item, path, sizeof path, 0, nullptr);
    SetCurrent(item, path, length, 0);
}

int CFolderTreeCtrl::SetCurrent(HTREEITEM item, const char* path, int length, int flags) {
    FolderTreeContext* c = m_context;
    if (!c || !item) return 0;
    const uint32_t kind = KindOf(State(m_hWnd, item));
    bool fresh;
    {
        CSingleLock lock(&c->lock, TRUE);
        if (length < 0 || length >= kFolderPathSize) length = 0;
        memcpy(c->currentPath, path, (size_t)length);
        c->currentPath[length] = 0;
        c->currentKind = kind;
        fresh = c->currentItem != item;
        c->currentItem = item;
    }
    if (fresh) {
        PostMessage(WM_FOLDERTREE_CURRENT, (WPARAM)(flags & 127), reinterpret_cast<LPARAM>(item));
        if (flags & FTP_SHOW) PostMessage(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    }
    if (GetSelectedItem() != item) SendMessage(TLM_SELECTCELL, reinterpret_cast<WPARAM>(item), (LPARAM)-1);
    return fresh ? 2 : 1;
}

LRESULT CFolderTreeCtrl::OnCurrentChanged(WPARAM flags, LPARAM lParam) {
    auto item = reinterpret_cast<HTREEITEM>(lParam);
    FolderTreeContext* c = m_context;
    if (!c || !Exists(m_hWnd, item)) return 0;
    uint32_t kind;
    {
        CSingleLock lock(&c->lock, TRUE);
        // A later selection is announced by its own message.
        if (c->currentItem != item) return 0;
        kind = c->currentKind;
    }
    if (m_openIconItem && Exists(m_hWnd, m_openIconItem)) SetImages(m_hWnd, m_openIconItem, m_openIconOld);
    m_openIconItem = nullptr;
    const UINT state = State(m_hWnd, item);
    if (!(state & (FTS_NETWORK | FTS_DRIVE))) {
        m_openIconOld = Image(m_hWnd, item);
        SetImages(m_hWnd, item, OpenFolderIcon());
        m_openIconItem = item;
    }
    int read = Notify(FTN_CURRENTCHANGED, item, kind) ? 0 : (int)(flags & 127);
    if (read == FTP_READ && !(state & FTS_READ)) read = kReadItem;
    SendMessage(TVM_ENSUREVISIBLE, 0, lParam);
    if (read && m_context == c) QueueSelection(item, read);
    return 0;
}

void CFolderTreeCtrl::QueueSelection(HTREEITEM item, int read) {
    FolderTreeContext* c = m_context;
    bool hadJobs;
    int queued = 0;
    {
        CSingleLock lock(&c->lock, TRUE);
        const uint32_t generation = ++c->generation & FJ_GENERATION_MASK;
        hadJobs = c->jobs.Count() > 0;
        if (read == kReadItem) {
            c->jobs.Add(item, generation | FJ_SELECTED, false, FJ_FRONT);
            ++queued;
        }
        // The ancestors up to one that stands for a network path are read again, except on slow media.
        for (HTREEITEM up = Parent(m_hWnd, item); up && !Param(m_hWnd, up); up = Parent(m_hWnd, up)) {
            if (State(m_hWnd, up) & FTS_SLOW) continue;
            c->jobs.Add(up, generation | FJ_ANCESTOR, false, FJ_SECOND);
            ++queued;
        }
    }
    if (queued) c->jobSemaphore.Unlock(queued);
    if (hadJobs) {
        m_cancelCountdown = kCancelTicks;
        SetTimer(kTimerCancel, kTickMs, nullptr);
    }
}

void CFolderTreeCtrl::CancelStaleJobs() {
    FolderTreeContext* c = m_context;
    if (!c) return;
    CSingleLock lock(&c->lock, TRUE);
    c->jobs.CancelStale(c->generation);
    if (c->workingId && IsStaleWord(c->workingWord, c->generation)) {
        c->abortedId = c->workingId;
        c->files.Abort();
    }
}
