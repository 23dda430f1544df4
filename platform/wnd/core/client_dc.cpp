// Client DCs as images of what a window shows. Drawing made through one is
// kept as the window's overlay: its paint events show the overlay instead of
// running WM_PAINT until something invalidates the window again.

#include "platform/wnd/core/client_dc.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>

#include "platform/gdi/dc_internal.h"
#include "platform/gdi/system_colors.h"
#include "platform/wnd/core/internal/widget_bridge.h"
#include "platform/wnd/core/internal/window_state.h"
#include "platform/wnd/core/internal/wnd_internal.h"

namespace {

struct Surface {
    HWND hwnd = nullptr;
    QImage image;
    QRect drawn;
    bool keep = false; // outside the window's own paint: keep what is drawn
};

std::set<HWND> g_capturing; // windows whose own painting is being captured
std::map<HDC, Surface*> g_loose; // DCs handed out by GetDC

class OverlayFilter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

struct Overlay {
    QPointer<QWidget> widget;
    QImage image;
    QRegion drawn; // what client DCs drew since the window was last invalidated
};
std::map<HWND, Overlay> g_overlays;

OverlayFilter* Filter()
{
    static OverlayFilter* filter = new OverlayFilter;
    return filter;
}

bool OverlayFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Paint)
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    const HWND hwnd = wnd_internal::HwndOfWidget(widget);
    auto it = g_overlays.find(hwnd);
    if (it == g_overlays.end() || it->second.widget != widget)
        return false;
    std::shared_ptr<WindowState> state = window_table::Find(hwnd);
    if (!state || !state->dirty.isEmpty() || it->second.image.size() != widget->size()) {
        // Invalidated since: the window paints itself again.
        widget->removeEventFilter(Filter());
        g_overlays.erase(it);
        return false;
    }
    // The window paints itself, then what was drawn goes over it; only a
    // window that leaves its painting to the widget is covered whole.
    const QImage image = it->second.image;
    const QRegion drawn = it->second.drawn;
    const bool passOn = widget_bridge::RunPaint(hwnd, *static_cast<QPaintEvent*>(event));
    QPainter painter(widget);
    if (!passOn)
        painter.setClipRegion(drawn);
    painter.drawImage(0, 0, image);
    return true;
}

void KeepOverlay(HWND hwnd, const QImage& image, const QRect& drawn)
{
    QWidget* widget = wnd_internal::ExistingWidgetOf(hwnd);
    if (!widget)
        return;
    for (auto it = g_overlays.begin(); it != g_overlays.end();)
        it = it->second.widget ? std::next(it) : g_overlays.erase(it);
    Overlay& overlay = g_overlays[hwnd];
    if (overlay.widget != widget) {
        if (overlay.widget)
            overlay.widget->removeEventFilter(Filter());
        overlay.widget = widget;
        overlay.drawn = QRegion();
        widget->installEventFilter(Filter());
    }
    overlay.image = image;
    overlay.drawn += drawn;
    widget->update(drawn);
}

// The pixels of the windows beneath widget (its ancestors' own painting), in
// widget coordinates.
void PaintBackdrop(QWidget* widget, QImage& image)
{
    std::vector<QWidget*> chain;
    for (QWidget* w = widget; !w->isWindow() && w->parentWidget(); w = w->parentWidget())
        chain.push_back(w->parentWidget());
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        QWidget* ancestor = *it;
        const HWND hwnd = wnd_internal::HwndOfWidget(ancestor);
        if (g_capturing.count(hwnd) || wnd_internal::GetPaintRect(hwnd, nullptr))
            continue;
        const QPoint at = widget->mapTo(ancestor, QPoint(0, 0));
        g_capturing.insert(hwnd);
        ancestor->render(
            &image, QPoint(0, 0), QRegion(QRect(at, widget->size())), QWidget::DrawWindowBackground);
        g_capturing.erase(hwnd);
    }
}

Surface* MakeSurface(HWND hwnd, HDC* dc)
{
    auto* surface = new Surface;
    surface->hwnd = hwnd;
    CRect client;
    if (CWnd* object = CWnd::FromHandle(hwnd)) {
        object->GetClientRect(&client);
    } else if (std::shared_ptr<WindowState> state = window_table::Find(hwnd)) {
        std::lock_guard lock(window_table::Mutex());
        client = CRect(0, 0, state->rect.Width(), state->rect.Height());
    }
    surface->image = QImage(std::max(1, static_cast<int>(client.Width())),
        std::max(1, static_cast<int>(client.Height())), QImage::Format_RGB32);
    surface->image.fill(GdiColor(GetSysColor(COLOR_BTNFACE)));
    QWidget* widget = wnd_internal::ExistingWidgetOf(hwnd);
    const bool painting = wnd_internal::GetPaintRect(hwnd, nullptr) || g_capturing.count(hwnd);
    if (widget) {
        PaintBackdrop(widget, surface->image);
        if (!painting) {
            auto overlay = g_overlays.find(hwnd);
            if (overlay != g_overlays.end() && overlay->second.image.size() == surface->image.size()) {
                surface->image = overlay->second.image;
            } else {
                g_capturing.insert(hwnd);
                widget->render(&surface->image, QPoint(0, 0), QRegion(), QWidget::DrawWindowBackground);
                g_capturing.erase(hwnd);
            }
        }
    }
    surface->keep = widget && !painting;
    *dc = GdiCreateDeviceDC(&surface->image, QPoint(0, 0), std::nullopt,
        [surface](const QRect& rect) { surface->drawn |= rect; });
    return surface;
}

void FinishSurface(Surface* surface)
{
    if (surface->keep && !surface->drawn.isEmpty() && IsWindow(surface->hwnd))
        KeepOverlay(surface->hwnd, surface->image, surface->drawn);
    delete surface;
}

} // namespace

CClientDC::CClientDC(CWnd* wnd)
{
    m_hWnd = wnd ? wnd->GetSafeHwnd() : nullptr;
    HDC dc = nullptr;
    m_surface = MakeSurface(m_hWnd, &dc);
    m_hDC = dc;
    m_hAttribDC = dc;
}

CClientDC::~CClientDC()
{
    if (m_hDC) {
        ::DeleteDC(m_hDC);
        m_hDC = nullptr;
        m_hAttribDC = nullptr;
    }
    FinishSurface(static_cast<Surface*>(m_surface));
}

HDC GetDC(HWND hwnd)
{
    HDC dc = nullptr;
    Surface* surface = MakeSurface(hwnd, &dc);
    if (!dc) {
        delete surface;
        return nullptr;
    }
    g_loose[dc] = surface;
    return dc;
}

int ReleaseDC(HWND hwnd, HDC dc)
{
    auto it = g_loose.find(dc);
    if (it == g_loose.end() || it->second->hwnd != hwnd)
        return 0;
    Surface* surface = it->second;
    g_loose.erase(it);
    ::DeleteDC(dc);
    FinishSurface(surface);
    return 1;
}
