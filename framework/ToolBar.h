// CToolBar: a control bar over a toolbar window. It keeps the button and image sizes, creates the
// common-control toolbar by default, and runs the command-update protocol over its buttons.
// Bars over other toolbar window classes derive from it and override what differs.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/ControlBar.h"

class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar();

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_TOOLBAR);
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect rcBorders = CRect(0, 0, 0, 0),
                  UINT nID = AFX_IDW_TOOLBAR);
    // Sets the sizes of buttons and images (TB_SETBUTTONSIZE, TB_SETBITMAPSIZE) and keeps them.
    void SetSizes(SIZE sizeButton, SIZE sizeImage);
    void SetHeight(int cyHeight);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) override;

    CSize m_sizeButton;
    CSize m_sizeImage;
    BOOL m_bDelayedButtonLayout = TRUE;  // the buttons must be laid out again

protected:
    // The command-update protocol over the buttons, with state as the request: each button's update goes to the
    // bar's reflected handler, then to the bar's own handlers, then to the target's routing.
    void UpdateButtons(CCmdUI& state, CFrameWnd* pTarget, BOOL bDisableIfNoHandler);
    // The command of the button at index; FALSE leaves the button out (separators, buttons that cannot be read).
    virtual BOOL ButtonCommand(UINT index, UINT* command);
    // Whether a command no handler of the bar took goes on to the target's routing.
    virtual BOOL RoutesCommand(UINT) const { return TRUE; }
};
