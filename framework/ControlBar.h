// CControlBar: a bar docked at an edge of its frame: border and gripper in the non-client area, sizes
// asked through CalcFixedLayout/CalcDynamicLayout, state updated when the thread is idle, and child
// notifications passed on to the frame.
#pragma once

#include "framework/Wnd.h"

class CFrameWnd;

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar();
    ~CControlBar() override;

    DWORD m_dwStyle = 0;      // CBRS_ styles
    DWORD m_dwDockStyle = 0;  // sides it may dock at
    CFrameWnd* m_pDockSite = nullptr;
    int m_cxLeftBorder = 6;
    int m_cxRightBorder = 0;
    int m_cyTopBorder = 1;
    int m_cyBottomBorder = 1;
    int m_nMRUWidth = 32767;

    void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
    void SetBorders(LPCRECT lpRect) { SetBorders(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
    CRect GetBorders() const { return CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder); }
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle);
    void EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY; }
    BOOL IsVisible() const { return m_hWnd && (GetStyle() & WS_VISIBLE) != 0; }
    BOOL IsFloating() const { return FALSE; }  // bars here are always docked
    CFrameWnd* GetDockingFrame() const;

    // Shrinks rect by the borders, the edges and the gripper.
    virtual void CalcInsideRect(CRect& rect, BOOL bHorz) const;
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    virtual CSize CalcDynamicLayout(int nLength, DWORD dwMode);
    // The size the frame gives the bar when docked (dynamic or fixed as the style says).
    CSize CalcLayoutSize(BOOL bHorz);
    // The bar's size around content of the given size: borders, edges and gripper added; with bStretch
    // the full length along its edge.
    CSize SizeAround(CSize content, BOOL bStretch, BOOL bHorz) const;
    // Brings the bar's elements up to date with the target's update handlers.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) = 0;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

protected:
    // Creates the bar's common control (the high word of dwStyle, the low word of dwCtrlStyle). The frame
    // places the bar, so the control must neither move nor size itself.
    BOOL CreateBarControl(LPCSTR lpszClassName, DWORD dwStyle, DWORD dwCtrlStyle, CWnd* pParentWnd, UINT nID);
    void DrawBorders(CDC* pDC, CRect& rect);
    void DrawGripper(CDC* pDC, const CRect& rect);

    DECLARE_MESSAGE_MAP()
};
