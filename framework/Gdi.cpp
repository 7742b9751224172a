#include "framework/Gdi.h"

#include "framework/HandleMap.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNCREATE(CPen, CGdiObject)
IMPLEMENT_DYNCREATE(CBrush, CGdiObject)
IMPLEMENT_DYNCREATE(CFont, CGdiObject)
IMPLEMENT_DYNCREATE(CBitmap, CGdiObject)
IMPLEMENT_DYNCREATE(CRgn, CGdiObject)
IMPLEMENT_DYNCREATE(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

namespace {

BOOL GdiAlive(void* handle) { return ::GetObjectType(static_cast<HGDIOBJ>(handle)) != 0; }
const fw::TempKind kTempGdi = {&GdiAlive, &fw::ReleaseTemp<CGdiObject, HGDIOBJ, &CGdiObject::m_hObject>};
const fw::TempKind kTempDC = {&GdiAlive, &fw::ReleaseTemp<CDC, HDC, &CDC::m_hDC>};

}  // namespace

// ---- CGdiObject ----

HGDIOBJ CGdiObject::GetSafeHandle() const {
    const CGdiObject* self = this;
    return self ? m_hObject : nullptr;
}

CGdiObject* CGdiObject::FromHandleOf(HGDIOBJ hObject, CRuntimeClass* cls) {
    return fw::TempObject(&kTempGdi, hObject, cls, &CGdiObject::m_hObject);
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) { return FromHandleOf(hObject, RUNTIME_CLASS(CGdiObject)); }

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
    if (!hObject) return FALSE;
    DeleteObject();
    m_hObject = hObject;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ h = m_hObject;
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject) return FALSE;
    BOOL result = ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    return result;
}

BOOL CFont::CreatePointFont(int nPointSize, LPCSTR lpszFaceName, CDC* pDC) {
    LOGFONTA lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, lpszFaceName ? lpszFaceName : "", LF_FACESIZE);
    HDC dc = pDC ? pDC->m_hDC : ::GetDC(nullptr);
    lf.lfHeight = -MulDiv(nPointSize, ::GetDeviceCaps(dc, LOGPIXELSY), 720);
    if (!pDC) ::ReleaseDC(nullptr, dc);
    return CreateFontIndirect(&lf);
}

BOOL CBitmap::LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCEA(nIDResource)); }

BOOL CBitmap::LoadBitmap(LPCSTR lpszResourceName) {
    return Attach(::LoadBitmapA(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    return Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}

// ---- CDC ----

CDC::~CDC() {
    if (m_hDC) ::DeleteDC(m_hDC);
}

HDC CDC::GetSafeHdc() const {
    const CDC* self = this;
    return self ? m_hDC : nullptr;
}

CDC* CDC::FromHandle(HDC hDC) { return fw::TempObject(&kTempDC, hDC, RUNTIME_CLASS(CDC), &CDC::m_hDC); }

BOOL CDC::Attach(HDC hDC) {
    if (!hDC || m_hDC) return FALSE;
    m_hDC = hDC;
    return TRUE;
}

HDC CDC::Detach() {
    HDC h = m_hDC;
    m_hDC = nullptr;
    return h;
}

BOOL CDC::DeleteDC() {
    if (!m_hDC) return FALSE;
    BOOL result = ::DeleteDC(m_hDC);
    m_hDC = nullptr;
    return result;
}

CPen* CDC::SelectObject(CPen* pPen) {
    return CPen::FromHandle(static_cast<HPEN>(::SelectObject(m_hDC, pPen ? pPen->m_hObject : nullptr)));
}
CBrush* CDC::SelectObject(CBrush* pBrush) {
    return CBrush::FromHandle(static_cast<HBRUSH>(::SelectObject(m_hDC, pBrush ? pBrush->m_hObject : nullptr)));
}
CFont* CDC::SelectObject(CFont* pFont) {
    return CFont::FromHandle(static_cast<HFONT>(::SelectObject(m_hDC, pFont ? pFont->m_hObject : nullptr)));
}
CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
    return CBitmap::FromHandle(static_cast<HBITMAP>(::SelectObject(m_hDC, pBitmap ? pBitmap->m_hObject : nullptr)));
}
CGdiObject* CDC::SelectStockObject(int nIndex) {
    return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(nIndex)));
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) {
    COLORREF old = ::SetBkColor(m_hDC, clr);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
    RECT r = {x, y, x + cx, y + cy};
    FillSolidRect(&r, clr);
}

void CDC::Draw3dRect(LPCRECT r, COLORREF clrTopLeft, COLORREF clrBottomRight) {
    int w = r->right - r->left, h = r->bottom - r->top;
    FillSolidRect(r->left, r->top, w - 1, 1, clrTopLeft);
    FillSolidRect(r->left, r->top, 1, h - 1, clrTopLeft);
    FillSolidRect(r->right - 1, r->top, 1, h, clrBottomRight);
    FillSolidRect(r->left, r->bottom - 1, w, 1, clrBottomRight);
}

CBrush* CDC::GetHalftoneBrush() {
    static CBrush* brush = [] {
        WORD pattern[8];
        for (int i = 0; i < 8; ++i) pattern[i] = (WORD)(0x5555 << (i & 1));
        HBITMAP bitmap = ::CreateBitmap(8, 8, 1, 1, pattern);
        CBrush* b = new CBrush;
        b->CreatePatternBrush(bitmap);
        ::DeleteObject(bitmap);
        return b;
    }();
    return brush;
}

namespace {
// The frame of rect with the given thickness; a thickness beyond the rectangle fills it.
HRGN FrameRegion(LPCRECT rect, SIZE size) {
    HRGN outer = ::CreateRectRgnIndirect(rect);
    RECT inner = *rect;
    ::InflateRect(&inner, -size.cx, -size.cy);
    ::IntersectRect(&inner, &inner, rect);
    HRGN hole = ::CreateRectRgnIndirect(&inner);
    ::CombineRgn(outer, outer, hole, RGN_XOR);
    ::DeleteObject(hole);
    return outer;
}

void InvertRegion(HDC dc, HRGN region, HBRUSH brush) {
    ::SelectClipRgn(dc, region);
    RECT box;
    ::GetClipBox(dc, &box);
    HGDIOBJ old = ::SelectObject(dc, brush);
    ::PatBlt(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, PATINVERT);
    ::SelectObject(dc, old);
}
}  // namespace

void CDC::DrawDragRect(LPCRECT lpRect, SIZE size, LPCRECT lpRectLast, SIZE sizeLast, CBrush* pBrush,
                       CBrush* pBrushLast) {
    if (!pBrush) pBrush = GetHalftoneBrush();
    if (!pBrushLast) pBrushLast = pBrush;
    HRGN now = lpRect ? FrameRegion(lpRect, size) : ::CreateRectRgn(0, 0, 0, 0);
    if (lpRectLast) {
        HRGN last = FrameRegion(lpRectLast, sizeLast);
        // With one brush, inverting the symmetric difference erases the old frame and draws the new one in one pass.
        if (pBrushLast == pBrush)
            ::CombineRgn(now, now, last, RGN_XOR);
        else
            InvertRegion(m_hDC, last, static_cast<HBRUSH>(pBrushLast->m_hObject));
        ::DeleteObject(last);
    }
    InvertRegion(m_hDC, now, static_cast<HBRUSH>(pBrush->m_hObject));
    ::SelectClipRgn(m_hDC, nullptr);
    ::DeleteObject(now);
}

// ---- CPaintDC, CClientDC, CWindowDC ----

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) { m_hDC = ::BeginPaint(m_hWnd, &m_ps); }

CPaintDC::~CPaintDC() {
    ::EndPaint(m_hWnd, &m_ps);
    m_hDC = nullptr;
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) { m_hDC = ::GetDC(m_hWnd); }

CClientDC::~CClientDC() {
    ::ReleaseDC(m_hWnd, m_hDC);
    m_hDC = nullptr;
}

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) { m_hDC = ::GetWindowDC(m_hWnd); }

CWindowDC::~CWindowDC() {
    ::ReleaseDC(m_hWnd, m_hDC);
    m_hDC = nullptr;
}
