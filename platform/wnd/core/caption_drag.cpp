// The caption drag: the system's window move, or the window following the
// mouse under capture until the left button goes up.

#include "platform/wnd/core/internal/caption_drag.h"

#include <memory>

#include <QApplication>
#include <QMouseEvent>
#include <QWindow>

#include "platform/wnd/core/internal/window_state.h"
#include "platform/wnd/core/internal/wnd_internal.h"
#include "platform/wnd/core/messages.h"
#include "platform/wnd/core/wnd.h"

namespace {

// The top-level ancestor of hwnd (hwnd itself when it is not a child).
HWND TopLevelOf(HWND hwnd)
{
    for (;;) {
        std::lock_guard lock(window_table::Mutex());
        std::shared_ptr<WindowState> state = window_table::FindLocked(hwnd);
        if (!state)
            return nullptr;
        if (!state->IsChild() || !state->parent)
            return hwnd;
        hwnd = state->parent;
    }
}

// Follows the mouse: every mouse event while the drag lasts moves the window
// by the cursor's travel from the start point; the left button going up (or
// found up) ends it. Mouse events are eaten meanwhile, as the system's move
// loop takes them.
class Tracker : public QObject {
public:
    Tracker(HWND window, QPoint anchor, QPoint origin)
        : m_window(window)
        , m_anchor(anchor)
        , m_origin(origin)
    { }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            break;
        default:
            return QObject::eventFilter(watched, event);
        }
        auto* mouse = static_cast<QMouseEvent*>(event);
        CWnd* window = CWnd::FromHandle(m_window);
        if (!window) {
            End();
            return false;
        }
        const QPoint travel = mouse->globalPosition().toPoint() - m_anchor;
        window->SetWindowPos(nullptr, m_origin.x() + travel.x(), m_origin.y() + travel.y(), 0, 0,
            SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        const bool released = event->type() == QEvent::MouseButtonRelease
            ? mouse->button() == Qt::LeftButton
            : !(mouse->buttons() & Qt::LeftButton);
        if (released)
            End();
        return true;
    }

    static void End();

private:
    HWND m_window;
    QPoint m_anchor;
    QPoint m_origin;
};

std::unique_ptr<Tracker> g_tracker;

void Tracker::End()
{
    if (!g_tracker)
        return;
    const HWND window = g_tracker->m_window;
    qApp->removeEventFilter(g_tracker.get());
    // Deleted later: End may run inside the tracker's own event filter.
    g_tracker.release()->deleteLater();
    CWnd* capture = CWnd::GetCapture();
    if (capture && capture->GetSafeHwnd() == window)
        ReleaseCapture();
}

} // namespace

namespace caption_drag {

BOOL Begin(HWND hwnd, LPARAM lParam)
{
    const HWND top = TopLevelOf(hwnd);
    QWidget* widget = top ? wnd_internal::ExistingWidgetOf(top) : nullptr;
    CWnd* window = CWnd::FromHandle(top);
    if (!widget || !widget->isVisible() || !window)
        return FALSE;
    Tracker::End();
    if (QWindow* handle = widget->windowHandle(); handle && handle->startSystemMove())
        return TRUE;
    CRect rect;
    window->GetWindowRect(&rect);
    const QPoint anchor(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    g_tracker = std::make_unique<Tracker>(top, anchor, QPoint(rect.left, rect.top));
    window->SetCapture();
    qApp->installEventFilter(g_tracker.get());
    return TRUE;
}

BOOL IsTracking()
{
    return g_tracker ? TRUE : FALSE;
}

} // namespace caption_drag
