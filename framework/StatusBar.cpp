#include "framework/StatusBar.h"

#include "framework/FrameWnd.h"
#include "framework/Gdi.h"

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
    ON_WM_SIZE()
    ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

namespace {

constexpr int kPanePadding = 8;  // room beside an indicator's text for the pane's edges

// Update requests for the panes: a disabled indicator shows no text.
class StatusCmdUI : public CCmdUI {
public:
    CStatusBar* bar = nullptr;
    void Enable(BOOL bOn) override {
        m_bEnableChanged = TRUE;
        SetStyleBit(SBPS_DISABLED, !bOn);
    }
    void SetCheck(int nCheck) override { SetStyleBit(SBPS_POPOUT, nCheck != 0); }
    void SetText(LPCSTR lpszText) override { bar->SetPaneText((int)m_nIndex, lpszText); }

private:
    void SetStyleBit(UINT bit, bool on) {
        UINT style = bar->GetPaneStyle((int)m_nIndex);
        bar->SetPaneStyle((int)m_nIndex, on ? (style | bit) : (style & ~bit));  // an unchanged style is not re-sent
    }
};

// A DC of the bar with the bar's font selected (the GUI font while the control has none of its own).
class BarFontDC {
public:
    explicit BarFontDC(HWND hWnd) : m_hWnd(hWnd), m_hDC(::GetDC(hWnd)) {
        HFONT font = reinterpret_cast<HFONT>(::SendMessageA(hWnd, WM_GETFONT, 0, 0));
        m_hOld = ::SelectObject(m_hDC, font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
    }
    ~BarFontDC() {
        ::SelectObject(m_hDC, m_hOld);
        ::ReleaseDC(m_hWnd, m_hDC);
    }
    BarFontDC(const BarFontDC&) = delete;
    BarFontDC& operator=(const BarFontDC&) = delete;
    operator HDC() const { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// Indicator texts used when the program's string table has none.
LPCSTR DefaultIndicatorText(UINT id) {
    switch (id) {
    case ID_INDICATOR_CAPS: return "UF";
    case ID_INDICATOR_NUM: return "NUM";
    case ID_INDICATOR_SCRL: return "RF";
    case ID_INDICATOR_OVR: return "ÜB";
    default: return "";
    }
}

}  // namespace

CStatusBar::CStatusBar() {
    m_cxLeftBorder = m_cxRightBorder = 0;
    m_cyTopBorder = 2;
    m_cyBottomBorder = 0;
}

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    m_dwStyle = dwStyle & CBRS_ALL;
    return CreateBarControl(STATUSCLASSNAMEA, dwStyle, 0, pParentWnd, nID);
}

int CStatusBar::TextWidth(LPCSTR text) const {
    BarFontDC dc(m_hWnd);
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    return size.cx;
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
    if (nIDCount < 0 || (nIDCount > 0 && !lpIDArray) || nIDCount > 255) return FALSE;
    m_panes.clear();
    for (int i = 0; i < nIDCount; ++i) {
        Pane pane = {lpIDArray[i], SBPS_NORMAL, 0, CString()};
        if (pane.id == ID_SEPARATOR) {
            pane.style = SBPS_STRETCH | SBPS_NOBORDERS;
        } else {
            if (!pane.text.LoadString(pane.id)) pane.text = DefaultIndicatorText(pane.id);
            pane.cxText = TextWidth(pane.text);
        }
        m_panes.push_back(pane);
    }
    UpdateParts();
    for (int i = 0; i < GetCount(); ++i) ShowPaneText(i);
    return TRUE;
}

void CStatusBar::UpdateParts() {
    if (!m_hWnd || m_panes.empty()) return;
    CRect client;
    GetClientRect(&client);
    int fixed = 0, stretching = 0;
    for (const Pane& p : m_panes) {
        if (p.style & SBPS_STRETCH)
            ++stretching;
        else
            fixed += p.cxText + kPanePadding;
    }
    int spare = client.Width() - fixed;
    if (spare < 0) spare = 0;
    std::vector<int> edges;
    int x = 0;
    for (const Pane& p : m_panes) {
        x += (p.style & SBPS_STRETCH) ? spare / stretching : p.cxText + kPanePadding;
        edges.push_back(x);
    }
    edges.back() = -1;  // the last pane reaches the end
    SendMessage(SB_SETPARTS, edges.size(), (LPARAM)edges.data());
}

void CStatusBar::ShowPaneText(int nIndex) {
    const Pane& p = m_panes[(size_t)nIndex];
    UINT flags = p.style & (SBT_NOBORDERS | SBT_POPOUT | SBT_OWNERDRAW);
    LPCSTR text = (p.style & SBPS_DISABLED) ? "" : (LPCSTR)p.text;
    SendMessage(SB_SETTEXTA, (WPARAM)(nIndex | flags), (LPARAM)text);
}

int CStatusBar::CommandToIndex(UINT nIDFind) const {
    for (size_t i = 0; i < m_panes.size(); ++i)
        if (m_panes[i].id == nIDFind) return (int)i;
    return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[(size_t)nIndex].id : 0;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const {
    ::SetRectEmpty(lpRect);
    SendMessage(SB_GETRECT, (WPARAM)nIndex, (LPARAM)lpRect);
}

CString CStatusBar::GetPaneText(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[(size_t)nIndex].text : CString();
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate) {
    if (nIndex < 0 || nIndex >= GetCount()) return FALSE;
    Pane& p = m_panes[(size_t)nIndex];
    CString text(lpszNewText);
    if (p.text == text) return TRUE;
    p.text = text;
    if (m_hWnd) {
        ShowPaneText(nIndex);
        if (bUpdate) UpdateWindow();
    }
    return TRUE;
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const {
    if (nIndex < 0 || nIndex >= GetCount()) {
        nID = nStyle = 0;
        cxWidth = 0;
        return;
    }
    const Pane& p = m_panes[(size_t)nIndex];
    nID = p.id;
    nStyle = p.style;
    cxWidth = p.cxText;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth) {
    if (nIndex < 0 || nIndex >= GetCount()) return;
    Pane& p = m_panes[(size_t)nIndex];
    p.id = nID;
    p.style = nStyle;
    p.cxText = cxWidth;
    UpdateParts();
    ShowPaneText(nIndex);
}

UINT CStatusBar::GetPaneStyle(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? m_panes[(size_t)nIndex].style : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle) {
    if (nIndex < 0 || nIndex >= GetCount() || m_panes[(size_t)nIndex].style == nStyle) return;
    bool relayout = ((m_panes[(size_t)nIndex].style ^ nStyle) & SBPS_STRETCH) != 0;
    m_panes[(size_t)nIndex].style = nStyle;
    if (relayout) UpdateParts();
    ShowPaneText(nIndex);
}

CSize CStatusBar::CalcFixedLayout(BOOL, BOOL) {
    int textHeight = 13;
    if (m_hWnd) {
        BarFontDC dc(m_hWnd);
        TEXTMETRICA tm = {};
        ::GetTextMetricsA(dc, &tm);
        textHeight = tm.tmHeight;
    }
    // Always the full width: the bar lies along the frame's bottom edge.
    return SizeAround(CSize(0, textHeight + 6), TRUE, TRUE);
}

void CStatusBar::OnSize(UINT, int, int) {
    Default();
    UpdateParts();
}

LRESULT CStatusBar::OnSetText(WPARAM, LPARAM lParam) {
    // The window text is the message pane.
    int pane = CommandToIndex(ID_SEPARATOR);
    SetPaneText(pane < 0 ? 0 : pane, reinterpret_cast<LPCSTR>(lParam));
    return TRUE;
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) {
    StatusCmdUI state;
    state.bar = this;
    state.m_pOther = this;
    state.m_nIndexMax = (UINT)GetCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = m_panes[state.m_nIndex].id;
        if (state.m_nID == ID_SEPARATOR) continue;
        // Indicators without a handler keep their text.
        state.DoUpdate(pTarget, FALSE);
    }
    UpdateDialogControls(pTarget, bDisableIfNoHandler);
}
