#pragma once
// Moving a top-level window as if its caption were dragged: the default
// handling of WM_NCLBUTTONDOWN with HTCAPTION. Platform-internal. UI thread.

#include "platform/wnd/core/internal/platform_only.h"
#include "platform/wnd/core/messages.h"

namespace caption_drag {

// Starts moving the top-level window of hwnd with the left button held;
// lParam is the cursor's screen point (x, y as signed 16-bit values) where the
// drag began. The system's own move is used when the platform offers one;
// otherwise the window captures the mouse and follows it until the left
// button is released. FALSE when hwnd is not a shown window.
BOOL Begin(HWND hwnd, LPARAM lParam);

// TRUE while a mouse-following move (no system move) is under way.
BOOL IsTracking();

} // namespace caption_drag
