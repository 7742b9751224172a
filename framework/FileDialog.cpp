#include "framework/FileDialog.h"

#include "framework/HandleMap.h"
#include "framework/WinApp.h"

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

namespace {

UINT_PTR CALLBACK FileDialogHook(HWND hDlg, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        // The hook window gets the object; from here its messages reach the object's maps.
        const OPENFILENAMEA* ofn = reinterpret_cast<const OPENFILENAMEA*>(lParam);
        CFileDialog* dialog = ofn ? reinterpret_cast<CFileDialog*>(ofn->lCustData) : nullptr;
        if (dialog && !dialog->m_hWnd && !CWnd::FromHandlePermanent(hDlg)) dialog->SubclassWindow(hDlg);
        return TRUE;
    }
    return 0;
}

}  // namespace

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName, DWORD dwFlags,
                         LPCSTR lpszFilter, CWnd* pParentWnd)
    : m_ofn(), m_bOpenFileDialog(bOpenFileDialog), m_strFilter(lpszFilter), m_strDefExt(lpszDefExt) {
    m_pParentWnd = pParentWnd;
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = (DWORD)sizeof(m_szFileName);
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = (DWORD)sizeof(m_szFileTitle);
    m_ofn.Flags = dwFlags | OFN_ENABLEHOOK | OFN_EXPLORER;
    m_ofn.lpfnHook = &FileDialogHook;
    m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
    m_ofn.hInstance = AfxGetInstanceHandle();
    if (lpszDefExt) m_ofn.lpstrDefExt = m_strDefExt;
    if (lpszFileName) lstrcpynA(m_szFileName, lpszFileName, (int)sizeof(m_szFileName));
    if (!m_strFilter.IsEmpty()) {
        // The system wants the pairs separated and ended by NULs.
        m_strFilter += '|';
        m_strFilter += '|';
        m_strFilter.Replace('|', '\0');
        m_ofn.lpstrFilter = m_strFilter;
    }
}

INT_PTR CFileDialog::DoModal() {
    CWnd* parent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    m_ofn.hwndOwner = fw::TopLevelOf(parent ? parent->m_hWnd : nullptr);
    m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
    BOOL chosen = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    if (m_hWnd) Detach();  // the hook window is gone with the dialog
    return chosen ? IDOK : IDCANCEL;
}

CString CFileDialog::GetFileName() const {
    CString path(m_szFileName);
    return path.Mid(path.ReverseFind('\\') + 1);
}

CString CFileDialog::GetFileExt() const {
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot < 0 ? CString() : name.Mid(dot + 1);
}

BOOL CFileDialog::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    switch (header->code) {
    case CDN_INITDONE: OnInitDone(); return TRUE;
    case CDN_SELCHANGE: OnFileNameChange(); return TRUE;
    case CDN_FOLDERCHANGE: OnFolderChange(); return TRUE;
    case CDN_TYPECHANGE: OnTypeChange(); return TRUE;
    case CDN_FILEOK:
        *pResult = OnFileNameOK();
        return TRUE;
    default:
        return FALSE;
    }
}

void CFileDialog::OnInitDone() {}
void CFileDialog::OnFileNameChange() {}
void CFileDialog::OnFolderChange() {}
void CFileDialog::OnTypeChange() {}
BOOL CFileDialog::OnFileNameOK() { return FALSE; }
