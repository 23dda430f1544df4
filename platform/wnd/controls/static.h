#pragma once
// CStatic: a static control ("STATIC"): text, or whatever its class paints.

#include "platform/wnd/core/wnd.h"

inline constexpr DWORD SS_LEFT = 0x0000;
inline constexpr DWORD SS_CENTER = 0x0001;
inline constexpr DWORD SS_RIGHT = 0x0002;
inline constexpr DWORD SS_ICON = 0x0003;
inline constexpr DWORD SS_OWNERDRAW = 0x000D;
inline constexpr DWORD SS_BITMAP = 0x000E;
inline constexpr DWORD SS_NOTIFY = 0x0100;
inline constexpr DWORD SS_CENTERIMAGE = 0x0200;

class CStatic : public CWnd {
public:
    CStatic() = default;

    // Creates a "STATIC" child window with the SS_ style. UI thread.
    BOOL Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = IDC_STATIC);
};
