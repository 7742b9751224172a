#include "framework/ControlBar.h"

#include <commctrl.h>

#include "framework/FrameWnd.h"
#include "framework/Gdi.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

namespace {
constexpr int kEdge = 2;          // width of a CBRS_BORDER_ edge
constexpr int kGripper = 3;       // the gripper's ridge
constexpr int kGripperSpace = 2;  // space on each side of it
}  // namespace

CControlBar::CControlBar() = default;

CControlBar::~CControlBar() {
    if (m_pDockSite) m_pDockSite->RemoveControlBar(this);
}

void CControlBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom) {
    m_cxLeftBorder = cxLeft;
    m_cyTopBorder = cyTop;
    m_cxRightBorder = cxRight;
    m_cyBottomBorder = cyBottom;
}

void CControlBar::SetBarStyle(DWORD dwStyle) {
    if (m_dwStyle == dwStyle) return;
    m_dwStyle = dwStyle;
    if (m_hWnd) ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

BOOL CControlBar::CreateBarControl(LPCSTR lpszClassName, DWORD dwStyle, DWORD dwCtrlStyle, CWnd* pParentWnd,
                                   UINT nID) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    DWORD windowStyle = (dwStyle & 0xFFFF0000 & ~CBRS_GRIPPER) | (dwCtrlStyle & 0xFFFF) | CCS_NOPARENTALIGN |
                        CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE;
    return CWnd::Create(lpszClassName, nullptr, windowStyle, CRect(0, 0, 0, 0), pParentWnd, nID);
}

CFrameWnd* CControlBar::GetDockingFrame() const { return m_pDockSite ? m_pDockSite : GetParentFrame(); }

void CControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const {
    if (m_dwStyle & CBRS_BORDER_LEFT) rect.left += kEdge;
    if (m_dwStyle & CBRS_BORDER_TOP) rect.top += kEdge;
    if (m_dwStyle & CBRS_BORDER_RIGHT) rect.right -= kEdge;
    if (m_dwStyle & CBRS_BORDER_BOTTOM) rect.bottom -= kEdge;
    rect.left += m_cxLeftBorder;
    rect.top += m_cyTopBorder;
    rect.right -= m_cxRightBorder;
    rect.bottom -= m_cyBottomBorder;
    if (m_dwStyle & CBRS_GRIPPER) {
        if (bHorz)
            rect.left += kGripper + 2 * kGripperSpace;
        else
            rect.top += kGripper + 2 * kGripperSpace;
    }
}

CSize CControlBar::SizeAround(CSize content, BOOL bStretch, BOOL bHorz) const {
    CRect inside;
    CalcInsideRect(inside, bHorz);  // of an empty rectangle: the insets on each side
    CSize size(content.cx + inside.left - inside.right, content.cy + inside.top - inside.bottom);
    if (bStretch) {
        if (bHorz)
            size.cx = 32767;
        else
            size.cy = 32767;
    }
    return size;
}

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    // The base bar has no content: only its borders, stretched along its edge.
    return SizeAround(CSize(0, 0), bStretch, bHorz);
}

CSize CControlBar::CalcDynamicLayout(int, DWORD dwMode) {
    return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
}

CSize CControlBar::CalcLayoutSize(BOOL bHorz) {
    if (m_dwStyle & CBRS_SIZE_DYNAMIC)
        return CalcDynamicLayout(-1, bHorz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK);
    return CalcFixedLayout(TRUE, bHorz);
}

int CControlBar::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    CWnd* parent = FromHandlePermanent(::GetParent(m_hWnd));
    if (parent && parent->IsKindOf(RUNTIME_CLASS(CFrameWnd))) static_cast<CFrameWnd*>(parent)->AddControlBar(this);
    return 0;
}

void CControlBar::OnDestroy() {
    if (m_pDockSite) m_pDockSite->RemoveControlBar(this);
    CWnd::OnDestroy();
}

void CControlBar::OnTimer(UINT_PTR nIDEvent) { CWnd::OnTimer(nIDEvent); }

void CControlBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) {
    // The borders, edges and gripper are the non-client area; the control lays out in the rest.
    CRect inset;
    CalcInsideRect(inset, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
    RECT& r = lpncsp->rgrc[0];
    r.left += inset.left;
    r.top += inset.top;
    r.right += inset.right;
    r.bottom += inset.bottom;
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
}

void CControlBar::OnNcPaint() {
    CWindowDC dc(this);
    CRect window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    ClientToScreen(&client);
    client.OffsetRect(-window.left, -window.top);
    window.OffsetRect(-window.left, -window.top);
    dc.ExcludeClipRect(&client);
    dc.FillSolidRect(&window, ::GetSysColor(COLOR_BTNFACE));
    DrawBorders(&dc, window);
    DrawGripper(&dc, window);
}

void CControlBar::DrawBorders(CDC* pDC, CRect& rect) {
    COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT), dark = ::GetSysColor(COLOR_BTNSHADOW);
    // Each edge is an etched line: shadow outside, highlight inside.
    if (m_dwStyle & CBRS_BORDER_TOP) {
        pDC->FillSolidRect(rect.left, rect.top, rect.Width(), 1, dark);
        pDC->FillSolidRect(rect.left, rect.top + 1, rect.Width(), 1, light);
        rect.top += kEdge;
    }
    if (m_dwStyle & CBRS_BORDER_BOTTOM) {
        pDC->FillSolidRect(rect.left, rect.bottom - 2, rect.Width(), 1, dark);
        pDC->FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, light);
        rect.bottom -= kEdge;
    }
    if (m_dwStyle & CBRS_BORDER_LEFT) {
        pDC->FillSolidRect(rect.left, rect.top, 1, rect.Height(), dark);
        pDC->FillSolidRect(rect.left + 1, rect.top, 1, rect.Height(), light);
        rect.left += kEdge;
    }
    if (m_dwStyle & CBRS_BORDER_RIGHT) {
        pDC->FillSolidRect(rect.right - 2, rect.top, 1, rect.Height(), dark);
        pDC->FillSolidRect(rect.right - 1, rect.top, 1, rect.Height(), light);
        rect.right -= kEdge;
    }
}

void CControlBar::DrawGripper(CDC* pDC, const CRect& rect) {
    if (!(m_dwStyle & CBRS_GRIPPER)) return;
    COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT), dark = ::GetSysColor(COLOR_BTNSHADOW);
    if (m_dwStyle & CBRS_ORIENT_HORZ) {
        CRect ridge(rect.left + m_cxLeftBorder + kGripperSpace, rect.top + m_cyTopBorder,
                    rect.left + m_cxLeftBorder + kGripperSpace + kGripper, rect.bottom - m_cyBottomBorder);
        pDC->Draw3dRect(&ridge, light, dark);
    } else {
        CRect ridge(rect.left + m_cxLeftBorder, rect.top + m_cyTopBorder + kGripperSpace,
                    rect.right - m_cxRightBorder, rect.top + m_cyTopBorder + kGripperSpace + kGripper);
        pDC->Draw3dRect(&ridge, light, dark);
    }
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM) {
    if (!IsVisible()) return 0;
    CFrameWnd* target = GetDockingFrame();
    if (target) OnUpdateCmdUI(target, (BOOL)wParam);
    return 0;
}

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM: {
        // Notifications of the bar's children that the bar does not take go on to its frame.
        LRESULT result = 0;
        if (OnWndMsg(message, wParam, lParam, &result)) return result;
        CWnd* owner = GetDockingFrame();
        if (owner && owner->m_hWnd) return owner->SendMessage(message, wParam, lParam);
        return DefWindowProc(message, wParam, lParam);
    }
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}
