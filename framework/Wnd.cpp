// CWnd: the object over a window: the handle maps and subclassing, creation and destruction, relatives
// and the wrappers of the window functions, and window classes registered once.
#include "framework/Wnd.h"

#include <list>

#include "framework/Controls.h"
#include "framework/Gdi.h"
#include "framework/HandleMap.h"
#include "framework/Menu.h"
#include "framework/WinApp.h"

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
    ON_WM_COMPAREITEM()
    ON_WM_DELETEITEM()
    ON_WM_CTLCOLOR()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_NCDESTROY()
END_MESSAGE_MAP()

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

namespace {

BOOL WindowAlive(void* handle) { return ::IsWindow(static_cast<HWND>(handle)); }
const fw::TempKind kTempWnd = {&WindowAlive, &fw::ReleaseTemp<CWnd, HWND, &CWnd::m_hWnd>};

}  // namespace

CWnd::CWnd() = default;

CWnd::CWnd(HWND hWnd) { m_hWnd = hWnd; }

CWnd::~CWnd() {
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        // Virtual calls now reach CWnd's own members only, so the window just goes away.
        if (::IsWindow(m_hWnd) && ::GetWindowThreadProcessId(m_hWnd, nullptr) == ::GetCurrentThreadId())
            DestroyWindow();
        if (m_hWnd) Detach();
    }
}

HWND CWnd::GetSafeHwnd() const {
    const CWnd* self = this;
    return self ? m_hWnd : nullptr;
}

// ---- Handle maps ----

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    fw::WndRecord rec;
    return fw::LookupWnd(hWnd, &rec) ? rec.wnd : nullptr;
}

CWnd* CWnd::FromHandle(HWND hWnd) { return FromHandleAs(hWnd, RUNTIME_CLASS(CWnd)); }

CWnd* CWnd::FromHandleAs(HWND hWnd, CRuntimeClass* cls) {
    if (!hWnd) return nullptr;
    CWnd* permanent = FromHandlePermanent(hWnd);
    if (permanent && permanent->IsKindOf(cls)) return permanent;
    // A class without a factory gives null: the permanent object (if any) is of another class.
    return fw::TempObject(&kTempWnd, hWnd, cls, &CWnd::m_hWnd);
}

BOOL CWnd::Attach(HWND hWnd) {
    if (!hWnd || m_hWnd) return FALSE;
    CWnd* owner = FromHandlePermanent(hWnd);
    if (owner && owner != this) return FALSE;
    m_hWnd = hWnd;
    fw::SetPermanent(hWnd, this);
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd && FromHandlePermanent(hWnd) == this) fw::ClearPermanent(hWnd);
    m_hWnd = nullptr;
    return hWnd;
}

void CWnd::PreSubclassWindow() {}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!Attach(hWnd)) return FALSE;
    PreSubclassWindow();
    fw::WndRecord rec = {};
    fw::LookupWnd(hWnd, &rec);
    if (!rec.super) {
        WNDPROC old = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
        if (!old) {
            Detach();
            return FALSE;
        }
        fw::SetSuperProc(hWnd, old);
    }
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    HWND hWnd = ::GetDlgItem(pParent->GetSafeHwnd(), (int)nID);
    return hWnd && SubclassWindow(hWnd);
}

HWND CWnd::UnsubclassWindow() {
    HWND hWnd = m_hWnd;
    if (!hWnd) return nullptr;
    fw::WndRecord rec = {};
    if (fw::LookupWnd(hWnd, &rec) && fw::RestoreSuperProc(hWnd, rec.super)) {
        fw::RemoveWnd(hWnd);
    } else {
        fw::ClearPermanent(hWnd);
    }
    m_hWnd = nullptr;
    return hWnd;
}

// ---- Creation ----

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (!cs.lpszClass) cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW));
    return TRUE;
}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, CCreateContext* pContext) {
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd->GetSafeHwnd(), reinterpret_cast<HMENU>((UINT_PTR)nID),
                    lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
    if (m_hWnd) return FALSE;
    CREATESTRUCT cs = {};
    cs.lpCreateParams = lpParam;
    cs.hInstance = AfxGetInstanceHandle();
    cs.hMenu = nIDorHMenu;
    cs.hwndParent = hWndParent;
    cs.cy = nHeight;
    cs.cx = nWidth;
    cs.y = y;
    cs.x = x;
    cs.style = (LONG)dwStyle;
    cs.lpszName = lpszWindowName;
    cs.lpszClass = lpszClassName;
    cs.dwExStyle = dwExStyle;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    fw::BeginCreating(this, cs.hwndParent, (UINT)(UINT_PTR)cs.hMenu);
    HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, (DWORD)cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                  cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    bool attached = fw::EndCreating();
    // A failed creation that got as far as the window has already ended in WM_NCDESTROY and
    // PostNcDestroy; one that never got a window ends here the same way.
    if (!hWnd && !attached) PostNcDestroy();
    return hWnd != nullptr;
}

BOOL CWnd::DestroyWindow() {
    HWND hWnd = m_hWnd;
    if (!hWnd) return FALSE;
    fw::WndRecord rec = {};
    bool routed = fw::LookupWnd(hWnd, &rec) && rec.wnd == this && rec.super;
    BOOL result = ::DestroyWindow(hWnd);
    // Subclassed objects detach themselves in WM_NCDESTROY (and may be gone by now); others are detached here.
    if (!routed && FromHandlePermanent(hWnd) == this && !::IsWindow(hWnd)) Detach();
    return result;
}

void CWnd::PostNcDestroy() {}

// ---- Relatives ----

CWnd* CWnd::GetTopLevelParent() const { return FromHandle(fw::TopLevelOf(m_hWnd)); }

namespace {

CWnd* FindDescendant(HWND parent, int nID, BOOL bOnlyPerm) {
    for (HWND child = ::GetTopWindow(parent); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(child) == nID) {
            CWnd* wnd = bOnlyPerm ? CWnd::FromHandlePermanent(child) : CWnd::FromHandle(child);
            if (wnd) return wnd;
        }
        if (CWnd* found = FindDescendant(child, nID, bOnlyPerm)) return found;
    }
    return nullptr;
}

void SendToDescendants(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) {
    for (HWND child = ::GetTopWindow(parent); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (bOnlyPerm) {
            if (CWnd* wnd = CWnd::FromHandlePermanent(child)) fw::CallWndProc(wnd, child, message, wParam, lParam);
        } else {
            ::SendMessageA(child, message, wParam, lParam);
        }
        if (bDeep) SendToDescendants(child, message, wParam, lParam, bDeep, bOnlyPerm);
    }
}

}  // namespace

CWnd* CWnd::GetDescendantWindow(int nID, BOOL bOnlyPerm) const { return FindDescendant(m_hWnd, nID, bOnlyPerm); }

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm) {
    SendToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}

// ---- Wrappers ----

namespace {

// Changes the bits of one style word; with nFlags the frame is told (e.g. SWP_FRAMECHANGED).
BOOL ModifyStyleWord(HWND hWnd, int index, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    DWORD style = (DWORD)::GetWindowLongPtrA(hWnd, index);
    DWORD changed = (style & ~dwRemove) | dwAdd;
    if (changed == style) return FALSE;
    ::SetWindowLongPtrA(hWnd, index, (LONG_PTR)changed);
    if (nFlags)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

}  // namespace

BOOL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return ModifyStyleWord(hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return ModifyStyleWord(hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

void CWnd::GetWindowText(CString& rString) const { fw::ReadWindowText(m_hWnd, rString); }

int CWnd::GetDlgItemText(int nID, CString& rString) const {
    fw::ReadWindowText(::GetDlgItem(m_hWnd, nID), rString);
    return rString.GetLength();
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw) {
    ::SendMessageA(m_hWnd, WM_SETFONT, (WPARAM)(pFont ? pFont->m_hObject : nullptr), bRedraw);
}

CFont* CWnd::GetFont() const {
    return CFont::FromHandle(reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)));
}

CDC* CWnd::GetDC() { return m_hWnd ? CDC::FromHandle(::GetDC(m_hWnd)) : nullptr; }

CDC* CWnd::GetWindowDC() { return m_hWnd ? CDC::FromHandle(::GetWindowDC(m_hWnd)) : nullptr; }

int CWnd::ReleaseDC(CDC* pDC) { return pDC ? ::ReleaseDC(m_hWnd, pDC->m_hDC) : 0; }

CDC* CWnd::BeginPaint(LPPAINTSTRUCT lpPaint) { return CDC::FromHandle(::BeginPaint(m_hWnd, lpPaint)); }

void CWnd::ClientToScreen(LPRECT lpRect) const {
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(lpRect));
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(lpRect) + 1);
}

void CWnd::ScreenToClient(LPRECT lpRect) const {
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(lpRect));
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(lpRect) + 1);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
    if (!m_hWnd) return;
    HWND center = pAlternateOwner ? pAlternateOwner->m_hWnd
                  : (GetStyle() & WS_CHILD) ? ::GetParent(m_hWnd)
                                            : ::GetWindow(m_hWnd, GW_OWNER);
    RECT self, area;
    ::GetWindowRect(m_hWnd, &self);
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoA(::MonitorFromWindow(center ? center : m_hWnd, MONITOR_DEFAULTTONEAREST), &mi);
    if (center && ::IsWindowVisible(center) && !::IsIconic(center))
        ::GetWindowRect(center, &area);
    else
        area = mi.rcWork;
    int w = self.right - self.left, h = self.bottom - self.top;
    int x = (area.left + area.right - w) / 2, y = (area.top + area.bottom - h) / 2;
    // Stay on the monitor's work area.
    if (x + w > mi.rcWork.right) x = mi.rcWork.right - w;
    if (y + h > mi.rcWork.bottom) y = mi.rcWork.bottom - h;
    if (x < mi.rcWork.left) x = mi.rcWork.left;
    if (y < mi.rcWork.top) y = mi.rcWork.top;
    if (GetStyle() & WS_CHILD) {
        POINT p = {x, y};
        ::ScreenToClient(::GetParent(m_hWnd), &p);
        x = p.x;
        y = p.y;
    }
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }

BOOL CWnd::SetMenu(CMenu* pMenu) { return ::SetMenu(m_hWnd, pMenu ? pMenu->m_hMenu : nullptr); }

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert)); }

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType) {
    return ::MessageBoxA(m_hWnd, lpszText, lpszCaption ? lpszCaption : AfxGetAppName(), nType);
}

// ---- Window classes ----

namespace fw {

HWND TopLevelOf(HWND hWnd) {
    while (hWnd && (::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD)) {
        HWND parent = ::GetParent(hWnd);
        if (!parent) break;
        hWnd = parent;
    }
    return hWnd;
}

void ReadWindowText(HWND hWnd, CString& out) {
    int length = hWnd ? ::GetWindowTextLengthA(hWnd) : 0;
    if (length <= 0) {
        out.Empty();
        return;
    }
    ::GetWindowTextA(hWnd, out.GetBuffer(length), length + 1);
    out.ReleaseBuffer();
}

LPCSTR RegisterClassOnce(LPCSTR name, UINT style, HCURSOR cursor, HBRUSH background, HICON icon) {
    static SRWLOCK lock = SRWLOCK_INIT;
    static std::list<CString>* names = new std::list<CString>;  // the names handed out stay valid
    HINSTANCE instance = AfxGetInstanceHandle();
    AcquireSRWLockExclusive(&lock);
    LPCSTR result = nullptr;
    for (const CString& known : *names)
        if (known == name) result = known;
    if (!result) {
        WNDCLASSA wc = {};
        if (!::GetClassInfoA(instance, name, &wc)) {
            wc.style = style;
            wc.lpfnWndProc = &DefWindowProcA;
            wc.hInstance = instance;
            wc.hCursor = cursor;
            wc.hbrBackground = background;
            wc.hIcon = icon;
            wc.lpszClassName = name;
            ::RegisterClassA(&wc);
        }
        names->push_back(CString(name));
        result = names->back();
    }
    ReleaseSRWLockExclusive(&lock);
    return result;
}

}  // namespace fw

LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    CString name;
    name.Format("Afx:%p:%x:%p:%p:%p", (void*)AfxGetInstanceHandle(), nClassStyle, (void*)hCursor,
                (void*)hbrBackground, (void*)hIcon);
    return fw::RegisterClassOnce(name, nClassStyle, hCursor, hbrBackground, hIcon);
}
