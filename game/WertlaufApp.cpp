// Start-up of the game and the application's own dialogs.
#include "game/WertlaufApp.h"

#include "framework/Framework.h"
#include "game/MainFrame.h"
#include "game/WertlaufAppArguments.h"
#include "game/WertlaufDoc.h"
#include "game/WertlaufView.h"
#include "res/AppCommands.h"
#include "ui/filedialog/FileDialogExt.h"

#include <mmsystem.h>

BEGIN_MESSAGE_MAP(CWertlaufApp, CWinApp)
    ON_COMMAND(ID_HELP_KEYS, OnHelpKeys)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
    ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
    ON_COMMAND(ID_FILE_PRINT_SETUP, CWinApp::OnFilePrintSetup)
END_MESSAGE_MAP()

CWertlaufApp::CWertlaufApp() = default;

namespace {

// The sound system's first use loads and sets up Wine's or the system's audio drivers, which takes a while;
// a thread of its own asks for the devices while the window is being built, so that the view finds them ready.
DWORD WINAPI WarmUpSound(LPVOID) {
    waveOutGetNumDevs();
    return 0;
}

}  // namespace

BOOL CWertlaufApp::InitInstance() {
    if (HANDLE warmUp = CreateThread(nullptr, 0, WarmUpSound, nullptr, 0, nullptr)) CloseHandle(warmUp);
    AfxEnableControlContainer(nullptr);
    Enable3dControlsStatic();
    InstallFileDialogExtension(nullptr);
    SetRegistryKey("VQ");  // the toolkit's registry class follows this key as well
    LoadStdProfileSettings(4);

    m_pDocTemplate = new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CWertlaufDoc), RUNTIME_CLASS(CMainFrame),
                                            RUNTIME_CLASS(CWertlaufView));
    AddDocTemplate(m_pDocTemplate);

    // The command line is read below, after the window shows: this start is always "new file".
    CCommandLineInfo commandLine;
    if (!ProcessShellCommand(commandLine)) return FALSE;
    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    ApplyCommandLine();
    return TRUE;
}

BOOL CWertlaufApp::IsIdleMessage(MSG* pMsg) {
    if (pMsg->message == WM_TIMER && pMsg->wParam == kFrameTimerId) return FALSE;
    return CWinApp::IsIdleMessage(pMsg);
}

void CWertlaufApp::ApplyCommandLine() {
    for (int i = 1; i < __argc; ++i) {
        const char* argument = __argv[i];
        switch (ClassifyStartArgument(argument)) {
        case StartArgument::FullScreen:
            m_pMainWnd->PostMessage(WM_COMMAND, ID_VIEW_FULL_SCREEN);
            break;
        case StartArgument::IgnoredSwitch:
            break;
        case StartArgument::QuestionFolder:
            if (auto* view = dynamic_cast<CWertlaufView*>(GetFirstView())) view->SetInfoPath(argument);
            break;
        }
    }
}

CDocument* CWertlaufApp::GetFirstDocument() const {
    if (!m_pDocTemplate) return nullptr;
    POSITION pos = m_pDocTemplate->GetFirstDocPosition();
    return pos ? m_pDocTemplate->GetNextDoc(pos) : nullptr;
}

CView* CWertlaufApp::GetFirstView() const {
    CDocument* document = GetFirstDocument();
    if (!document) return nullptr;
    POSITION pos = document->GetFirstViewPosition();
    return pos ? document->GetNextView(pos) : nullptr;
}

LPCSTR CWertlaufApp::GetRecentFile(int n) const {
    if (!m_pRecentFileList) return nullptr;
    if (n < 0) n = 0;
    if (n >= m_pRecentFileList->GetSize()) return nullptr;
    const CString& entry = (*m_pRecentFileList)[n];
    return entry.IsEmpty() ? nullptr : static_cast<LPCSTR>(entry);
}

void CWertlaufApp::OnHelpKeys() {
    CDialog dialog(IDD_KEY_HELP);
    dialog.DoModal();
}

void CWertlaufApp::OnAppAbout() {
    CDialog dialog(IDD_ABOUTBOX);
    dialog.DoModal();
}
