#include "platform/wnd/core/scrollbar.h"

#include <algorithm>
#include <map>
#include <mutex>

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyleFactory>
#include <QWidget>

#include "platform/gdi/system_colors.h"
#include "platform/wnd/core/internal/wnd_internal.h"

namespace {

struct BarState {
    int min = 0;
    int max = 0;
    UINT page = 0;
    int pos = 0;
    int trackPos = 0;
    QPointer<QScrollBar> widget;
};

struct WindowBars {
    BarState bars[2];
};

std::mutex g_mutex;
std::map<HWND, WindowBars> g_bars;

int MaxPos(const BarState& bar)
{
    return std::max(bar.min, bar.max - std::max(static_cast<int>(bar.page) - 1, 0));
}

DWORD StyleBit(int bar)
{
    return bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL;
}

BOOL IsShown(HWND hwnd, int bar)
{
    CWnd* wnd = CWnd::FromHandle(hwnd);
    return wnd && (wnd->GetStyle() & StyleBit(bar)) != 0;
}

void SendScroll(HWND hwnd, int bar, UINT code, int pos)
{
    wnd_internal::DispatchMessageTo(hwnd, bar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL,
        MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(pos)), 0);
}

void SyncWidget(HWND hwnd, int bar);

// The application's style with the system's thumb size as the least a thumb
// is drawn, so that a long range still shows one that can be grabbed.
class ThumbStyle : public QProxyStyle {
public:
    explicit ThumbStyle(QStyle* base)
        : QProxyStyle(base)
    { }
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_ScrollBarSliderMin)
            return GetSystemMetrics(SM_CYVTHUMB);
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

QStyle* BarStyle()
{
    static QPointer<ThumbStyle> s_style;
    if (!s_style) {
        s_style = new ThumbStyle(QStyleFactory::create(QApplication::style()->name()));
        s_style->setParent(QApplication::instance());
    }
    return s_style;
}

// Keeps the bar widgets at the window's edges when it is resized.
class EdgeKeeper : public QObject {
public:
    explicit EdgeKeeper(HWND hwnd)
        : m_hwnd(hwnd)
    { }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize) {
            SyncWidget(m_hwnd, SB_HORZ);
            SyncWidget(m_hwnd, SB_VERT);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    HWND m_hwnd;
};

QScrollBar* MakeWidget(HWND hwnd, int bar, QWidget* host)
{
    auto* widget = new QScrollBar(bar == SB_HORZ ? Qt::Horizontal : Qt::Vertical, host);
    widget->setFocusPolicy(Qt::NoFocus);
    widget->setStyle(BarStyle());
    if (!host->property("calvornEdgeKeeper").toBool()) {
        auto* keeper = new EdgeKeeper(hwnd);
        keeper->setParent(host);
        host->installEventFilter(keeper);
        host->setProperty("calvornEdgeKeeper", true);
    }
    QObject::connect(widget, &QAbstractSlider::actionTriggered, widget, [hwnd, bar, widget](int action) {
        UINT code = SB_ENDSCROLL;
        switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            code = SB_LINEDOWN;
            break;
        case QAbstractSlider::SliderSingleStepSub:
            code = SB_LINEUP;
            break;
        case QAbstractSlider::SliderPageStepAdd:
            code = SB_PAGEDOWN;
            break;
        case QAbstractSlider::SliderPageStepSub:
            code = SB_PAGEUP;
            break;
        case QAbstractSlider::SliderToMinimum:
            code = SB_TOP;
            break;
        case QAbstractSlider::SliderToMaximum:
            code = SB_BOTTOM;
            break;
        case QAbstractSlider::SliderMove:
            SetScrollTrackPos(hwnd, bar, widget->sliderPosition());
            code = SB_THUMBTRACK;
            break;
        default:
            return;
        }
        SendScroll(hwnd, bar, code, widget->sliderPosition());
        SyncWidget(hwnd, bar);
    });
    QObject::connect(widget, &QAbstractSlider::sliderReleased, widget, [hwnd, bar, widget]() {
        SendScroll(hwnd, bar, SB_THUMBPOSITION, widget->sliderPosition());
        SendScroll(hwnd, bar, SB_ENDSCROLL, 0);
        SyncWidget(hwnd, bar);
    });
    return widget;
}

void SyncWidget(HWND hwnd, int bar)
{
    QWidget* host = wnd_internal::ExistingWidgetOf(hwnd);
    BarState copy;
    QPointer<QScrollBar> widget;
    {
        std::lock_guard lock(g_mutex);
        auto it = g_bars.find(hwnd);
        if (it == g_bars.end())
            return;
        copy = it->second.bars[bar];
        widget = it->second.bars[bar].widget;
    }
    const BOOL shown = IsShown(hwnd, bar);
    if (!host || (!shown && !widget))
        return;
    if (!widget) {
        widget = MakeWidget(hwnd, bar, host);
        std::lock_guard lock(g_mutex);
        g_bars[hwnd].bars[bar].widget = widget;
    }
    const BOOL otherShown = IsShown(hwnd, bar == SB_HORZ ? SB_VERT : SB_HORZ);
    const int w = host->width();
    const int h = host->height();
    if (bar == SB_VERT)
        widget->setGeometry(w - kScrollBarSize, 0, kScrollBarSize, h - (otherShown ? kScrollBarSize : 0));
    else
        widget->setGeometry(0, h - kScrollBarSize, w - (otherShown ? kScrollBarSize : 0), kScrollBarSize);
    const QSignalBlocker blocker(widget.data());
    widget->setRange(copy.min, MaxPos(copy));
    widget->setPageStep(static_cast<int>(copy.page));
    widget->setSliderPosition(copy.pos);
    widget->setValue(copy.pos);
    widget->setVisible(shown);
}

} // namespace

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw)
{
    if (!IsWindow(hwnd) || !info || (bar != SB_HORZ && bar != SB_VERT))
        return 0;
    int pos = 0;
    {
        std::lock_guard lock(g_mutex);
        BarState& state = g_bars[hwnd].bars[bar];
        if (info->fMask & SIF_RANGE) {
            state.min = info->nMin;
            state.max = std::max(info->nMin, info->nMax);
        }
        if (info->fMask & SIF_PAGE)
            state.page = info->nPage;
        if (info->fMask & SIF_POS)
            state.pos = info->nPos;
        state.pos = std::clamp(state.pos, state.min, MaxPos(state));
        pos = state.pos;
    }
    if (redraw)
        wnd_internal::WithinFrame(
            (reinterpret_cast<std::uintptr_t>(hwnd) << 2) | (static_cast<std::uintptr_t>(bar) + 1),
            [hwnd, bar] { SyncWidget(hwnd, bar); });
    return pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info)
{
    if (!IsWindow(hwnd) || !info || (bar != SB_HORZ && bar != SB_VERT))
        return FALSE;
    std::lock_guard lock(g_mutex);
    const BarState& state = g_bars[hwnd].bars[bar];
    if (info->fMask & SIF_RANGE) {
        info->nMin = state.min;
        info->nMax = state.max;
    }
    if (info->fMask & SIF_PAGE)
        info->nPage = state.page;
    if (info->fMask & SIF_POS)
        info->nPos = state.pos;
    if (info->fMask & SIF_TRACKPOS)
        info->nTrackPos = state.trackPos;
    return TRUE;
}

int GetScrollPos(HWND hwnd, int bar)
{
    SCROLLINFO info;
    info.fMask = SIF_POS;
    return GetScrollInfo(hwnd, bar, &info) ? info.nPos : 0;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw)
{
    const int old = GetScrollPos(hwnd, bar);
    SCROLLINFO info;
    info.fMask = SIF_POS;
    info.nPos = pos;
    SetScrollInfo(hwnd, bar, &info, redraw);
    return old;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show)
{
    CWnd* wnd = CWnd::FromHandle(hwnd);
    if (!wnd)
        return FALSE;
    DWORD bits = 0;
    if (bar == SB_HORZ || bar == SB_BOTH)
        bits |= WS_HSCROLL;
    if (bar == SB_VERT || bar == SB_BOTH)
        bits |= WS_VSCROLL;
    if (show)
        wnd->ModifyStyle(0, bits);
    else
        wnd->ModifyStyle(bits, 0);
    {
        std::lock_guard lock(g_mutex);
        g_bars[hwnd];
    }
    SyncWidget(hwnd, SB_HORZ);
    SyncWidget(hwnd, SB_VERT);
    return TRUE;
}

void SetScrollTrackPos(HWND hwnd, int bar, int trackPos)
{
    if (bar != SB_HORZ && bar != SB_VERT)
        return;
    std::lock_guard lock(g_mutex);
    g_bars[hwnd].bars[bar].trackPos = trackPos;
}

void ExcludeScrollBars(DWORD style, RECT* clientRect)
{
    if (!clientRect)
        return;
    if (style & WS_VSCROLL)
        clientRect->right = std::max(clientRect->left, clientRect->right - kScrollBarSize);
    if (style & WS_HSCROLL)
        clientRect->bottom = std::max(clientRect->top, clientRect->bottom - kScrollBarSize);
}
