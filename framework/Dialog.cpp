#include "framework/Dialog.h"

#include "framework/HandleMap.h"
#include "framework/WinApp.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog() = default;

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)), m_pParentWnd(pParentWnd) {}

CDialog::CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd) {}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void*) {
    m_lpDialogTemplate = lpDialogTemplate;
    m_hDialogTemplate = nullptr;
    m_lpszTemplateName = nullptr;
    m_pParentWnd = pParentWnd;
    return lpDialogTemplate != nullptr;
}

BOOL CDialog::InitModalIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd) {
    m_hDialogTemplate = hDialogTemplate;
    m_lpDialogTemplate = nullptr;
    m_lpszTemplateName = nullptr;
    m_pParentWnd = pParentWnd;
    return hDialogTemplate != nullptr;
}

LPCDLGTEMPLATE CDialog::LoadTemplate(HGLOBAL* loaded) const {
    *loaded = nullptr;
    if (m_lpDialogTemplate) return m_lpDialogTemplate;
    if (m_hDialogTemplate) return static_cast<LPCDLGTEMPLATE>(::LockResource(m_hDialogTemplate));
    if (!m_lpszTemplateName) return nullptr;
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC res = ::FindResourceA(module, m_lpszTemplateName, MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    if (!res) return nullptr;
    *loaded = ::LoadResource(module, res);
    return *loaded ? static_cast<LPCDLGTEMPLATE>(::LockResource(*loaded)) : nullptr;
}

BOOL CDialog::CreateFromTemplate(LPCDLGTEMPLATE lpTemplate, HWND hWndParent) {
    if (!lpTemplate || m_hWnd) return FALSE;
    // The dialog window gets this object before its first message, like any other window.
    fw::BeginCreating(this, hWndParent, 0);
    HWND hWnd = ::CreateDialogIndirectParamA(AfxGetInstanceHandle(), lpTemplate, hWndParent, &AfxDlgProc, 0);
    fw::EndCreating();
    return hWnd != nullptr;
}

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM) {
    // Everything else reaches the object through its window procedure already.
    if (message != WM_INITDIALOG) return FALSE;
    CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
    if (!wnd || !wnd->IsKindOf(RUNTIME_CLASS(CDialog))) return TRUE;
    return static_cast<CDialog*>(wnd)->OnInitDialog();
}

INT_PTR CDialog::DoModal() {
    HGLOBAL loaded = nullptr;
    LPCDLGTEMPLATE tmpl = LoadTemplate(&loaded);
    if (!tmpl) return -1;

    // The owner is the top-level window of the parent (or of the main window); it is disabled meanwhile.
    CWnd* parent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    HWND owner = fw::TopLevelOf(parent ? parent->m_hWnd : nullptr);
    if (owner) owner = ::GetLastActivePopup(owner);
    bool ownerEnabled = owner && ::IsWindowEnabled(owner);
    if (ownerEnabled) ::EnableWindow(owner, FALSE);

    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    if (CreateFromTemplate(tmpl, owner)) {
        if (m_nFlags & WF_CONTINUEMODAL) RunModalLoop();
        if (m_hWnd)
            ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    m_nFlags &= ~WF_CONTINUEMODAL;
    // The owner comes back before the dialog goes, so that the activation returns to it.
    if (ownerEnabled) ::EnableWindow(owner, TRUE);
    if (owner && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(owner);
    DestroyWindow();
    return m_nModalResult;
}

int CDialog::RunModalLoop() {
    bool showPending = !(GetStyle() & WS_VISIBLE);
    bool idle = true;
    LONG idleCount = 0;
    MSG msg;
    m_nFlags |= WF_MODALLOOP;
    CWinThread* thread = AfxGetThread();
    // A dialog whose window is destroyed without EndDialog ends the loop too; its owner would
    // otherwise stay disabled for good.
    while (ContinueModal() && m_hWnd) {
        while (idle && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (showPending) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                showPending = false;
            }
            HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
            if (owner && idleCount == 0) ::SendMessageA(owner, WM_ENTERIDLE, MSGF_DIALOGBOX, (LPARAM)m_hWnd);
            if (!::SendMessageA(m_hWnd, WM_KICKIDLE, MSGF_DIALOGBOX, idleCount++)) idle = false;
        }
        if (!fw::GetNextMessage(msg)) {
            // WM_QUIT ends the dialog and goes on to the outer loop.
            ::PostQuitMessage((int)msg.wParam);
            m_nModalResult = -1;
            break;
        }
        BOOL done = thread ? thread->PreTranslateMessage(&msg) : CWnd::WalkPreTranslateTree(nullptr, &msg);
        if (!done) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (msg.message != WM_PAINT && msg.message != WM_SYSTIMER) {
            idle = true;
            idleCount = 0;
        }
        if (showPending && ContinueModal() && msg.message == WM_SYSTIMER) {
            ShowWindow(SW_SHOWNORMAL);
            showPending = false;
        }
    }
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    return m_nModalResult;
}

void CDialog::EndModalLoop(int nResult) {
    m_nModalResult = nResult;
    if (m_nFlags & WF_CONTINUEMODAL) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);  // wakes the loop
    }
}

void CDialog::EndDialog(int nResult) {
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
        EndModalLoop(nResult);
    else if (m_hWnd)
        ::EndDialog(m_hWnd, nResult);  // modeless
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) { return Create(MAKEINTRESOURCEA(nIDTemplate), pParentWnd); }

BOOL CDialog::Create(LPCSTR lpszTemplateName, CWnd* pParentWnd) {
    m_lpszTemplateName = lpszTemplateName;
    m_lpDialogTemplate = nullptr;
    m_hDialogTemplate = nullptr;
    m_pParentWnd = pParentWnd;
    HGLOBAL loaded = nullptr;
    CWnd* parent = pParentWnd ? pParentWnd : AfxGetMainWnd();
    return CreateFromTemplate(LoadTemplate(&loaded), parent ? parent->m_hWnd : nullptr);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd) {
    m_pParentWnd = pParentWnd;
    CWnd* parent = pParentWnd ? pParentWnd : AfxGetMainWnd();
    return CreateFromTemplate(lpDialogTemplate, parent ? parent->m_hWnd : nullptr);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    // Keyboard navigation (Tab, Enter, Esc, mnemonics) of the dialog.
    bool keyOrMouse = (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) ||
                      (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST);
    return keyOrMouse && m_hWnd && ::IsDialogMessageA(m_hWnd, pMsg);
}
