#include "ui/ddx/DdxControlText.h"
#include "ui/ddx/DdxHelpers.h"

#include <vector>

namespace {

// The text of the selected entry, at most kComboText characters; false when no entry is selected.
bool SelectedEntryText(HWND combo, CString* text) {
    const LRESULT index = ::SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (index < 0) return false;
    const LRESULT length = ::SendMessageA(combo, CB_GETLBTEXTLEN, (WPARAM)index, 0);
    if (length < 0) return false;
    std::vector<char> buffer(static_cast<size_t>(length) + 1, 0);
    ::SendMessageA(combo, CB_GETLBTEXT, (WPARAM)index, (LPARAM)buffer.data());
    buffer.back() = 0;
    *text = CString(buffer.data()).Left(ddx::kComboText);
    return true;
}

}  // namespace

void DDX_ComboText(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (!hWnd) return;
    CString current;
    if (!SelectedEntryText(hWnd, &current)) current = ddx::ReadText(hWnd, ddx::kComboText);
    if (pDX->m_bSaveAndValidate)
        value = current;
    else if (current != value)
        ::SetWindowTextA(hWnd, value);
}

void RefreshComboText(CComboBox* combo) {
    if (!combo || !combo->GetSafeHwnd() || combo->GetCurSel() < 0) return;
    const DWORD selection = combo->GetEditSel();
    CString text;
    combo->GetWindowText(text);
    combo->SetWindowText(text);
    combo->SetEditSel(LOWORD(selection), HIWORD(selection));
}
