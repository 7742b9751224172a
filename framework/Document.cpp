#include "framework/Document.h"

#include <commdlg.h>

#include <algorithm>
#include <cstring>

#include "framework/DocTemplate.h"
#include "framework/FrameWnd.h"
#include "framework/View.h"
#include "framework/WinApp.h"

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
END_MESSAGE_MAP()

CDocument::CDocument() = default;

CDocument::~CDocument() {
    // Views that still point here forget the document.
    for (CView* view : m_views) view->m_pDocument = nullptr;
    if (m_pDocTemplate) m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCSTR lpszTitle) {
    m_strTitle = lpszTitle;
    UpdateFrameCounts();
}

CString fw::PlainFileTitle(LPCSTR path) {
    if (!path || !*path || std::strpbrk(path, "*[]/")) return CString();
    LPCSTR name = path;  // behind the last '\\' or ':'
    for (LPCSTR p = path; *p; p = ::CharNextA(p))
        if (*p == '\\' || *p == ':') name = p + 1;
    if (!*name || std::strchr(name, '.') || std::strlen(name) >= MAX_PATH) return CString();
    return name;
}

void CDocument::SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU) {
    m_strPathName = fw::FullPath(lpszPathName);
    // Asking the system loads the common dialogs (and the printing system behind them): a plain name, such as a
    // new document's, needs no such load.
    CString title = fw::PlainFileTitle(m_strPathName);
    if (title.IsEmpty()) {
        char system[MAX_PATH] = {};
        if (::GetFileTitleA(m_strPathName, system, MAX_PATH) != 0 || !system[0]) {
            int slash = m_strPathName.ReverseFind('\\');
            lstrcpynA(system, m_strPathName.Mid(slash + 1), MAX_PATH);
        }
        title = system;
    }
    SetTitle(title);
    if (bAddToMRU && AfxGetApp()) AfxGetApp()->AddToRecentFileList(m_strPathName);
}

void CDocument::AddView(CView* pView) {
    if (std::find(m_views.begin(), m_views.end(), pView) != m_views.end()) return;
    m_views.push_back(pView);
    pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView) {
    auto it = std::find(m_views.begin(), m_views.end(), pView);
    if (it != m_views.end()) {
        m_views.erase(it);
        pView->m_pDocument = nullptr;
    }
    // A document whose last view has gone closes itself.
    if (m_views.empty() && m_bAutoDelete) OnCloseDocument();
}

POSITION CDocument::GetFirstViewPosition() const { return fw::FirstPosition(m_views); }

CView* CDocument::GetNextView(POSITION& rPosition) const { return fw::NextAt(m_views, rPosition); }

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
    std::vector<CView*> views = m_views;
    for (CView* v : views)
        if (v != pSender) v->OnUpdate(pSender, lHint, pHint);
}

void CDocument::DeleteContents() {}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCSTR) {
    // Documents read their files themselves; the base only starts empty.
    DeleteContents();
    SetModifiedFlag(FALSE);
    return TRUE;
}

// There is no generic way to write a document; the base saves nothing and says so.
BOOL CDocument::OnSaveDocument(LPCSTR) { return FALSE; }

void CDocument::OnCloseDocument() {
    // Closing the frames must not delete the document on the way.
    BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_views.empty()) {
        CView* view = m_views.front();
        size_t before = m_views.size();
        CFrameWnd* frame = view->GetParentFrame();
        if (frame) {
            PreCloseFrame(frame);
            frame->DestroyWindow();
        } else {
            view->DestroyWindow();
        }
        if (m_views.size() == before && !m_views.empty() && m_views.front() == view) RemoveView(view);
    }
    m_bAutoDelete = autoDelete;
    DeleteContents();
    if (m_bAutoDelete) delete this;
}

BOOL CDocument::SaveModified() {
    if (!IsModified()) return TRUE;
    CString prompt;
    prompt.Format("Änderungen in %s speichern?", m_strPathName.IsEmpty() ? (LPCSTR)m_strTitle : (LPCSTR)m_strPathName);
    switch (AfxMessageBox(prompt, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        if (!OnSaveDocument(m_strPathName)) return FALSE;
        SetModifiedFlag(FALSE);
        return TRUE;
    case IDNO:
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrame) {
    // Only the last frame of the document asks about saving.
    for (CView* v : m_views) {
        CFrameWnd* other = v->GetParentFrame();
        if (other && other != pFrame) return TRUE;
    }
    return SaveModified();
}

void CDocument::PreCloseFrame(CFrameWnd*) {}

void CDocument::UpdateFrameCounts() {
    std::vector<CFrameWnd*> frames;
    for (CView* v : m_views) {
        CFrameWnd* frame = v->GetParentFrame();
        if (frame && std::find(frames.begin(), frames.end(), frame) == frames.end()) frames.push_back(frame);
    }
    for (CFrameWnd* f : frames) f->OnUpdateFrameTitle(TRUE);
}
