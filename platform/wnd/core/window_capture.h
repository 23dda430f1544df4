#pragma once
// Captures a window with everything in it (its child windows too) as it
// paints itself, for screenshots. UI thread.

#include "platform/gdi/dc.h"
#include "platform/wnd/core/wnd.h"

// Renders the window and its descendants into target (a memory DC holding a
// bitmap) at (0, 0). FALSE when hwnd is not a window or target has no image.
BOOL AfxPrintWindowTree(HWND hwnd, CDC* target);
