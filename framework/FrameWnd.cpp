#include "framework/FrameWnd.h"

#include "framework/ControlBar.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/HandleMap.h"
#include "framework/Menu.h"
#include "framework/StatusBar.h"
#include "framework/View.h"
#include "framework/WinApp.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_INITMENUPOPUP()
    ON_WM_MENUSELECT()
    ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
    ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
    ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
    ON_UPDATE_COMMAND_UI_RANGE(ID_INDICATOR_CAPS, ID_INDICATOR_SCRL, OnUpdateKeyIndicator)
END_MESSAGE_MAP()

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

namespace {

// Frames draw the window colour under their panes and show the program's icon (the system's by default).
LPCSTR RegisterFrameClass(LPCSTR name, HICON icon) {
    return fw::RegisterClassOnce(name, CS_DBLCLKS, ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW),
                                 reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1),
                                 icon ? icon : ::LoadIconA(nullptr, (LPCSTR)IDI_APPLICATION));
}

// A frame's string resources hold more parts after a line break; the first is the title or the prompt.
CString FirstLine(const CString& text) {
    int nl = text.Find('\n');
    return nl >= 0 ? text.Left(nl) : text;
}

}  // namespace

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd() {
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) app->m_pMainWnd = nullptr;
    for (CControlBar* bar : m_listControlBars) bar->m_pDockSite = nullptr;
}

// ---- Creation ----

BOOL CFrameWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext) {
    HMENU menu = lpszMenuName ? ::LoadMenuA(AfxGetResourceHandle(), lpszMenuName) : nullptr;
    m_strTitle = lpszWindowName;
    int x = rect.left, y = rect.top, cx = rect.right - rect.left, cy = rect.bottom - rect.top;
    if (rect.left == CW_USEDEFAULT) cx = cy = CW_USEDEFAULT;
    if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, cx, cy, pParentWnd->GetSafeHwnd(), menu,
                  pContext)) {
        // The object may be gone (PostNcDestroy); only the menu is ours to free.
        if (menu) ::DestroyMenu(menu);
        return FALSE;
    }
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
    m_nIDHelp = nIDResource;
    CString title;
    title.LoadString(nIDResource);
    HINSTANCE module = AfxGetResourceHandle();
    HICON icon = ::LoadIconA(module, MAKEINTRESOURCEA(nIDResource));
    CString className;
    className.Format("WlFrame:%u", nIDResource);
    LPCSTR cls = RegisterFrameClass(className, icon);
    LPCSTR menuName = ::FindResourceA(module, MAKEINTRESOURCEA(nIDResource), MAKEINTRESOURCEA(4) /* RT_MENU */)
                          ? MAKEINTRESOURCEA(nIDResource)
                          : nullptr;
    m_hAccelTable = ::LoadAcceleratorsA(module, MAKEINTRESOURCEA(nIDResource));
    if (!Create(cls, FirstLine(title), dwDefaultStyle, rectDefault, pParentWnd, menuName, 0, pContext)) return FALSE;
    if (!pContext) SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (!cs.lpszClass) cs.lpszClass = RegisterFrameClass("WlFrame", nullptr);
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    m_hMenuDefault = ::GetMenu(m_hWnd);
    CCreateContext* context = static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams);
    if (!OnCreateClient(lpCreateStruct, context)) return -1;
    PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
    if (pContext && pContext->m_pNewViewClass) return CreateView(pContext, AFX_IDW_PANE_FIRST) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID) {
    CWnd* view = static_cast<CWnd*>(fw::CreateObjectOf(pContext->m_pNewViewClass, RUNTIME_CLASS(CWnd)));
    if (!view) return nullptr;
    // A view that fails has deleted itself.
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 0, 0), this, nID, pContext))
        return nullptr;
    return view;
}

void CFrameWnd::PostNcDestroy() { delete this; }

// ---- Closing ----

void CFrameWnd::OnClose() {
    CDocument* doc = GetActiveDocument();
    if (doc && !doc->CanCloseFrame(this)) return;
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        if (!app->SaveAllModified()) return;
        // Closing the documents destroys this frame; nothing of it may be used afterwards.
        app->CloseAllDocuments(FALSE);
        if (!app->m_pMainWnd) return;
        doc = GetActiveDocument();
    }
    if (doc && doc->m_bAutoDelete) {
        bool otherFrame = false;
        for (POSITION pos = doc->GetFirstViewPosition(); pos;) {
            CView* v = doc->GetNextView(pos);
            if (v && v->GetParentFrame() != this) otherFrame = true;
        }
        if (!otherFrame) {
            doc->OnCloseDocument();
            return;
        }
    }
    DestroyWindow();
}

void CFrameWnd::OnDestroy() {
    m_bDestroying = true;
    m_bIdleNudgeWaiting = false;  // a waiting empty message goes with the window
    // A replaced menu (or none) goes back to the default one, so that it is destroyed with the window.
    if (m_hMenuDefault && ::GetMenu(m_hWnd) != m_hMenuDefault) ::SetMenu(m_hWnd, m_hMenuDefault);
    CWnd::OnDestroy();
}

// ---- Routing and keys ----

// A command or request sent from another thread or program is carried out inside the loop's wait for a
// message and leaves nothing in the queue: the bars and the title would show its effect only at the next
// message that brings idle work. An empty message posted to the frame brings it, as a posted command does;
// one waiting is enough, however fast the sender (a thread's queue holds a bounded number of posts).
LRESULT CFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NULL) m_bIdleNudgeWaiting = false;
    const HWND self = m_hWnd;  // the handler may destroy the frame, and the frame delete itself
    const bool sentFromElsewhere = (message == WM_COMMAND || message == WM_COPYDATA) && ::InSendMessage();
    const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
    if (sentFromElsewhere && CWnd::FromHandlePermanent(self) == this && !m_bIdleNudgeWaiting)
        m_bIdleNudgeWaiting = ::PostMessageA(self, WM_NULL, 0, 0) != FALSE;
    return result;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    CView* view = GetActiveView();
    if (view && view->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
    // The frame's accelerators apply to keys of the frame and of all its descendants.
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable &&
        ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg))
        return TRUE;
    return CWnd::PreTranslateMessage(pMsg);
}

// ---- Views and documents ----

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify) {
    CView* old = m_pViewActive;
    if (pViewNew == old) return;
    m_pViewActive = pViewNew;
    if (old && bNotify) old->OnActivateView(FALSE, pViewNew, old);
    if (pViewNew && bNotify) pViewNew->OnActivateView(TRUE, pViewNew, old);
}

CDocument* CFrameWnd::GetActiveDocument() {
    CView* view = GetActiveView();
    return view ? view->GetDocument() : nullptr;
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd) {
    // The frame passes the focus on to its active view.
    if (m_pViewActive && m_pViewActive->m_hWnd)
        m_pViewActive->SetFocus();
    else
        CWnd::OnSetFocus(pOldWnd);
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
    CView* view = GetActiveView();
    if (!view) {
        CWnd* pane = GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
        if (pane && pane->IsKindOf(RUNTIME_CLASS(CView))) {
            view = static_cast<CView*>(pane);
            SetActiveView(view, FALSE);
        }
    }
    if (bMakeVisible) {
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
        if (view) view->OnActivateFrame(WA_INACTIVE, this);
        int nCmdShow = -1;
        CWinApp* app = AfxGetApp();
        if (app && app->m_pMainWnd == this) {
            nCmdShow = app->m_nCmdShow;
            app->m_nCmdShow = -1;  // only the first show follows the start-up command
        }
        ActivateFrame(nCmdShow);
        if (view) view->OnActivateView(TRUE, view, view);
    }
    if (pDoc) pDoc->UpdateFrameCounts();
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
    if (nCmdShow == -1) {
        if (!IsWindowVisible())
            nCmdShow = SW_SHOWNORMAL;
        else if (IsIconic())
            nCmdShow = SW_RESTORE;
    }
    if (nCmdShow != -1) ShowWindow(nCmdShow);
    if (nCmdShow != SW_HIDE && nCmdShow != SW_MINIMIZE && nCmdShow != SW_SHOWMINNOACTIVE && nCmdShow != SW_SHOWNA &&
        nCmdShow != SW_SHOWNOACTIVATE)
        ::BringWindowToTop(m_hWnd);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle) {
    if (!(GetStyle() & FWS_ADDTOTITLE)) return;
    CDocument* doc = GetActiveDocument();
    UpdateFrameTitleForDocument(bAddToTitle && doc ? (LPCSTR)doc->GetTitle() : nullptr);
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCSTR lpszDocName) {
    CString text = m_strTitle;
    if (lpszDocName && *lpszDocName) text = CString(lpszDocName) + " - " + m_strTitle;
    CString current;
    GetWindowText(current);
    if (current != text) SetWindowText(text);  // unchanged titles are not rewritten (no flicker)
}

// ---- Menus ----

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu) {
    if (bSysMenu || !pPopupMenu) {
        Default();
        return;
    }
    CCmdUI state;
    state.m_pMenu = pPopupMenu;
    state.m_nIndexMax = (UINT)pPopupMenu->GetMenuItemCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = pPopupMenu->GetMenuItemID((int)state.m_nIndex);
        if (state.m_nID == 0 || state.m_nID == (UINT)-1) continue;  // separators and nested popups
        state.m_pSubMenu = nullptr;
        state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
        // A handler may have removed or added items.
        UINT count = (UINT)pPopupMenu->GetMenuItemCount();
        if (count < state.m_nIndexMax) {
            state.m_nIndex -= state.m_nIndexMax - count;
            while (state.m_nIndex < count && pPopupMenu->GetMenuItemID((int)state.m_nIndex) == state.m_nID)
                ++state.m_nIndex;
        }
        state.m_nIndexMax = count;
    }
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu) {
    if (nFlags == 0xFFFF && !hSysMenu)
        m_nIDTracking = AFX_IDS_IDLEMESSAGE;  // the menu closed
    else if (nItemID == 0 || (nFlags & (MF_SEPARATOR | MF_POPUP)) || nItemID >= 0xF000)
        m_nIDTracking = 0;
    else
        m_nIDTracking = nItemID;
    if (m_nIDTracking != m_nIDLastMessage) SendMessage(WM_SETMESSAGESTRING, m_nIDTracking);
}

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const {
    rMessage.Empty();
    CString text;
    if (!text.LoadString(nID)) {
        if (nID == AFX_IDS_IDLEMESSAGE) rMessage = "Bereit";
        return;
    }
    rMessage = FirstLine(text);
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam) {
    CString text;
    if (lParam)
        text = reinterpret_cast<LPCSTR>(lParam);
    else if (wParam)
        GetMessageString((UINT)wParam, text);
    CControlBar* bar = GetControlBar(AFX_IDW_STATUS_BAR);
    if (bar && bar->m_hWnd) {
        if (bar->IsKindOf(RUNTIME_CLASS(CStatusBar)))
            static_cast<CStatusBar*>(bar)->SetPaneText(0, text);
        else
            bar->SetWindowText(text);
    }
    UINT last = m_nIDLastMessage;
    m_nIDLastMessage = (UINT)wParam;
    return last;
}

void CFrameWnd::SetMessageText(LPCSTR lpszText) { SendMessage(WM_SETMESSAGESTRING, 0, (LPARAM)lpszText); }

void CFrameWnd::SetMessageText(UINT nID) { SendMessage(WM_SETMESSAGESTRING, nID); }

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
    UINT flags = m_nIdleFlags;
    m_nIdleFlags = 0;
    if (flags & idleTitle) OnUpdateFrameTitle(TRUE);
    if (flags & idleLayout) RecalcLayout((flags & idleNotify) != 0);
    return 0;
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI) {
    int key = pCmdUI->m_nID == ID_INDICATOR_CAPS ? VK_CAPITAL : pCmdUI->m_nID == ID_INDICATOR_NUM ? VK_NUMLOCK : VK_SCROLL;
    pCmdUI->Enable(::GetKeyState(key) & 1);
}

// ---- GetParentFrame (a CWnd member, here with the frame it looks for) ----

CFrameWnd* CWnd::GetParentFrame() const {
    for (HWND h = m_hWnd ? ::GetParent(m_hWnd) : nullptr; h; h = ::GetParent(h)) {
        CWnd* wnd = FromHandlePermanent(h);
        if (wnd && wnd->IsKindOf(RUNTIME_CLASS(CFrameWnd))) return static_cast<CFrameWnd*>(wnd);
    }
    return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const {
    CFrameWnd* frame = nullptr;
    if (m_hWnd && IsKindOf(RUNTIME_CLASS(CFrameWnd))) frame = const_cast<CFrameWnd*>(static_cast<const CFrameWnd*>(this));
    for (CFrameWnd* up = frame ? frame->GetParentFrame() : GetParentFrame(); up; up = up->GetParentFrame()) frame = up;
    return frame;
}
