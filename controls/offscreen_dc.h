#pragma once
// COffscreenDC: collects drawing in a memory bitmap and copies it to the
// target DC in one step when destroyed, so a control or a menu item repaints
// without flicker. On a printing target it draws straight to the printer
// instead. Lives for one paint; UI thread.

#include "platform/gdi/dc.h"

// Whether the memory bitmap starts filled with the target's background colour.
enum class OffscreenFill { Background, None };

class COffscreenDC : public CDC {
public:
    // Covers rect (logical units of target), or the target's clip box when rect
    // is null; the memory DC takes the target's mapping mode and is filled with
    // the target's background colour. target must outlive this object.
    COffscreenDC(CDC* target, const RECT* rect);
    // Covers the target's clip box, without mapping-mode conversion; on a
    // printing target nothing is filled.
    explicit COffscreenDC(CDC* target);
    // Covers rect (logical units of target), without mapping-mode conversion,
    // filled as fill says (a menu item: nothing).
    COffscreenDC(CDC* target, const RECT& rect, OffscreenFill fill);
    // Copies the covered rectangle to the target (memory mode) or gives the
    // borrowed printer handles back.
    ~COffscreenDC() override;
    COffscreenDC(const COffscreenDC&) = delete;
    COffscreenDC& operator=(const COffscreenDC&) = delete;

private:
    // Selects a bitmap of m_rect into this memory DC, its origin at the
    // rectangle's corner (memory mode), or borrows the printer.
    void Begin(BOOL mapped);
    void BorrowPrinter();

    CBitmap m_bitmap;
    CBitmap* m_oldBitmap = nullptr;
    CDC* m_pDC = nullptr;
    CRect m_rect;
    BOOL m_bMemDC = FALSE;
};
