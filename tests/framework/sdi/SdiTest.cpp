#include "tests/framework/sdi/SdiTest.h"

#include <algorithm>

std::vector<std::string> g_events;
bool g_failNewDocument;
std::function<void()> g_duringNewDocument;

bool Logged(const std::string& event) { return std::find(g_events.begin(), g_events.end(), event) != g_events.end(); }

// ---- Document ----

IMPLEMENT_DYNCREATE(CTestDoc, CDocument)

BEGIN_MESSAGE_MAP(CTestDoc, CDocument)
    ON_COMMAND(ID_TEST_DOC, OnDocCommand)
    ON_COMMAND(ID_TEST_SHARED, OnShared)
END_MESSAGE_MAP()

CTestDoc::~CTestDoc() { g_events.push_back("doc deleted"); }

BOOL CTestDoc::OnNewDocument() {
    if (g_failNewDocument || !CDocument::OnNewDocument()) return FALSE;
    if (g_duringNewDocument) g_duringNewDocument();
    g_events.push_back("doc new");
    return TRUE;
}

void CTestDoc::OnDocCommand() { g_events.push_back("doc command"); }
void CTestDoc::OnShared() { g_events.push_back("doc shared"); }

// ---- View ----

IMPLEMENT_DYNCREATE(CTestView, CView)

BEGIN_MESSAGE_MAP(CTestView, CView)
    ON_WM_KEYDOWN()
    ON_WM_DESTROY()
    ON_COMMAND(ID_TEST_VIEW, OnViewCommand)
    ON_COMMAND(ID_TEST_SHARED, OnShared)
    ON_UPDATE_COMMAND_UI(ID_TEST_VIEW, OnUpdateViewCommand)
END_MESSAGE_MAP()

CTestView::~CTestView() { g_events.push_back("view deleted"); }

void CTestView::OnInitialUpdate() {
    g_events.push_back("view initial update");
    CView::OnInitialUpdate();
}

void CTestView::OnViewCommand() { g_events.push_back("view command"); }
void CTestView::OnShared() { g_events.push_back("view shared"); }
void CTestView::OnUpdateViewCommand(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }

void CTestView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    g_events.push_back("view key " + std::to_string(nChar));
    CView::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CTestView::OnDestroy() {
    g_events.push_back("view OnDestroy");
    CView::OnDestroy();
}

// ---- Frame ----

IMPLEMENT_DYNCREATE(CTestFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_COMMAND(ID_TEST_FRAME, OnFrameCommand)
    ON_MESSAGE(WM_ENTERMENULOOP, OnEnterMenuLoop)
END_MESSAGE_MAP()

CTestFrame::~CTestFrame() { g_events.push_back("frame deleted"); }

int CTestFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;
    static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
    if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 4)) return -1;
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT,
                               WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_FLYBY | CBRS_SIZE_DYNAMIC))
        return -1;
    TBBUTTON buttons[2] = {};
    buttons[0].iBitmap = I_IMAGENONE;
    buttons[0].idCommand = ID_TEST_VIEW;
    buttons[0].fsState = TBSTATE_ENABLED;
    buttons[1] = buttons[0];
    buttons[1].idCommand = ID_TEST_NOHANDLER;
    m_wndToolBar.SendMessage(TB_ADDBUTTONSA, 2, (LPARAM)buttons);
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    RecalcLayout();
    return 0;
}

void CTestFrame::OnDestroy() {
    g_events.push_back("frame OnDestroy");
    CFrameWnd::OnDestroy();
}

void CTestFrame::OnFrameCommand() { g_events.push_back("frame command"); }

LRESULT CTestFrame::OnEnterMenuLoop(WPARAM, LPARAM) {
    g_events.push_back("menu loop");
    Default();
    // Never stay in a menu during the tests.
    PostMessage(WM_CANCELMODE);
    return 0;
}

// ---- Application ----

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
    ON_COMMAND(ID_TEST_APP, OnAppCommand)
    ON_COMMAND(ID_APP_ABOUT, OnAbout)
END_MESSAGE_MAP()

namespace {
CTestApp* g_running;
void CALLBACK RunScript(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (g_running && g_running->script) g_running->script(*g_running);
}
}  // namespace

BOOL CTestApp::InitInstance() {
    AfxEnableControlContainer();
    SetRegistryKey(registryKey);
    LoadStdProfileSettings(4);
    AddDocTemplate(new CSingleDocTemplate(IDR_TESTTYPE, RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CTestFrame),
                                          RUNTIME_CLASS(CTestView)));
    CCommandLineInfo info;
    if (!ProcessShellCommand(info)) return FALSE;
    g_running = this;
    SetTimer(nullptr, 0, 1, &RunScript);
    return TRUE;
}

void CTestApp::OnAppCommand() { g_events.push_back("app command"); }

void CTestApp::OnAbout() {
    CDialog about(IDD_TESTDIALOG);
    g_events.push_back("about " + std::to_string(about.DoModal()));
}

int RunTestApp(CTestApp& app, int nCmdShow, std::function<void(CTestApp&)> script) {
    g_events.clear();
    app.script = std::move(script);
    int result = AfxWinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), nCmdShow);
    g_running = nullptr;
    return result;
}

CTestFrame* MainFrame() { return static_cast<CTestFrame*>(AfxGetMainWnd()); }

CTestView* MainView() {
    CTestFrame* frame = MainFrame();
    return frame ? static_cast<CTestView*>(frame->GetActiveView()) : nullptr;
}
