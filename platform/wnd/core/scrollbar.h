#pragma once
// Window scroll bars: the standard bars of a window with WS_HSCROLL or
// WS_VSCROLL, shown at the right and bottom edges outside the client area.
// The bars keep a range, a page and a position; user actions on them reach
// the window as WM_HSCROLL / WM_VSCROLL with an SB_ code. UI thread.

#include "platform/wnd/core/wnd.h"

inline constexpr int SB_HORZ = 0;
inline constexpr int SB_VERT = 1;
inline constexpr int SB_CTL = 2;
inline constexpr int SB_BOTH = 3;

// WM_HSCROLL / WM_VSCROLL codes (LOWORD(wParam)).
inline constexpr UINT SB_LINEUP = 0;
inline constexpr UINT SB_LINELEFT = 0;
inline constexpr UINT SB_LINEDOWN = 1;
inline constexpr UINT SB_LINERIGHT = 1;
inline constexpr UINT SB_PAGEUP = 2;
inline constexpr UINT SB_PAGELEFT = 2;
inline constexpr UINT SB_PAGEDOWN = 3;
inline constexpr UINT SB_PAGERIGHT = 3;
inline constexpr UINT SB_THUMBPOSITION = 4;
inline constexpr UINT SB_THUMBTRACK = 5;
inline constexpr UINT SB_TOP = 6;
inline constexpr UINT SB_LEFT = 6;
inline constexpr UINT SB_BOTTOM = 7;
inline constexpr UINT SB_RIGHT = 7;
inline constexpr UINT SB_ENDSCROLL = 8;

inline constexpr UINT SIF_RANGE = 0x0001;
inline constexpr UINT SIF_PAGE = 0x0002;
inline constexpr UINT SIF_POS = 0x0004;
inline constexpr UINT SIF_DISABLENOSCROLL = 0x0008;
inline constexpr UINT SIF_TRACKPOS = 0x0010;
inline constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

// Width of a vertical bar and height of a horizontal one, in pixels.
inline constexpr int kScrollBarSize = 16;

struct SCROLLINFO {
    UINT cbSize = sizeof(SCROLLINFO);
    UINT fMask = 0;
    int nMin = 0;
    int nMax = 0;
    UINT nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};
using LPSCROLLINFO = SCROLLINFO*;

// The control that sent a WM_HSCROLL/WM_VSCROLL; null for window bars.
class CScrollBar : public CWnd { };

// Sets the fields of info->fMask; the position is kept within
// [nMin, nMax - max(nPage - 1, 0)]. Returns the new position (0 when hwnd is not
// a window). Visibility is not changed.
int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw = TRUE);
// Fills the fields of info->fMask; FALSE when hwnd is not a window or bar is
// not SB_HORZ/SB_VERT.
BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info);
int GetScrollPos(HWND hwnd, int bar);
int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw = TRUE);
// Shows or hides the bar(s) (SB_HORZ, SB_VERT, SB_BOTH) by the window's
// WS_HSCROLL / WS_VSCROLL style; the client area shrinks by the bars shown.
BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show = TRUE);
// The thumb position while the user drags it (SIF_TRACKPOS reads it). The
// bar's widget sets it; tests set it before sending SB_THUMBTRACK.
void SetScrollTrackPos(HWND hwnd, int bar, int trackPos);
// Subtracts the bars that style shows (WS_VSCROLL, WS_HSCROLL) from a client
// rectangle.
void ExcludeScrollBars(DWORD style, RECT* clientRect);

// WM_HSCROLL / WM_VSCROLL: void OnHScroll(UINT code, UINT pos, CScrollBar* bar).
CALVORN_WM_CRACKER(WM_HSCROLL, void (C::*)(UINT, UINT, CScrollBar*),
                   (self->*H)(LOWORD(wp), HIWORD(wp),
                       static_cast<CScrollBar*>(CWnd::FromHandle(reinterpret_cast<HWND>(lp))));
                   return 0)
CALVORN_WM_CRACKER(WM_VSCROLL, void (C::*)(UINT, UINT, CScrollBar*),
                   (self->*H)(LOWORD(wp), HIWORD(wp),
                       static_cast<CScrollBar*>(CWnd::FromHandle(reinterpret_cast<HWND>(lp))));
                   return 0)
