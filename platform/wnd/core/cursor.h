#pragma once
// Mouse cursor: shapes, the current cursor, its position and confinement.
// UI thread.

#include "platform/gdi/gdi_types.h"
#include "platform/wnd/core/wnd.h"

// Standard cursor ids (LoadCursor with a null instance).
inline constexpr UINT_PTR IDC_ARROW = 32512;
inline constexpr UINT_PTR IDC_IBEAM = 32513;
inline constexpr UINT_PTR IDC_WAIT = 32514;
inline constexpr UINT_PTR IDC_CROSS = 32515;
inline constexpr UINT_PTR IDC_SIZENWSE = 32642;
inline constexpr UINT_PTR IDC_SIZENESW = 32643;
inline constexpr UINT_PTR IDC_SIZEWE = 32644;
inline constexpr UINT_PTR IDC_SIZENS = 32645;
inline constexpr UINT_PTR IDC_SIZEALL = 32646;
inline constexpr UINT_PTR IDC_NO = 32648;
inline constexpr UINT_PTR IDC_HAND = 32649;

// WM_SETCURSOR / WM_NCHITTEST hit-test codes.
inline constexpr UINT HTNOWHERE = 0;
inline constexpr UINT HTCLIENT = 1;
inline constexpr UINT HTCAPTION = 2;
inline constexpr UINT HTVSCROLL = 6;
inline constexpr UINT HTHSCROLL = 7;

// The shared cursor of a standard id; null for an unknown id.
HCURSOR LoadCursor(void* instance, UINT_PTR id);
// Makes the cursor current (shown over the window under the mouse); returns
// the previous one.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
// Destroys a cursor made from a resource (LoadImage, IMAGE_CURSOR); the shared
// standard cursors stay. FALSE for a handle that is no cursor.
BOOL DestroyCursor(HCURSOR cursor);
// The standard id of a cursor handle from LoadCursor; 0 for others.
UINT_PTR GetStandardCursorId(HCURSOR cursor);

// Cursor position in screen coordinates. After SetCursorPos the position set
// is reported until the next call (the offscreen platform has no pointer).
BOOL GetCursorPos(POINT* point);
BOOL SetCursorPos(int x, int y);
// Screen position of the last message's cursor as MAKELONG(x, y).
DWORD GetMessagePos();
// Keeps the cursor inside rect (screen coordinates); null frees it. Recorded.
BOOL ClipCursor(const RECT* rect);
// The confinement rectangle; FALSE when the cursor is free.
BOOL GetClipCursor(RECT* rect);

// Shows the wait cursor while it lives.
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};
