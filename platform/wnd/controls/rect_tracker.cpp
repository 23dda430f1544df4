// The rectangle tracker: geometry of its handles, drawing, cursors, and the
// modal mouse loop that follows a drag until the button goes up.

#include "platform/wnd/controls/rect_tracker.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <cstdlib>

#include "platform/gdi/brush.h"
#include "platform/gdi/pen.h"
#include "platform/wnd/core/app.h"
#include "platform/wnd/core/client_dc.h"
#include "platform/wnd/core/cursor.h"
#include "platform/wnd/core/internal/wnd_internal.h"

namespace {

constexpr int kDefaultHandleSize = 6;

// The handle a handle becomes when the rectangle is turned over across (X)
// or along (Y).
constexpr int kFlipX[] = { 1, 0, 3, 2, 4, 7, 6, 5 };
constexpr int kFlipY[] = { 3, 2, 1, 0, 6, 5, 4, 7 };

UINT_PTR CursorOfHit(int hit)
{
    switch (hit) {
    case CRectTracker::hitTopLeft:
    case CRectTracker::hitBottomRight:
        return IDC_SIZENWSE;
    case CRectTracker::hitTopRight:
    case CRectTracker::hitBottomLeft:
        return IDC_SIZENESW;
    case CRectTracker::hitTop:
    case CRectTracker::hitBottom:
        return IDC_SIZENS;
    case CRectTracker::hitLeft:
    case CRectTracker::hitRight:
        return IDC_SIZEWE;
    default:
        return IDC_SIZEALL;
    }
}

// Eats the mouse and Escape while the loop runs and hands each mouse
// position to the tracker.
class MouseLoopFilter : public QObject {
public:
    MouseLoopFilter(CWnd* wnd, const std::function<void(CPoint)>& onMove)
        : m_wnd(wnd)
        , m_onMove(onMove)
    { }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            OnMouse(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
                m_result = 0;
            return true;
        case QEvent::KeyRelease:
            return true;
        default:
            return QObject::eventFilter(watched, event);
        }
    }

    // -1 while the loop runs, then 1 (released) or 0 (cancelled).
    int Result() const { return m_result; }
    void Cancel() { m_result = 0; }

private:
    void OnMouse(QMouseEvent* mouse)
    {
        if (m_result >= 0)
            return;
        QWidget* widget = wnd_internal::ExistingWidgetOf(m_wnd->GetSafeHwnd());
        if (!widget)
            return;
        const QPoint local = widget->mapFromGlobal(mouse->globalPosition().toPoint());
        m_onMove(CPoint(local.x(), local.y()));
        const bool released = mouse->type() == QEvent::MouseButtonRelease
            ? mouse->button() == Qt::LeftButton
            : !(mouse->buttons() & Qt::LeftButton);
        if (released)
            m_result = 1;
    }

    CWnd* m_wnd;
    const std::function<void(CPoint)>& m_onMove;
    int m_result = -1;
};

} // namespace

namespace rect_tracker {

BOOL RunMouseLoop(CWnd* wnd, const std::function<void(CPoint)>& onMove)
{
    if (!wnd || !wnd->GetSafeHwnd())
        return FALSE;
    const HWND hwnd = wnd->GetSafeHwnd();
    MouseLoopFilter filter(wnd, onMove);
    wnd->SetCapture();
    qApp->installEventFilter(&filter);
    while (filter.Result() < 0) {
        AfxPumpMessage(50);
        if (!IsWindow(hwnd) || CWnd::GetCapture() != wnd)
            filter.Cancel();
    }
    qApp->removeEventFilter(&filter);
    if (IsWindow(hwnd) && CWnd::GetCapture() == wnd)
        ReleaseCapture();
    return filter.Result() == 1;
}

} // namespace rect_tracker

CRectTracker::CRectTracker()
    : m_nHandleSize(kDefaultHandleSize)
{ }

CRectTracker::CRectTracker(LPCRECT rect, UINT style)
    : m_rect(*rect)
    , m_nHandleSize(kDefaultHandleSize)
    , m_nStyle(style)
{ }

int CRectTracker::GetHandleSize(LPCRECT rect) const
{
    const CRect r = rect ? CRect(*rect) : m_rect;
    int size = m_nHandleSize;
    if (!(m_nStyle & resizeOutside)) {
        // Handles inside a small rectangle shrink so that opposite ones do not meet.
        const int limit = std::min(std::abs(r.Width()), std::abs(r.Height())) / 2;
        size = std::min(size, std::max(limit, 1));
    }
    return size;
}

UINT CRectTracker::GetHandleMask() const
{
    UINT mask = 0x0F;
    const int size = m_nHandleSize * 3;
    if (std::abs(m_rect.Width()) - size > 4)
        mask |= 0x50;
    if (std::abs(m_rect.Height()) - size > 4)
        mask |= 0xA0;
    return mask;
}

void CRectTracker::GetTrueRect(LPRECT trueRect) const
{
    CRect r = m_rect;
    r.NormalizeRect();
    const int size = GetHandleSize();
    if (m_nStyle & (resizeOutside | hatchedBorder))
        r.InflateRect(size - 1, size - 1);
    *trueRect = r;
}

void CRectTracker::GetHandleRect(int handle, CRect* handleRect) const
{
    CRect r = m_rect;
    r.NormalizeRect();
    const int size = GetHandleSize();
    if (m_nStyle & resizeOutside)
        r.InflateRect(size - 1, size - 1);
    const int midX = r.left + (r.Width() - size) / 2;
    const int midY = r.top + (r.Height() - size) / 2;
    const int rightX = r.right - size;
    const int bottomY = r.bottom - size;
    static constexpr int kColumn[] = { 0, 2, 2, 0, 1, 2, 1, 0 };
    static constexpr int kRow[] = { 0, 0, 2, 2, 0, 1, 2, 1 };
    const int xs[] = { r.left, midX, rightX };
    const int ys[] = { r.top, midY, bottomY };
    const int x = xs[kColumn[handle]];
    const int y = ys[kRow[handle]];
    handleRect->SetRect(x, y, x + size, y + size);
}

std::vector<std::pair<int, CRect>> CRectTracker::ShownHandles() const
{
    std::vector<std::pair<int, CRect>> handles;
    if (!(m_nStyle & (resizeInside | resizeOutside)))
        return handles;
    const UINT mask = GetHandleMask();
    for (int handle = 0; handle < 8; ++handle) {
        if (!(mask & (1u << handle)))
            continue;
        CRect handleRect;
        GetHandleRect(handle, &handleRect);
        handles.emplace_back(handle, handleRect);
    }
    return handles;
}

int CRectTracker::HitTestHandles(CPoint point) const
{
    CRect trueRect;
    GetTrueRect(&trueRect);
    if (!trueRect.PtInRect(point))
        return hitNothing;
    for (const auto& [handle, handleRect] : ShownHandles())
        if (handleRect.PtInRect(point))
            return handle;
    return hitMiddle;
}

int CRectTracker::HitTest(CPoint point) const
{
    return HitTestHandles(point);
}

int CRectTracker::NormalizeHit(int handle) const
{
    if (handle < 0 || handle >= hitMiddle)
        return handle;
    if (m_rect.Width() < 0)
        handle = kFlipX[handle];
    if (m_rect.Height() < 0)
        handle = kFlipY[handle];
    return handle;
}

BOOL CRectTracker::SetCursor(CWnd* wnd, UINT hitTest) const
{
    if (!wnd || hitTest != HTCLIENT)
        return FALSE;
    CPoint point;
    GetCursorPos(&point);
    wnd->ScreenToClient(&point);
    const int hit = HitTest(point);
    if (hit == hitNothing)
        return FALSE;
    ::SetCursor(LoadCursor(nullptr, CursorOfHit(NormalizeHit(hit))));
    return TRUE;
}

void CRectTracker::Draw(CDC* dc) const
{
    if (!dc)
        return;
    CRect r = m_rect;
    r.NormalizeRect();
    const int saved = dc->SaveDC();
    if (m_nStyle & (solidLine | dottedLine)) {
        CPen pen(m_nStyle & solidLine ? PS_SOLID : PS_DOT, 1, RGB(0, 0, 0));
        dc->SelectObject(&pen);
        dc->SetBkMode(OPAQUE);
        dc->SetBkColor(RGB(255, 255, 255));
        const POINT frame[] = { { r.left, r.top }, { r.right - 1, r.top }, { r.right - 1, r.bottom - 1 },
            { r.left, r.bottom - 1 }, { r.left, r.top } };
        dc->Polyline(frame, 5);
    }
    if (m_nStyle & (hatchedBorder | hatchInside)) {
        CBrush hatch(HS_BDIAGONAL, RGB(0, 0, 0));
        dc->SetBkMode(TRANSPARENT);
        if (m_nStyle & hatchInside)
            dc->FillRect(&r, &hatch);
        if (m_nStyle & hatchedBorder) {
            CRect outer;
            GetTrueRect(&outer);
            const CRect strips[] = { { outer.left, outer.top, outer.right, r.top },
                { outer.left, r.bottom, outer.right, outer.bottom }, { outer.left, r.top, r.left, r.bottom },
                { r.right, r.top, outer.right, r.bottom } };
            for (const CRect& strip : strips)
                dc->FillRect(&strip, &hatch);
        }
    }
    for (const auto& [handle, handleRect] : ShownHandles())
        dc->FillSolidRect(&handleRect, RGB(0, 0, 0));
    dc->RestoreDC(saved);
}

void CRectTracker::DrawTrackerRect(LPCRECT rect, CWnd*, CDC* dc, CWnd*)
{
    CRect r(*rect);
    r.NormalizeRect();
    if (m_bErase)
        dc->DrawFocusRect(&m_rectLast);
    m_rectLast = r;
    dc->DrawFocusRect(&r);
    m_bErase = TRUE;
}

void CRectTracker::AdjustRect(int, LPRECT) { }

void CRectTracker::OnChangedRect(const CRect&) { }

void CRectTracker::EdgesOf(int handle, LONG*& x, LONG*& y)
{
    static constexpr int kX[] = { 0, 2, 2, 0, -1, 2, -1, 0, 0 }; // 0 left, 2 right, -1 none
    static constexpr int kY[] = { 0, 0, 2, 2, 0, -1, 2, -1, 0 }; // 0 top, 2 bottom
    x = kX[handle] < 0 ? nullptr : kX[handle] == 0 ? &m_rect.left : &m_rect.right;
    y = kY[handle] < 0 ? nullptr : kY[handle] == 0 ? &m_rect.top : &m_rect.bottom;
}

BOOL CRectTracker::TrackHandle(int handle, CWnd* wnd, CPoint point, BOOL allowInvert)
{
    if (!wnd || !wnd->GetSafeHwnd() || handle < 0 || handle > hitMiddle)
        return FALSE;
    const CRect original = m_rect;
    const CSize size = m_rect.Size();
    LONG* x = nullptr;
    LONG* y = nullptr;
    EdgesOf(handle, x, y);
    const int xOffset = x ? point.x - *x : 0;
    const int yOffset = y ? point.y - *y : 0;
    BOOL moved = FALSE;
    m_bErase = FALSE;
    CClientDC dc(wnd);
    const std::function<void(CPoint)> onMove = [&](CPoint at) {
        const CRect before = m_rect;
        if (x)
            *x = at.x - xOffset;
        if (y)
            *y = at.y - yOffset;
        if (handle == hitMiddle) {
            m_rect.right = m_rect.left + size.cx;
            m_rect.bottom = m_rect.top + size.cy;
        }
        if (!allowInvert) {
            m_rect.right = std::max(m_rect.right, m_rect.left + static_cast<LONG>(m_sizeMin.cx));
            m_rect.bottom = std::max(m_rect.bottom, m_rect.top + static_cast<LONG>(m_sizeMin.cy));
        }
        AdjustRect(handle, &m_rect);
        if (m_rect == before)
            return;
        moved = TRUE;
        DrawTrackerRect(&m_rect, nullptr, &dc, wnd);
        OnChangedRect(before);
    };
    const BOOL released = rect_tracker::RunMouseLoop(wnd, onMove);
    if (m_bErase && IsWindow(wnd->GetSafeHwnd()))
        dc.DrawFocusRect(&m_rectLast);
    m_bErase = FALSE;
    if (!released) {
        m_rect = original;
        return FALSE;
    }
    return moved && m_rect != original;
}

BOOL CRectTracker::Track(CWnd* wnd, CPoint point, BOOL allowInvert, CWnd*)
{
    const int hit = HitTest(point);
    if (hit == hitNothing)
        return FALSE;
    return TrackHandle(hit, wnd, point, allowInvert);
}

BOOL CRectTracker::TrackRubberBand(CWnd* wnd, CPoint point, BOOL allowInvert)
{
    m_rect.SetRect(point.x, point.y, point.x, point.y);
    const BOOL moved = TrackHandle(hitBottomRight, wnd, point, allowInvert);
    m_rect.NormalizeRect();
    return moved;
}
