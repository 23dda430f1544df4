#pragma once
// Keyboard navigation among a dialog's controls. UI thread.

#include "platform/wnd/core/wnd.h"

// The next (or, with previous, the preceding) child of dialog after control in
// tab order that is visible, enabled and has WS_TABSTOP, wrapping around;
// control itself when it is the only one, nullptr when there is none.
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous = FALSE);
