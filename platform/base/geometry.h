#pragma once
// Points, sizes and rectangles in the class library's form. A rectangle holds
// left/top inclusive and right/bottom exclusive.

#include <algorithm>

#include "platform/base/types.h"

struct POINT {
    LONG x = 0;
    LONG y = 0;
};
struct SIZE {
    LONG cx = 0;
    LONG cy = 0;
};
struct RECT {
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
};

class CPoint : public POINT {
public:
    CPoint() = default;
    CPoint(int px, int py)
    {
        x = px;
        y = py;
    }
    CPoint(const POINT& p)
        : POINT(p)
    { }
    void Offset(int dx, int dy)
    {
        x += dx;
        y += dy;
    }
    friend bool operator==(const CPoint& a, const CPoint& b) { return a.x == b.x && a.y == b.y; }
    CPoint operator+(const CPoint& o) const { return { x + o.x, y + o.y }; }
    CPoint operator-(const CPoint& o) const { return { x - o.x, y - o.y }; }
    CPoint& operator+=(const CPoint& o)
    {
        x += o.x;
        y += o.y;
        return *this;
    }
    CPoint& operator-=(const CPoint& o)
    {
        x -= o.x;
        y -= o.y;
        return *this;
    }
};

class CSize : public SIZE {
public:
    CSize() = default;
    CSize(int w, int h)
    {
        cx = w;
        cy = h;
    }
    CSize(const SIZE& s)
        : SIZE(s)
    { }
    friend bool operator==(const CSize& a, const CSize& b) { return a.cx == b.cx && a.cy == b.cy; }
    CSize operator+(const CSize& o) const { return { cx + o.cx, cy + o.cy }; }
    CSize operator-(const CSize& o) const { return { cx - o.cx, cy - o.cy }; }
};

class CRect : public RECT {
public:
    CRect() = default;
    CRect(int l, int t, int r, int b)
    {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    CRect(const RECT& r)
        : RECT(r)
    { }
    CRect(const POINT& topLeft, const SIZE& size)
    {
        left = topLeft.x;
        top = topLeft.y;
        right = left + size.cx;
        bottom = top + size.cy;
    }
    CRect(const POINT& topLeft, const POINT& bottomRight)
    {
        left = topLeft.x;
        top = topLeft.y;
        right = bottomRight.x;
        bottom = bottomRight.y;
    }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return { Width(), Height() }; }
    CPoint TopLeft() const { return { left, top }; }
    CPoint BottomRight() const { return { right, bottom }; }
    CPoint CenterPoint() const { return { (left + right) / 2, (top + bottom) / 2 }; }
    BOOL IsRectEmpty() const { return Width() <= 0 || Height() <= 0; }
    BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    BOOL PtInRect(const POINT& p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }

    void SetRect(int l, int t, int r, int b)
    {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    void SetRectEmpty() { left = top = right = bottom = 0; }
    void CopyRect(const RECT& r) { *static_cast<RECT*>(this) = r; }
    void OffsetRect(int dx, int dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    void OffsetRect(const POINT& p) { OffsetRect(p.x, p.y); }
    void InflateRect(int dx, int dy)
    {
        left -= dx;
        right += dx;
        top -= dy;
        bottom += dy;
    }
    void InflateRect(int l, int t, int r, int b)
    {
        left -= l;
        top -= t;
        right += r;
        bottom += b;
    }
    void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
    void DeflateRect(int l, int t, int r, int b) { InflateRect(-l, -t, -r, -b); }
    void NormalizeRect()
    {
        if (left > right)
            std::swap(left, right);
        if (top > bottom)
            std::swap(top, bottom);
    }
    BOOL IntersectRect(const RECT& a, const RECT& b)
    {
        left = std::max(a.left, b.left);
        top = std::max(a.top, b.top);
        right = std::min(a.right, b.right);
        bottom = std::min(a.bottom, b.bottom);
        if (IsRectEmpty()) {
            SetRectEmpty();
            return FALSE;
        }
        return TRUE;
    }
    BOOL UnionRect(const RECT& a, const RECT& b)
    {
        const CRect ra(a), rb(b);
        if (ra.IsRectEmpty()) {
            *this = rb;
            return !rb.IsRectEmpty();
        }
        if (rb.IsRectEmpty()) {
            *this = ra;
            return TRUE;
        }
        left = std::min(a.left, b.left);
        top = std::min(a.top, b.top);
        right = std::max(a.right, b.right);
        bottom = std::max(a.bottom, b.bottom);
        return TRUE;
    }

    friend bool operator==(const CRect& a, const CRect& b)
    {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
    CRect& operator=(const RECT& r)
    {
        CopyRect(r);
        return *this;
    }
    operator RECT*() { return this; }
    operator const RECT*() const { return this; }
};
