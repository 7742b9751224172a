#include "ui/dialogs/InputDialogs.h"

#include "text/StrCopy.h"
#include "ui/dialogs/InputDialogTemplates.h"
#include "ui/dialogs/NumberInputText.h"
#include "ui/dialogs/SelectDialogGeometry.h"
#include "ui/WindowPos.h"

#include <initializer_list>

namespace {

constexpr int32_t kDesignWidth = 354;  // pixels of the 232-unit template at the standard font

// Widens the dialog: the stretched controls grow to the right, OK and Cancel move right.
void Widen(HWND dialog, int32_t& widthChange, bool stretchPrompt) {
    RECT window;
    GetWindowRect(dialog, &window);
    const int32_t width = window.right - window.left;
    const int32_t delta = InputDialogWidthDelta(width, widthChange);
    widthChange = delta;
    SetWindowPos(dialog, nullptr, 0, 0, width + delta, window.bottom - window.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    for (int id : {kInputEditId, kInputPromptId}) {
        if (id == kInputPromptId && !stretchPrompt) continue;
        RECT r;
        if (!GetDlgItemRectInDlg(dialog, id, &r)) continue;
        MoveWindow(GetDlgItem(dialog, id), r.left, r.top, r.right - r.left + delta, r.bottom - r.top, FALSE);
    }
    for (int id : {IDOK, IDCANCEL}) {
        RECT r;
        if (!GetDlgItemRectInDlg(dialog, id, &r)) continue;
        MoveWindow(GetDlgItem(dialog, id), r.left + delta, r.top, r.right - r.left, r.bottom - r.top, FALSE);
    }
}

// The steps both dialogs take as they open, before the framework fills the controls.
void PrepareInputDialog(HWND dialog, LONG_PTR marker, int focusEdit, int32_t& widthChange, bool stretchPrompt) {
    SetWindowLongPtrA(dialog, GWLP_USERDATA, marker);
    if (focusEdit) PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, kInputEditId)), 1);
    if (widthChange) Widen(dialog, widthChange, stretchPrompt);
}

void ShowInputTexts(CDialog& dialog, const CString& caption, const CString& prompt) {
    if (!caption.IsEmpty()) dialog.SetWindowText(caption);
    if (!prompt.IsEmpty()) dialog.SetDlgItemText(kInputPromptId, prompt);
}

}  // namespace

int32_t InputDialogWidthDelta(int32_t dialogWidth, int32_t widthChange) {
    return DesignSizeDelta(dialogWidth, widthChange, kDesignWidth);
}

// ---- CTextInputDlg --------------------------------------------------------------------------------------------

CTextInputDlg::CTextInputDlg(CWnd* parent, int password) {
    InitModalIndirect(password ? PasswordInputDialogTemplate() : InputDialogTemplate(), parent);
}

CTextInputDlg::~CTextInputDlg() = default;

int CTextInputDlg::GetText(char* buffer, int size) const {
    if (!buffer || size < 1) return 0;
    return StrCopyNA(buffer, m_text, size);
}

void CTextInputDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, kInputEditId, m_text);
}

BOOL CTextInputDlg::OnInitDialog() {
    if (m_passwordAfterCreation) MakePasswordEdit();
    PrepareInputDialog(m_hWnd, kTextInputDialogMarker, m_focusEdit, m_widthChange, true);
    CDialog::OnInitDialog();
    ShowInputTexts(*this, m_caption, m_prompt);
    return TRUE;
}

// Recreates the edit with ES_PASSWORD: same place, styles, id and font.
void CTextInputDlg::MakePasswordEdit() {
    HWND edit = ::GetDlgItem(m_hWnd, kInputEditId);
    if (!edit) return;
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(edit, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(edit, GWL_EXSTYLE));
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(edit, WM_GETFONT, 0, 0));
    RECT r;
    GetWindowRectInParent(edit, &r);
    ::DestroyWindow(edit);
    edit = CreateWindowExA(exStyle, "EDIT", "", style | ES_PASSWORD, r.left, r.top, r.right - r.left, r.bottom - r.top,
                           m_hWnd, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!edit) return;
    SetWindowLongPtrA(edit, GWLP_ID, kInputEditId);
    if (font) ::SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

// ---- CNumberInputDlg ------------------------------------------------------------------------------------------

CNumberInputDlg::CNumberInputDlg(CWnd* parent) : m_text("") { InitModalIndirect(InputDialogTemplate(), parent); }

CNumberInputDlg::~CNumberInputDlg() = default;

void CNumberInputDlg::SetValue(int32_t value, int format) {
    m_value = value;
    m_text = FormatNumberInput(value, format);
}

void CNumberInputDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, kInputEditId, m_text);
}

BOOL CNumberInputDlg::OnInitDialog() {
    PrepareInputDialog(m_hWnd, kNumberInputDialogMarker, m_focusEdit, m_widthChange, false);
    CDialog::OnInitDialog();
    ShowInputTexts(*this, m_caption, m_prompt);
    return TRUE;
}

void CNumberInputDlg::OnOK() {
    UpdateData(TRUE);
    m_value = ParseNumberInput(m_text);
    CDialog::OnOK();
}
