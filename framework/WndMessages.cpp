// Message processing of window objects: the window procedure of every object's window, dispatch through
// the message maps, default processing, commands and notifications with their reflection to the
// child's own object, pre-translation, and the update of dialog controls.
#include "framework/HandleMap.h"
#include "framework/OleControlSite.h"
#include "framework/Wnd.h"

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    fw::WndRecord rec;
    if (!fw::LookupWnd(hWnd, &rec)) return ::DefWindowProcA(hWnd, message, wParam, lParam);
    if (!rec.wnd) return ::CallWindowProcA(rec.super ? rec.super : &DefWindowProcA, hWnd, message, wParam, lParam);
    LRESULT result = fw::CallWndProc(rec.wnd, hWnd, message, wParam, lParam);
    if (message == WM_DESTROY) {
        // Hosted controls go while their container's children still exist.
        COleControlSite::CloseSitesOf(hWnd);
    } else if (message == WM_WINDOWPOSCHANGED && fw::LookupWnd(hWnd, &rec) && rec.wnd && rec.wnd->m_pCtrlSite) {
        rec.wnd->m_pCtrlSite->OnMoved();
    }
    if (message == WM_NCDESTROY && fw::LookupWnd(hWnd, &rec)) {
        // A handler skipped CWnd::OnNcDestroy: let go of the window all the same.
        fw::RestoreSuperProc(hWnd, rec.super);
        fw::RemoveWnd(hWnd);
        if (rec.wnd && rec.wnd->m_hWnd == hWnd) rec.wnd->m_hWnd = nullptr;
    }
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) return FALSE;
        *pResult = 0;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        if (!lParam) return FALSE;
        LRESULT result = 0;
        if (!OnNotify(wParam, lParam, &result)) return FALSE;
        *pResult = result;
        return TRUE;
    }
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        return DispatchWindowMessage(WM_CTLCOLOR, wParam, lParam, pResult, message - WM_CTLCOLORMSGBOX);
    return DispatchWindowMessage(message, wParam, lParam, pResult);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    fw::WndRecord rec = {};
    if (m_hWnd && fw::LookupWnd(m_hWnd, &rec) && rec.super)
        return ::CallWindowProcA(rec.super, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    const MSG& cur = fw::CurrentMessage();
    return DefWindowProc(cur.message, cur.wParam, cur.lParam);
}

namespace {

// Records only whether an update handler enables the command.
class EnableProbe : public CCmdUI {
public:
    BOOL enabled = TRUE;
    void Enable(BOOL bOn) override {
        enabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCSTR) override {}
};

}  // namespace

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT nID = LOWORD(wParam);
    HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    int nCode = HIWORD(wParam);
    if (!hWndCtrl) {
        // Menus and accelerators: a command that its update handler disables is not carried out.
        nCode = CN_COMMAND;
        EnableProbe probe;
        probe.m_nID = nID;
        OnCmdMsg(nID, (int)CN_UPDATE_COMMAND_UI, &probe, nullptr);
        if (!probe.enabled) return TRUE;
    } else {
        if (ReflectLastMsg(hWndCtrl)) return TRUE;
        if (nID == 0) return FALSE;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->hwndFrom && ReflectLastMsg(header->hwndFrom, pResult)) return TRUE;
    NotifyCall call = {header, pResult};
    return OnCmdMsg((UINT)header->idFrom, (int)MAKELONG(header->code, WM_NOTIFY), &call, nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT local = 0;
    if (!pResult) pResult = &local;
    switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
    case WM_COMMAND:
        if (!OnCmdMsg(0, (int)MAKELONG(HIWORD(wParam), WM_REFLECT_BASE + WM_COMMAND), nullptr, nullptr)) return FALSE;
        *pResult = 1;
        return TRUE;
    case WM_NOTIFY: {
        NotifyCall call = {reinterpret_cast<NMHDR*>(lParam), pResult};
        return OnCmdMsg(0, (int)MAKELONG(call.header->code, WM_REFLECT_BASE + WM_NOTIFY), &call, nullptr);
    }
    default:
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
            return OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, wParam, (LPARAM)(message - WM_CTLCOLORMSGBOX), pResult);
        return FALSE;
    }
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult) {
    CWnd* child = FromHandlePermanent(hWndChild);
    return child && child->SendChildNotifyLastMsg(pResult);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult) {
    const MSG& cur = fw::CurrentMessage();
    return OnChildNotify(cur.message, cur.wParam, cur.lParam, pResult);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
    for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        CWnd* wnd = FromHandlePermanent(hWnd);
        if (wnd && wnd->PreTranslateMessage(pMsg)) return TRUE;
        // Stop at the top-level window: owners do not see their popups' keys.
        if (hWnd == hWndStop || !(::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD)) break;
    }
    return FALSE;
}

CScrollBar* CWnd::GetScrollBarCtrl(int) const { return nullptr; }

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) {
    CCmdUI state;
    for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        int id = ::GetDlgCtrlID(child);
        if (id == 0 || id == -1) continue;
        state.m_pOther = FromHandle(child);
        state.m_nID = (UINT)id;
        // The control's own reflected handler first, then this window's, then the target's.
        CWnd* own = FromHandlePermanent(child);
        if (own && own->CCmdTarget::OnCmdMsg(0, (int)MAKELONG(0xFFFF, WM_REFLECT_BASE + WM_COMMAND), &state, nullptr))
            continue;
        if (CCmdTarget::OnCmdMsg((UINT)id, (int)CN_UPDATE_COMMAND_UI, &state, nullptr)) continue;
        // Only push buttons are disabled for lack of a handler; check boxes and radios work by themselves.
        BOOL disable = bDisableIfNoHandler;
        if (disable) {
            if (!(::SendMessageA(child, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)) {
                disable = FALSE;
            } else {
                UINT type = (UINT)(::GetWindowLongPtrA(child, GWL_STYLE) & 0x0F);
                if (type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE || type == BS_GROUPBOX ||
                    type == BS_AUTORADIOBUTTON)
                    disable = FALSE;
            }
        }
        state.DoUpdate(pTarget, disable);
    }
}
