// CDocument: the data behind the views; it goes when its last view goes (or when it is closed).
#pragma once

#include <vector>

#include "framework/CString.h"
#include "framework/CmdTarget.h"

class CView;
class CFrameWnd;
class CDocTemplate;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    ~CDocument() override;

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    // Keeps the full path, takes the title from the file name, and adds the path to the recent files.
    virtual void SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU = TRUE);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    virtual BOOL IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

    void AddView(CView* pView);
    void RemoveView(CView* pView);
    POSITION GetFirstViewPosition() const;
    CView* GetNextView(POSITION& rPosition) const;
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0L, CObject* pHint = nullptr);

    virtual void DeleteContents();
    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(LPCSTR lpszPathName);
    virtual BOOL OnSaveDocument(LPCSTR lpszPathName);
    // Destroys the frames of the views, then the document itself (when auto-deleting).
    virtual void OnCloseDocument();
    // Asks whether to save a modified document; FALSE = the user cancelled.
    virtual BOOL SaveModified();
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
    virtual void PreCloseFrame(CFrameWnd* pFrame);
    // Refreshes the titles of the frames showing the document.
    void UpdateFrameCounts();

    BOOL m_bAutoDelete = TRUE;
    CDocTemplate* m_pDocTemplate = nullptr;

protected:
    CString m_strTitle;
    CString m_strPathName;
    BOOL m_bModified = FALSE;
    std::vector<CView*> m_views;

    DECLARE_MESSAGE_MAP()
};

namespace fw {
// The title the system's GetFileTitleA gives a path whose last part is a plain name (no extension to show or
// hide, no character the system refuses), found without loading the common dialogs; empty for any other path,
// whose title the system must give.
CString PlainFileTitle(LPCSTR path);
}  // namespace fw
