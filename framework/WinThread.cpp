// CWinThread: the message loop, idle processing and pre-translation; worker threads.
#include "framework/HandleMap.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

namespace {
thread_local CWinThread* t_thread;

DWORD WINAPI ThreadEntry(LPVOID param) {
    CWinThread* thread = static_cast<CWinThread*>(param);
    t_thread = thread;
    UINT result = thread->m_pfnThreadProc(thread->m_pThreadParams);
    t_thread = nullptr;
    if (thread->m_bAutoDelete) delete thread;
    return result;
}
}  // namespace

CWinThread::CWinThread() = default;

CWinThread::~CWinThread() {
    // The thread object of a worker owns its handle; the application's thread has none.
    if (m_hThread) ::CloseHandle(m_hThread);
    if (t_thread == this) t_thread = nullptr;
}

CWinThread* AfxGetThread() {
    if (t_thread) return t_thread;
    // The application object belongs to the thread that runs it.
    CWinApp* app = AfxGetApp();
    return app && app->m_nThreadID == ::GetCurrentThreadId() ? app : nullptr;
}

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
                           DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    if (!pfnThreadProc) return nullptr;
    CWinThread* thread = new CWinThread;
    thread->m_pfnThreadProc = pfnThreadProc;
    thread->m_pThreadParams = pParam;
    // Started suspended so that the object is complete before the thread can delete it.
    DWORD id = 0;
    HANDLE handle = ::CreateThread(lpSecurityAttrs, nStackSize, &ThreadEntry, thread, CREATE_SUSPENDED, &id);
    if (!handle) {
        delete thread;
        return nullptr;
    }
    thread->m_hThread = handle;
    thread->m_nThreadID = id;
    ::SetThreadPriority(handle, nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED)) ::ResumeThread(handle);
    return thread;
}

BOOL CWinThread::InitInstance() { return FALSE; }

CWnd* CWinThread::GetMainWnd() { return m_pMainWnd; }

// Idle work runs once the queue is empty after a message that may have changed what the user sees. The queue
// is looked at only then: messages that bring no idle work (the game's frame ticks) cost one GetMessage each.
int CWinThread::Run() {
    BOOL idle = TRUE;
    LONG idleCount = 0;
    for (;;) {
        while (idle && !::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++)) idle = FALSE;
        }
        if (!PumpMessage()) return ExitInstance();
        if (IsIdleMessage(&m_msgCur)) {
            idle = TRUE;
            idleCount = 0;
        }
    }
}

bool fw::GetNextMessage(MSG& msg) {
    for (;;) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got != -1) return got != 0;
    }
}

BOOL CWinThread::PumpMessage() {
    if (!fw::GetNextMessage(m_msgCur)) return FALSE;
    if (!PreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageA(&m_msgCur);
    }
    return TRUE;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) {
    if (!pMsg->hwnd) return FALSE;
    CWnd* main = GetMainWnd();
    return CWnd::WalkPreTranslateTree(main ? main->m_hWnd : nullptr, pMsg);
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg) {
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
        // Only a move to a new place counts.
        bool same = m_nMsgLast == pMsg->message && m_ptCursorLast.x == pMsg->pt.x && m_ptCursorLast.y == pMsg->pt.y;
        m_ptCursorLast = pMsg->pt;
        m_nMsgLast = pMsg->message;
        return !same;
    }
    return pMsg->message != WM_PAINT && pMsg->message != WM_SYSTIMER;
}

BOOL CWinThread::OnIdle(LONG lCount) {
    if (lCount <= 0) {
        // Bars, panes and titles bring their state up to date.
        CWnd* main = GetMainWnd();
        if (main && main->m_hWnd && ::IsWindowVisible(main->m_hWnd)) {
            fw::CallWndProc(main, main->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
            main->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        }
        return TRUE;
    }
    if (lCount == 1) fw::PurgeTemps();
    return FALSE;
}

int CWinThread::ExitInstance() { return (int)m_msgCur.wParam; }

void AfxPostQuitMessage(int nExitCode) { ::PostQuitMessage(nExitCode); }
