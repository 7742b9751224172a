// CPathComboBox: mouse, keyboard, focus and the context menu of the breadcrumb.
#include "treelist/pathcombo/PathComboBox.h"

#include "system/PathFunctions.h"
#include "treelist/shared/FolderWidgetClock.h"

namespace {

constexpr DWORD kReopenGuardMs = 50;
constexpr int kDragDistance = 3;
constexpr UINT kTrackTimerMs = 100;

bool IsTextHit(int hit, int count) { return hit >= 0 && hit < 2 * count + 1 && (hit & 1); }
bool IsArrowHit(int hit, int count) { return hit >= 0 && hit <= 2 * count && !(hit & 1); }
bool KeyDown(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

}  // namespace

void CPathComboBox::SetHot(int hit) {
    if (hit == m_hot) return;
    m_hot = hit;
    if (m_hotState != 3) m_hotState = hit == HIT_BUTTON ? 2 : 1;
    Invalidate();
}

void CPathComboBox::TrackLeave() {
    if (m_tracking) return;
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, m_hWnd, 0};
    m_tracking = ::TrackMouseEvent(&track) != FALSE;
}

LRESULT CPathComboBox::OnMouseLeave(WPARAM, LPARAM) {
    m_tracking = false;
    SetHot(HIT_NONE);
    return 0;
}

void CPathComboBox::OnMouseMove(UINT flags, CPoint point) {
    if (!BreadcrumbShown()) {
        Default();
        return;
    }
    SetHot(HitTest(point.x, point.y));
    TrackLeave();
    if (!m_downOnIcon || !(flags & MK_LBUTTON)) return;
    if (abs(point.x - m_downX) <= kDragDistance && abs(point.y - m_downY) <= kDragDistance) return;
    m_downOnIcon = false;
    ::ReleaseCapture();
    if (m_dragOut) DragOut();
}

void CPathComboBox::OnLButtonDown(UINT flags, CPoint point) {
    const int hit = HitTest(point.x, point.y);
    if (!BreadcrumbShown() || hit == HIT_BUTTON) {
        if (hit == HIT_BUTTON && !m_trackTimer) m_trackTimer = SetTimer(kTrackTimer, kTrackTimerMs, nullptr) != 0;
        if (hit == HIT_BUTTON) m_hotState = 3;
        Default();
        return;
    }
    if (::GetFocus() != m_hWnd) SetFocus();
    if (hit == HIT_ICON) {
        m_downOnIcon = true;
        m_downX = point.x;
        m_downY = point.y;
        SetCapture();
    } else if (hit == HIT_EMPTY) {
        ShowEdit(true);
    } else if (IsArrowHit(hit, m_state.count)) {
        if (flags & MK_CONTROL) {
            m_focusPos = hit;
            Invalidate();
        } else {
            ClickArrow(hit / 2);
        }
    } else if (IsTextHit(hit, m_state.count)) {
        m_pressed = hit;
        SetCapture();
        Invalidate();
    }
}

void CPathComboBox::OnLButtonDblClk(UINT flags, CPoint point) { OnLButtonDown(flags, point); }

void CPathComboBox::OnLButtonUp(UINT, CPoint point) {
    if (!BreadcrumbShown()) {
        Default();
        return;
    }
    const int pressed = m_pressed;
    const bool onIcon = m_downOnIcon;
    m_pressed = HIT_NONE;
    m_downOnIcon = false;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    if (onIcon) {
        ShowEdit(true);
    } else if (pressed != HIT_NONE) {
        Invalidate();
        if (HitTest(point.x, point.y) == pressed) GoToSegment((pressed - 1) / 2);
    }
}

void CPathComboBox::ClickArrow(int level) {
    if (m_popupOpen && m_openLevel == level) {
        ClosePopup(true);
        return;
    }
    if (m_openGeneration == kWaitingForWorker) {
        const bool same = m_openLevel == level;
        m_openGeneration = 0;
        if (same) return;
    }
    // The click that took the focus from the popup does not open it again.
    if (m_closedLevel == level && FolderWidgetNow() - m_closeTime < kReopenGuardMs) return;
    OpenPopup(level);
}

void CPathComboBox::OnRButtonDown(UINT, CPoint) {
    if (!BreadcrumbShown()) Default();
}

void CPathComboBox::OnRButtonUp(UINT, CPoint point) {
    if (!BreadcrumbShown()) {
        Default();
        return;
    }
    m_menuHit = HitTest(point.x, point.y);
    if (m_menuHit == HIT_BUTTON || m_menuHit == HIT_NONE) return;
    ClientToScreen(&point);
    ShowContextMenu(point);
}

void CPathComboBox::ShowContextMenu(CPoint screen) {
    CMenu menu;
    if (!menu.CreatePopupMenu()) return;
    menu.AppendMenu(MF_STRING | (m_state.path[0] ? 0 : MF_GRAYED), ID_PATHCOMBO_COPY_PATH, "&Pfad kopieren");
    menu.AppendMenu(MF_STRING | (IsTextHit(m_menuHit, m_state.count) ? 0 : MF_GRAYED), ID_PATHCOMBO_COPY_SEGMENT,
                    "&Abschnitt kopieren");
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, this);
}

void CPathComboBox::OnCopyPath() {
    if (!m_state.path[0]) return;
    char resolved[kPathBufferSize];
    const int length = MapNetworkPlacePath(m_state.path, resolved, sizeof resolved);
    if (length > 0) CopyText(resolved, length);
}

void CPathComboBox::OnCopySegment() {
    if (!IsTextHit(m_menuHit, m_state.count)) return;
    const int segment = (m_menuHit - 1) / 2;
    CopyText(m_state.path + m_state.segStart[segment], m_state.segLength[segment]);
}

void CPathComboBox::OnTimer(UINT_PTR id) {
    if (id != kTrackTimer) {
        Default();
        return;
    }
    // While the combo's own list is down, the button shows pressed; afterwards the mouse decides.
    if (DefWindowProc(CB_GETDROPPEDSTATE, 0, 0)) {
        m_hotState = 3;
        return;
    }
    KillTimer(kTrackTimer);
    m_trackTimer = false;
    POINT cursor;
    ::GetCursorPos(&cursor);
    ::ScreenToClient(m_hWnd, &cursor);
    m_hotState = 1;
    m_hot = HIT_NONE;
    SetHot(HitTest(cursor.x, cursor.y));
    Invalidate();
}

// ---- Keyboard and focus ----

void CPathComboBox::MoveFocus(int step) {
    const int positions = 2 * m_state.count + 1;
    if (m_focusPos < 0) m_focusPos = step > 0 ? 0 : positions - 1;
    else m_focusPos = (m_focusPos + step + positions) % positions;
    Invalidate();
}

void CPathComboBox::PressFocused(bool shiftOrCtrl) {
    if (shiftOrCtrl || m_focusPos < 0 || m_focusPos > 2 * m_state.count) {
        ShowEdit(true);
    } else if (m_focusPos & 1) {
        GoToSegment((m_focusPos - 1) / 2);
    } else {
        OpenPopup(m_focusPos / 2);
    }
}

void CPathComboBox::OnKeyDown(UINT key, UINT, UINT) {
    if (!BreadcrumbShown()) {
        Default();
        return;
    }
    switch (key) {
    case VK_LEFT:
        MoveFocus(-1);
        break;
    case VK_RIGHT:
        MoveFocus(1);
        break;
    case VK_DOWN:
        if (m_focusPos >= 0) OpenPopup((m_focusPos + 1) / 2);
        break;
    case VK_RETURN:
        PressFocused(KeyDown(VK_SHIFT) || KeyDown(VK_CONTROL));
        break;
    case VK_ESCAPE:
        if (m_openGeneration == kWaitingForWorker) m_openGeneration = 0;
        break;
    case VK_TAB:
        if (m_tabToParent && ::GetParent(m_hWnd)) ::SetFocus(::GetParent(m_hWnd));
        break;
    default:
        Default();
        break;
    }
}

void CPathComboBox::OnChar(UINT, UINT, UINT) {
    // Characters would go to the hidden edit.
    if (!BreadcrumbShown()) Default();
}

UINT CPathComboBox::OnGetDlgCode() {
    if (!BreadcrumbShown()) return (UINT)Default();
    UINT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (m_tabToParent) code |= DLGC_WANTTAB;
    if (m_focusPos >= 0) code |= DLGC_WANTALLKEYS;
    return code;
}

void CPathComboBox::OnSetFocus(CWnd*) {
    // The breadcrumb keeps the focus itself; the default would hand it to the hidden edit.
    if (!BreadcrumbShown()) Default();
    Invalidate();
}

void CPathComboBox::OnKillFocus(CWnd*) {
    if (!BreadcrumbShown()) Default();
    Invalidate();
}

BOOL CPathComboBox::OnSetCursor(CWnd*, UINT, UINT) {
    if (m_openGeneration == kWaitingForWorker) {
        ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
        return TRUE;
    }
    return (BOOL)Default();
}
