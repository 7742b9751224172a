// The main frame: bars, placement, full screen, always on top and the messages of other programs.
#include "game/MainFrame.h"

#include <iterator>

#include "game/MainFrameCopyData.h"
#include "game/MainFrameSettings.h"
#include "game/WertlaufView.h"
#include "res/AppCommands.h"
#include "system/PathFunctions.h"
#include "ui/Monitor.h"

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

namespace {

// Caption, sizing frame and the two boxes: what full screen takes away.
constexpr DWORD kWindowFrameStyles = WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD kToolbarStyle =
    WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
constexpr UINT kStatusBarDrawPopout = 1315, kStatusBarDraw = 1427;

const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};

UINT g_probeMessage = RegisterWindowMessageA("Wertlauf");
bool g_placementRestored = false;

}  // namespace

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_COMMAND(ID_VIEW_FULL_SCREEN, OnViewFullScreen)
    ON_COMMAND(ID_VIEW_FLAT_TOOLBAR, OnViewFlatToolbar)
    ON_UPDATE_COMMAND_UI(ID_VIEW_FLAT_TOOLBAR, OnUpdateViewFlatToolbar)
    ON_COMMAND(ID_VIEW_ON_TOP, OnViewOnTop)
    ON_UPDATE_COMMAND_UI(ID_VIEW_ON_TOP, OnUpdateViewOnTop)
    ON_REGISTERED_MESSAGE(g_probeMessage, OnProbe)
    ON_WM_COPYDATA()
    ON_MESSAGE(kMsgFramePrivate, OnFramePrivate)
    ON_MESSAGE(kMsgSetStatusText, OnSetStatusText)
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
    ON_WM_INITMENUPOPUP()
    ON_MESSAGE(kMsgFreeMenuItem, OnFreeMenuItem)
    ON_MESSAGE(kMsgMenuImagesProbe, OnMenuImagesProbe)
END_MESSAGE_MAP()

UINT CMainFrame::ProbeMessage() { return g_probeMessage; }

CMainFrame::CMainFrame() {
    UpdateMonitorTable(FALSE);
    m_bFlatMode = ReadFrameSetting("FlatMode", 1) != 0;
    m_bShowGamerBar = ReadFrameSetting("ShowGamerBar", 0) != 0;
}

CMainFrame::~CMainFrame() {
    WriteFrameSetting("FlatMode", m_bFlatMode ? 1 : 0);
    WriteFrameSetting("ShowGamerBar", m_bShowGamerBar ? 1 : 0);
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
    UpdateMonitorTable(FALSE);
    CWinApp* app = AfxGetApp();
    // A start without a show command of its own (SW_SHOWDEFAULT) restores like a normal one.
    bool normalStart = app && (app->m_nCmdShow == SW_SHOWNORMAL || app->m_nCmdShow == SW_SHOWDEFAULT);
    if (!g_placementRestored && normalStart && cs.lpszName) {
        g_placementRestored = true;
        MonitorPlacement creation = {cs.cy, cs.cx, cs.y, cs.x};
        if (RestoreFramePlacement(ReadFramePlacement(), creation)) app->m_nCmdShow = SW_SHOWMAXIMIZED;
        cs.x = creation.x;
        cs.y = creation.y;
        cs.cx = creation.cx;
        cs.cy = creation.cy;
    }
    return CFrameWnd::PreCreateWindow(cs);
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(kIndicators, static_cast<int>(std::size(kIndicators))))
        return -1;
    if (!m_wndToolBar.CreateEx(this, m_bFlatMode ? TBSTYLE_FLAT : 0, kToolbarStyle, CRect(2, 2, 2, 2),
                               AFX_IDW_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    RecalcLayout();
    const UINT toolbars[] = {IDR_MAINFRAME};
    InitMenuImages(toolbars, 1);
    m_bStatusBarVisible = m_wndStatusBar.IsWindowVisible();
    m_bToolBarVisible = m_wndToolBar.IsWindowVisible();
    return 0;
}

void CMainFrame::OnDestroy() {
    RECT window;
    GetWindowRect(&window);
    WriteFramePlacement(window, IsZoomed() != FALSE, MonitorIndexFromWindow(m_hWnd), GetMonitorTable().count);
    CFrameWnd::OnDestroy();
}

// ---- Full screen, flat toolbar, always on top ----

void CMainFrame::TellViewFullScreen(int state) {
    if (auto* view = dynamic_cast<CWertlaufView*>(GetActiveView())) view->SetFullScreenMode(state);
}

void CMainFrame::EnterFullScreen() {
    if (IsZoomed()) {
        ShowWindow(SW_SHOWNORMAL);
        m_nFullScreen = game::kFullScreenFromMaximised;
    } else {
        m_nFullScreen = game::kFullScreenFromNormal;
    }
    m_bStatusBarVisible = m_wndStatusBar.IsWindowVisible();
    if (m_bStatusBarVisible) ShowControlBar(&m_wndStatusBar, FALSE, FALSE);
    m_bToolBarVisible = m_wndToolBar.IsWindowVisible();
    if (m_bToolBarVisible) ShowControlBar(&m_wndToolBar, FALSE, FALSE);
    ModifyStyle(kWindowFrameStyles, 0, SWP_FRAMECHANGED);
    ::SetMenu(m_hWnd, nullptr);
    if (CView* view = GetActiveView()) view->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
    ShowWindow(SW_MAXIMIZE);
    TellViewFullScreen(m_nFullScreen);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CMainFrame::LeaveFullScreen() {
    if (m_bStatusBarVisible && !m_wndStatusBar.IsWindowVisible()) ShowControlBar(&m_wndStatusBar, TRUE, FALSE);
    if (m_bToolBarVisible && !m_wndToolBar.IsWindowVisible()) ShowControlBar(&m_wndToolBar, TRUE, FALSE);
    if (CView* view = GetActiveView()) view->ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED);
    ModifyStyle(0, kWindowFrameStyles, SWP_FRAMECHANGED);
    ::SetMenu(m_hWnd, m_hMenuDefault);
    int from = m_nFullScreen;
    m_nFullScreen = game::kFullScreenOff;
    ShowWindow(from == game::kFullScreenFromMaximised ? SW_MAXIMIZE : SW_SHOWNORMAL);
    TellViewFullScreen(game::kFullScreenOff);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CMainFrame::OnViewFullScreen() {
    if (m_nFullScreen == game::kFullScreenOff)
        EnterFullScreen();
    else
        LeaveFullScreen();
}

void CMainFrame::OnViewFlatToolbar() {
    m_bFlatMode = !m_bFlatMode;
    m_wndToolBar.ModifyStyle(m_bFlatMode ? 0 : TBSTYLE_FLAT, m_bFlatMode ? TBSTYLE_FLAT : 0);
    if (m_wndToolBar.IsWindowVisible()) {
        // Hidden and shown again so that it is laid out anew.
        ShowControlBar(&m_wndToolBar, FALSE, FALSE);
        ShowControlBar(&m_wndToolBar, TRUE, FALSE);
    }
}

void CMainFrame::OnUpdateViewFlatToolbar(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bFlatMode ? 1 : 0); }

void CMainFrame::OnViewOnTop() {
    m_bOnTop = !m_bOnTop;
    SetWindowPos(m_bOnTop ? &wndTopMost : &wndNoTopMost, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

void CMainFrame::OnUpdateViewOnTop(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bOnTop ? 1 : 0); }

// ---- Other programs ----

LRESULT CMainFrame::OnProbe(WPARAM wParam, LPARAM) {
    return static_cast<DWORD>(wParam) == static_cast<DWORD>(kProbeAnswer) ? kProbeAnswer : 0;
}

CString CMainFrame::ActiveDocumentPath() const {
    CDocument* document = const_cast<CMainFrame*>(this)->GetActiveDocument();
    return document ? document->GetPathName() : CString();
}

BOOL CMainFrame::OnCopyData(CWnd*, COPYDATASTRUCT* pCopyDataStruct) {
    CopyDataText block = DecodeCopyData(pCopyDataStruct);
    switch (block.code) {
    case kCopyDataOpenFile:
        return AfxGetApp()->OpenDocumentFile(block.text) != nullptr;
    case kCopyDataText:
        m_strReceivedText = block.text;
        return TRUE;
    case kCopyDataSamePath:
        return ComparePathsA(block.text, ActiveDocumentPath(), CP_SAME_PATH) == 0;
    default:
        return FALSE;
    }
}

LRESULT CMainFrame::OnFramePrivate(WPARAM wParam, LPARAM lParam) {
    switch (wParam) {
    case kFrameClose:
        return PostMessage(WM_COMMAND, ID_APP_EXIT);
    case kFrameSendPath: {
        HWND receiver = reinterpret_cast<HWND>(lParam);
        if (!::IsWindow(receiver)) return 0;
        CString path = ActiveDocumentPath();
        COPYDATASTRUCT block = {kCopyDataText, static_cast<DWORD>(path.GetLength() + 1),
                                const_cast<char*>(static_cast<LPCSTR>(path))};
        // A receiver that hangs must not hang the game.
        DWORD_PTR answer = 0;
        SendMessageTimeoutA(receiver, WM_COPYDATA, reinterpret_cast<WPARAM>(::GetActiveWindow()),
                            reinterpret_cast<LPARAM>(&block), SMTO_ABORTIFHUNG, 5000, &answer);
        return static_cast<LRESULT>(answer);
    }
    case kFrameReceivedText:
        return reinterpret_cast<LRESULT>(static_cast<LPCSTR>(m_strReceivedText));
    default:
        return 0;
    }
}

bool CMainFrame::SentByOwnThread(UINT message, WPARAM wParam, LPARAM lParam) const {
    // Sent from another thread or process: refused.
    if (InSendMessageEx(nullptr) != ISMEX_NOSEND) return false;
    // Posted (by anyone): the loop's current message is this very one.
    const MSG& current = AfxGetThread()->m_msgCur;
    return !(current.hwnd == m_hWnd && current.message == message && current.wParam == wParam &&
             current.lParam == lParam);
}

LRESULT CMainFrame::OnSetStatusText(WPARAM wParam, LPARAM lParam) {
    if (!SentByOwnThread(kMsgSetStatusText, wParam, lParam) || wParam >= std::size(kIndicators)) return 0;
    m_wndStatusBar.SetPaneText(static_cast<int>(wParam), lParam ? reinterpret_cast<LPCSTR>(lParam) : "", TRUE);
    return 0;
}

// ---- Owner-drawn menus ----

BOOL CMainFrame::InitMenuImages(const UINT* toolbarIds, int count) {
    return m_menuImages.Init(AfxGetResourceHandle(), m_hMenuDefault, toolbarIds, count);
}

int CMainFrame::GetItemImage(UINT commandId) const { return m_menuImages.GetItemImage(m_hMenuDefault, commandId); }

BOOL CMainFrame::SetItemImage(UINT commandId, int index) {
    return m_menuImages.SetItemImage(m_hMenuDefault, commandId, index);
}

int CMainFrame::AddMenuIcon(UINT commandId, HICON icon) {
    return m_menuImages.AddIcon(m_hMenuDefault, commandId, icon);
}

int CMainFrame::AddMenuBitmap(UINT commandId, CBitmap* bitmap, COLORREF maskColour) {
    return bitmap ? m_menuImages.AddBitmap(m_hMenuDefault, commandId, static_cast<HBITMAP>(bitmap->GetSafeHandle()),
                                           maskColour)
                  : -1;
}

BOOL CMainFrame::RemoveMenuPopup(UINT commandId) {
    return m_menuImages.RemovePopup(m_hWnd, m_hMenuDefault, commandId);
}

BOOL CMainFrame::InsertMenuPopup(UINT commandId, CMenu* popup, LPCSTR title, int position) {
    return popup ? m_menuImages.InsertPopup(m_hWnd, m_hMenuDefault, commandId, popup->m_hMenu, title, position)
                 : FALSE;
}

void CMainFrame::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (lpDrawItemStruct->CtlType == ODT_MENU && m_menuImages.OnDrawItem(lpDrawItemStruct)) return;
    if (nIDCtl == AFX_IDW_STATUS_BAR) {
        LRESULT lengthAndStyle = m_wndStatusBar.SendMessage(SB_GETTEXTLENGTHA, lpDrawItemStruct->itemID);
        UINT message = (HIWORD(lengthAndStyle) & (SBT_POPOUT >> 8)) ? kStatusBarDrawPopout : kStatusBarDraw;
        SendMessage(message, nIDCtl, reinterpret_cast<LPARAM>(lpDrawItemStruct));
        return;
    }
    CFrameWnd::OnDrawItem(nIDCtl, lpDrawItemStruct);
}

void CMainFrame::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    if (lpMeasureItemStruct->CtlType == ODT_MENU && m_menuImages.OnMeasureItem(lpMeasureItemStruct)) return;
    CFrameWnd::OnMeasureItem(nIDCtl, lpMeasureItemStruct);
}

void CMainFrame::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
    CFrameWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
    if (!bSysMenu && pPopupMenu) m_menuImages.OnInitMenuPopup(pPopupMenu->m_hMenu);
}

LRESULT CMainFrame::OnFreeMenuItem(WPARAM wParam, LPARAM lParam) {
    auto* menu = reinterpret_cast<CMenu*>(lParam);
    if (!SentByOwnThread(kMsgFreeMenuItem, wParam, lParam) || !menu || !::IsMenu(menu->m_hMenu)) return 0;
    return m_menuImages.FreeItem(menu->m_hMenu, static_cast<UINT>(wParam));
}

LRESULT CMainFrame::OnMenuImagesProbe(WPARAM, LPARAM) { return kMenuImagesAnswer; }
