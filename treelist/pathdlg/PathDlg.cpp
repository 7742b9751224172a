// CPathDlg: construction and the settings, the modal run on the in-memory template, set-up in
// OnInitDialog, resizing and the remembered window rectangle, and the end of the window.
#include "treelist/pathdlg/PathDlg.h"

#include "system/FileFunctions.h"
#include "system/PathFunctions.h"
#include "system/SystemIcons.h"
#include "text/StrCopy.h"
#include "treelist/pathdlg/PathDlgSettings.h"
#include "treelist/pathdlg/PathDlgTemplate.h"
#include "treelist/pathdlg/PathDlgText.h"
#include "treelist/pathdlg/PathDlgWorker.h"
#include "treelist/shared/FolderWidgetLook.h"

namespace {

constexpr char kDefaultTitle[] = "Verzeichnis w\xe4hlen";
constexpr UINT_PTR kTimer = 1045;
constexpr UINT kTimerMs = 200;
constexpr DWORD kTreeStyle = 0x40011000;  // child, tab stop, tree option: drag out

// Kept for the process: the layout as first recorded and the window rectangle of the last run.
LayoutRecord g_layout;
RECT g_lastRect;
bool g_lastRectKept = false;

RECT ChildRect(HWND dialog, int id) {
    RECT r = {};
    HWND child = ::GetDlgItem(dialog, id);
    if (!child) return r;
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

BEGIN_MESSAGE_MAP(CPathDlg, CDialog)
    ON_WM_SIZE()
    ON_WM_SIZING()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_WM_SYSCOMMAND()
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
    ON_WM_COMPAREITEM()
    ON_WM_DROPFILES()
    ON_LBN_DBLCLK(IDC_PATHDLG_LIST, OnListDblClk)
    ON_CBN_SELCHANGE(IDC_PATHDLG_DRIVES, OnDriveChange)
    ON_BN_CLICKED(IDC_PATHDLG_UP, OnUp)
    ON_BN_CLICKED(IDC_PATHDLG_TREEMODE, OnTreeModeClicked)
    ON_BN_CLICKED(IDC_PATHDLG_BREADCRUMB, OnBreadcrumbClicked)
    ON_COMMAND(ID_PATHDLG_DRIVES_READY, OnDrivesReady)
    ON_COMMAND(ID_PATHDLG_LIST_READY, OnListReady)
    ON_NOTIFY(FTN_CURRENTCHANGED, IDC_PATHDLG_TREE, OnTreeCurrent)
    ON_NOTIFY(FTN_DBLCLK, IDC_PATHDLG_TREE, OnTreeDblClk)
    ON_NOTIFY(PCN_PATHCHANGED, IDC_PATHDLG_PATH, OnFieldPath)
    ON_NOTIFY(PCN_PATHDRAG, IDC_PATHDLG_PATH, OnFieldDrag)
END_MESSAGE_MAP()

CPathDlg::CPathDlg(CWnd* parent, const char* historyKey) : CDialog(), m_title(kDefaultTitle) {
    m_pParentWnd = parent;
    m_history.SetHistoryMode(kPathDlgHistoryMax, 1);
    if (historyKey && historyKey[0]) {
        m_historyKey = historyKey;
        LoadPathHistory(historyKey, PATHHISTORY_START | PATHHISTORY_LIST, &m_path, &m_history);
    }
    m_runKey = m_historyKey;
}

CPathDlg::~CPathDlg() { StopWorker(); }

INT_PTR CPathDlg::DoModal() { return DoModalEx(nullptr, PDO_MUST_EXIST | PDO_CREATE); }

INT_PTR CPathDlg::DoModalEx(const char* historyKey, int options) {
    ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    if (options != -1) SetOptions((GetOptions() & PDO_FIXED_FIELD) | ((DWORD)options & 0xF));
    m_runKey = m_historyKey;
    if (historyKey && historyKey[0]) {
        m_runKey = historyKey;
        LoadPathHistory(historyKey, PATHHISTORY_LIST | (m_path.IsEmpty() ? PATHHISTORY_START : 0), &m_path, &m_history);
    }
    m_closing = false;
    if (m_templateId) {
        m_lpszTemplateName = MAKEINTRESOURCEA(m_templateId);
        m_lpDialogTemplate = nullptr;
    } else {
        m_template = BuildPathDlgTemplate();
        m_lpszTemplateName = nullptr;
        InitModalIndirect(reinterpret_cast<LPCDLGTEMPLATE>(m_template.data()), m_pParentWnd);
    }
    const INT_PTR result = CDialog::DoModal();
    m_runKey = m_historyKey;
    return result;
}

int CPathDlg::GetPathInto(char* buffer, int size, int withSeparator) const {
    const CString& path = withSeparator ? m_pathWithSeparator : m_path;
    if (!buffer || size <= 0) return 0;
    buffer[0] = 0;
    if (path.GetLength() >= size) return 0;
    return StrCopyNA(buffer, path, size);
}

void CPathDlg::SetPath(const char* text) {
    CString path = TrimChosenPath(text);
    char full[MAX_PATH];
    const bool network = path.GetLength() >= 2 && path[0] == '\\' && path[1] == '\\';
    if (network && !m_localOnly && MapNetworkPlacePath(path, full, sizeof full)) path = full;
    // Made full, network paths too ("." and ".." go); the network itself ("\\\\") stays.
    if (!path.IsEmpty() && !(network && path.GetLength() == 2)) {
        const DWORD n = GetFullPathNameA(path, sizeof full, full, nullptr);
        if (n && n < sizeof full) path = full;
    }
    m_path = TrimChosenPath(path);
}

void CPathDlg::AppendSubPath(const char* text) {
    const CString sub = TrimSubPath(text);
    if (sub.IsEmpty()) return;
    CString joined;
    JoinPathStr(joined, m_path, sub);
    m_path = joined;
}

void CPathDlg::SetHistoryKey(const char* key) {
    m_historyKey = key ? key : "";
    m_runKey = m_historyKey;
}

void CPathDlg::SetOptions(DWORD options) {
    m_mustExist = (options & PDO_MUST_EXIST) != 0;
    m_create = (options & PDO_CREATE) != 0;
    m_localOnly = (options & PDO_LOCAL_ONLY) != 0;
    m_fixedView = (options & PDO_FIXED_VIEW) != 0;
    m_fixedField = (options & PDO_FIXED_FIELD) != 0;
}

DWORD CPathDlg::GetOptions() const {
    return (m_mustExist ? PDO_MUST_EXIST : 0) | (m_create ? PDO_CREATE : 0) | (m_localOnly ? PDO_LOCAL_ONLY : 0) |
           (m_fixedView ? PDO_FIXED_VIEW : 0) | (m_fixedField ? PDO_FIXED_FIELD : 0);
}

void CPathDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PATHDLG_PATH, m_path);
    DDX_Check(pDX, IDC_PATHDLG_TREEMODE, m_treeMode);
    DDX_Check(pDX, IDC_PATHDLG_BREADCRUMB, m_breadcrumb);
}

BOOL CPathDlg::OnInitDialog() {
    SetWindowText(m_title);
    m_images = GetSystemImageList(FALSE);
    m_rowHeight = GetFolderWidgetLook().rowHeight;
    m_treeMode = FALSE;
    if (!m_fixedView) ReadPathDlgSetting(kPathDlgTreeModeValue, &m_treeMode);
    CreateTree();
    if (!g_layout.taken) TakeLayout();
    ShowView();
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_PATHDLG_TREEMODE), m_fixedView ? SW_HIDE : SW_SHOW);
    SetTimer(kTimer, kTimerMs, nullptr);
    RestoreRect();
    m_breadcrumb = FALSE;
    if (!m_fixedField) ReadPathDlgSetting(kPathDlgBreadcrumbValue, &m_breadcrumb);
    AttachField();
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_PATHDLG_BREADCRUMB), m_fixedField ? SW_HIDE : SW_SHOW);
    SetUpList();
    for (int i = 0; i < m_history.GetCount(); ++i)
        m_field.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(m_history.GetItemText(i)));
    ChooseStartPath();
    if (!m_extension.IsEmpty()) {
        if (HMENU menu = ::GetSystemMenu(m_hWnd, FALSE)) {
            ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuA(menu, MF_STRING, ID_PATHDLG_EXTENSION, "Pfaderweiterung");
        }
    }
    m_worker = StartPathListWorker(m_hWnd, m_localOnly != FALSE, m_startShare.c_str());
    // Shows the path in the field, which lists it (or selects it in the tree).
    CDialog::OnInitDialog();
    const CString start = m_path;
    if (m_treeMode)
        SelectInTree(start, FTP_SHOW | FTP_READ);
    else
        ListPath(start);
    return TRUE;
}

void CPathDlg::CreateTree() {
    RECT list = ChildRect(m_hWnd, IDC_PATHDLG_LIST), drives = ChildRect(m_hWnd, IDC_PATHDLG_DRIVES);
    const RECT r = {list.left, list.top, list.right, drives.bottom};
    DWORD style = kTreeStyle | (m_localOnly ? (DWORD)FTO_NO_NETWORK : 0u) | (m_treeMode ? (DWORD)WS_VISIBLE : 0u);
    if (!m_tree.Create(WS_EX_CLIENTEDGE, style, r, this, IDC_PATHDLG_TREE)) return;
    ::SetWindowPos(m_tree.m_hWnd, ::GetDlgItem(m_hWnd, IDC_PATHDLG_PATH), 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CPathDlg::RestoreRect() {
    if (!g_lastRectKept) return;
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!::GetMonitorInfoA(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &info)) return;
    if (!RememberedRectFits(g_lastRect, info.rcWork)) return;
    SetWindowPos(nullptr, g_lastRect.left, g_lastRect.top, g_lastRect.right - g_lastRect.left,
                 g_lastRect.bottom - g_lastRect.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPathDlg::AttachField() {
    DWORD options = PCO_DRAG_OUT | PCO_ACCEPT_DROP;
    if (m_localOnly) options |= PCO_NO_NETWORK;
    if (!m_breadcrumb) options |= PCO_PLAIN_EDIT;
    if (m_mustExist) options |= PCO_MUST_EXIST;
    m_field.Attach(options, ::GetDlgItem(m_hWnd, IDC_PATHDLG_PATH));
    // Files dropped on a fixed field reach the dialog (the field shows their folder, which is listed).
    if (m_fixedField) ::DragAcceptFiles(m_hWnd, TRUE);
}

void CPathDlg::ChooseStartPath() {
    CString start = m_path;
    char current[MAX_PATH] = {};
    ::GetCurrentDirectoryA(sizeof current, current);
    if (start.IsEmpty()) start = current;
    const bool network = start.GetLength() >= 2 && start[0] == '\\' && start[1] == '\\';
    int kind = network ? PATH_DIRECTORY : GetPathTypeA(start);
    if (kind == PATH_MISSING && m_mustExist) {
        start = current;
        kind = GetPathTypeA(start);
    }
    if (kind == PATH_FILE) CutLastComponentStr(start);
    m_networkMode = network && !m_localOnly;
    // A reachable share gets a drive entry of its own.
    m_startShare = m_networkMode ? ShareOfPath(start) : "";
    if (!NetworkFolderFound(m_startShare.c_str())) m_startShare.clear();
    m_shareRoot.clear();
    m_path = start;
}

void CPathDlg::TakeLayout() {
    RECT client, window;
    ::GetClientRect(m_hWnd, &client);
    ::GetWindowRect(m_hWnd, &window);
    if (client.right <= 0 || client.bottom <= 0) return;
    g_layout.client = {client.right, client.bottom};
    g_layout.window = {window.right - window.left, window.bottom - window.top};
    for (int i = 0; i < kPathDlgLayoutCount; ++i) g_layout.rects[i] = ChildRect(m_hWnd, kPathDlgLayout[i].id);
    g_layout.taken = true;
}

void CPathDlg::OnSize(UINT type, int cx, int cy) {
    CDialog::OnSize(type, cx, cy);
    if (cx <= 0 || cy <= 0) {
        // Minimised: the next sizing takes the layout as it then stands.
        g_layout.taken = false;
        return;
    }
    if (!m_tree.m_hWnd) return;
    if (!g_layout.taken) {
        TakeLayout();
        return;
    }
    for (int i = 0; i < kPathDlgLayoutCount; ++i) {
        HWND child = ::GetDlgItem(m_hWnd, kPathDlgLayout[i].id);
        const RECT r = FollowClientSize(g_layout, i, cx, cy);
        if (child)
            ::SetWindowPos(child, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CPathDlg::OnSizing(UINT edge, LPRECT rect) {
    CDialog::OnSizing(edge, rect);
    if (g_layout.taken) LimitSizing(rect, edge, g_layout.window.cx - 100, g_layout.window.cy - 300);
}

void CPathDlg::KeepRect() {
    if (!m_hWnd || IsZoomed() || IsIconic()) return;
    RECT r;
    ::GetWindowRect(m_hWnd, &r);
    g_lastRect = r;
    g_lastRectKept = true;
}

void CPathDlg::OnTimer(UINT_PTR id) {
    if (id != kTimer) {
        CDialog::OnTimer(id);
        return;
    }
    MoveEntries();
    if (m_treeCountdown > 0 && --m_treeCountdown == 0) {
        char path[MAX_PATH];
        if (m_tree.GetCurrentPath(path, sizeof path, nullptr)) m_field.SetPath(path, -1);
    }
}

void CPathDlg::OnSysCommand(UINT id, LPARAM lParam) {
    if ((id & 0xFFF0) != ID_PATHDLG_EXTENSION || m_extension.IsEmpty()) {
        CDialog::OnSysCommand(id, lParam);
        return;
    }
    UpdateData(TRUE);
    AppendSubPath(m_extension);
    if (m_treeMode)
        SelectInTree(m_path, FTP_SHOW | FTP_READ);
    else
        ListPath(m_path);
}

void CPathDlg::OnDestroy() {
    KillTimer(kTimer);
    StopWorker();
    m_tree.StopWorker();
    if (m_tree.m_hWnd) m_tree.DestroyWindow();
    if (!m_fixedView) WritePathDlgSetting(kPathDlgTreeModeValue, m_treeMode);
    if (m_oldListProc) {
        ::SetWindowLongPtrA(::GetDlgItem(m_hWnd, IDC_PATHDLG_LIST), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_oldListProc));
        m_oldListProc = nullptr;
    }
    if (m_field.m_hWnd) m_field.DestroyWindow();
    if (!m_fixedField) WritePathDlgSetting(kPathDlgBreadcrumbValue, m_breadcrumb);
    CDialog::OnDestroy();
}

int CPathDlg::GetListedCount() const {
    return (int)::SendDlgItemMessageA(m_hWnd, IDC_PATHDLG_LIST, LB_GETCOUNT, 0, 0);
}
