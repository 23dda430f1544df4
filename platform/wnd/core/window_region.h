#pragma once
// Window regions: the part of a window that is shown and takes the mouse.
// UI thread.

#include "platform/gdi/gdi_types.h"
#include "platform/wnd/core/wnd.h"

// Sets the window's region (window coordinates); null restores the full
// rectangle. The layer keeps its own copy: the handle stays the caller's.
// Returns 0 when hwnd is not a window or region is not a region.
int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw);
// Copies the window's region into region; ERROR when the window has none.
int GetWindowRgn(HWND hwnd, HRGN region);
