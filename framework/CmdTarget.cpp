#include "framework/CmdTarget.h"

#include "framework/Menu.h"
#include "framework/Wnd.h"

CRuntimeClass CCmdTarget::classCCmdTarget = {"CCmdTarget", (int)sizeof(CCmdTarget), 0xFFFF, nullptr,
                                              RUNTIME_CLASS(CObject)};
CRuntimeClass* CCmdTarget::GetRuntimeClass() const { return RUNTIME_CLASS(CCmdTarget); }

const MessageMap* CCmdTarget::GetThisMessageMap() {
    static const MessageMapEntry entries[] = {{0, 0, 0, 0, MessageKind::Window, nullptr, nullptr}};
    static const MessageMap map = {nullptr, entries};
    return &map;
}

const MessageMap* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }


BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    // Split the code into the message the entry is filed under and the notification code.
    UINT message = WM_COMMAND;
    UINT code = 0xFFFF;
    if ((UINT)nCode != CN_UPDATE_COMMAND_UI) {
        message = HIWORD((UINT)nCode);
        code = LOWORD((UINT)nCode);
        if (message == 0) message = WM_COMMAND;
    }
    const bool isUpdate = code == 0xFFFF && (message == WM_COMMAND || message == WM_REFLECT_BASE + WM_COMMAND);

    for (const MessageMap* map = GetMessageMap(); map; map = map->base ? map->base() : nullptr) {
        for (const MessageMapEntry* e = map->entries; e->thunk; ++e) {
            if (e->kind != MessageKind::Command || e->message != message || e->code != code) continue;
            if (nID < e->idFirst || nID > e->idLast) continue;
            if (pHandlerInfo) {
                pHandlerInfo->pTarget = this;
                return TRUE;
            }
            MessageCall call = {message, 0, 0, 0, nID, pExtra};
            if (!isUpdate) {
                // A handler that declines (an _EX entry returning FALSE) lets the search go on.
                if (e->thunk(this, call)) return TRUE;
                continue;
            }
            // An update handler may pass the request on with ContinueRouting.
            CCmdUI* ui = static_cast<CCmdUI*>(pExtra);
            ui->m_bContinueRouting = FALSE;
            e->thunk(this, call);
            BOOL handled = !ui->m_bContinueRouting;
            ui->m_bContinueRouting = FALSE;
            return handled;
        }
    }
    return FALSE;
}

BOOL CCmdTarget::DispatchWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult, UINT extraId) {
    for (const MessageMap* map = GetMessageMap(); map; map = map->base ? map->base() : nullptr) {
        for (const MessageMapEntry* e = map->entries; e->thunk; ++e) {
            bool match = e->kind == MessageKind::Window ? e->message == message
                         : e->kind == MessageKind::Registered ? message >= 0xC000 && *e->registered == message
                                                                : false;
            if (!match) continue;
            MessageCall call = {message, wParam, lParam, 0, extraId, nullptr};
            if (!e->thunk(this, call)) return FALSE;
            if (pResult) *pResult = call.result;
            return TRUE;
        }
    }
    return FALSE;
}

// ---- CCmdUI ----

void CCmdUI::Enable(BOOL bOn) {
    if (m_pMenu) {
        if (m_pSubMenu) return;  // the entry of a popup stays as it is
        ::EnableMenuItem(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    } else if (m_pOther && m_pOther->m_hWnd) {
        HWND self = m_pOther->m_hWnd;
        // A control that loses its enabled state must not keep the focus.
        if (!bOn && ::GetFocus() == self) {
            HWND parent = ::GetParent(self);
            if (parent) ::SendMessageA(parent, WM_NEXTDLGCTL, 0, FALSE);
        }
        ::EnableWindow(self, bOn);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck) {
    if (m_pMenu) {
        if (m_pSubMenu) return;
        ::CheckMenuItem(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
    } else if (m_pOther && m_pOther->m_hWnd) {
        if (::SendMessageA(m_pOther->m_hWnd, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)
            ::SendMessageA(m_pOther->m_hWnd, BM_SETCHECK, (WPARAM)nCheck, 0);
    }
}

void CCmdUI::SetRadio(BOOL bOn) {
    if (m_pMenu) {
        if (m_pSubMenu) return;
        // Only the check style changes; owner-drawn items keep their type.
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        if (::GetMenuItemInfoA(m_pMenu->m_hMenu, m_nIndex, TRUE, &info)) {
            UINT type = bOn ? (info.fType | MFT_RADIOCHECK) : (info.fType & ~MFT_RADIOCHECK);
            if (type != info.fType) {
                info.fType = type;
                ::SetMenuItemInfoA(m_pMenu->m_hMenu, m_nIndex, TRUE, &info);
            }
        }
        ::CheckMenuItem(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | (bOn ? MF_CHECKED : MF_UNCHECKED));
    } else {
        SetCheck(bOn ? 1 : 0);
    }
}

void CCmdUI::SetText(LPCSTR lpszText) {
    if (m_pMenu) {
        if (m_pSubMenu) return;
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING;
        info.dwTypeData = const_cast<LPSTR>(lpszText ? lpszText : "");
        ::SetMenuItemInfoA(m_pMenu->m_hMenu, m_nIndex, TRUE, &info);
    } else if (m_pOther && m_pOther->m_hWnd) {
        ::SetWindowTextA(m_pOther->m_hWnd, lpszText ? lpszText : "");
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) {
    if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF) return TRUE;  // separators and popup entries
    m_bEnableChanged = FALSE;
    BOOL handled = pTarget->OnCmdMsg(m_nID, (int)CN_UPDATE_COMMAND_UI, this, nullptr);
    if (bDisableIfNoHandler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info = {nullptr};
        BOOL hasHandler = pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info);
        Enable(hasHandler);
    }
    return handled;
}
