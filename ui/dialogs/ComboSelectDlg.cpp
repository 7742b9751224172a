#include "text/StrCopy.h"
#include "ui/dialogs/SelectDialogTemplates.h"
#include "ui/dialogs/SelectDialogs.h"
#include "ui/WindowPos.h"

#include <initializer_list>

namespace {

constexpr int32_t kComboDesignWidth = 347;

void MoveBy(HWND dialog, int id, int dx, int dw) {
    RECT r;
    if (!GetDlgItemRectInDlg(dialog, id, &r)) return;
    ::MoveWindow(::GetDlgItem(dialog, id), r.left + dx, r.top, r.right - r.left + dw, r.bottom - r.top, TRUE);
}

}  // namespace

CSelectDlgBase::CSelectDlgBase(const DLGTEMPLATE* dialogTemplate, CWnd* parent, int index) : m_index(index) {
    InitModalIndirect(dialogTemplate, parent);
}

int CSelectDlgBase::GetText(char* buffer, int size) const {
    if (!buffer || size < 1) return 0;
    return StrCopyNA(buffer, m_text, size);
}

int CSelectDlgBase::FindItem(LPCSTR text, int ignoreCase) {
    const int at = m_entries.Find(text, ignoreCase != 0);
    if (at >= 0) m_index = at;
    return at;
}

CComboSelectDlg::CComboSelectDlg(CWnd* parent) : CSelectDlgBase(ComboSelectDialogTemplate(), parent, 0) {}

CComboSelectDlg::~CComboSelectDlg() = default;

int CComboSelectDlg::AddItem(int index, uint32_t value, LPCSTR text, int flag) {
    const int at = m_entries.Add(index, value, text);
    if (at >= 0 && flag) m_index = at;
    return at;
}

int CComboSelectDlg::ComboId() const { return m_editable ? kSelectComboEditId : kSelectComboListId; }

BOOL CComboSelectDlg::OnInitDialog() {
    ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, kComboSelectDialogMarker);
    HWND combo = ::GetDlgItem(m_hWnd, ComboId());
    if (m_focusList) ::PostMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(combo), 1);
    for (int i = 0; i < m_entries.Count(); ++i) ::SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)m_entries.Text(i));
    if (m_index >= m_entries.Count()) m_index = -1;
    if (m_index < 0 && !m_editable) m_index = 0;
    if (m_index >= 0)
        ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(m_index), 0);
    else
        ::SetWindowTextA(combo, m_text);
    ::ShowWindow(combo, SW_SHOW);
    if (m_widthChange) {
        RECT window;
        ::GetWindowRect(m_hWnd, &window);
        const int delta = DesignSizeDelta(window.right - window.left, m_widthChange, kComboDesignWidth);
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left + delta, window.bottom - window.top,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        for (int id : {ComboId(), kSelectPromptId}) MoveBy(m_hWnd, id, 0, delta);
        for (int id : {IDOK, IDCANCEL}) MoveBy(m_hWnd, id, delta / 2, 0);
    }
    if (!m_cancelAllowed) {
        ::ShowWindow(::GetDlgItem(m_hWnd, IDCANCEL), SW_HIDE);
        RECT ok;
        if (GetDlgItemRectInDlg(m_hWnd, IDOK, &ok)) MoveBy(m_hWnd, IDOK, (ok.right - ok.left) * 3 / 5, 0);
    }
    CDialog::OnInitDialog();
    if (!m_caption.IsEmpty()) SetWindowText(m_caption);
    if (!m_prompt.IsEmpty()) SetDlgItemText(kSelectPromptId, m_prompt);
    ::SetFocus(combo);
    ::PostMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(combo), 1);
    return TRUE;
}

void CComboSelectDlg::OnOK() {
    HWND combo = ::GetDlgItem(m_hWnd, ComboId());
    m_index = static_cast<int>(::SendMessageA(combo, CB_GETCURSEL, 0, 0));
    if (m_index < 0) {
        GetDlgItemText(ComboId(), m_text);
        m_value = 0;
    } else {
        // The entry table holds the same texts in the same order as the combo.
        m_text = m_entries.Valid(m_index) ? m_entries.Text(m_index) : "";
        m_value = m_entries.Value(m_index);
    }
    CDialog::OnOK();
}

void CComboSelectDlg::OnCancel() {
    if (!m_cancelAllowed) {
        OnOK();
        return;
    }
    m_text.Empty();
    m_index = -1;
    EndDialog(IDCANCEL);
}
