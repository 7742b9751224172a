// CWertlaufDoc: the document of the single-document game. It holds no data (the game lives in the view and
// the registry) and is never reported modified, so closing never asks to save.
#pragma once

#include "framework/Framework.h"

class CWertlaufDoc : public CDocument {
    DECLARE_DYNCREATE(CWertlaufDoc)
public:
    CWertlaufDoc() = default;

    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(LPCSTR lpszPathName) override;
    BOOL OnSaveDocument(LPCSTR lpszPathName) override;
    void SetModifiedFlag(BOOL bModified = TRUE) override { m_bModifiedFlag = bModified; }
    BOOL IsModified() override { return FALSE; }

protected:
    DECLARE_MESSAGE_MAP()

private:
    BOOL m_bModifiedFlag = FALSE;
};
