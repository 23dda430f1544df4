// Synthetic input for tests, delivered as Qt events.

#include "platform/wnd/core/input_seam.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include "platform/wnd/core/internal/widget_bridge.h"
#include "platform/wnd/core/internal/wnd_internal.h"

namespace {

QWidget* VisibleWidget(HWND hwnd)
{
    QWidget* widget = wnd_internal::ExistingWidgetOf(hwnd);
    return widget && widget->isVisible() ? widget : nullptr;
}

Qt::KeyboardModifiers Modifiers(UINT keyState)
{
    Qt::KeyboardModifiers modifiers;
    if (keyState & MK_SHIFT)
        modifiers |= Qt::ShiftModifier;
    if (keyState & MK_CONTROL)
        modifiers |= Qt::ControlModifier;
    return modifiers;
}

Qt::MouseButtons Buttons(UINT keyState)
{
    Qt::MouseButtons buttons;
    if (keyState & MK_LBUTTON)
        buttons |= Qt::LeftButton;
    if (keyState & MK_RBUTTON)
        buttons |= Qt::RightButton;
    if (keyState & MK_MBUTTON)
        buttons |= Qt::MiddleButton;
    return buttons;
}

} // namespace

namespace {

bool MouseEventType(UINT message, QEvent::Type* type, Qt::MouseButton* button)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        *type = QEvent::MouseButtonPress;
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        *type = QEvent::MouseButtonRelease;
        break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        *type = QEvent::MouseButtonDblClick;
        break;
    case WM_MOUSEMOVE:
        *type = QEvent::MouseMove;
        *button = Qt::NoButton;
        return true;
    default:
        return false;
    }
    const UINT kind = (message - WM_LBUTTONDOWN) / 3; // 0 left, 1 right, 2 middle
    *button = kind == 1 ? Qt::RightButton : kind == 2 ? Qt::MiddleButton : Qt::LeftButton;
    return true;
}

BOOL SendMouse(QWidget* widget, QPointF local, UINT message, UINT keyState)
{
    QEvent::Type type = QEvent::MouseMove;
    Qt::MouseButton button = Qt::NoButton;
    if (!MouseEventType(message, &type, &button))
        return FALSE;
    QMouseEvent event(
        type, local, widget->mapToGlobal(local), button, Buttons(keyState), Modifiers(keyState));
    QApplication::sendEvent(widget, &event);
    return TRUE;
}

} // namespace

BOOL AfxSimulateMouse(HWND hwnd, UINT message, POINT point, UINT keyState)
{
    QWidget* widget = VisibleWidget(hwnd);
    if (!widget)
        return FALSE;
    QPointF local(point.x, point.y);
    // A scrolling widget (list, multi-line edit) takes clicks in its viewport,
    // as the system delivers them.
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) {
        const QPoint inViewport = area->viewport()->mapFrom(widget, local.toPoint());
        if (area->viewport()->rect().contains(inViewport)) {
            widget = area->viewport();
            local = inViewport;
        }
    }
    return SendMouse(widget, local, message, keyState);
}

BOOL AfxSimulateMouseAt(HWND hwnd, UINT message, POINT point, UINT keyState)
{
    QWidget* top = VisibleWidget(hwnd);
    if (!top)
        return FALSE;
    const QPoint place(point.x, point.y);
    QWidget* target = top->childAt(place);
    if (!target)
        target = top;
    const bool pressing = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN
        || message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK;
    if (CWnd* capture = CWnd::GetCapture(); capture && !pressing) {
        if (QWidget* held = VisibleWidget(capture->GetSafeHwnd()))
            target = held;
    }
    const QPoint local = target->mapFromGlobal(top->mapToGlobal(place));
    return SendMouse(target, QPointF(local), message, keyState);
}

BOOL AfxSimulateKey(HWND hwnd, UINT vk, const char* text, BOOL shift, BOOL control, BOOL alt)
{
    QWidget* widget = VisibleWidget(hwnd);
    if (!widget)
        return FALSE;
    Qt::KeyboardModifiers modifiers;
    if (shift)
        modifiers |= Qt::ShiftModifier;
    if (control)
        modifiers |= Qt::ControlModifier;
    if (alt)
        modifiers |= Qt::AltModifier;
    const int key = widget_bridge::QtKeyFromVirtual(vk);
    const QString typed = QString::fromUtf8(text ? text : "");
    QKeyEvent press(QEvent::KeyPress, key, modifiers, typed);
    QApplication::sendEvent(widget, &press);
    if (!wnd_internal::ExistingWidgetOf(hwnd))
        return TRUE; // the key destroyed its window
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, typed);
    QApplication::sendEvent(widget, &release);
    // The application takes the modifiers of the last key as held: they are
    // let go, so none stays held for later input.
    if (modifiers != Qt::NoModifier && wnd_internal::ExistingWidgetOf(hwnd)) {
        QKeyEvent letGo(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier);
        QApplication::sendEvent(widget, &letGo);
    }
    return TRUE;
}

BOOL AfxSimulateWheel(HWND hwnd, POINT point, int delta, UINT keyState)
{
    QWidget* widget = VisibleWidget(hwnd);
    if (!widget)
        return FALSE;
    const QPointF local(point.x, point.y);
    QWheelEvent event(local, widget->mapToGlobal(local), QPoint(), QPoint(0, delta), Buttons(keyState),
        Modifiers(keyState), Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
    return TRUE;
}

BOOL AfxSimulateClick(HWND hwnd, POINT point)
{
    return AfxSimulateMouse(hwnd, WM_LBUTTONDOWN, point, MK_LBUTTON)
        && AfxSimulateMouse(hwnd, WM_LBUTTONUP, point, 0);
}

BOOL AfxSimulateClickAt(HWND hwnd, POINT point)
{
    return AfxSimulateMouseAt(hwnd, WM_LBUTTONDOWN, point, MK_LBUTTON)
        && AfxSimulateMouseAt(hwnd, WM_LBUTTONUP, point, 0);
}
