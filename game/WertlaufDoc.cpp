// The game's document.
#include "game/WertlaufDoc.h"

IMPLEMENT_DYNCREATE(CWertlaufDoc, CDocument)

BEGIN_MESSAGE_MAP(CWertlaufDoc, CDocument)
END_MESSAGE_MAP()

namespace {

bool HasView(const CDocument* document) { return document->GetFirstViewPosition() != nullptr; }

}  // namespace

BOOL CWertlaufDoc::OnNewDocument() {
    if (!CDocument::OnNewDocument()) return FALSE;
    // The window shows "Das Spiel" and the name enters the recent-file list.
    if (HasView(this)) SetPathName("Das Spiel", TRUE);
    return TRUE;
}

BOOL CWertlaufDoc::OnOpenDocument(LPCSTR) { return HasView(this); }

BOOL CWertlaufDoc::OnSaveDocument(LPCSTR) { return FALSE; }
