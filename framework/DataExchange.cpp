#include "framework/DataExchange.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "framework/HandleMap.h"

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
    // A failed exchange is over: the remaining fields neither complain nor change their variables.
    if (m_bFailed) return nullptr;
    HWND hWnd = m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC) : nullptr;
    m_hWndLastControl = hWnd;
    m_bEditLastControl = FALSE;
    return hWnd;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
    HWND hWnd = PrepareCtrl(nIDC);
    if (hWnd) m_bEditLastControl = TRUE;
    return hWnd;
}

void CDataExchange::Fail() {
    m_bFailed = TRUE;
    if (!m_bSaveAndValidate || !m_hWndLastControl) return;
    ::SetFocus(m_hWndLastControl);
    if (m_bEditLastControl) ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return !dx.Failed();
}

void CWnd::DoDataExchange(CDataExchange*) {}

namespace {

CString WindowText(HWND hWnd) {
    CString text;
    fw::ReadWindowText(hWnd, text);
    return text;
}

// Writes only a changed text, so that an unchanged field keeps its caret and selection.
void SetWindowTextIfChanged(HWND hWnd, LPCSTR text) {
    if (WindowText(hWnd) != text) ::SetWindowTextA(hWnd, text);
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (!hWnd) return;
    if (pDX->m_bSaveAndValidate)
        value = WindowText(hWnd);
    else
        SetWindowTextIfChanged(hWnd, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (!hWnd) return;
    if (!pDX->m_bSaveAndValidate) {
        CString text;
        text.Format("%d", value);
        SetWindowTextIfChanged(hWnd, text);
        return;
    }
    CString text = WindowText(hWnd);
    text.Trim();
    char* end = nullptr;
    errno = 0;
    long parsed = strtol(text, &end, 10);
    if (text.IsEmpty() || *end || errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX) {
        ::MessageBoxA(pDX->m_pDlgWnd->m_hWnd, "Bitte eine ganze Zahl eingeben.", nullptr, MB_OK | MB_ICONEXCLAMATION);
        pDX->Fail();
        return;
    }
    value = (int)parsed;
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (!hWnd) return;
    if (pDX->m_bSaveAndValidate) {
        // A drop-down list has no edit text: its window text is the selected entry.
        value = WindowText(hWnd);
        return;
    }
    // Only an exactly matching entry is selected; a mere prefix match would show another text.
    LRESULT index = ::SendMessageA(hWnd, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)(LPCSTR)value);
    if (index != CB_ERR) {
        ::SendMessageA(hWnd, CB_SETCURSEL, (WPARAM)index, 0);
    } else {
        ::SendMessageA(hWnd, CB_SETCURSEL, (WPARAM)-1, 0);
        SetWindowTextIfChanged(hWnd, value);
    }
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (!hWnd) return;
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessageA(hWnd, CB_GETCURSEL, 0, 0);
    else
        ::SendMessageA(hWnd, CB_SETCURSEL, (WPARAM)index, 0);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (!hWnd) return;
    if (pDX->m_bSaveAndValidate)
        value = (int)::SendMessageA(hWnd, BM_GETCHECK, 0, 0);
    else
        ::SendMessageA(hWnd, BM_SETCHECK, (WPARAM)(value < 0 || value > 2 ? 0 : value), 0);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (!hWnd) return;
    if (pDX->m_bSaveAndValidate) value = -1;
    // The group runs from the first button to the next window with WS_GROUP; only radio buttons count.
    int index = 0;
    for (HWND button = hWnd; button; button = ::GetWindow(button, GW_HWNDNEXT)) {
        if (button != hWnd && (::GetWindowLongPtrA(button, GWL_STYLE) & WS_GROUP)) break;
        if (!(::SendMessageA(button, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)) continue;
        if (pDX->m_bSaveAndValidate) {
            if (::SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
        } else {
            ::SendMessageA(button, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
    }
}
