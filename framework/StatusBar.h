// CStatusBar: the status-bar control as a control bar: panes from indicator ids, the message pane
// first, indicators updated when the thread is idle.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "framework/ControlBar.h"

class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    CStatusBar();

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
    // One pane per id: ID_SEPARATOR is a stretching pane without text of its own, any other id gets the
    // width of its string resource (the indicator text).
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    CString GetPaneText(int nIndex) const;
    void GetPaneText(int nIndex, CString& rString) const { rString = GetPaneText(nIndex); }
    BOOL SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate = TRUE);
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);
    int GetCount() const { return (int)m_panes.size(); }

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) override;

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);

protected:
    struct Pane {
        UINT id;
        UINT style;
        int cxText;
        CString text;
    };
    std::vector<Pane> m_panes;
    void UpdateParts();
    void ShowPaneText(int nIndex);
    int TextWidth(LPCSTR text) const;

    DECLARE_MESSAGE_MAP()
};
