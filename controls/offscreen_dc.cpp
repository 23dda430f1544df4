#include "controls/offscreen_dc.h"

COffscreenDC::COffscreenDC(CDC* target, const RECT* rect)
    : m_pDC(target)
{
    if (!target)
        return;
    m_bMemDC = !target->IsPrinting();
    if (rect)
        m_rect = *rect;
    else
        target->GetClipBox(&m_rect);
    Begin(TRUE);
    FillSolidRect(&m_rect, target->GetBkColor());
}

COffscreenDC::COffscreenDC(CDC* target)
    : m_pDC(target)
{
    if (!target)
        return;
    m_bMemDC = !target->IsPrinting();
    if (m_bMemDC)
        target->GetClipBox(&m_rect);
    Begin(FALSE);
    if (m_bMemDC)
        FillSolidRect(&m_rect, target->GetBkColor());
}

COffscreenDC::COffscreenDC(CDC* target, const RECT& rect, OffscreenFill fill)
    : m_pDC(target)
    , m_rect(rect)
{
    if (!target)
        return;
    m_bMemDC = !target->IsPrinting();
    Begin(FALSE);
    if (fill == OffscreenFill::Background)
        FillSolidRect(&m_rect, target->GetBkColor());
}

void COffscreenDC::Begin(BOOL mapped)
{
    if (!m_bMemDC) {
        BorrowPrinter();
        return;
    }
    CreateCompatibleDC(m_pDC);
    if (mapped)
        m_pDC->LPtoDP(&m_rect);
    m_bitmap.CreateCompatibleBitmap(m_pDC, m_rect.Width(), m_rect.Height());
    m_oldBitmap = SelectObject(&m_bitmap);
    if (mapped) {
        SetMapMode(m_pDC->GetMapMode());
        m_pDC->DPtoLP(&m_rect);
    }
    SetWindowOrg(m_rect.left, m_rect.top);
}

void COffscreenDC::BorrowPrinter()
{
    m_bPrinting = m_pDC->m_bPrinting;
    m_hDC = m_pDC->m_hDC;
    m_hAttribDC = m_pDC->m_hAttribDC;
}

COffscreenDC::~COffscreenDC()
{
    if (!m_pDC)
        return;
    if (m_bMemDC) {
        m_pDC->BitBlt(
            m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top, SRCCOPY);
        if (m_oldBitmap)
            SelectObject(m_oldBitmap);
    } else {
        m_hDC = nullptr;
        m_hAttribDC = nullptr;
    }
}
