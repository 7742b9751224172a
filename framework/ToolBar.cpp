#include "framework/ToolBar.h"

#include "framework/FrameWnd.h"

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

namespace {

// Update requests for the buttons of a common-control toolbar.
class ToolCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        m_bEnableChanged = TRUE;
        m_pOther->SendMessage(TB_ENABLEBUTTON, m_nID, MAKELPARAM(bOn ? TRUE : FALSE, 0));
    }
    void SetCheck(int nCheck) override {
        m_pOther->SendMessage(TB_CHECKBUTTON, m_nID, MAKELPARAM(nCheck == 1, 0));
        m_pOther->SendMessage(TB_INDETERMINATE, m_nID, MAKELPARAM(nCheck == 2, 0));
    }
    void SetText(LPCSTR) override {}
};

}  // namespace

CToolBar::CToolBar() : m_sizeButton(23, 22), m_sizeImage(16, 15) {
    m_cxLeftBorder = m_cxRightBorder = 1;
    m_cyTopBorder = m_cyBottomBorder = 2;
}

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    return CreateEx(pParentWnd, 0, dwStyle, GetBorders(), nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID) {
    SetBorders(&rcBorders);
    m_dwStyle = dwStyle & CBRS_ALL;
    if (nID == AFX_IDW_TOOLBAR) m_dwStyle |= CBRS_HIDE_INPLACE;
    if (!CreateBarControl(TOOLBARCLASSNAMEA, dwStyle, dwCtrlStyle, pParentWnd, nID)) return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    SetSizes(m_sizeButton, m_sizeImage);
    return TRUE;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage) {
    m_sizeButton = sizeButton;
    m_sizeImage = sizeImage;
    if (!m_hWnd) return;
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(sizeImage.cx, sizeImage.cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(sizeButton.cx, sizeButton.cy));
    m_bDelayedButtonLayout = TRUE;
    Invalidate();
}

void CToolBar::SetHeight(int cyHeight) {
    int border = m_cyTopBorder + m_cyBottomBorder;
    int height = cyHeight - border;
    if (height > m_sizeButton.cy) SetBorders(m_cxLeftBorder, m_cyTopBorder + (height - m_sizeButton.cy) / 2,
                                             m_cxRightBorder, m_cyBottomBorder + (height - m_sizeButton.cy + 1) / 2);
}

CSize CToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    SIZE content = {0, 0};
    if (m_hWnd) SendMessage(TB_GETMAXSIZE, 0, (LPARAM)&content);
    if (content.cy < m_sizeButton.cy) content.cy = m_sizeButton.cy;
    return SizeAround(content, bStretch, bHorz);
}

CSize CToolBar::CalcDynamicLayout(int, DWORD dwMode) {
    return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & (LM_HORZ | LM_HORZDOCK)) != 0);
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) {
    ToolCmdUI state;
    UpdateButtons(state, pTarget, bDisableIfNoHandler);
}

BOOL CToolBar::ButtonCommand(UINT index, UINT* command) {
    TBBUTTON button = {};
    if (!SendMessage(TB_GETBUTTON, index, (LPARAM)&button) || (button.fsStyle & TBSTYLE_SEP)) return FALSE;
    *command = (UINT)button.idCommand;
    return TRUE;
}

void CToolBar::UpdateButtons(CCmdUI& state, CFrameWnd* pTarget, BOOL bDisableIfNoHandler) {
    state.m_pOther = this;
    state.m_nIndexMax = (UINT)SendMessage(TB_BUTTONCOUNT);
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        if (!ButtonCommand(state.m_nIndex, &state.m_nID)) continue;
        if (CWnd::OnCmdMsg(0, (int)MAKELONG(0xFFFF, WM_REFLECT_BASE + WM_COMMAND), &state, nullptr)) continue;
        if (CWnd::OnCmdMsg(state.m_nID, (int)CN_UPDATE_COMMAND_UI, &state, nullptr)) continue;
        if (RoutesCommand(state.m_nID)) state.DoUpdate(pTarget, bDisableIfNoHandler);
    }
    UpdateDialogControls(pTarget, bDisableIfNoHandler);
}
