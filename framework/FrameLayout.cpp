// The frame's control bars and its layout: bars along the edges in the order they were docked, the
// view in the rest; showing, hiding and the built-in bar toggles.
#include <algorithm>

#include "framework/ControlBar.h"
#include "framework/FrameWnd.h"

void CFrameWnd::AddControlBar(CControlBar* pBar) {
    if (std::find(m_listControlBars.begin(), m_listControlBars.end(), pBar) == m_listControlBars.end())
        m_listControlBars.push_back(pBar);
    pBar->m_pDockSite = this;
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar) {
    auto it = std::find(m_listControlBars.begin(), m_listControlBars.end(), pBar);
    if (it != m_listControlBars.end()) m_listControlBars.erase(it);
    if (pBar->m_pDockSite == this) pBar->m_pDockSite = nullptr;
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) {
    for (CControlBar* bar : m_listControlBars)
        if (bar->m_hWnd && (UINT)::GetDlgCtrlID(bar->m_hWnd) == nID) return bar;
    return nullptr;
}

void CFrameWnd::EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY; }

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT) {
    if (!pBar) return;
    DWORD side = 0;
    switch (nDockBarID) {
    case AFX_IDW_DOCKBAR_TOP: side = CBRS_ALIGN_TOP; break;
    case AFX_IDW_DOCKBAR_BOTTOM: side = CBRS_ALIGN_BOTTOM; break;
    case AFX_IDW_DOCKBAR_LEFT: side = CBRS_ALIGN_LEFT; break;
    case AFX_IDW_DOCKBAR_RIGHT: side = CBRS_ALIGN_RIGHT; break;
    default: {
        // Keep the bar's side when it may dock there, else the first side that both allow.
        DWORD allowed = (m_dwDockStyle ? m_dwDockStyle : CBRS_ALIGN_ANY) &
                        (pBar->m_dwDockStyle ? pBar->m_dwDockStyle : CBRS_ALIGN_ANY);
        DWORD current = pBar->m_dwStyle & CBRS_ALIGN_ANY & allowed;
        for (DWORD s : {CBRS_ALIGN_TOP, CBRS_ALIGN_BOTTOM, CBRS_ALIGN_LEFT, CBRS_ALIGN_RIGHT}) {
            if ((current ? current : allowed) & s) {
                side = s;
                break;
            }
        }
    }
    }
    if (!side) return;
    pBar->m_dwStyle = (pBar->m_dwStyle & ~CBRS_ALIGN_ANY) | side;
    AddControlBar(pBar);
    DelayRecalcLayout();
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay) {
    if (!pBar || !pBar->m_hWnd) return;
    ::SetWindowPos(pBar->m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    if (bDelay)
        DelayRecalcLayout();
    else
        RecalcLayout();
}

BOOL CFrameWnd::OnBarCheck(UINT nID) {
    CControlBar* bar = GetControlBar(nID);
    if (!bar) return FALSE;
    ShowControlBar(bar, !bar->IsVisible(), FALSE);
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI) {
    CControlBar* bar = GetControlBar(pCmdUI->m_nID);
    if (!bar) {
        pCmdUI->ContinueRouting();
        return;
    }
    pCmdUI->SetCheck(bar->IsVisible());
}

void CFrameWnd::DelayRecalcLayout(BOOL bNotify) { m_nIdleFlags |= idleLayout | (bNotify ? idleNotify : 0); }

void CFrameWnd::OnSize(UINT nType, int cx, int cy) {
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED) RecalcLayout();
}

void CFrameWnd::RecalcLayout(BOOL) {
    if (!m_hWnd || m_inRecalcLayout) return;
    m_inRecalcLayout = true;
    CRect rest;
    GetClientRect(&rest);
    for (CControlBar* bar : m_listControlBars) {
        if (!bar->m_hWnd || !bar->IsVisible()) continue;
        DWORD side = bar->m_dwStyle & CBRS_ALIGN_ANY;
        bool horz = (side & CBRS_ORIENT_HORZ) != 0 || side == 0;
        CSize size = bar->CalcLayoutSize(horz);
        CRect place = rest;
        if (side & CBRS_ALIGN_BOTTOM) {
            place.top = place.bottom - size.cy;
            rest.bottom = place.top;
        } else if (side & CBRS_ALIGN_LEFT) {
            place.right = place.left + size.cx;
            rest.left = place.right;
        } else if (side & CBRS_ALIGN_RIGHT) {
            place.left = place.right - size.cx;
            rest.right = place.left;
        } else {
            place.bottom = place.top + size.cy;
            rest.top = place.bottom;
        }
        if (rest.bottom < rest.top) rest.bottom = rest.top;
        if (rest.right < rest.left) rest.right = rest.left;
        ::SetWindowPos(bar->m_hWnd, nullptr, place.left, place.top, place.Width(), place.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (HWND pane = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST))
        ::SetWindowPos(pane, nullptr, rest.left, rest.top, rest.Width(), rest.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    m_inRecalcLayout = false;
}
