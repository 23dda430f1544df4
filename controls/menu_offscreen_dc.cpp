#include "controls/menu_offscreen_dc.h"

CMenuOffscreenDC::CMenuOffscreenDC(CDC* target, const RECT& rect)
    : m_pDC(target)
    , m_rect(rect)
{
    if (!target)
        return;
    m_bMemDC = !target->IsPrinting();
    if (m_bMemDC) {
        CreateCompatibleDC(target);
        m_bitmap.CreateCompatibleBitmap(target, m_rect.Width(), m_rect.Height());
        m_oldBitmap = SelectObject(&m_bitmap);
        SetWindowOrg(m_rect.left, m_rect.top);
    } else {
        m_bPrinting = target->m_bPrinting;
        m_hDC = target->m_hDC;
        m_hAttribDC = target->m_hAttribDC;
    }
}

CMenuOffscreenDC::~CMenuOffscreenDC()
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
