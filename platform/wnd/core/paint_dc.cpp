#include "platform/wnd/core/paint_dc.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include "platform/gdi/dc_internal.h"
#include "platform/wnd/core/internal/wnd_internal.h"

CPaintDC::CPaintDC(CWnd* wnd)
{
    const HWND hwnd = wnd ? wnd->GetSafeHwnd() : nullptr;
    QRect area;
    if (!hwnd || !wnd_internal::GetPaintRect(hwnd, &area))
        return;
    QWidget* widget = wnd_internal::ExistingWidgetOf(hwnd);
    if (!widget)
        return;
    auto* painter = new QPainter(widget);
    if (!painter->isActive()) {
        delete painter;
        return;
    }
    m_painter = painter;
    m_hDC = GdiCreatePainterDC(painter, QPoint(0, 0), QRegion(area), false);
    m_ps.hdc = m_hDC;
    m_ps.rcPaint = CRect(area.left(), area.top(), area.right() + 1, area.bottom() + 1);
}

CPaintDC::~CPaintDC()
{
    if (m_hDC) {
        ::DeleteDC(m_hDC);
        m_hDC = nullptr;
    }
    delete static_cast<QPainter*>(m_painter);
}

BOOL PrintWindow(HWND hwnd, CDC* target)
{
    return wnd_internal::RenderWindow(hwnd, target, false);
}
