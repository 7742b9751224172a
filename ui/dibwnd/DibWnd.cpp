// The bitmap window: an off-screen image in a DIB section, scrolled, locked and painted.
#include "ui/dibwnd/DibWnd.h"

#include "framework/Controls.h"
#include "ui/WindowPos.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kLineStep = 32;
// The lock guards only short stretches of bookkeeping; a wait this long means something is broken.
constexpr DWORD kLockWaitMs = 10000;
constexpr DWORD kMouseReportedStyle = 0x100;  // a style bit of the class's own: mouse events go to a callback

uint32_t ColourWord(COLORREF c) { return (uint32_t)GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c); }

RECT SignedRect(int x, int y, int cx, int cy) {
    RECT r = {x, y, x + cx, y + cy};
    if (cx < 0) r.left = x + cx, r.right = x;
    if (cy < 0) r.top = y + cy, r.bottom = y;
    return r;
}

} // namespace

// Mouse messages go to the owner's callback in image coordinates.
#define ON_DIBWND_MOUSE(msg) WL_ON_WINDOW_MESSAGE(msg, self_->ReportMouse(msg, WL_WP, WL_LP);)

BEGIN_MESSAGE_MAP(CDibWnd, CWnd)
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_DESTROY()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEWHEEL()
    ON_DIBWND_MOUSE(WM_MOUSEMOVE)
    ON_DIBWND_MOUSE(WM_LBUTTONDOWN)
    ON_DIBWND_MOUSE(WM_LBUTTONUP)
    ON_DIBWND_MOUSE(WM_LBUTTONDBLCLK)
    ON_DIBWND_MOUSE(WM_RBUTTONDOWN)
    ON_DIBWND_MOUSE(WM_RBUTTONUP)
    ON_DIBWND_MOUSE(WM_RBUTTONDBLCLK)
    ON_DIBWND_MOUSE(WM_MBUTTONDOWN)
    ON_DIBWND_MOUSE(WM_MBUTTONUP)
    ON_DIBWND_MOUSE(WM_MBUTTONDBLCLK)
    ON_COMMAND(kDibWndDeferredResize, OnDeferredResize)
END_MESSAGE_MAP()

CDibWnd::CDibWnd() : m_image(new CDibImage) {
    m_memoryDC.CreateCompatibleDC(nullptr);
    HDC screen = ::GetDC(nullptr);
    m_screenDepth = GetDeviceCaps(screen, BITSPIXEL);
    ::ReleaseDC(nullptr, screen);
}

CDibWnd::~CDibWnd() {
    // The window goes first, while everything its messages use still exists.
    if (m_hWnd) DestroyWindow();
    if (m_originalBitmap) m_memoryDC.SelectObject(m_originalBitmap);
    m_memoryDC.DeleteDC();
    if (m_section) DeleteObject(m_section);
    delete m_image;
}

BOOL CDibWnd::Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    static const LPCSTR kClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, LoadCursor(nullptr, IDC_ARROW),
                                                     (HBRUSH)GetStockObject(NULL_BRUSH), nullptr);
    // The first WM_SIZE arrives during creation and needs these two.
    m_centre = (style & kDibWndCentre) != 0;
    m_fixedSize = (style & kDibWndFixedSize) != 0;
    if (!CreateEx(exStyle, kClass, "", style, rect, parent, id)) return FALSE;
    m_hBar = (style & kDibWndHScroll) != 0;
    m_vBar = (style & kDibWndVScroll) != 0;
    m_keepHBar = (style & kDibWndKeepHScroll) != 0;
    m_keepVBar = (style & kDibWndKeepVScroll) != 0;
    m_pin = (style & kDibWndPin) != 0;
    if (m_minWidth > 0 && m_minHeight > 0 &&
        ((int)m_image->width < m_minWidth || (int)m_image->height < m_minHeight))
        SetImageSize(m_minWidth, m_minHeight);
    m_cursor = LoadCursor(nullptr, IDC_ARROW);
    if ((m_hBar || m_vBar) && m_clientWidth >= 1) {
        ShowScrollBar(m_hBar && m_vBar ? SB_BOTH : m_hBar ? SB_HORZ : SB_VERT, TRUE);
        SetScrollPosition(m_scrollX, m_scrollY, FALSE);
        LayoutScrollBars();
    }
    return TRUE;
}

BOOL CDibWnd::CreateAtControl(DWORD exStyle, DWORD style, int placeholderId, CWnd* parentDialog, UINT id) {
    RECT r;
    if (!parentDialog || !GetDlgItemRectInDlg(parentDialog->m_hWnd, placeholderId, &r)) return FALSE;
    if (!Create(exStyle, style, r, parentDialog, id)) return FALSE;
    ::SetWindowPos(m_hWnd, ::GetDlgItem(parentDialog->m_hWnd, placeholderId), 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW);
    return TRUE;
}

bool CDibWnd::ReallocateImage(int width, int height) {
    // The section uses the image's own header: the pixel layout then agrees with its accessors
    // (16 bits are 5-6-5 bit fields, not the 5-5-5 of a plain 16-bit DIB).
    const uint32_t depth = (uint32_t)m_screenDepth;
    uint32_t fill;
    if (depth > 8) fill = ColourWord(m_background);
    else fill = depth == 8 ? 15 : (1u << depth) - 1;
    CDibImage oneRow;
    if (!oneRow.Create(depth, (uint32_t)width, 1, kDibNoFill)) return false;
    DibHeaderBlock header = *oneRow.header;
    header.bmiHeader.biHeight = height;
    header.bmiHeader.biSizeImage = oneRow.stride * (DWORD)height;
    void* sectionBits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HBITMAP section =
        CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &sectionBits, nullptr, 0);
    ::ReleaseDC(nullptr, screen);
    if (!section || !sectionBits) {
        if (section) DeleteObject(section);
        return false;
    }
    CDibImage* image = new CDibImage;
    if (!image->Create(depth, (uint32_t)width, (uint32_t)height, fill, (uintptr_t)sectionBits)) {
        delete image;
        DeleteObject(section);
        return false;
    }
    if (m_image->HasPixels()) image->Put(*m_image, 0, 0, 0);
    HBITMAP previous = (HBITMAP)m_memoryDC.SelectObject(section);
    if (depth <= 8) {
        // Palette screens: the image and the section take the system palette.
        PALETTEENTRY entries[256] = {};
        screen = ::GetDC(nullptr);
        const UINT got = GetSystemPaletteEntries(screen, 0, 1u << depth, entries);
        ::ReleaseDC(nullptr, screen);
        for (UINT i = 0; i < got; ++i)
            image->SetPaletteEntry((int)i, entries[i].peRed, entries[i].peGreen, entries[i].peBlue);
        SetDIBColorTable(m_memoryDC, 0, image->paletteSize, image->palette);
    }
    if (!m_originalBitmap) m_originalBitmap = previous;
    if (m_section) DeleteObject(m_section);
    m_section = section;
    delete m_image;
    m_image = image;
    return true;
}

bool CDibWnd::ReallocateUnlessLocked(int width, int height) {
    bool reallocated = false;
    if (m_lock.Lock(kLockWaitMs)) {
        if (m_lockCount.load() == 0 && ((int)m_image->width != width || (int)m_image->height != height))
            reallocated = ReallocateImage(width, height);
        m_lock.Unlock();
    }
    return reallocated;
}

void CDibWnd::Resize(int cx, int cy) {
    const int w = m_fixedSize ? m_minWidth : std::max(std::min(cx, m_maxWidth), m_minWidth);
    const int h = m_fixedSize ? m_minHeight : std::max(std::min(cy, m_maxHeight), m_minHeight);
    const bool reallocated = w > 0 && h > 0 && ReallocateUnlessLocked(w, h);
    // The deferred resize comes with the client size already stored: the new image still needs its layout.
    if (m_image->HasPixels() && cx > 0 && cy > 0 && (reallocated || cx != m_clientWidth || cy != m_clientHeight)) {
        m_clientWidth = cx;
        m_clientHeight = cy;
        LayoutScrollBars();
        SetScrollPosition(m_scrollX, m_scrollY, FALSE);
    }
}

int CDibWnd::SetImageSize(int width, int height) {
    if (width < 1 || height < 1 || width > kDibWndMaxSize || height > kDibWndMaxSize) return 0;
    if (m_fixedSize) {
        m_minWidth = width;
        m_minHeight = height;
    } else {
        width = std::max(std::min(width, m_maxWidth), m_minWidth);
        height = std::max(std::min(height, m_maxHeight), m_minHeight);
    }
    if ((int)m_image->width == width && (int)m_image->height == height) return 1;
    const bool resized = ReallocateUnlessLocked(width, height);
    if (resized && m_clientWidth > 0) {
        LayoutScrollBars();
        // A smaller image must not leave the position beyond its end, with or without scroll bars.
        SetScrollPosition(m_scrollX, m_scrollY, FALSE);
    }
    return resized ? 1 : 0;
}

bool CDibWnd::ImageCoversClient() const {
    return std::min((int)m_image->width, m_maxWidth) - m_scrollX >= m_clientWidth &&
           std::min((int)m_image->height, m_maxHeight) - m_scrollY >= m_clientHeight;
}

void CDibWnd::SetBackground(COLORREF colour) {
    if (colour == m_background) return;
    m_background = colour;
    if (m_hWnd && !(m_scrollX >= 0 && m_scrollY >= 0 && ImageCoversClient()))
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CDibWnd::InvalidateRectangle(int x, int y, int cx, int cy, BOOL erase, int dx, int dy) {
    if (!m_hWnd) return;
    RECT r = SignedRect(x, y, cx, cy);
    OffsetRect(&r, dx, dy);
    ::InvalidateRect(m_hWnd, &r, erase);
}

void CDibWnd::InvalidateImageRect(int x, int y, int cx, int cy, BOOL erase) {
    InvalidateRectangle(x, y, cx, cy, erase, -m_scrollX, -m_scrollY);
}

void CDibWnd::InvalidateClientRect(int x, int y, int cx, int cy, BOOL erase) {
    InvalidateRectangle(x, y, cx, cy, erase, 0, 0);
}

int CDibWnd::SetScrollPosition(int x, int y, BOOL redraw) {
    const int imageWidth = m_image->HasPixels() ? (int)m_image->width : 0;
    const int imageHeight = m_image->HasPixels() ? (int)m_image->height : 0;
    x = ClampDibScroll(x, imageWidth, m_clientWidth, m_centre, m_pin);
    y = ClampDibScroll(y, imageHeight, m_clientHeight, m_centre, m_pin);
    const bool changedX = x != m_scrollX, changedY = y != m_scrollY;
    m_scrollX = x;
    m_scrollY = y;
    if (changedX && m_hBar && m_hWnd) SetScrollPos(SB_HORZ, x, TRUE);
    if (changedY && m_vBar && m_hWnd) SetScrollPos(SB_VERT, y, TRUE);
    const bool changed = changedX || changedY;
    if (changed && redraw && m_hWnd) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return changed ? 1 : 0;
}

void CDibWnd::LayoutScrollBar(int bar, int imageExtent, int clientExtent, int* scroll, int* keepOption) {
    const DibScrollRange r = LayoutDibScrollBar(imageExtent, clientExtent, *scroll, m_centre);
    *scroll = r.pos;
    SCROLLINFO si = {sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS, r.min, r.max, (UINT)r.page, r.pos, 0};
    if (*keepOption) {
        if (*keepOption == 1) {
            // A first range that scrolls, so that the bar exists before it is disabled.
            SCROLLINFO placeholder = {sizeof placeholder, SIF_RANGE | SIF_PAGE, 0, 100, 10, 0, 0};
            SetScrollInfo(bar, &placeholder, FALSE);
            *keepOption = 2;
        }
        si.fMask |= SIF_DISABLENOSCROLL;
    }
    if ((int)si.nPage == si.nMax) ++si.nPage;
    SetScrollInfo(bar, &si, TRUE);
}

void CDibWnd::LayoutScrollBars() {
    if (!m_hWnd) return;
    if (m_hBar) LayoutScrollBar(SB_HORZ, (int)m_image->width, m_clientWidth, &m_scrollX, &m_keepHBar);
    if (m_vBar) LayoutScrollBar(SB_VERT, (int)m_image->height, m_clientHeight, &m_scrollY, &m_keepVBar);
}

int CDibWnd::LockImage() {
    if (!m_lock.Lock(kLockWaitMs)) return -1;
    const int count = ++m_lockCount;
    m_lock.Unlock();
    return count;
}

int CDibWnd::UnlockImage() {
    if (!m_lock.Lock(kLockWaitMs)) return -1;
    int count = m_lockCount.load();
    if (count > 0) m_lockCount = --count;
    m_lock.Unlock();
    // The window's own thread does the resize that waited for the lock.
    if (count == 0 && m_hWnd) ::PostMessageA(m_hWnd, WM_COMMAND, kDibWndDeferredResize, 0);
    return count;
}

void CDibWnd::SetMouseCallback(DibWndMouseCallback callback, void* context) {
    m_mouseCallback = callback;
    m_mouseContext = context;
    if (m_hWnd) ModifyStyle(0, kMouseReportedStyle, 0);
}

void CDibWnd::SetPaintCallback(DibWndPaintCallback callback, void* context) {
    m_paintCallback = callback;
    m_paintContext = context;
}

HCURSOR CDibWnd::SetCursor(HCURSOR cursor) {
    const HCURSOR previous = m_cursor;
    if (cursor && cursor != m_cursor) {
        m_cursor = cursor;
        ::SetCursor(cursor);
    }
    return previous;
}

void CDibWnd::OnSize(UINT type, int cx, int cy) {
    Resize(cx, cy);
    CWnd::OnSize(type, cx, cy);
}

void CDibWnd::OnDeferredResize() { Resize(m_clientWidth, m_clientHeight); }

namespace {

// More parts than this are copied as one box: a region so broken up comes from a larger change.
constexpr DWORD kMaxPaintParts = 32;

// The rectangles a paint DC has to paint: its system region, which BeginPaint made the update region within
// the visible one (screen coordinates), moved to the DC's own. Read from the DC, without asking the window
// manager for the update region a second time. Empty for a single rectangle: rcPaint is that one.
std::vector<RECT> PaintParts(HDC dc) {
    std::vector<RECT> parts;
    HRGN paint = CreateRectRgn(0, 0, 0, 0);
    POINT origin;
    if (paint && GetRandomRgn(dc, paint, SYSRGN) == 1 && GetDCOrgEx(dc, &origin) &&
        OffsetRgn(paint, -origin.x, -origin.y) == COMPLEXREGION) {
        const DWORD size = GetRegionData(paint, 0, nullptr);
        std::vector<char> buffer(size);
        auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
        if (size && GetRegionData(paint, size, data) == size && data->rdh.nCount <= kMaxPaintParts) {
            const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
            parts.assign(rects, rects + data->rdh.nCount);
        }
    }
    if (paint) DeleteObject(paint);
    return parts;
}

// Hands what the window has drawn so far on to the display. Under Wine a top-level window's drawing reaches
// the X server as one rectangle around everything drawn since the last hand-off, which Wine makes whenever the
// thread waits for messages: a wait that takes none and returns at once. On Windows it only returns.
void HandOffToDisplay() { MsgWaitForMultipleObjectsEx(0, nullptr, 0, 0, 0); }

}  // namespace

void CDibWnd::DrawImage(CDC* dc, const RECT& client, const RECT& box) {
    RECT part;
    if (!m_image->HasPixels()) {
        if (IntersectRect(&part, &client, &box)) dc->FillSolidRect(&part, RGB(0, 0, 0));
        return;
    }
    const DibPaintPlan plan =
        PlanDibPaint((int)m_image->width, (int)m_image->height, client.right, client.bottom, m_scrollX, m_scrollY);
    if (IntersectRect(&part, &plan.dest, &box))
        BitBlt(dc->m_hDC, part.left, part.top, part.right - part.left, part.bottom - part.top, m_memoryDC,
               plan.srcX + part.left - plan.dest.left, plan.srcY + part.top - plan.dest.top, SRCCOPY);
    for (int i = 0; i < plan.bandCount; ++i)
        if (IntersectRect(&part, &plan.bands[i], &box)) dc->FillSolidRect(&part, m_background);
}

// Painting covers every pixel of the client (the image and the background beside it); the class brush is the
// null brush. Erasing is left out, since under Wine even an erase with the null brush sends the whole update
// area to the display before painting can send its parts.
BOOL CDibWnd::OnEraseBkgnd(CDC*) { return TRUE; }

void CDibWnd::OnPaint() {
    // Far-apart changes are copied box by box, each handed on to the display before the next, so that the
    // display receives about what changed and not the space between.
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    std::vector<RECT> boxes = GroupPaintParts(PaintParts(dc));
    CDC* cdc = CDC::FromHandle(dc);
    RECT client;
    GetClientRect(&client);
    if (boxes.empty()) boxes.push_back(ps.rcPaint);
    for (size_t i = 0; i < boxes.size(); ++i) {
        if (i > 0) HandOffToDisplay();
        DrawImage(cdc, client, boxes[i]);
    }
    if (m_paintCallback) {
        SetWindowOrgEx(dc, m_scrollX, m_scrollY, nullptr);
        m_paintCallback(m_paintContext, cdc, &ps);
    }
    ::EndPaint(m_hWnd, &ps);
}

void CDibWnd::Scroll(int bar, UINT code) {
    const bool horizontal = bar == SB_HORZ;
    if (!(horizontal ? m_hBar : m_vBar)) return;
    int pos = horizontal ? m_scrollX : m_scrollY;
    const int page = horizontal ? m_clientWidth : m_clientHeight;
    switch (code) {
    case SB_LINELEFT: pos -= kLineStep; break;
    case SB_LINERIGHT: pos += kLineStep; break;
    case SB_PAGELEFT: pos -= page; break;
    case SB_PAGERIGHT: pos += page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        // The track position in full: the message carries only 16 bits.
        SCROLLINFO si;
        GetScrollInfo(bar, &si, SIF_TRACKPOS);
        pos = si.nTrackPos;
        break;
    }
    default: return;
    }
    if (horizontal) SetScrollPosition(pos, m_scrollY, TRUE);
    else SetScrollPosition(m_scrollX, pos, TRUE);
}

void CDibWnd::OnHScroll(UINT code, UINT, CScrollBar*) { Scroll(SB_HORZ, code); }

void CDibWnd::OnVScroll(UINT code, UINT, CScrollBar*) { Scroll(SB_VERT, code); }

void CDibWnd::OnDestroy() {
    m_clientWidth = m_clientHeight = 0;
    CWnd::OnDestroy();
}

BOOL CDibWnd::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
    if (wnd && wnd->m_hWnd == m_hWnd) {
        ::SetCursor(m_cursor);
        return TRUE;
    }
    return CWnd::OnSetCursor(wnd, hitTest, message);
}

void CDibWnd::ReportMouse(UINT message, WPARAM flags, LPARAM point) {
    if (m_mouseCallback)
        m_mouseCallback(m_mouseContext, message, flags, (short)LOWORD(point) + m_scrollX, (short)HIWORD(point) + m_scrollY);
}

BOOL CDibWnd::OnMouseWheel(UINT flags, short delta, CPoint point) {
    if (m_mouseCallback) {
        POINT p = {point.x, point.y};
        ::ScreenToClient(m_hWnd, &p);
        m_mouseCallback(m_mouseContext, WM_MOUSEWHEEL, (WPARAM)(((DWORD)(WORD)delta << 16) | flags),
                        p.x + m_scrollX, p.y + m_scrollY);
    }
    return FALSE;
}
