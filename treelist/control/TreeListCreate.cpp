// Class registration and the life of the per-window record: made at WM_CREATE, emptied at WM_DESTROY,
// detached from the window at WM_NCDESTROY and freed when the last caller still inside lets go of it.
#include "treelist/control/TreeListWindow.h"

#include "treelist/control/TreeListColours.h"
#include "treelist/control/TreeListDeferred.h"
#include "treelist/control/TreeListItems.h"
#include "treelist/control/TreeListLayout.h"
#include "treelist/control/TreeListShared.h"
#include "treelist/control/TreeListTimers.h"
#include "treelist/control/TreeListTip.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// Guards reading the record pointer and taking a reference against WM_NCDESTROY clearing it: a direct call
// from a worker thread never takes a reference on a record that is being freed.
SRWLOCK g_recordGuard = SRWLOCK_INIT;
std::atomic<bool> g_registered{false};

void FreeRecord(TreeListData* d) {
    FreeAllTables(d);
    FreeDeferred(d);
    free(d->textBuffer);
    free(d->fitBuffer);
    free(d->scratch);
    if (d->ownBoldFont) DeleteObject(d->ownBoldFont);
    d->lock.Delete();
    ReleaseTreeListShared();
    delete d;
}

void SetUpRecord(TreeListData* d, HWND window, const CREATESTRUCTA* create) {
    d->window = window;
    d->ownerThread = GetCurrentThreadId();
    d->refs = 1;
    d->style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    d->indent = 19;
    d->lineOffset = 7;
    d->buttonHalf = GetSystemMetrics(SM_CYICON) / 8;
    d->options[TLO_EXPANDEDIMAGEOFFSET] = 1;
    d->options[TLO_OPTION13] = 3;
    d->columns[0].weight = 1;
    d->columns[0].minWidth = 16;
    d->columns[0].keepMinimum = true;
    d->linesAtRoot = (d->style & TVS_LINESATROOT) && (d->style & (TVS_HASBUTTONS | TVS_HASLINES));
    d->enabled = IsWindowEnabled(window) != FALSE;
    for (COLORREF& c : d->userColours) c = CLR_INVALID;
    d->clientWidth = create->cx;
    d->clientHeight = create->cy;
    RECT client;
    if (GetClientRect(window, &client)) {
        d->clientWidth = client.right;
        d->clientHeight = client.bottom;
    }
}

}  // namespace

BOOL RegisterTreeListClass(HINSTANCE instance) {
    if (g_registered) return TRUE;
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = TreeListWndProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    wc.lpszClassName = kTreeListClassName;
    if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return FALSE;
    g_registered = true;
    return TRUE;
}

TreeListData* AcquireTreeList(HWND window) {
    AcquireSRWLockShared(&g_recordGuard);
    auto* d = reinterpret_cast<TreeListData*>(GetWindowLongPtrA(window, 0));
    if (d) ++d->refs;
    ReleaseSRWLockShared(&g_recordGuard);
    return d;
}

void ReleaseTreeList(TreeListData* d) {
    if (--d->refs == 0) FreeRecord(d);
}

LRESULT CreateTreeList(HWND window, const CREATESTRUCTA* create) {
    auto* d = new (std::nothrow) TreeListData();
    if (!d) return -1;
    d->textBuffer = static_cast<char*>(calloc(kTextBufferSize, 1));
    d->items = static_cast<TreeListItem**>(calloc(1, sizeof(TreeListItem*)));
    d->rows = static_cast<ItemId*>(calloc(1, sizeof(ItemId)));
    if (!d->textBuffer || !d->items || !d->rows || !AcquireTreeListShared()) {
        free(d->textBuffer);
        free(d->items);
        free(d->rows);
        delete d;
        return -1;
    }
    d->lock.Init();
    SetUpRecord(d, window, create);
    d->lock.Enter();
    AcquireSRWLockExclusive(&g_recordGuard);
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(d));
    ReleaseSRWLockExclusive(&g_recordGuard);

    const TreeListShared& shared = GetTreeListShared();
    if (shared.OpenThemeData) d->treeTheme = shared.OpenThemeData(window, L"TREEVIEW");
    UpdateColours(d);
    SetUpTreeListFonts(d);
    if (d->style & TVS_CHECKBOXES) BuildCheckBoxImages(d, 0);
    ComputeRowHeight(d);
    ComputeVisibleRows(d);
    if (!(d->style & TVS_NOTOOLTIPS)) CreateTip(d);
    d->lock.Leave();
    return 0;
}

LRESULT OnDestroy(TreeListData* d) {
    // From here on calls from other threads find the window dying and change nothing.
    d->dying = true;
    DestroyTip(d);
    for (UINT_PTR timer : {kTimerHover, kTimerAutoScroll}) KillTimer(d->window, timer);
    if (GetCapture() == d->window) ReleaseCapture();
    DeleteAllSilently(d);
    FreeDeferred(d);
    DestroyOwnImages(d);
    const TreeListShared& shared = GetTreeListShared();
    if (shared.CloseThemeData) {
        if (d->treeTheme) shared.CloseThemeData(d->treeTheme);
        if (d->checkTheme) shared.CloseThemeData(d->checkTheme);
    }
    d->treeTheme = d->checkTheme = nullptr;
    return 0;
}

LRESULT OnNcDestroy(TreeListData* d) {
    d->dying = true;
    AcquireSRWLockExclusive(&g_recordGuard);
    SetWindowLongPtrA(d->window, 0, 0);
    ReleaseSRWLockExclusive(&g_recordGuard);
    // The window's own reference; the record goes once every caller inside has left.
    --d->refs;
    return 0;
}
