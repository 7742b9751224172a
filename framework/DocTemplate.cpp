#include "framework/DocTemplate.h"

#include "framework/Document.h"
#include "framework/FrameWnd.h"
#include "framework/View.h"
#include "framework/WinApp.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass) {
    m_strDocStrings.LoadString(nIDResource);
}

CDocTemplate::~CDocTemplate() = default;

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const {
    rString.Empty();
    int start = 0;
    for (int i = 0; i < (int)index; ++i) {
        int nl = m_strDocStrings.Find('\n', start);
        if (nl < 0) return FALSE;
        start = nl + 1;
    }
    int end = m_strDocStrings.Find('\n', start);
    rString = end < 0 ? m_strDocStrings.Mid(start) : m_strDocStrings.Mid(start, end - start);
    return !rString.IsEmpty();
}

void CDocTemplate::AddDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = this; }

void CDocTemplate::RemoveDocument(CDocument* pDoc) {
    if (pDoc->m_pDocTemplate == this) pDoc->m_pDocTemplate = nullptr;
}

CDocument* CDocTemplate::CreateNewDocument() {
    CDocument* doc = static_cast<CDocument*>(fw::CreateObjectOf(m_pDocClass, RUNTIME_CLASS(CDocument)));
    if (!doc) return nullptr;
    AddDocument(doc);
    return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    CFrameWnd* frame = static_cast<CFrameWnd*>(fw::CreateObjectOf(m_pFrameClass, RUNTIME_CLASS(CFrameWnd)));
    if (!frame) return nullptr;
    // A frame that fails to load has deleted itself already.
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) return nullptr;
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible) {
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

BOOL CDocTemplate::SaveAllModified() {
    for (POSITION pos = GetFirstDocPosition(); pos;) {
        CDocument* doc = GetNextDoc(pos);
        if (doc && !doc->SaveModified()) return FALSE;
    }
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL) {
    while (POSITION pos = GetFirstDocPosition()) {
        CDocument* doc = GetNextDoc(pos);
        if (!doc) break;
        doc->OnCloseDocument();
    }
}

// ---- CSingleDocTemplate ----

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                       CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {}

CSingleDocTemplate::~CSingleDocTemplate() {
    if (m_pOnlyDoc) m_pOnlyDoc->m_pDocTemplate = nullptr;
}

POSITION CSingleDocTemplate::GetFirstDocPosition() const {
    return m_pOnlyDoc ? reinterpret_cast<POSITION>(1) : nullptr;
}

CDocument* CSingleDocTemplate::GetNextDoc(POSITION& rPos) const {
    CDocument* doc = rPos ? m_pOnlyDoc : nullptr;
    rPos = nullptr;
    return doc;
}

void CSingleDocTemplate::AddDocument(CDocument* pDoc) {
    CDocTemplate::AddDocument(pDoc);
    m_pOnlyDoc = pDoc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc) {
    CDocTemplate::RemoveDocument(pDoc);
    if (m_pOnlyDoc == pDoc) m_pOnlyDoc = nullptr;
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* pDocument) {
    CString title;
    if (!GetDocString(title, docName) || title.IsEmpty()) title = "Unbenannt";
    pDocument->SetTitle(title);
}

// A window gets sent messages while its thread waits in a call, also while the frame is being made or torn
// down (another program's request to open a file, a command). An open that came in so is refused: within an
// open it would run inside it and be undone by it, and on a frame being torn down it would show it again.
CDocument* CSingleDocTemplate::OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible) {
    bool refused = m_bOpening;
    CDocument* doc = refused ? nullptr : OpenOnce(lpszPathName, bMakeVisible, refused);
    m_bOpenRefused = refused;  // noted last, over any open refused inside this one
    return doc;
}

CDocument* CSingleDocTemplate::OpenOnce(LPCSTR lpszPathName, BOOL bMakeVisible, bool& refused) {
    struct Opening {
        bool& flag;
        explicit Opening(bool& f) : flag(f) { flag = true; }
        ~Opening() { flag = false; }
    } opening(m_bOpening);
    CDocument* doc = nullptr;
    CFrameWnd* frame = nullptr;
    bool newDoc = false, newFrame = false;
    if (m_pOnlyDoc) {
        doc = m_pOnlyDoc;
        POSITION pos = doc->GetFirstViewPosition();
        CView* view = pos ? doc->GetNextView(pos) : nullptr;
        frame = view ? view->GetParentFrame() : nullptr;
        if ((frame && frame->IsBeingDestroyed()) || !doc->SaveModified()) {
            refused = true;
            return nullptr;
        }
    } else {
        doc = CreateNewDocument();
        if (!doc) return nullptr;
        newDoc = true;
    }
    if (!frame) {
        // The frame's view attaches to the document; until it does, the document must not vanish.
        BOOL autoDelete = doc->m_bAutoDelete;
        doc->m_bAutoDelete = FALSE;
        frame = CreateNewFrame(doc, nullptr);
        doc->m_bAutoDelete = autoDelete;
        if (!frame) {
            if (newDoc) delete doc;
            return nullptr;
        }
        newFrame = true;
    }

    if (!lpszPathName) {
        SetDefaultTitle(doc);
        if (!doc->OnNewDocument()) {
            if (newFrame) frame->DestroyWindow();  // takes the document with it
            return nullptr;
        }
    } else {
        if (!doc->OnOpenDocument(lpszPathName)) {
            if (newFrame) frame->DestroyWindow();
            return nullptr;
        }
        doc->SetPathName(lpszPathName);
    }

    CWinThread* thread = AfxGetThread();
    if (newFrame && thread && !thread->m_pMainWnd) thread->m_pMainWnd = frame;
    InitialUpdateFrame(frame, doc, bMakeVisible);
    return doc;
}
