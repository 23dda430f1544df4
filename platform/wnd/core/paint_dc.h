#pragma once
// CPaintDC: the DC of a WM_PAINT handler. It draws onto the window's widget,
// clipped to the area being painted, and validates it. UI thread, inside
// WM_PAINT only; outside a paint the DC has no handle (m_hDC null).

#include "platform/gdi/dc.h"
#include "platform/wnd/core/wnd.h"

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    BOOL fErase = FALSE;
    RECT rcPaint;
};

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps;

private:
    void* m_painter = nullptr;
};

// Renders the window as it paints itself (WM_PAINT through its widget) into
// target, a memory DC holding a bitmap, at (0, 0). FALSE when hwnd is not a
// window or target draws into no image. UI thread.
BOOL PrintWindow(HWND hwnd, CDC* target);
