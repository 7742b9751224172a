// CResizableSelectDlg: the entry texts with ticks, the minimum size, the kept size and position, and Cancel
// of the list and tree selection dialogs.
#include "text/StrCopy.h"
#include "ui/dialogs/SelectDialogTemplates.h"
#include "ui/dialogs/SelectDialogs.h"

namespace {

constexpr int kPromptHeight = 20;

}  // namespace

BEGIN_MESSAGE_MAP(CResizableSelectDlg, CSelectDlgBase)
    ON_WM_SIZING()
END_MESSAGE_MAP()

CResizableSelectDlg::CResizableSelectDlg(const DLGTEMPLATE* dialogTemplate, CWnd* parent, SelectSavedPosition* position)
    : CSelectDlgBase(dialogTemplate, parent, -1), m_position(position) {}

int CResizableSelectDlg::GetItemTextCopy(int index, char* buffer, int size) const {
    if (!buffer || size < 1) return 0;
    return StrCopyNA(buffer, m_entries.Text(index), size);
}

void CResizableSelectDlg::MeasureLayout(int listId, int promptMinHeight) {
    m_measures = MeasureSelectLayout(m_hWnd, listId, m_cancelAllowed != 0);
    if (m_prompt.IsEmpty()) {
        m_measures.listTop -= kPromptHeight;
        m_measures.minHeight -= promptMinHeight;
    }
}

void CResizableSelectDlg::ShowCaptionAndPrompt() {
    if (!m_caption.IsEmpty()) SetWindowText(m_caption);
    if (m_prompt.IsEmpty())
        ::ShowWindow(::GetDlgItem(m_hWnd, kSelectPromptId), SW_HIDE);
    else
        SetDlgItemText(kSelectPromptId, m_prompt);
}

void CResizableSelectDlg::OnSizing(UINT fwSide, LPRECT pRect) {
    KeepMinimumSize(pRect, fwSide, m_measures.minWidth, m_measures.minHeight);
}

void CResizableSelectDlg::OnCancel() {
    if (!m_cancelAllowed) return;
    KeepWindow();
    m_text.Empty();
    m_index = -1;
    CDialog::OnCancel();
}
