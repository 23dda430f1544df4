#pragma once
// CMenuOffscreenDC: a menu item drawn into a memory bitmap of its rectangle and
// copied to the target in one step when destroyed. Unlike COffscreenDC it takes
// no clip box, converts no units and fills nothing. On a printing target it
// draws straight to the printer. Lives for one item's drawing; UI thread.

#include "platform/gdi/dc.h"

class CMenuOffscreenDC : public CDC {
public:
    // Covers rect (logical units of target); target must outlive this object.
    CMenuOffscreenDC(CDC* target, const RECT& rect);
    // Copies the rectangle to the target (memory mode) or gives the borrowed
    // printer handles back.
    ~CMenuOffscreenDC() override;
    CMenuOffscreenDC(const CMenuOffscreenDC&) = delete;
    CMenuOffscreenDC& operator=(const CMenuOffscreenDC&) = delete;

private:
    CBitmap m_bitmap;
    CBitmap* m_oldBitmap = nullptr;
    CDC* m_pDC = nullptr;
    CRect m_rect;
    BOOL m_bMemDC = FALSE;
};
