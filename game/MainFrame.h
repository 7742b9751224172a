// CMainFrame: the game's top-level window. It carries the menu (owner-drawn, with the toolbar's pictures), the
// toolbar, the status bar and the game view; remembers its placement per user and monitor; switches to a
// borderless full screen for the show; can stay on top; and answers other programs (a registered "are you
// there" message, a WM_COPYDATA protocol and a private message).
#pragma once

#include "framework/Framework.h"
#include "game/GameState.h"
#include "game/MenuImages.h"
#include "ui/toolbar/ToolBarNew.h"

// Messages other programs and windows send the frame.
constexpr UINT kMsgFramePrivate = 0x27F5;     // wParam a FramePrivateRequest
constexpr UINT kMsgSetStatusText = 0x2C3F;    // wParam pane, lParam text (same thread only)
constexpr LRESULT kProbeAnswer = 0x12345678;

// What kMsgFramePrivate asks: close the program; send the document path to the window in lParam (WM_COPYDATA
// kCopyDataText); answer the text last received by WM_COPYDATA.
enum FramePrivateRequest : WPARAM { kFrameClose = 0, kFrameSendPath = 2, kFrameReceivedText = 4 };

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();
    ~CMainFrame() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    const CString& GetReceivedText() const { return m_strReceivedText; }
    int GetFullScreenState() const { return m_nFullScreen; }

    // Owner-drawn menus.
    BOOL InitMenuImages(const UINT* toolbarIds, int count);
    int GetItemImage(UINT commandId) const;
    BOOL SetItemImage(UINT commandId, int index);
    int AddMenuIcon(UINT commandId, HICON icon);
    int AddMenuBitmap(UINT commandId, CBitmap* bitmap, COLORREF maskColour);
    BOOL RemoveMenuPopup(UINT commandId);
    BOOL InsertMenuPopup(UINT commandId, CMenu* popup, LPCSTR title, int position);

    // The registered "Wertlauf" message (the same number in every process).
    static UINT ProbeMessage();

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnViewFullScreen();
    afx_msg void OnViewFlatToolbar();
    afx_msg void OnUpdateViewFlatToolbar(CCmdUI* pCmdUI);
    afx_msg void OnViewOnTop();
    afx_msg void OnUpdateViewOnTop(CCmdUI* pCmdUI);
    afx_msg LRESULT OnProbe(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct);
    afx_msg LRESULT OnFramePrivate(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetStatusText(WPARAM wParam, LPARAM lParam);
    afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg LRESULT OnFreeMenuItem(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMenuImagesProbe(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void EnterFullScreen();
    void LeaveFullScreen();
    void TellViewFullScreen(int state);
    CString ActiveDocumentPath() const;
    // Messages that carry pointers are followed only when this window's own thread sent them.
    bool SentByOwnThread(UINT message, WPARAM wParam, LPARAM lParam) const;

    BOOL m_bToolBarVisible = FALSE;    // at creation; in full screen: visible before
    BOOL m_bStatusBarVisible = FALSE;
    CString m_strReceivedText;
    BOOL m_bShowGamerBar = FALSE;
    BOOL m_bOnTop = FALSE;
    CStatusBar m_wndStatusBar;
    CToolBarNew m_wndToolBar;
    BOOL m_bFlatMode = TRUE;
    int m_nFullScreen = game::kFullScreenOff;  // a game::FullScreenState
    MenuImages m_menuImages;
};
