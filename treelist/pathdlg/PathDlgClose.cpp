// CPathDlg: OK and Cancel. Enter does the nearest thing first (the typed path, the list's entry, the drive
// list); the chosen path is listed once before it is accepted, created or checked as the options ask (a
// typed path that the breadcrumb field refuses goes to these checks at once), remembered in the history; the worker is stopped while the dialog keeps answering, and neither OK nor
// Cancel can run again meanwhile.
#include "treelist/pathdlg/PathDlg.h"

#include "system/FileFunctions.h"
#include "system/PathFunctions.h"
#include "treelist/pathdlg/PathDlgSettings.h"
#include "treelist/pathdlg/PathDlgTemplate.h"
#include "treelist/pathdlg/PathDlgText.h"
#include "treelist/pathdlg/PathDlgWorker.h"

namespace {

constexpr DWORD kStopBoundMs = 1000;
constexpr int kMessagesInARow = 10;

bool IsNetwork(const char* path) { return path[0] == '\\' && path[1] == '\\'; }

bool Present(const char* path, bool network) {
    return network ? NetworkFolderFound(path) : GetPathTypeA(path) >= PATH_DIRECTORY;
}

}  // namespace

bool CPathDlg::OkKeysHandled(CString* refusedTyped) {
    HWND focus = ::GetFocus();
    HWND edit = m_field.GetEdit();
    const bool inField = focus && (focus == m_field.m_hWnd || ::IsChild(m_field.m_hWnd, focus));
    if (inField && ::GetKeyState(VK_CONTROL) < 0) {
        if (m_treeMode) {
            CString path;
            GetDlgItemText(IDC_PATHDLG_PATH, path);
            SelectInTree(path, FTP_READ);
        }
        return true;
    }
    if (m_breadcrumb && edit && ((focus == edit && ::IsWindowVisible(edit)) || m_field.TypedTextChanged())) {
        if (!m_field.TakeTypedText()) {
            // A folder the field refuses (one that does not exist) is for OK's checks to make or refuse.
            *refusedTyped = m_field.GetTakenText();
            return refusedTyped->IsEmpty();
        }
        GotoDlgCtrl(GetDlgItem(IDOK));
        return true;
    }
    if (m_treeMode) return false;
    HWND list = ::GetDlgItem(m_hWnd, IDC_PATHDLG_LIST);
    if (focus == list) {
        const LRESULT index = ::SendMessageA(list, LB_GETCURSEL, 0, 0);
        const LRESULT entry = index == LB_ERR ? -1 : ::SendMessageA(list, LB_GETITEMDATA, (WPARAM)index, 0);
        // The listed folder's own entry goes on as OK.
        if (entry != m_current) {
            OpenEntry((int)entry);
            return true;
        }
        return false;
    }
    HWND drives = ::GetDlgItem(m_hWnd, IDC_PATHDLG_DRIVES);
    if (focus && (focus == drives || ::IsChild(drives, focus))) {
        ::SendMessageA(drives, CB_SHOWDROPDOWN, TRUE, 0);
        return true;
    }
    return false;
}

void CPathDlg::OnOK() {
    CString typed;
    if (m_closing || OkKeysHandled(&typed)) return;
    // The tree's folder that has not reached the field yet.
    if (m_treeMode && m_treeCountdown > 0) {
        m_treeCountdown = 0;
        char current[MAX_PATH];
        if (m_tree.GetCurrentPath(current, sizeof current, nullptr)) SetDlgItemText(IDC_PATHDLG_PATH, current);
    }
    if (!UpdateData(TRUE)) return;
    if (!typed.IsEmpty()) SetPath(typed);
    CString path = TrimChosenPath(m_path);
    if (path.GetLength() == 2 && path[1] == ':') path += "\\";
    if (path.IsEmpty()) return;
    // The first Enter on a typed path lists it (a listing of it under way goes on).
    if (typed.IsEmpty() && !m_treeMode && ComparePathsA(path, m_listedPath, CP_NOCASE) != 0) {
        ListPath(path);
        return;
    }
    if (!AcceptPath(path)) return;
    if (m_history.PromoteHistoryItem(path)) m_history.InsertItem(path, 0);
    if (!m_runKey.IsEmpty()) SavePathHistory(m_runKey, m_history);
    m_pathWithSeparator = path;
    AppendSeparatorStr(m_pathWithSeparator);
    m_settingField = true;
    SetDlgItemText(IDC_PATHDLG_PATH, m_pathWithSeparator);
    m_settingField = false;
    m_closing = true;
    StopWorker();
    CDialog::OnOK();
    m_path = m_pathWithSeparator;
    RemoveTrailingSeparatorStr(m_path);
}

// Creates or checks the path as the options ask; false (after telling the user) when it may not be taken.
bool CPathDlg::AcceptPath(CString& path) {
    const bool network = IsNetwork(path) && !m_localOnly;
    if (network) {
        char mapped[MAX_PATH];
        if (MapNetworkPlacePath(path, mapped, sizeof mapped)) path = mapped;
    }
    if (m_create && !Present(path, network) && !CreateDirectoryPathA(path)) {
        MessageBox("Der Pfad kann nicht erzeugt werden !", "Fehler", MB_ICONHAND);
        return false;
    }
    if (m_mustExist && !Present(path, network)) {
        MessageBox("Der Pfad existiert nicht !", "Fehler", MB_ICONHAND);
        return false;
    }
    return true;
}

void CPathDlg::OnCancel() {
    if (m_closing) return;
    HWND edit = m_field.GetEdit();
    if (m_breadcrumb && edit && ::GetFocus() == edit && ::IsWindowVisible(edit)) {
        ::SendMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0);
        return;
    }
    m_closing = true;
    StopWorker();
    EndDialog(IDCANCEL);
}

// Asks the worker to end and waits for it (bounded), handling the thread's messages meanwhile; then
// keeps the window rectangle for the next run.
void CPathDlg::StopWorker() {
    PathListContext* c = m_worker;
    if (!c) return;
    m_worker = nullptr;
    AskPathListWorkerToStop(c);
    const DWORD start = GetTickCount();
    while (c->running.load() && GetTickCount() - start < kStopBoundMs) {
        int handled = 0;
        MSG msg;
        while (handled < kMessagesInARow && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage((int)msg.wParam);
                break;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
            ++handled;
        }
        const DWORD pause = handled ? 10 : c->filling.load() ? 20 : 100;
        ::MsgWaitForMultipleObjects(1, &c->thread, FALSE, pause, QS_ALLINPUT);
        c->wake.Unlock();
    }
    ReleasePathListContext(c);
    KeepRect();
}
