// CPathDlg: the modal "Verzeichnis wählen" dialog with which the user picks (and, when asked, creates) a
// directory. Two views of the folders share one area: a list of the path's levels and subfolders with
// a drive combo (filled by the dialog's own worker thread), and the folder tree. The path field on top
// is a plain editable combo or the breadcrumb combo. The view choices are remembered per user; an
// optional history key keeps a start path and the chosen paths.
#pragma once

#include "framework/Framework.h"
#include "text/TextList.h"
#include "treelist/foldertree/FolderTreeCtrl.h"
#include "treelist/pathcombo/PathComboBox.h"
#include "treelist/pathdlg/PathDlgLayout.h"
#include "treelist/shared/TypeAhead.h"

#include <string>
#include <vector>

struct PathListContext;

// Option bits.
constexpr DWORD PDO_MUST_EXIST = 0x1;   // the chosen path must exist
constexpr DWORD PDO_CREATE = 0x2;       // a missing path is created
constexpr DWORD PDO_LOCAL_ONLY = 0x4;   // no network
constexpr DWORD PDO_FIXED_VIEW = 0x8;   // list view only, no "Baum anzeigen"
constexpr DWORD PDO_FIXED_FIELD = 0x10; // plain path field, no "Brotkrumen"; files dropped on it reach the dialog

// The system menu command of "Pfaderweiterung".
constexpr UINT ID_PATHDLG_EXTENSION = 64;

class CPathDlg : public CDialog {
public:
    explicit CPathDlg(CWnd* parent = nullptr, const char* historyKey = nullptr);
    ~CPathDlg() override;

    INT_PTR DoModal() override;
    // Runs the dialog; options other than -1 set bits 0x1 to 0x8. A history key given here counts for
    // this run only (its start path only when no path is set). IDOK or IDCANCEL.
    INT_PTR DoModalEx(const char* historyKey, int options);

    // The chosen directory after IDOK, without (0) or with (1) a trailing "\". A drive root is "C:"
    // without it.
    CString GetPath(int withSeparator) const { return withSeparator ? m_pathWithSeparator : m_path; }
    // Copies it; empty when it does not fit.
    int GetPathInto(char* buffer, int size, int withSeparator) const;
    void SetPath(const char* text);
    void AppendSubPath(const char* text);
    void SetTitle(const char* text) { m_title = text ? text : ""; }
    // A non-empty extension adds "Pfaderweiterung" to the system menu, which joins it to the path.
    void SetExtension(const char* text) { m_extension = text ? text : ""; }
    void SetHistoryKey(const char* key);
    void SetTemplateId(UINT id) { m_templateId = id; }
    void SetOptions(DWORD options);
    DWORD GetOptions() const;

    // Read-only views for tests.
    const CString& GetListedPath() const { return m_listedPath; }
    // The text of a list entry (by entry index), "" when there is none.
    std::string GetEntryText(int entry) const;
    int GetListedCount() const;
    CFolderTreeCtrl& Tree() { return m_tree; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnSizing(UINT edge, LPRECT rect);
    afx_msg void OnDestroy();
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnSysCommand(UINT id, LPARAM lParam);
    afx_msg void OnDrawItem(int id, LPDRAWITEMSTRUCT item);
    afx_msg void OnMeasureItem(int id, LPMEASUREITEMSTRUCT item);
    afx_msg int OnCompareItem(int id, LPCOMPAREITEMSTRUCT item);
    afx_msg void OnDropFiles(HDROP drop);
    afx_msg void OnListDblClk();
    afx_msg void OnDriveChange();
    afx_msg void OnUp();
    afx_msg void OnTreeModeClicked();
    afx_msg void OnBreadcrumbClicked();
    afx_msg void OnDrivesReady();
    afx_msg void OnListReady();
    afx_msg void OnTreeCurrent(NMHDR* header, LRESULT* result);
    afx_msg void OnTreeDblClk(NMHDR* header, LRESULT* result);
    afx_msg void OnFieldPath(NMHDR* header, LRESULT* result);
    afx_msg void OnFieldDrag(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    // OnInitDialog's steps.
    void CreateTree();
    void RestoreRect();
    void AttachField();
    void SetUpList();
    void ChooseStartPath();
    // Listing (list view).
    // Lists path in the list view; the same path as the last request only when again is set.
    void ListPath(const char* path, bool again = false);
    void MoveEntries();
    void OpenEntry(int entry);
    void ShowView();
    void SelectInTree(const char* path, int flags);
    // The list box.
    static LRESULT CALLBACK ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void ListTypeAhead(char c);
    void DropOnList(HDROP drop);
    void DrawListEntry(const DRAWITEMSTRUCT& item);
    void DrawDriveEntry(const DRAWITEMSTRUCT& item);
    int DriveOfPath(const char* path) const;
    // Closing.
    // True when Enter did its nearest thing; refusedTyped receives a typed path the field refused.
    bool OkKeysHandled(CString* refusedTyped);
    bool AcceptPath(CString& path);
    void StopWorker();
    void TakeLayout();
    void KeepRect();

    // Options.
    BOOL m_mustExist = TRUE, m_create = FALSE, m_localOnly = FALSE, m_fixedView = FALSE, m_fixedField = FALSE;
    CString m_path, m_pathWithSeparator;
    CString m_title, m_extension, m_historyKey, m_runKey;
    CString m_requestPath, m_listedPath;  // asked for and listed last
    UINT m_templateId = 0;
    std::vector<BYTE> m_template;
    CTextList m_history;
    std::vector<std::string> m_driveMemory;  // the per-drive last paths
    int m_drive = -1;
    bool m_networkMode = false;
    std::string m_startShare;  // the start path's reachable share, which has a drive entry ("" none)
    std::string m_shareRoot;   // the share the listed path lies in, when that is m_startShare
    PathListContext* m_worker = nullptr;
    int m_listed = 0;         // entries moved into the list box
    int m_current = -1;       // the entry of the listed folder
    bool m_closing = false;
    bool m_settingField = false;
    int m_treeCountdown = 0;
    TypeAheadState m_typeAhead;
    WNDPROC m_oldListProc = nullptr;
    int m_rowHeight = 18;
    HIMAGELIST m_images = nullptr;
    CFolderTreeCtrl m_tree;
    CPathComboBox m_field;
    BOOL m_treeMode = FALSE, m_breadcrumb = FALSE;
};
