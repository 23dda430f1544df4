#include "platform/wnd/window_capture.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include "platform/gdi/dc_internal.h"
#include "platform/wnd/wnd_internal.h"

BOOL AfxPrintWindowTree(HWND hwnd, CDC* target)
{
    QImage* image = target ? GdiDcImage(target->GetSafeHdc()) : nullptr;
    QWidget* widget = IsWindow(hwnd) ? wnd_internal::WidgetOf(hwnd) : nullptr;
    if (!image || !widget)
        return FALSE;
    QImage rendered(widget->size(), QImage::Format_RGB32);
    rendered.fill(Qt::black);
    widget->render(&rendered, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    QPainter painter(image);
    painter.drawImage(0, 0, rendered);
    return TRUE;
}
