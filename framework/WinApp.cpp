// CWinApp: the application object, its start from WinMain, its commands and its documents.
#include "framework/WinApp.h"

#include <commdlg.h>

#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/Wnd.h"

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
    ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, OnOpenRecentFile)
END_MESSAGE_MAP()

namespace {
CWinApp* g_app;

CString ExeBaseName() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH - 1);
    CString name(path);
    name = name.Mid(name.ReverseFind('\\') + 1);
    int dot = name.ReverseFind('.');
    if (dot > 0) name = name.Left(dot);
    return name;
}
}  // namespace

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd() {
    CWinThread* thread = AfxGetThread();
    return thread ? thread->GetMainWnd() : (g_app ? g_app->m_pMainWnd : nullptr);
}

HINSTANCE AfxGetInstanceHandle() {
    return g_app && g_app->m_hInstance ? g_app->m_hInstance : ::GetModuleHandleA(nullptr);
}

LPCSTR AfxGetAppName() {
    if (g_app && g_app->m_pszAppName) return g_app->m_pszAppName;
    static CString* exeName = new CString(ExeBaseName());
    return *exeName;
}

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT) {
    CWnd* main = AfxGetMainWnd();
    HWND owner = main ? main->m_hWnd : nullptr;
    if (owner) owner = ::GetLastActivePopup(owner);
    return ::MessageBoxA(owner, lpszText, AfxGetAppName(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    CString text;
    text.LoadString(nIDPrompt);
    return AfxMessageBox(text, nType, nIDHelp);
}

CWinApp::CWinApp(LPCSTR lpszAppName) {
    g_app = this;
    m_nThreadID = ::GetCurrentThreadId();
    m_hInstance = ::GetModuleHandleA(nullptr);
    m_strExeName = ExeBaseName();
    m_pszExeName = m_strExeName;
    if (lpszAppName)
        m_strAppName = lpszAppName;
    else if (!m_strAppName.LoadString(AFX_IDS_APP_TITLE) || m_strAppName.IsEmpty())
        m_strAppName = m_strExeName;
    m_pszAppName = m_strAppName;
}

CWinApp::~CWinApp() {
    for (CDocTemplate* t : m_templates) delete t;
    m_templates.clear();
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    if (m_hDevMode) ::GlobalFree(m_hDevMode);
    if (m_hDevNames) ::GlobalFree(m_hDevNames);
    if (g_app == this) g_app = nullptr;
}

void CWinApp::SetCurrentHandles(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow) {
    m_hInstance = hInstance ? hInstance : ::GetModuleHandleA(nullptr);
    m_lpCmdLine = lpCmdLine;
    m_nCmdShow = nCmdShow;
    m_nThreadID = ::GetCurrentThreadId();
}

BOOL CWinApp::InitApplication() { return TRUE; }

int CWinApp::ExitInstance() {
    SaveStdProfileSettings();
    return CWinThread::ExitInstance();
}

BOOL CWinApp::OnIdle(LONG lCount) { return CWinThread::OnIdle(lCount); }

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow) {
    CWinApp* app = AfxGetApp();
    if (!app) return -1;
    app->SetCurrentHandles(hInstance, lpCmdLine ? lpCmdLine : const_cast<LPSTR>(""), nCmdShow);
    if (!app->InitApplication() || !app->InitInstance()) {
        if (app->m_pMainWnd) app->m_pMainWnd->DestroyWindow();
        // Messages the failed start left behind (such as its quit request) must not reach a later loop.
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        return app->ExitInstance();
    }
    return app->Run();
}

// The program's entry point; it lives here so that linking the application object brings it in.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}

HICON CWinApp::LoadIcon(UINT nIDResource) const {
    return ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}

HCURSOR CWinApp::LoadCursor(UINT nIDResource) const {
    return ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}

// ---- Commands ----

void CWinApp::OnAppExit() {
    if (m_pMainWnd && m_pMainWnd->m_hWnd) m_pMainWnd->SendMessage(WM_CLOSE);
}

// The common print set-up dialog; the printer chosen stays with the application for the next opening.
void CWinApp::OnFilePrintSetup() {
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr;
    pd.hDevMode = m_hDevMode;
    pd.hDevNames = m_hDevNames;
    pd.Flags = PD_PRINTSETUP;
    if (!::PrintDlgA(&pd)) return;  // cancelled, or no printer: the dialog has told the user
    m_hDevMode = pd.hDevMode;
    m_hDevNames = pd.hDevNames;
}

void CWinApp::OnFileNew() {
    if (!m_templates.empty()) m_templates.front()->OpenDocumentFile(nullptr);
}

BOOL CWinApp::OnOpenRecentFile(UINT nID) {
    if (!m_pRecentFileList) return FALSE;
    int index = (int)(nID - ID_FILE_MRU_FILE1);
    if (index < 0 || index >= m_pRecentFileList->GetSize() || (*m_pRecentFileList)[index].IsEmpty()) return FALSE;
    CString path = (*m_pRecentFileList)[index];
    // Only a file that could not be opened leaves the list; a refused open leaves it as it is.
    const bool failed = !OpenDocumentFile(path) && (m_templates.empty() || !m_templates.front()->OpenWasRefused());
    if (failed) m_pRecentFileList->Remove(index);
    return TRUE;
}

// ---- Documents ----

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
    if (pTemplate) m_templates.push_back(pTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const { return fw::FirstPosition(m_templates); }

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const { return fw::NextAt(m_templates, pos); }

CDocument* CWinApp::OpenDocumentFile(LPCSTR lpszFileName) {
    return m_templates.empty() ? nullptr : m_templates.front()->OpenDocumentFile(lpszFileName);
}

void CWinApp::AddToRecentFileList(LPCSTR lpszPathName) {
    if (m_pRecentFileList && lpszPathName && *lpszPathName) m_pRecentFileList->Add(lpszPathName);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNothing:
        return TRUE;
    case CCommandLineInfo::FileNew:
        if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr)) OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr;
    default:
        return FALSE;
    }
}

BOOL CWinApp::SaveAllModified() {
    for (CDocTemplate* t : m_templates)
        if (!t->SaveAllModified()) return FALSE;
    return TRUE;
}

void CWinApp::CloseAllDocuments(BOOL bEndSession) {
    for (CDocTemplate* t : m_templates) t->CloseAllDocuments(bEndSession);
}

void CCommandLineInfo::ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL) {
    if (!bFlag && m_strFileName.IsEmpty()) {
        m_strFileName = pszParam;
        m_nShellCommand = FileOpen;
    }
}
