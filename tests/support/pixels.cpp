#include "tests/support/pixels.h"

#include <algorithm>

#include "platform/gdi/bitmap_file.h"
#include "platform/wnd/core/paint_dc.h"
#include "platform/wnd/core/window_capture.h"

Canvas::Canvas(int width, int height, COLORREF fill, BOOL mono)
{
    Make(width, height, mono);
    m_dc.FillSolidRect(0, 0, width, height, fill);
    m_dc.SetBkColor(RGB(255, 255, 255));
}

Canvas::Canvas(HBITMAP bitmap)
{
    m_bitmap.Attach(bitmap);
    BITMAP info {};
    if (bitmap)
        m_bitmap.GetBitmap(&info);
    m_width = info.bmWidth;
    m_height = info.bmHeight;
    m_dc.CreateCompatibleDC(nullptr);
    m_old = m_dc.SelectObject(&m_bitmap);
}

Canvas::~Canvas()
{
    if (m_old)
        m_dc.SelectObject(m_old);
}

void Canvas::Make(int width, int height, BOOL mono)
{
    m_width = width;
    m_height = height;
    m_dc.CreateCompatibleDC(nullptr);
    m_bitmap.CreateBitmap(width, height, 1, mono ? 1 : 32, nullptr);
    m_old = m_dc.SelectObject(&m_bitmap);
}

int Canvas::Count(COLORREF color, const CRect& area)
{
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            n += At(x, y) == color ? 1 : 0;
    return n;
}

CRect Canvas::Box(COLORREF color, bool equal, const CRect& area)
{
    CRect box(area.right, area.bottom, area.left, area.top);
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if ((At(x, y) == color) == equal) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box.IsRectEmpty() ? CRect() : box;
}

BOOL Canvas::Save(const char* path)
{
    return AfxSaveBitmapAsPng(static_cast<HBITMAP>(m_bitmap.GetSafeHandle()), path);
}

Snapshot::Snapshot(CWnd& window, Scope scope)
{
    CRect client;
    window.GetClientRect(&client);
    Make(client.Width(), client.Height(), FALSE);
    m_ok = scope == Scope::WithChildren ? AfxPrintWindowTree(window.GetSafeHwnd(), &Dc())
                                        : PrintWindow(window.GetSafeHwnd(), &Dc());
}

void PrintTo(const RECT& rect, std::ostream* out)
{
    *out << "(" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom << ")";
}

void PrintTo(const CRect& rect, std::ostream* out)
{
    PrintTo(static_cast<const RECT&>(rect), out);
}

void PrintTo(const CPoint& point, std::ostream* out)
{
    *out << "(" << point.x << ", " << point.y << ")";
}

void PrintTo(const CSize& size, std::ostream* out)
{
    *out << size.cx << " x " << size.cy;
}
