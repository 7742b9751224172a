// CFileDialog: the system's open and save dialogs. The object is attached to the dialog's hook window,
// so the dialog's notifications (CDN_*) reach the virtual OnNotify.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include "framework/Dialog.h"

class CFileDialog : public CDialog {
    DECLARE_DYNAMIC(CFileDialog)
public:
    // lpszFilter: pairs of description and pattern separated by '|', e.g. "Texte (*.txt)|*.txt||".
    explicit CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = nullptr, LPCSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR lpszFilter = nullptr,
                         CWnd* pParentWnd = nullptr);

    OPENFILENAMEA m_ofn;

    // IDOK with a chosen file, IDCANCEL otherwise.
    INT_PTR DoModal() override;
    CString GetPathName() const { return CString(m_szFileName); }
    CString GetFileName() const;
    CString GetFileExt() const;
    BOOL GetReadOnlyPref() const { return (m_ofn.Flags & OFN_READONLY) != 0; }

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    virtual void OnInitDone();
    virtual void OnFileNameChange();
    virtual void OnFolderChange();
    virtual void OnTypeChange();
    // FALSE accepts the file name, TRUE keeps the dialog open.
    virtual BOOL OnFileNameOK();

protected:
    BOOL m_bOpenFileDialog;
    CString m_strFilter;
    CString m_strDefExt;
    char m_szFileName[1024] = {};
    char m_szFileTitle[MAX_PATH] = {};
};
