// CGameSettingsDlg: the game's settings (dialog 150): the question folder with its history, a folder browser
// and drops from the shell, the time limit and four switches. The view fills the members, runs DoModal and
// takes them back on IDOK.
#pragma once

#include "framework/CString.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"

#include <optional>

// The folder history of the path box: value "HtmlPaths" under the application's own key.
constexpr char kQuestionFolderHistory[] = "HtmlPaths";
constexpr char kQuestionFolderHistoryKey[] = "#";

class CGameSettingsDlg : public CDialog {
public:
    explicit CGameSettingsDlg(CWnd* parent = nullptr);

    CString m_path;        // question folder (combo box 1016)
    CString m_timeText;    // edit 1009: the time limit as shown
    BOOL m_startTogether = FALSE;
    BOOL m_countAutomatically = TRUE;
    BOOL m_sameSide = FALSE;
    BOOL m_colouredScale = TRUE;
    int m_timeLimit = 0;   // seconds, 0 = off

    // The directory browser behind button 1035: the folder chosen, nothing when cancelled.
    using FolderChooser = std::optional<CString> (*)(CWnd* parent, const CString& current);
    FolderChooser m_chooseFolder;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnBrowse();
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};
