#pragma once
// The notification-area icon over the desktop's system tray. Where there is
// no tray (the offscreen platform) the calls are recorded and succeed, and
// nothing is shown. Notifications of the icon come to the window as the
// callback message with lParam the mouse message (WM_LBUTTONDBLCLK ...).
// UI thread.

#include <vector>

#include "platform/base/cstring.h"
#include "platform/gdi/gdi_types.h"
#include "platform/wnd/core/wnd.h"

inline constexpr DWORD NIM_ADD = 0x0;
inline constexpr DWORD NIM_MODIFY = 0x1;
inline constexpr DWORD NIM_DELETE = 0x2;
inline constexpr UINT NIF_MESSAGE = 0x1;
inline constexpr UINT NIF_ICON = 0x2;
inline constexpr UINT NIF_TIP = 0x4;

struct NOTIFYICONDATA {
    DWORD cbSize = sizeof(NOTIFYICONDATA);
    HWND hWnd = nullptr;
    UINT uID = 0;
    UINT uFlags = 0;
    UINT uCallbackMessage = 0;
    HICON hIcon = nullptr;
    char szTip[64] = {}; // 63 bytes and the terminating zero
};

// Adds, changes or removes the icon (hWnd, uID). FALSE for a delete or
// modify of an icon that is not there.
BOOL Shell_NotifyIcon(DWORD message, NOTIFYICONDATA* data);

struct TrayIconRecord {
    HWND hwnd = nullptr;
    UINT id = 0;
    CString tip;
};
// Icons currently installed (tests).
std::vector<TrayIconRecord> AfxGetTrayIcons();
