#include "game/GameSettingsDlg.h"

#include "game/QuestionFolderChooser.h"
#include "game/RoundControl.h"
#include "game/ViewMessageBox.h"
#include "image/buttons/ButtonImages.h"
#include "res/ViewCommands.h"
#include "system/FileFunctions.h"
#include "ui/history/ComboHistory.h"
#include "ui/subclass/Subclass.h"

BEGIN_MESSAGE_MAP(CGameSettingsDlg, CDialog)
    ON_BN_CLICKED(IDC_SETTINGS_BROWSE, OnBrowse)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CGameSettingsDlg::CGameSettingsDlg(CWnd* parent)
    : CDialog(IDD_GAME_SETTINGS, parent), m_chooseFolder(&ChooseQuestionFolder) {}

void CGameSettingsDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_CBString(pDX, IDC_SETTINGS_PATH, m_path);
    DDX_Text(pDX, IDC_SETTINGS_TIME_LIMIT, m_timeText);
    DDX_Check(pDX, IDC_SETTINGS_START_TOGETHER, m_startTogether);
    DDX_Check(pDX, IDC_SETTINGS_AUTO_COUNT, m_countAutomatically);
    DDX_Check(pDX, IDC_SETTINGS_SAME_SIDE, m_sameSide);
    DDX_Check(pDX, IDC_SETTINGS_SCALE_COLOUR, m_colouredScale);
}

BOOL CGameSettingsDlg::OnInitDialog() {
    m_timeText.Format("%i", m_timeLimit);
    // The history's newest folder is the one shown.
    LoadComboHistory(this, IDC_SETTINGS_PATH, kQuestionFolderHistory, kQuestionFolderHistoryKey, &m_path);
    InstallSubclassProc(::GetDlgItem(m_hWnd, IDC_SETTINGS_PATH), ComboDropProc);
    SetButtonBitmap(::GetDlgItem(m_hWnd, IDC_SETTINGS_BROWSE), IDB_BROWSE_FOLDER);
    CDialog::OnInitDialog();
    return TRUE;
}

void CGameSettingsDlg::OnBrowse() {
    UpdateData(TRUE);
    if (!m_chooseFolder) return;
    if (std::optional<CString> chosen = m_chooseFolder(this, m_path)) {
        m_path = *chosen;
        UpdateData(FALSE);
    }
}

void CGameSettingsDlg::OnOK() {
    if (!UpdateData(TRUE)) return;
    // A drive root is a folder as well.
    const int type = m_path.IsEmpty() ? PATH_DIRECTORY : GetPathTypeA(m_path);
    if (type != PATH_DIRECTORY && type != PATH_DRIVE_ROOT &&
        ShowViewMessage(m_hWnd, "Bitte ein gültiges Hintergrundbild auswählen !\n\nTrotzdem übernehmen ?", "Warnung",
                        MB_OKCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDOK)
        return;
    m_timeLimit = game::TimeLimitFromText(m_timeText);
    SaveComboHistory(this, IDC_SETTINGS_PATH, kQuestionFolderHistory, kQuestionFolderHistoryKey);
    CDialog::OnOK();
}

void CGameSettingsDlg::OnDestroy() {
    DeleteButtonBitmap(::GetDlgItem(m_hWnd, IDC_SETTINGS_BROWSE));
    CWnd::OnDestroy();
}
