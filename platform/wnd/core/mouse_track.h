#pragma once
// Mouse tracking and hit testing: WM_MOUSELEAVE and WM_MOUSEHOVER on request,
// the window under a screen point, the active window. UI thread.

#include "platform/wnd/core/wnd.h"

inline constexpr DWORD TME_HOVER = 0x00000001;
inline constexpr DWORD TME_LEAVE = 0x00000002;
inline constexpr DWORD TME_QUERY = 0x40000000;
inline constexpr DWORD TME_CANCEL = 0x80000000;
inline constexpr DWORD HOVER_DEFAULT = 0xFFFFFFFF;
// Hover time used for HOVER_DEFAULT, in milliseconds.
inline constexpr DWORD kDefaultHoverMs = 400;

struct TRACKMOUSEEVENT {
    DWORD cbSize = sizeof(TRACKMOUSEEVENT);
    DWORD dwFlags = 0;
    HWND hwndTrack = nullptr;
    DWORD dwHoverTime = HOVER_DEFAULT;
};
using LPTRACKMOUSEEVENT = TRACKMOUSEEVENT*;

// Asks for WM_MOUSELEAVE (TME_LEAVE: posted once when the pointer next moves
// off the window, onto another window or away from the program's windows)
// and/or WM_MOUSEHOVER (TME_HOVER: posted once when the pointer has rested on
// the window for the hover time; lParam the point in client coordinates).
// TME_CANCEL withdraws the requests named; TME_QUERY fills the record with
// the requests pending for hwndTrack. FALSE for a record that is null or
// names no window.
BOOL TrackMouseEvent(TRACKMOUSEEVENT* request);
BOOL _TrackMouseEvent(TRACKMOUSEEVENT* request);

// The deepest visible window of the program at the point (screen coordinates),
// nullptr when none.
HWND WindowFromPoint(POINT point);
// The active top-level window of the program, nullptr when none is active.
HWND GetActiveWindow();
