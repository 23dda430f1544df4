#pragma once
// Between the window table and Qt widgets: creating a window's widget when it
// must appear, keeping it in step with the table, and turning its Qt events
// into window messages. UI thread only.

#include "platform/wnd/core/internal/platform_only.h"

#include <memory>

#include <QPaintEvent>
#include <QRect>

#include "platform/wnd/core/internal/window_state.h"

namespace widget_bridge {

// Creates the widget of the window (and of its ancestors, then its children)
// when it has none.
void Realize(const std::shared_ptr<WindowState>& state);
// True when the window has a widget.
bool IsRealized(const WindowState& state);

// Bring the widget in line with the table. The text reaches a widget not on
// show when it is shown, or at FlushText (for a caller that reads the widget).
void ApplyText(const std::shared_ptr<WindowState>& state);
void FlushText(const std::shared_ptr<WindowState>& state);
// The widget's showing or hiding (its Show and Hide events): whether another
// thread's text must be handed over to it at once.
void NoteOnShow(WindowState& state, bool onShow);
void ApplyGeometry(const std::shared_ptr<WindowState>& state);
void ApplyVisible(const std::shared_ptr<WindowState>& state, bool activate, int showCommand);
void ApplyEnabled(const std::shared_ptr<WindowState>& state);
void ApplyZOrder(const std::shared_ptr<WindowState>& state, bool top);

// Detaches and drops the widget of a destroyed window.
void ReleaseWidget(WindowState& state);

// Painting: add to the update region (nullptr: all) and schedule the paint;
// remove from it; paint now when something is pending.
void Invalidate(const std::shared_ptr<WindowState>& state, const QRect* rect, bool erase = true);
// Runs the window's WM_PAINT for a paint event of its widget: true when the
// window left the painting to the widget.
bool RunPaint(HWND hwnd, const QPaintEvent& paint);
void Validate(const std::shared_ptr<WindowState>& state, const QRect* rect);
void UpdateNow(const std::shared_ptr<WindowState>& state);

void GiveFocus(const std::shared_ptr<WindowState>& state);
void GrabMouse(const std::shared_ptr<WindowState>& state);
void ReleaseMouse(const std::shared_ptr<WindowState>& state);

// Key codes: Qt's to the virtual-key code (0 when it has none) and back.
UINT VirtualKeyFromQt(int key);
int QtKeyFromVirtual(UINT vk);

// The primary screen's rectangle.
QRect ScreenRect();

} // namespace widget_bridge

namespace window_focus {
// Moves the focus to hwnd (nullptr: nowhere), sending WM_KILLFOCUS and
// WM_SETFOCUS. Returns the window that had it.
HWND SetFocusTo(HWND hwnd);
HWND Focus();
} // namespace window_focus

namespace window_timers {
// Drops every timer of a destroyed window.
void KillAll(HWND hwnd);
} // namespace window_timers
