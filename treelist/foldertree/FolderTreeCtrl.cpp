// CFolderTreeCtrl: creation, the worker's start and stop, the message map and the plain queries.
#include "treelist/foldertree/FolderTreeCtrl.h"

#include "text/StrCompare.h"
#include "text/StrCopy.h"
#include "treelist/foldertree/FolderTreeDirect.h"
#include "treelist/foldertree/FolderTreeTimers.h"
#include "treelist/foldertree/FolderTreeWorker.h"

#include <shellapi.h>
#include <shlobj.h>

using namespace foldertree;

namespace {

constexpr DWORD kStyleKept = ~0xFFF8u;
constexpr DWORD kStyleAdded = 0x40000007;  // child, lines, buttons, lines at root
constexpr DWORD kPlaceholderStyle = 0x50300000;
constexpr DWORD kStopWaitMs = 500;

HIMAGELIST SmallSystemImages() {
    static HIMAGELIST images = [] {
        SHFILEINFOA info = {};
        ITEMIDLIST empty = {};
        return reinterpret_cast<HIMAGELIST>(SHGetFileInfoA(reinterpret_cast<LPCSTR>(&empty), 0, &info, sizeof info,
                                                           SHGFI_SYSICONINDEX | SHGFI_PIDL | SHGFI_SMALLICON));
    }();
    return images;
}

LRESULT CALLBACK CompareChildTexts(HWND window, HTREEITEM element, HTREEITEM pivot, LPARAM, LPARAM, LPARAM) {
    char a[kFolderPathSize], b[kFolderPathSize];
    Text(window, element, a, sizeof a);
    Text(window, pivot, b, sizeof b);
    return StrCmpNaturalIA(a, b);
}

}  // namespace

BEGIN_MESSAGE_MAP(CFolderTreeCtrl, CTreeListCtrl)
    ON_NOTIFY_REFLECT(TVN_SELCHANGEDA, OnSelChanged)
    ON_NOTIFY_REFLECT(TVN_ITEMEXPANDEDA, OnItemExpanded)
    ON_NOTIFY_REFLECT(TVN_BEGINDRAGA, OnBeginDrag)
    ON_NOTIFY_REFLECT(NM_DBLCLK, OnDblClk)
    ON_NOTIFY_REFLECT(TVN_KEYDOWN, OnTreeKeyDown)
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_WM_SETCURSOR()
    ON_WM_DROPFILES()
    ON_MESSAGE(WM_FOLDERTREE_CURRENT, OnCurrentChanged)
    ON_MESSAGE(WM_COPY, OnCopy)
    ON_MESSAGE(WM_KEYDOWN, OnKeyMessage)
    ON_MESSAGE(WM_CHAR, OnKeyMessage)
END_MESSAGE_MAP()

CFolderTreeCtrl::CFolderTreeCtrl() = default;

CFolderTreeCtrl::~CFolderTreeCtrl() {
    // While this class's handlers still run: WM_DESTROY stops the worker.
    if (m_hWnd && ::IsWindow(m_hWnd)) DestroyWindow();
    StopWorker();
}

BOOL CFolderTreeCtrl::Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    m_options = style & 0xFFFF;
    if (!CreateDirect(exStyle, (style & kStyleKept) | kStyleAdded, rect, parent, id)) return FALSE;
    SendMessage(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(SmallSystemImages()));
    const DWORD extended = TLX_KEEPIMAGELIST | ((m_options & FTO_EXTRA_STYLE) ? 0x100 : 0);
    SendMessage(TVM_SETEXTENDEDSTYLE, extended, extended);
    InsertColumn(0, "Ordner", 0, -1, 32768);
    SendMessage(TLM_OPTION, kTreeListSetOption | TLO_AUTOWIDEN, 2);
    if (m_options & FTO_ACCEPT_DROP) ::DragAcceptFiles(m_hWnd, TRUE);
    FolderTreeCursors();
    m_context = StartFolderTreeWorker(m_hWnd, !(m_options & FTO_NO_NETWORK));
    if (!m_context) {
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

BOOL CFolderTreeCtrl::CreateAtControl(DWORD exStyle, DWORD style, int placeholderId, CWnd* parent, UINT id) {
    HWND placeholder = parent ? ::GetDlgItem(parent->GetSafeHwnd(), placeholderId) : nullptr;
    if (!placeholder) return FALSE;
    RECT rect;
    ::GetWindowRect(placeholder, &rect);
    ::MapWindowPoints(nullptr, parent->GetSafeHwnd(), reinterpret_cast<POINT*>(&rect), 2);
    if (!Create(exStyle, style | kPlaceholderStyle, rect, parent, id)) return FALSE;
    ::SetWindowPos(m_hWnd, placeholder, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW);
    return TRUE;
}

void CFolderTreeCtrl::StopWorker() {
    FolderTreeContext* c = m_context;
    if (!c) return;
    m_context = nullptr;
    for (UINT_PTR timer : {kTimerHover, kTimerPrefetch, kTimerCancel, kTimerBusy})
        if (m_hWnd) ::KillTimer(m_hWnd, timer);
    m_cursorState = 0;
    StopFolderTreeWorker(c, kStopWaitMs);
}

void CFolderTreeCtrl::OnDestroy() {
    StopWorker();
    CTreeListCtrl::OnDestroy();
}

LRESULT CFolderTreeCtrl::Notify(UINT code, HTREEITEM item, uint32_t value) {
    FolderTreeContext* c = m_context;
    CWnd* parent = GetParent();
    if (!c || !parent) return 0;
    CSingleLock lock(&c->lock, TRUE);
    NMFOLDERTREE nm = {};
    nm.hdr.hwndFrom = m_hWnd;
    nm.hdr.idFrom = (UINT_PTR)::GetWindowLongPtrA(m_hWnd, GWLP_ID);
    nm.hdr.code = code;
    nm.item = item;
    nm.value = value;
    nm.path = c->currentPath;
    return parent->SendMessage(WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

int CFolderTreeCtrl::GetCurrentPath(char* buffer, int size, HTREEITEM* itemOut) {
    if (itemOut) *itemOut = nullptr;
    if (!buffer || size <= 0) return 0;
    buffer[0] = 0;
    FolderTreeContext* c = m_context;
    if (!c) return 0;
    CSingleLock lock(&c->lock, TRUE);
    if (itemOut) *itemOut = c->currentItem;
    return StrCopyNA(buffer, c->currentPath, size);
}

int CFolderTreeCtrl::GetItemPath(HTREEITEM item, char* buffer, int size, int mode, LPARAM* lParamOut) {
    return ComposeItemPath(m_hWnd, GetNetworkRoot(), item, buffer, size, mode, lParamOut);
}

BOOL CFolderTreeCtrl::IsLocalItem(HTREEITEM item) { return !(State(m_hWnd, item) & FTS_NETWORK); }

void CFolderTreeCtrl::SortChildren(HTREEITEM item) {
    TVSORTCB sort = {};
    sort.hParent = item;
    sort.lpfnCompare = reinterpret_cast<PFNTVCOMPARE>(reinterpret_cast<void*>(&CompareChildTexts));
    SendMessage(TLM_SORTCHILDREN6, 0, reinterpret_cast<LPARAM>(&sort));
}

int CFolderTreeCtrl::GetPendingExpands() const { return m_context ? m_context->pendingExpands.load() : 0; }

int CFolderTreeCtrl::GetQueuedJobs() const {
    if (!m_context) return 0;
    CSingleLock lock(&m_context->lock, TRUE);
    return m_context->jobs.Count();
}

HTREEITEM CFolderTreeCtrl::GetNetworkRoot() const {
    if (!m_context) return TVI_ROOT;
    CSingleLock lock(&m_context->lock, TRUE);
    return m_context->networkRoot;
}

BOOL CFolderTreeCtrl::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (lParam == 0 && LOWORD(wParam) == ID_FOLDERTREE_IDLE) {
        m_prefetchCountdown = kPrefetchTicks;
        SetTimer(kTimerPrefetch, kTickMs, nullptr);
        return TRUE;
    }
    if (lParam == 0 && LOWORD(wParam) == ID_FOLDERTREE_NETWORK) {
        RefreshNetwork();
        return TRUE;
    }
    return CTreeListCtrl::OnCommand(wParam, lParam);
}

void CFolderTreeCtrl::OnTimer(UINT_PTR id) {
    switch (id) {
    case kTimerHover:
        if (--m_hoverCountdown > 0) return;
        KillTimer(kTimerHover);
        if (HTREEITEM caret = GetSelectedItem()) {
            char path[kFolderPathSize];
            const int length = GetItemPath(caret, path, sizeof path, 0, nullptr);
            SetCurrent(caret, path, length, 0);
        }
        return;
    case kTimerCancel:
        if (--m_cancelCountdown > 0) return;
        KillTimer(kTimerCancel);
        CancelStaleJobs();
        return;
    case kTimerPrefetch:
        if (--m_prefetchCountdown > 0) return;
        KillTimer(kTimerPrefetch);
        QueuePrefetch();
        return;
    case kTimerBusy:
        OnBusyTick();
        return;
    default:
        Default();
    }
}

void CFolderTreeCtrl::OnTreeKeyDown(NMHDR* header, LRESULT* result) {
    const auto* key = reinterpret_cast<const NMTVKEYDOWN*>(header);
    *result = 0;
    if (key->wVKey == VK_TAB && (m_options & FTO_TAB_TO_PARENT))
        if (CWnd* parent = GetParent()) parent->SetFocus();
}

LRESULT CFolderTreeCtrl::OnKeyMessage(WPARAM, LPARAM) {
    ++m_byKeyboard;
    const LRESULT result = Default();
    --m_byKeyboard;
    return result;
}
