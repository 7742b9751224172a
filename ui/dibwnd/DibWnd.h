// CDibWnd: a scrollable child window that shows an off-screen CDibImage. The owner draws into the
// image at any time and invalidates what changed; painting copies the visible part to the screen.
#pragma once

#include "framework/Gdi.h"
#include "framework/Sync.h"
#include "framework/Wnd.h"
#include "image/DibImage.h"
#include "ui/dibwnd/DibWndLayout.h"

#include <atomic>

// Mouse messages in image coordinates: (context, message, key flags, x, y).
typedef void (*DibWndMouseCallback)(void* context, UINT message, WPARAM flags, int x, int y);
// Called at the end of each paint with the DC's origin at the scroll position (image coordinates).
typedef void (*DibWndPaintCallback)(void* context, CDC* dc, PAINTSTRUCT* paint);

// Posted to the window itself after the last UnlockImage: the resize that waited for the lock.
constexpr UINT kDibWndDeferredResize = 27014;

class CDibWnd : public CWnd {
public:
    CDibWnd();
    ~CDibWnd() override;

    // The low seven bits of `style` are the kDibWnd* options; the style goes to the window as it is.
    BOOL Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // Creates the window over dialog control `placeholderId`, right behind it in Z order.
    BOOL CreateAtControl(DWORD exStyle, DWORD style, int placeholderId, CWnd* parentDialog, UINT id);

    // 1 when the image was resized; sides outside 1..16000 are refused (0).
    int SetImageSize(int width, int height);
    void SetBackground(COLORREF colour);
    // Invalidate an image rectangle (moved by the scroll position) or a client rectangle; a negative
    // width or height extends the rectangle from x (or y) the other way.
    void InvalidateImageRect(int x, int y, int cx, int cy, BOOL erase);
    void InvalidateClientRect(int x, int y, int cx, int cy, BOOL erase);
    // Clamps and applies the position; 1 when anything changed.
    int SetScrollPosition(int x, int y, BOOL redraw);
    // While the image is locked it keeps its size; the window resizes it after the last unlock.
    // Both return the new lock count (-1 when the lock could not be had).
    int LockImage();
    int UnlockImage();
    void SetMouseCallback(DibWndMouseCallback callback, void* context);
    void SetPaintCallback(DibWndPaintCallback callback, void* context);
    // Returns the previous cursor.
    HCURSOR SetCursor(HCURSOR cursor);

    CDibImage* GetImage() const { return m_image; }
    int GetScrollX() const { return m_scrollX; }
    int GetScrollY() const { return m_scrollY; }
    COLORREF GetBackground() const { return m_background; }
    int GetLockCount() const { return m_lockCount.load(); }

protected:
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    afx_msg void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    afx_msg void OnDestroy();
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    afx_msg void OnDeferredResize();
    void ReportMouse(UINT message, WPARAM flags, LPARAM point);
    DECLARE_MESSAGE_MAP()

private:
    void Resize(int cx, int cy);
    // Copies the image to the part of the client inside `box` and fills the background beside it there.
    void DrawImage(CDC* dc, const RECT& client, const RECT& box);
    bool ReallocateImage(int width, int height);
    // Gives the image a new size unless the owner holds it locked or it has that size; true when it got one.
    bool ReallocateUnlessLocked(int width, int height);
    void LayoutScrollBars();
    void LayoutScrollBar(int bar, int imageExtent, int clientExtent, int* scroll, int* keepOption);
    void Scroll(int bar, UINT code);
    void InvalidateRectangle(int x, int y, int cx, int cy, BOOL erase, int dx, int dy);
    bool ImageCoversClient() const;

    DibWndMouseCallback m_mouseCallback = nullptr;
    void* m_mouseContext = nullptr;
    DibWndPaintCallback m_paintCallback = nullptr;
    void* m_paintContext = nullptr;
    CDibImage* m_image;
    CDC m_memoryDC;
    // Options; the keep-visible ones become 2 once their first layout has run.
    int m_keepHBar = 0, m_keepVBar = 0;
    int m_hBar = 0, m_vBar = 0;
    int m_pin = 0, m_fixedSize = 0, m_centre = 0;
    HBITMAP m_section = nullptr;
    HBITMAP m_originalBitmap = nullptr;
    HCURSOR m_cursor = nullptr;
    CSemaphore m_lock{1, 1};
    COLORREF m_background = RGB(255, 255, 255);
    int m_clientWidth = 0, m_clientHeight = 0;
    int m_minWidth = 0, m_minHeight = 0;
    int m_maxWidth = kDibWndMaxSize, m_maxHeight = kDibWndMaxSize;
    int m_scrollX = 0, m_scrollY = 0;
    std::atomic<int> m_lockCount{0};
    int m_screenDepth;
};
