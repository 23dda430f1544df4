#pragma once
// CClientDC: drawing on a window's client area outside WM_PAINT, and reading
// what the area shows (the pixels of the windows beneath, then the window's
// own painting). What is drawn stays on screen until the window is next
// invalidated, as on Windows. During the window's own WM_PAINT the DC shows
// only what lies beneath the window and what is drawn is not kept: paint code
// that must read pixels draws there and copies the result to its paint DC.
// A window without a widget gets a DC over a scratch image. UI thread.

#include "platform/gdi/dc.h"
#include "platform/wnd/core/wnd.h"

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

    HWND m_hWnd = nullptr;

private:
    void* m_surface = nullptr;
};

// The handle forms; release every DC from GetDC with ReleaseDC (1 when released,
// 0 when dc is not a DC of hwnd).
HDC GetDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC dc);
