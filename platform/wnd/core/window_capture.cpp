#include "platform/wnd/core/window_capture.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include "platform/gdi/dc_internal.h"
#include "platform/wnd/core/internal/widget_bridge.h"
#include "platform/wnd/core/internal/wnd_internal.h"

BOOL AfxPrintWindowTree(HWND hwnd, CDC* target)
{
    return wnd_internal::RenderWindow(hwnd, target, true);
}

namespace wnd_internal {

BOOL RenderWindow(HWND hwnd, CDC* target, bool withChildren)
{
    QImage* image = target ? GdiDcImage(target->GetSafeHdc()) : nullptr;
    QWidget* widget = IsWindow(hwnd) ? WidgetOf(hwnd) : nullptr;
    if (!image || !widget)
        return FALSE;
    // A window not on show renders the text it holds.
    QList<QWidget*> tree = widget->findChildren<QWidget*>();
    tree.append(widget);
    for (QWidget* shown : tree)
        if (std::shared_ptr<WindowState> state = window_table::Find(HwndOfWidget(shown)))
            widget_bridge::FlushText(state);
    QImage rendered(widget->size(), QImage::Format_RGB32);
    rendered.fill(Qt::black);
    QWidget::RenderFlags flags = QWidget::DrawWindowBackground;
    if (withChildren)
        flags |= QWidget::DrawChildren;
    widget->render(&rendered, QPoint(), QRegion(), flags);
    QPainter painter(image);
    painter.drawImage(0, 0, rendered);
    return TRUE;
}

} // namespace wnd_internal
