// CWinThread and CWinApp: the message loop with idle processing and pre-translation, the application's
// start (WinMain lives in the library), its profile in the registry and the recent-file list.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/CString.h"
#include "framework/CmdTarget.h"

class CWnd;
class CDocument;
class CDocTemplate;
class CRecentFileList;

typedef UINT(__cdecl* AFX_THREADPROC)(LPVOID);

namespace fw {
// Waits for the next message of the thread's queue; false for WM_QUIT (its code is then in msg.wParam).
// A message the system fails to hand over (GetMessage's -1, as for a WM_COPYDATA from another process too
// large to be copied) is passed over: it ends no loop.
bool GetNextMessage(MSG& msg);
}  // namespace fw

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    ~CWinThread() override;

    CWnd* m_pMainWnd = nullptr;
    BOOL m_bAutoDelete = TRUE;  // worker threads delete their object when they end
    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    MSG m_msgCur = {};

    virtual BOOL InitInstance();
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL PumpMessage();
    // lCount counts the idle calls since the last message; FALSE = no more idle work.
    virtual BOOL OnIdle(LONG lCount);
    virtual BOOL IsIdleMessage(MSG* pMsg);
    virtual int ExitInstance();
    virtual CWnd* GetMainWnd();

    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
    BOOL SetThreadPriority(int nPriority) { return ::SetThreadPriority(m_hThread, nPriority); }

    // Used by AfxBeginThread.
    AFX_THREADPROC m_pfnThreadProc = nullptr;
    LPVOID m_pThreadParams = nullptr;

private:
    POINT m_ptCursorLast = {-1, -1};
    UINT m_nMsgLast = 0;
};

// How the program was started; ProcessShellCommand carries it out.
class CCommandLineInfo {
public:
    enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppUnregister, FileNothing = -1 } m_nShellCommand = FileNew;
    CString m_strFileName;
    BOOL m_bShowSplash = TRUE;
    virtual ~CCommandLineInfo() = default;
    virtual void ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL bLast);
};

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    ~CWinApp() override;

    LPCSTR m_pszAppName = nullptr;      // from the constructor, string AFX_IDS_APP_TITLE, or the exe name
    LPCSTR m_pszExeName = nullptr;
    LPCSTR m_pszRegistryKey = nullptr;  // set by SetRegistryKey
    LPCSTR m_pszProfileName = nullptr;  // the application name under the registry key
    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;  // the first show of the main frame uses it, then it becomes -1
    CRecentFileList* m_pRecentFileList = nullptr;
    HGLOBAL m_hDevMode = nullptr;       // the printer chosen in the print set-up dialog (owned by the application)
    HGLOBAL m_hDevNames = nullptr;

    virtual BOOL InitApplication();
    int ExitInstance() override;
    BOOL OnIdle(LONG lCount) override;

    // Profile: values under HKEY_CURRENT_USER\Software\<registry key>\<application name>.
    void SetRegistryKey(LPCSTR lpszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey);
    HKEY GetAppRegistryKey();                  // caller closes; null without a registry key
    HKEY GetSectionKey(LPCSTR lpszSection);    // caller closes
    UINT GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue);
    CString GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault = nullptr);
    BOOL WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue);
    // Loads the recent-file list (nMaxMRU entries, 0 = none); it is saved again at exit.
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    void SaveStdProfileSettings();

    // Documents.
    void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
    virtual CDocument* OpenDocumentFile(LPCSTR lpszFileName);
    virtual void AddToRecentFileList(LPCSTR lpszPathName);
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
    BOOL SaveAllModified();
    void CloseAllDocuments(BOOL bEndSession);

    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadStandardIcon(LPCSTR lpszIconName) const { return ::LoadIconA(nullptr, lpszIconName); }
    HCURSOR LoadCursor(UINT nIDResource) const;
    HCURSOR LoadStandardCursor(LPCSTR lpszCursorName) const { return ::LoadCursorA(nullptr, lpszCursorName); }

    afx_msg void OnFileNew();
    afx_msg void OnFilePrintSetup();
    afx_msg void OnAppExit();
    afx_msg BOOL OnOpenRecentFile(UINT nID);

    // Sets instance, command line, show command and names (called by AfxWinMain).
    void SetCurrentHandles(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow);

protected:
    DECLARE_MESSAGE_MAP()

private:
    std::vector<CDocTemplate*> m_templates;
    CString m_strAppName, m_strExeName, m_strRegistryKey, m_strProfileName;
};

// The recent-file list: newest first, full paths, kept in the profile section given.
class CRecentFileList {
public:
    CRecentFileList(UINT nStart, LPCSTR lpszSection, LPCSTR lpszEntryFormat, int nSize, int nMaxDispLen = 0);
    virtual ~CRecentFileList() = default;

    int GetSize() const { return (int)m_arrNames.size(); }
    CString& operator[](int nIndex) { return m_arrNames[(size_t)nIndex]; }
    virtual void Add(LPCSTR lpszPathName);
    virtual void Remove(int nIndex);
    virtual void ReadList();
    virtual void WriteList();

    UINT m_nStart;
    CString m_strSectionName;
    CString m_strEntryFormat;

private:
    std::vector<CString> m_arrNames;
};

CWinApp* AfxGetApp();
CWinThread* AfxGetThread();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstance);
// The application name: the app object's, else the executable's name without its extension.
LPCSTR AfxGetAppName();
void AfxPostQuitMessage(int nExitCode);
int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
// A plain worker thread running pfnThreadProc(pParam).
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority = THREAD_PRIORITY_NORMAL,
                           UINT nStackSize = 0, DWORD dwCreateFlags = 0,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
// Runs the application object's start, loop and end; WinMain calls it.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
// Compatibility no-op: the 3-D dialog look is the system's own.
inline BOOL Enable3dControlsStatic() { return TRUE; }
inline BOOL Enable3dControls() { return TRUE; }

namespace fw {
// The full path of a file name, or the name as given when it has none that fits MAX_PATH.
CString FullPath(LPCSTR path);
}  // namespace fw
