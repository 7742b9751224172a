// A small single-document program for the tests: document, frame with toolbar and status bar, view,
// a resource dialog. Every object logs what happens to it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/Framework.h"
#include "tests/framework/sdi/SdiTestIds.h"

extern std::vector<std::string> g_events;
// Makes the next new document fail (the start then fails).
extern bool g_failNewDocument;
// Runs inside every new document's OnNewDocument, when set.
extern std::function<void()> g_duringNewDocument;
bool Logged(const std::string& event);

class CTestDoc : public CDocument {
    DECLARE_DYNCREATE(CTestDoc)
public:
    ~CTestDoc() override;
    BOOL OnNewDocument() override;
    afx_msg void OnDocCommand();
    afx_msg void OnShared();
    DECLARE_MESSAGE_MAP()
};

class CTestView : public CView {
    DECLARE_DYNCREATE(CTestView)
public:
    ~CTestView() override;
    void OnDraw(CDC*) override {}
    void OnInitialUpdate() override;
    afx_msg void OnViewCommand();
    afx_msg void OnShared();
    afx_msg void OnUpdateViewCommand(CCmdUI* pCmdUI);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};

class CTestFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CTestFrame)
public:
    ~CTestFrame() override;
    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnFrameCommand();
    afx_msg LRESULT OnEnterMenuLoop(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
};

class CTestApp : public CWinApp {
public:
    // Runs once the loop is going; it ends by closing the main window.
    std::function<void(CTestApp&)> script;
    // Tests running side by side keep their profiles apart.
    CString registryKey = "WertlaufTest";
    BOOL InitInstance() override;
    afx_msg void OnAppCommand();
    afx_msg void OnAbout();
    DECLARE_MESSAGE_MAP()
};

// Runs the test program; the exit code of its loop.
int RunTestApp(CTestApp& app, int nCmdShow, std::function<void(CTestApp&)> script);
CTestFrame* MainFrame();
CTestView* MainView();
