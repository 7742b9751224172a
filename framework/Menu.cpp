#include "framework/Menu.h"

#include "framework/HandleMap.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace {
BOOL MenuAlive(void* handle) { return ::IsMenu(static_cast<HMENU>(handle)); }
const fw::TempKind kTempMenu = {&MenuAlive, &fw::ReleaseTemp<CMenu, HMENU, &CMenu::m_hMenu>};
}  // namespace

CMenu::~CMenu() { DestroyMenu(); }

HMENU CMenu::GetSafeHmenu() const {
    const CMenu* self = this;
    return self ? m_hMenu : nullptr;
}

CMenu* CMenu::FromHandle(HMENU hMenu) {
    return fw::TempObject(&kTempMenu, hMenu, RUNTIME_CLASS(CMenu), &CMenu::m_hMenu);
}

BOOL CMenu::Attach(HMENU hMenu) {
    if (!hMenu || m_hMenu) return FALSE;
    m_hMenu = hMenu;
    return TRUE;
}

HMENU CMenu::Detach() {
    HMENU h = m_hMenu;
    m_hMenu = nullptr;
    return h;
}

BOOL CMenu::LoadMenu(LPCSTR lpszResourceName) {
    return !m_hMenu && Attach(::LoadMenuA(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CMenu::DestroyMenu() {
    if (!m_hMenu) return FALSE;
    BOOL result = ::DestroyMenu(m_hMenu);
    m_hMenu = nullptr;
    return result;
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
    int length = ::GetMenuStringA(m_hMenu, nIDItem, nullptr, 0, nFlags);
    if (length <= 0) {
        rString.Empty();
        return 0;
    }
    ::GetMenuStringA(m_hMenu, nIDItem, rString.GetBuffer(length), length + 1, nFlags);
    rString.ReleaseBuffer();
    return rString.GetLength();
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd->GetSafeHwnd(), lpRect);
}
