// Mouse tracking over Qt: an application-wide filter sees every mouse event,
// so a move onto any other widget ends the tracking of the window left.

#include "platform/wnd/core/mouse_track.h"

#include <map>
#include <memory>

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

#include "platform/wnd/core/internal/wnd_internal.h"

namespace {

struct Tracking {
    DWORD flags = 0;
    DWORD hoverMs = kDefaultHoverMs;
    std::unique_ptr<QTimer> hoverTimer;
};

std::map<HWND, Tracking> g_tracking; // UI thread

HWND HwndAtWidget(QWidget* widget)
{
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        if (HWND hwnd = wnd_internal::HwndOfWidget(w))
            return hwnd;
    }
    return nullptr;
}

void EndLeave(HWND hwnd)
{
    auto it = g_tracking.find(hwnd);
    if (it == g_tracking.end())
        return;
    if (it->second.hoverTimer)
        it->second.hoverTimer->stop();
    const bool leave = (it->second.flags & TME_LEAVE) != 0;
    g_tracking.erase(it);
    if (leave)
        ::PostMessage(hwnd, WM_MOUSELEAVE, 0, 0);
}

void Hover(HWND hwnd)
{
    auto it = g_tracking.find(hwnd);
    if (it == g_tracking.end() || !(it->second.flags & TME_HOVER))
        return;
    it->second.flags &= ~TME_HOVER;
    POINT point {};
    if (CWnd* object = CWnd::FromHandle(hwnd)) {
        const QPoint global = QCursor::pos();
        point = POINT { global.x(), global.y() };
        object->ScreenToClient(&point);
    }
    if (!(it->second.flags & TME_LEAVE))
        g_tracking.erase(it);
    ::PostMessage(hwnd, WM_MOUSEHOVER, 0, MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
}

void StartHoverTimer(HWND hwnd, Tracking& tracking)
{
    if (!tracking.hoverTimer) {
        tracking.hoverTimer = std::make_unique<QTimer>();
        tracking.hoverTimer->setSingleShot(true);
        QObject::connect(tracking.hoverTimer.get(), &QTimer::timeout, [hwnd] { Hover(hwnd); });
    }
    tracking.hoverTimer->start(static_cast<int>(tracking.hoverMs));
}

class TrackFilter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        const bool mouse = type == QEvent::MouseMove || type == QEvent::MouseButtonPress
            || type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick;
        if ((!mouse && type != QEvent::Leave) || g_tracking.empty() || !watched->isWidgetType())
            return false;
        const HWND target = HwndAtWidget(static_cast<QWidget*>(watched));
        if (type == QEvent::Leave) {
            if (target && wnd_internal::HwndOfWidget(static_cast<QWidget*>(watched)) == target
                && !CWnd::GetCapture())
                EndLeave(target);
            return false;
        }
        std::vector<HWND> left;
        for (auto& [hwnd, tracking] : g_tracking) {
            if (hwnd != target)
                left.push_back(hwnd);
            else if (type == QEvent::MouseMove && (tracking.flags & TME_HOVER))
                StartHoverTimer(hwnd, tracking);
        }
        for (HWND hwnd : left)
            EndLeave(hwnd);
        return false;
    }
};

void EnsureFilter()
{
    static TrackFilter* filter = [] {
        auto* f = new TrackFilter;
        qApp->installEventFilter(f);
        return f;
    }();
    (void)filter;
}

} // namespace

BOOL TrackMouseEvent(TRACKMOUSEEVENT* request)
{
    if (!request)
        return FALSE;
    if (request->dwFlags & TME_QUERY) {
        auto it = g_tracking.find(request->hwndTrack);
        request->dwFlags = it == g_tracking.end() ? 0 : it->second.flags;
        if (it != g_tracking.end())
            request->dwHoverTime = it->second.hoverMs;
        return TRUE;
    }
    if (!IsWindow(request->hwndTrack))
        return FALSE;
    const HWND hwnd = request->hwndTrack;
    const DWORD asked = request->dwFlags & (TME_HOVER | TME_LEAVE);
    if (request->dwFlags & TME_CANCEL) {
        auto it = g_tracking.find(hwnd);
        if (it != g_tracking.end()) {
            it->second.flags &= ~asked;
            if (!(it->second.flags & TME_HOVER) && it->second.hoverTimer)
                it->second.hoverTimer->stop();
            if (it->second.flags == 0)
                g_tracking.erase(it);
        }
        return TRUE;
    }
    EnsureFilter();
    Tracking& tracking = g_tracking[hwnd];
    tracking.flags |= asked;
    if (asked & TME_HOVER) {
        tracking.hoverMs = request->dwHoverTime == HOVER_DEFAULT ? kDefaultHoverMs : request->dwHoverTime;
        StartHoverTimer(hwnd, tracking);
    }
    return TRUE;
}

BOOL _TrackMouseEvent(TRACKMOUSEEVENT* request)
{
    return TrackMouseEvent(request);
}

HWND WindowFromPoint(POINT point)
{
    HWND found = nullptr;
    QWidget* active = QApplication::activeWindow();
    const QWidgetList tops = QApplication::topLevelWidgets();
    std::vector<QWidget*> order;
    if (active)
        order.push_back(active);
    for (QWidget* top : tops)
        if (top != active)
            order.push_back(top);
    for (QWidget* top : order) {
        const HWND hwnd = wnd_internal::HwndOfWidget(top);
        CWnd* object = hwnd ? CWnd::FromHandle(hwnd) : nullptr;
        if (!top->isVisible() || !hwnd)
            continue;
        CRect rect;
        if (object)
            object->GetWindowRect(&rect);
        else
            rect = CRect(top->x(), top->y(), top->x() + top->width(), top->y() + top->height());
        if (!rect.PtInRect(point))
            continue;
        const QPoint local(point.x - rect.left, point.y - rect.top);
        QWidget* child = top->childAt(local);
        found = child ? HwndAtWidget(child) : hwnd;
        break;
    }
    return found;
}

HWND GetActiveWindow()
{
    QWidget* active = QApplication::activeWindow();
    return active ? wnd_internal::HwndOfWidget(active) : nullptr;
}
