// CPathComboBox: the edit that takes typed paths, and the combo's list of typed paths.
#include "treelist/pathcombo/PathComboBox.h"

#include <cstring>

void CPathComboBox::SetBreadcrumbMode(BOOL on) {
    if (m_breadcrumb == (on != FALSE)) return;
    m_breadcrumb = on != FALSE;
    m_editVisible = false;
    if (m_edit) {
        SetEditText(m_state.path);
        ::ShowWindow(m_edit, m_breadcrumb ? SW_HIDE : SW_SHOW);
        if (m_breadcrumb && ::GetFocus() == m_edit) SetFocus();
    }
    Invalidate();
}

void CPathComboBox::ShowEdit(bool show) {
    if (!m_edit || !m_breadcrumb || m_editVisible == show) return;
    m_editVisible = show;
    ClosePopup(false);
    if (show) {
        SetEditText(m_state.path);
        ::ShowWindow(m_edit, SW_SHOW);
        ::SetFocus(m_edit);
        ::SendMessageA(m_edit, EM_SETSEL, 0, -1);
    } else {
        const bool hadFocus = ::GetFocus() == m_edit;
        ::ShowWindow(m_edit, SW_HIDE);
        if (hadFocus) SetFocus();
    }
    Invalidate();
}

void CPathComboBox::SetEditText(const char* text) {
    if (!m_edit) return;
    ::SetWindowTextA(m_edit, text);
    ::SendMessageA(m_edit, EM_SETMODIFY, FALSE, 0);
}

bool CPathComboBox::TakeTypedText() {
    if (!m_edit) return false;
    ::GetWindowTextA(m_edit, m_editText, sizeof m_editText);
    // Taken, shown or not: a refused text is not offered again.
    ::SendMessageA(m_edit, EM_SETMODIFY, FALSE, 0);
    const bool shown = SetPath(m_editText, -1) != 0;
    if (shown && m_keepTyped) KeepTypedPath(m_state.path);
    ShowEdit(false);
    return shown;
}

// The edit's modified flag: set by typing and by texts put in from outside, cleared by this control's own
// texts and by taking the text.
bool CPathComboBox::TypedTextChanged() const {
    if (!m_edit || !m_breadcrumb || !::SendMessageA(m_edit, EM_GETMODIFY, 0, 0)) return false;
    char typed[kPathBufferSize] = {};
    ::GetWindowTextA(m_edit, typed, sizeof typed);
    return strcmp(typed, m_state.path) != 0;
}

void CPathComboBox::KeepTypedPath(const char* path) {
    for (;;) {
        const LRESULT index = DefWindowProc(CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)path);
        if (index == CB_ERR) break;
        DefWindowProc(CB_DELETESTRING, (WPARAM)index, 0);
    }
    DefWindowProc(CB_INSERTSTRING, 0, (LPARAM)path);
    while ((int)DefWindowProc(CB_GETCOUNT, 0, 0) > m_listMax)
        DefWindowProc(CB_DELETESTRING, (WPARAM)(m_listMax), 0);
    DefWindowProc(CB_SETCURSEL, 0, 0);
    DefWindowProc(WM_SETTEXT, 0, (LPARAM)path);
}

LRESULT CALLBACK CPathComboBox::EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CPathComboBox*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    WNDPROC old = self ? self->m_oldEditProc : nullptr;
    if (!old) return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_GETDLGCODE: {
        LRESULT code = ::CallWindowProcA(old, hwnd, msg, wParam, lParam);
        return self->m_editVisible ? code | DLGC_WANTALLKEYS : code;
    }
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            self->TakeTypedText();
            return 0;
        }
        if (wParam == VK_ESCAPE) {
            self->SetEditText(self->m_state.path);
            self->ShowEdit(false);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == '\r' || wParam == 27) return 0;
        break;
    case WM_SETTEXT: {
        // A text put in from outside counts as typed (this control's own texts clear the flag again).
        const LRESULT r = ::CallWindowProcA(old, hwnd, msg, wParam, lParam);
        ::CallWindowProcA(old, hwnd, EM_SETMODIFY, TRUE, 0);
        return r;
    }
    case WM_KILLFOCUS: {
        LRESULT r = ::CallWindowProcA(old, hwnd, msg, wParam, lParam);
        if (self->m_editVisible && (HWND)wParam != self->m_hWnd) self->ShowEdit(false);
        return r;
    }
    default:
        break;
    }
    return ::CallWindowProcA(old, hwnd, msg, wParam, lParam);
}
