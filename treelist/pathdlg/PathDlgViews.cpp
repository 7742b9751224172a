// CPathDlg: the two views and the path field. The tree's current folder reaches the field after a short
// pause, a double click in the tree takes its folder; a new path in the field is listed or selected in
// the tree; "Aufwärts" goes one level up.
#include "treelist/pathdlg/PathDlg.h"

#include "system/PathFunctions.h"
#include "treelist/pathdlg/PathDlgTemplate.h"

namespace {

constexpr int kTreeToFieldTicks = 3;

void Show(HWND dialog, int id, bool show) { ::ShowWindow(::GetDlgItem(dialog, id), show ? SW_SHOW : SW_HIDE); }

}  // namespace

void CPathDlg::ShowView() {
    if (m_tree.m_hWnd) m_tree.ShowWindow(m_treeMode ? SW_SHOW : SW_HIDE);
    for (int id : {IDC_PATHDLG_DRIVELABEL, IDC_PATHDLG_LIST, IDC_PATHDLG_DRIVES}) Show(m_hWnd, id, !m_treeMode);
}

// Selects path in the tree, or the nearest folder above it that exists.
void CPathDlg::SelectInTree(const char* path, int flags) {
    if (!m_tree.m_hWnd || !path) return;
    CString at = path;
    while (!at.IsEmpty() && !m_tree.SelectPath(at, nullptr, flags)) {
        const int before = at.GetLength();
        if (CutLastComponentStr(at) == before) break;
    }
}

void CPathDlg::OnTreeCurrent(NMHDR*, LRESULT* result) {
    *result = 0;
    m_treeCountdown = kTreeToFieldTicks;
}

void CPathDlg::OnTreeDblClk(NMHDR*, LRESULT* result) {
    *result = 0;
    char path[MAX_PATH];
    if (!m_tree.GetCurrentPath(path, sizeof path, nullptr)) return;
    m_treeCountdown = 0;
    m_settingField = true;
    m_field.SetPath(path, -1);
    m_settingField = false;
    PostMessage(WM_COMMAND, IDOK, 0);
}

void CPathDlg::OnFieldPath(NMHDR* header, LRESULT* result) {
    *result = 0;
    const auto* nm = reinterpret_cast<const NMPATHCOMBO*>(header);
    if (m_settingField || !nm->path || !m_hWnd) return;
    if (m_treeMode)
        SelectInTree(nm->path, FTP_READ);
    else
        ListPath(nm->path);
}

void CPathDlg::OnFieldDrag(NMHDR*, LRESULT* result) { *result = 0; }

void CPathDlg::OnUp() {
    if (!m_treeMode) {
        if (m_current > 0) OpenEntry(m_current - 1);
        return;
    }
    char path[MAX_PATH];
    if (!m_tree.GetCurrentPath(path, sizeof path, nullptr)) return;
    CString up = path;
    CutLastComponentStr(up);
    SelectInTree(up, FTP_SHOW | FTP_READ);
}

void CPathDlg::OnTreeModeClicked() {
    m_treeMode = IsDlgButtonChecked(IDC_PATHDLG_TREEMODE) == BST_CHECKED;
    ShowView();
    CString path;
    GetDlgItemText(IDC_PATHDLG_PATH, path);
    if (m_treeMode)
        SelectInTree(path, FTP_SHOW);
    else
        ListPath(path, true);
}

void CPathDlg::OnBreadcrumbClicked() {
    m_breadcrumb = IsDlgButtonChecked(IDC_PATHDLG_BREADCRUMB) == BST_CHECKED;
    m_field.SetBreadcrumbMode(m_breadcrumb);
}
