// CPoint, CSize and CRect: the geometry helpers over the system's POINT, SIZE and RECT.
#pragma once

#include <windows.h>

class CSize : public SIZE {
public:
    CSize() noexcept { cx = cy = 0; }
    CSize(int x, int y) noexcept { cx = x; cy = y; }
    CSize(SIZE s) noexcept { cx = s.cx; cy = s.cy; }
    bool operator==(SIZE s) const noexcept { return cx == s.cx && cy == s.cy; }
    bool operator!=(SIZE s) const noexcept { return !(*this == s); }
    CSize operator+(SIZE s) const noexcept { return CSize(cx + s.cx, cy + s.cy); }
    CSize operator-(SIZE s) const noexcept { return CSize(cx - s.cx, cy - s.cy); }
};

class CPoint : public POINT {
public:
    CPoint() noexcept { x = y = 0; }
    CPoint(int px, int py) noexcept { x = px; y = py; }
    CPoint(POINT p) noexcept { x = p.x; y = p.y; }
    // A packed coordinate pair as in a mouse message's lParam.
    explicit CPoint(LPARAM packed) noexcept {
        x = (short)LOWORD(packed);
        y = (short)HIWORD(packed);
    }
    void Offset(int dx, int dy) noexcept { x += dx; y += dy; }
    bool operator==(POINT p) const noexcept { return x == p.x && y == p.y; }
    bool operator!=(POINT p) const noexcept { return !(*this == p); }
    CPoint operator+(SIZE s) const noexcept { return CPoint(x + s.cx, y + s.cy); }
    CPoint operator-(SIZE s) const noexcept { return CPoint(x - s.cx, y - s.cy); }
    CSize operator-(POINT p) const noexcept { return CSize(x - p.x, y - p.y); }
    CPoint& operator+=(SIZE s) noexcept { x += s.cx; y += s.cy; return *this; }
    CPoint& operator-=(SIZE s) noexcept { x -= s.cx; y -= s.cy; return *this; }
};

class CRect : public RECT {
public:
    CRect() noexcept { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) noexcept { left = l; top = t; right = r; bottom = b; }
    CRect(const RECT& r) noexcept { CopyRect(&r); }
    CRect(LPCRECT r) noexcept { if (r) CopyRect(r); else SetRectEmpty(); }
    CRect(POINT topLeft, SIZE size) noexcept {
        left = topLeft.x; top = topLeft.y; right = left + size.cx; bottom = top + size.cy;
    }
    CRect(POINT topLeft, POINT bottomRight) noexcept {
        left = topLeft.x; top = topLeft.y; right = bottomRight.x; bottom = bottomRight.y;
    }

    operator LPRECT() noexcept { return this; }
    operator LPCRECT() const noexcept { return this; }

    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
    CSize Size() const noexcept { return CSize(Width(), Height()); }
    CPoint& TopLeft() noexcept { return *reinterpret_cast<CPoint*>(&left); }
    CPoint& BottomRight() noexcept { return *reinterpret_cast<CPoint*>(&right); }
    CPoint TopLeft() const noexcept { return CPoint(left, top); }
    CPoint BottomRight() const noexcept { return CPoint(right, bottom); }
    CPoint CenterPoint() const noexcept { return CPoint((left + right) / 2, (top + bottom) / 2); }

    BOOL IsRectEmpty() const noexcept { return ::IsRectEmpty(this); }
    BOOL IsRectNull() const noexcept { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    BOOL PtInRect(POINT p) const noexcept { return ::PtInRect(this, p); }

    void SetRect(int l, int t, int r, int b) noexcept { left = l; top = t; right = r; bottom = b; }
    void SetRectEmpty() noexcept { left = top = right = bottom = 0; }
    void CopyRect(LPCRECT r) noexcept { left = r->left; top = r->top; right = r->right; bottom = r->bottom; }
    void OffsetRect(int dx, int dy) noexcept { left += dx; right += dx; top += dy; bottom += dy; }
    void OffsetRect(POINT p) noexcept { OffsetRect(p.x, p.y); }
    void OffsetRect(SIZE s) noexcept { OffsetRect(s.cx, s.cy); }
    void InflateRect(int dx, int dy) noexcept { left -= dx; top -= dy; right += dx; bottom += dy; }
    void InflateRect(int l, int t, int r, int b) noexcept { left -= l; top -= t; right += r; bottom += b; }
    void InflateRect(LPCRECT r) noexcept { InflateRect(r->left, r->top, r->right, r->bottom); }
    void DeflateRect(int dx, int dy) noexcept { InflateRect(-dx, -dy); }
    void DeflateRect(int l, int t, int r, int b) noexcept { InflateRect(-l, -t, -r, -b); }
    void DeflateRect(LPCRECT r) noexcept { DeflateRect(r->left, r->top, r->right, r->bottom); }
    void NormalizeRect() noexcept {
        if (left > right) { LONG t = left; left = right; right = t; }
        if (top > bottom) { LONG t = top; top = bottom; bottom = t; }
    }
    BOOL IntersectRect(LPCRECT a, LPCRECT b) noexcept { return ::IntersectRect(this, a, b); }
    BOOL UnionRect(LPCRECT a, LPCRECT b) noexcept { return ::UnionRect(this, a, b); }

    bool operator==(const RECT& r) const noexcept {
        return left == r.left && top == r.top && right == r.right && bottom == r.bottom;
    }
    bool operator!=(const RECT& r) const noexcept { return !(*this == r); }
    CRect& operator=(const RECT& r) noexcept { CopyRect(&r); return *this; }
    CRect& operator+=(POINT p) noexcept { OffsetRect(p); return *this; }
    CRect& operator-=(POINT p) noexcept { OffsetRect(-p.x, -p.y); return *this; }
};
