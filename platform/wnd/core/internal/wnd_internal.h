#pragma once
// Platform-internal view of the window layer for the other platform areas
// (drawing, controls, sockets). Includes Qt: application code never includes
// this header.

#include "platform/wnd/core/internal/platform_only.h"

#include <cstdint>
#include <functional>

#include <QRect>
#include <QWidget>

#include "platform/wnd/core/wnd.h"

class CDC;

namespace wnd_internal {

// The window's widget, creating it (and its ancestors') when the window has
// none yet. nullptr when hwnd is not a window. UI thread.
QWidget* WidgetOf(HWND hwnd);
// The widget when it exists, without creating it. UI thread.
QWidget* ExistingWidgetOf(HWND hwnd);
// Shows icon (null: none) as the window icon of a top-level window. UI thread.
void ApplyWindowIcon(HWND hwnd, HICON icon);
// The window a widget stands for, or nullptr.
HWND HwndOfWidget(const QWidget* widget);

// The rectangle (client coordinates) being painted while WM_PAINT of hwnd is
// dispatched from a paint event; FALSE outside such a dispatch. UI thread.
BOOL GetPaintRect(HWND hwnd, QRect* rect);

// TRUE (and cleared) when the pending paint of hwnd must erase the background
// first: the paint DC sends WM_ERASEBKGND then, as BeginPaint does. UI thread.
BOOL TakeErasePending(HWND hwnd);

// Builds the widget of a window class ("EDIT", "BUTTON" ...). The widget gets
// parent and must not be shown; the window layer sets geometry, visibility and
// text. A later registration of the same class replaces the earlier one.
using WidgetFactory = QWidget* (*)(HWND hwnd, QWidget* parent);
void RegisterWidgetFactory(const char* className, WidgetFactory factory);

// Makes the object that stands for a control created from a dialog template
// (CEdit for "EDIT" ...). The layer owns it and deletes it with the window.
using ControlObjectFactory = CWnd* (*)();
void RegisterControlObjectFactory(const char* className, ControlObjectFactory factory);
// A new object from the factory of className, or nullptr when none is registered.
CWnd* MakeControlObject(const char* className);

// Window class name (upper-cased) of hwnd; empty when none.
CString ClassNameOf(HWND hwnd);

// Runs fn on the UI thread and waits for it (at once when called there).
// Served inside nested loops. With target given, returns FALSE without running
// fn when the window is gone or is destroyed before fn ran. FALSE too when the
// application has ended.
BOOL RunOnUiThread(const std::function<void()>& fn, HWND target = nullptr);
// Queues fn for the UI thread and returns.
void PostToUiThread(std::function<void()> fn);

// Queues task to the message loop of the CWinThread with threadId; it runs
// there in order with the thread's messages. FALSE when no such live thread.
BOOL PostThreadTask(DWORD threadId, std::function<void()> task);

// Renders the window as it paints itself (with its descendants when
// withChildren) into target's image at (0, 0). FALSE when hwnd is not a
// window or target has no image. UI thread.
BOOL RenderWindow(HWND hwnd, CDC* target, bool withChildren);

// Sends the message through the dispatcher's exception boundary. UI thread.
LRESULT DispatchMessageTo(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Drawing changes come at most once a frame (20 ms): fn runs now until the
// event loop has turned within the current frame (the changes then join one
// paint), else once at the frame's end, a later fn of the same key replacing
// an earlier one. So a burst of changes (rows arriving one by one from a
// worker) is drawn once a frame, not once a change. UI thread.
void WithinFrame(std::uintptr_t key, std::function<void()> fn);

} // namespace wnd_internal
