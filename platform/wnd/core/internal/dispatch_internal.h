#pragma once
// The UI thread's dispatcher: the queue of posted messages, cross-thread sends
// and tasks, and the exception boundary around every handler.

#include "platform/wnd/core/internal/platform_only.h"

#include <functional>

#include "platform/wnd/core/wnd.h"

namespace dispatch_internal {

// One message being dispatched on the UI thread (innermost last).
struct Frame {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    bool defaultReached = false; // DefWindowProc ran for this message
};

// Innermost frame, or nullptr outside any dispatch.
Frame* CurrentFrame();
// Number of frames on the UI thread's stack.
int Depth();

// Runs the window's procedure for the message inside the exception boundary.
// defaultReached (when given) tells whether DefWindowProc handled it.
LRESULT Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool* defaultReached = nullptr);

// Sends from another thread: queues the call for the UI thread and waits.
LRESULT CrossThreadSend(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Queues a posted message.
bool Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Runs fn on the UI thread for a message box asked for on another thread, and
// waits. Unlike other cross-thread work, such requests are also served while
// the UI thread waits on a kernel object (ServeMessageBoxes): on Windows the
// box would run on the asking thread, so a UI thread waiting for that thread
// must not keep it from ever being answered. false when it could not run.
bool RunMessageBoxOnUiThread(const std::function<void()>& fn);
// Runs the message box requests now pending. UI thread.
void ServeMessageBoxes();

// Releases every sender still waiting for hwnd (with result 0).
void CancelSendsFor(HWND hwnd);

// Offers a queued (posted or input) message to the application thread's
// PreTranslateMessage, or to the window tree when there is no application
// object; TRUE when it was eaten. Exceptions are caught as in Dispatch.
bool PreTranslate(MSG* msg);

// Shows an escaped exception's text in a stop box.
void ReportHandlerFailure(const char* text);

} // namespace dispatch_internal
