#pragma once
// Test seam: synthetic user input. The events go to the window's widget the
// way the system delivers them, so they pass through PreTranslateMessage, the
// window's handlers and the widget's own handling. The window must be shown.
// UI thread.

#include "platform/base/geometry.h"
#include "platform/wnd/core/messages.h"

// A mouse message (WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, the right
// and middle button messages, WM_MOUSEMOVE) at point (client coordinates) with
// keyState (MK_ flags of buttons held and Shift/Ctrl). FALSE when the window
// has no visible widget.
BOOL AfxSimulateMouse(HWND hwnd, UINT message, POINT point, UINT keyState = 0);

// A key press and release of virtual key vk; text is what the key types
// (UTF-8, may be empty). shift/control/alt add the modifiers.
BOOL AfxSimulateKey(
    HWND hwnd, UINT vk, const char* text = "", BOOL shift = FALSE, BOOL control = FALSE, BOOL alt = FALSE);

// A turn of the mouse wheel by delta (120 a notch, positive away from the
// user) with the pointer at point (client coordinates) and keyState (MK_ flags).
BOOL AfxSimulateWheel(HWND hwnd, POINT point, int delta, UINT keyState = 0);

// A click: button down and up at point.
BOOL AfxSimulateClick(HWND hwnd, POINT point);

// A mouse message at a place: point is in the client coordinates of hwnd (a
// dialog, a view), and the message goes to whatever window the user would hit
// there: the topmost shown descendant at the point (group boxes let it
// through), else hwnd. While a window has the capture, moves and releases go
// to the capture window instead. FALSE when hwnd has no visible widget.
BOOL AfxSimulateMouseAt(HWND hwnd, UINT message, POINT point, UINT keyState = 0);

// A click at a place: button down and up at point (client coordinates of hwnd).
BOOL AfxSimulateClickAt(HWND hwnd, POINT point);
