// CWertlaufApp: starts the game. Enables the control container (the question pages are web pages), installs
// the file-dialog extension, creates the single-document frame with the game view, shows it and then reads
// its own command line: "Wertlauf.exe [-z] [folder]".
#pragma once

#include "framework/Framework.h"

class CView;

class CWertlaufApp : public CWinApp {
public:
    CWertlaufApp();

    BOOL InitInstance() override;
    // The view's frame timer ticks 33 times a second and changes only the board, never what a command shows:
    // its ticks bring no idle-time update of the toolbar and the status bar. Every other message still does.
    BOOL IsIdleMessage(MSG* pMsg) override;

    // The template's first document, that document's first view, entry n of the recent-file list.
    CDocument* GetFirstDocument() const;
    CView* GetFirstView() const;
    LPCSTR GetRecentFile(int n) const;

protected:
    afx_msg void OnHelpKeys();
    afx_msg void OnAppAbout();
    DECLARE_MESSAGE_MAP()

private:
    void ApplyCommandLine();

    CSingleDocTemplate* m_pDocTemplate = nullptr;
};
