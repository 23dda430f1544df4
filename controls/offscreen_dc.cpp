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
    if (m_bMemDC) {
        CreateCompatibleDC(target);
        target->LPtoDP(&m_rect);
        m_bitmap.CreateCompatibleBitmap(target, m_rect.Width(), m_rect.Height());
        m_oldBitmap = SelectObject(&m_bitmap);
        SetMapMode(target->GetMapMode());
        target->DPtoLP(&m_rect);
        SetWindowOrg(m_rect.left, m_rect.top);
    } else {
        BorrowPrinter();
    }
    FillSolidRect(&m_rect, target->GetBkColor());
}

COffscreenDC::COffscreenDC(CDC* target)
    : m_pDC(target)
{
    if (!target)
        return;
    m_bMemDC = !target->IsPrinting();
    if (!m_bMemDC) {
        BorrowPrinter();
        return;
    }
    target->GetClipBox(&m_rect);
    CreateCompatibleDC(target);
    m_bitmap.CreateCompatibleBitmap(target, m_rect.Width(), m_rect.Height());
    m_oldBitmap = SelectObject(&m_bitmap);
    SetWindowOrg(m_rect.left, m_rect.top);
    FillSolidRect(&m_rect, target->GetBkColor());
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
