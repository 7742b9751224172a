// CFolderTreeCtrl: a folder dragged out or copied as CF_HDROP, double clicks, and dropped files (which
// the tree takes and ignores).
#include "treelist/foldertree/FolderTreeCtrl.h"

#include "treelist/foldertree/FolderTreeDirect.h"
#include "treelist/foldertree/FolderTreeWorker.h"
#include "treelist/shared/DropBlock.h"

#include <shellapi.h>

using namespace foldertree;

void CFolderTreeCtrl::OnBeginDrag(NMHDR* header, LRESULT* result) {
    *result = 0;
    const auto* nm = reinterpret_cast<const NMTREEVIEWA*>(header);
    if ((m_options & FTO_DRAG_OUT) && nm->itemNew.hItem) DragOut(nm->itemNew.hItem);
}

void CFolderTreeCtrl::DragOut(HTREEITEM item) {
    if (!IsLocalItem(item) || Notify(FTN_DRAG, item, 0) != 0) return;
    char path[kFolderPathSize];
    HGLOBAL block = GetItemPath(item, path, sizeof path, 0, nullptr) ? BuildPathDropBlock(path) : nullptr;
    if (!block) return;
    COleDataSource source;
    source.CacheGlobalData(CF_HDROP, block);
    ::DragAcceptFiles(m_hWnd, FALSE);
    source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK);
    ::DragAcceptFiles(m_hWnd, (m_options & FTO_ACCEPT_DROP) != 0);
    Notify(FTN_DRAG, item, 1);
}

void CFolderTreeCtrl::CopyToClipboard() {
    FolderTreeContext* c = m_context;
    if (!c) return;
    char path[kFolderPathSize];
    uint32_t kind;
    {
        CSingleLock lock(&c->lock, TRUE);
        lstrcpyA(path, c->currentPath);
        kind = c->currentKind;
    }
    if (kind == FTK_NETWORK || !path[0]) return;
    HGLOBAL block = BuildPathDropBlock(path);
    if (!block) return;
    if (!OpenClipboard()) {
        GlobalFree(block);
        return;
    }
    ::EmptyClipboard();
    if (!::SetClipboardData(CF_HDROP, block)) GlobalFree(block);
    ::CloseClipboard();
}

LRESULT CFolderTreeCtrl::OnCopy(WPARAM, LPARAM) {
    CopyToClipboard();
    return 0;
}

void CFolderTreeCtrl::OnDblClk(NMHDR*, LRESULT* result) {
    *result = 0;
    FolderTreeContext* c = m_context;
    if (!c) return;
    HTREEITEM item;
    uint32_t kind;
    {
        CSingleLock lock(&c->lock, TRUE);
        item = c->currentItem;
        kind = c->currentKind;
    }
    if (item) Notify(FTN_DBLCLK, item, kind);
}

void CFolderTreeCtrl::OnDropFiles(HDROP drop) {
    // Taken and ignored: the block is ours to free.
    ::DragFinish(drop);
}
