#include "grid/grid_cell_check.h"

#include <algorithm>

#include "grid/grid_ctrl.h"

namespace {

int BoxSide()
{
    return ::GetSystemMetrics(SM_CXHSCROLL);
}

} // namespace

BOOL CGridCellCheck::SetCheck(BOOL bChecked)
{
    const BOOL previous = m_bChecked;
    m_bChecked = bChecked;
    if (!m_Rect.IsRectEmpty() && m_pGrid && m_pGrid->GetSafeHwnd())
        m_pGrid->InvalidateRect(m_Rect, TRUE);
    return previous;
}

CRect CGridCellCheck::GetCheckPlacement() const
{
    const int margin = static_cast<int>(GetMargin());
    const CPoint corner(m_Rect.left + margin, m_Rect.top + margin);
    return CRect(corner, CSize(BoxSide(), BoxSide()));
}

BOOL CGridCellCheck::Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd)
{
    const BOOL drawn = CGridCell::Draw(pDC, nRow, nCol, rect, bEraseBkgnd);
    if (!drawn)
        return FALSE;
    m_Rect = rect;
    CRect box = GetCheckPlacement();
    pDC->DrawFrameControl(box, DFC_BUTTON, DFCS_BUTTONCHECK | (m_bChecked ? DFCS_CHECKED : 0));
    return TRUE;
}

BOOL CGridCellCheck::GetTextRect(LPRECT pRect)
{
    const BOOL result = CGridCell::GetTextRect(pRect);
    if (result) {
        const int shift = BoxSide() + 2 * static_cast<int>(GetMargin());
        pRect->left = std::min(pRect->left + shift, pRect->right);
    }
    return result;
}

CSize CGridCellCheck::GetCellExtent(CDC* pDC)
{
    const int extra = BoxSide() + 2 * static_cast<int>(GetMargin());
    const CSize size = CGridCell::GetCellExtent(pDC);
    return CSize(size.cx + extra, size.cy + extra);
}

void CGridCellCheck::OnClick(CPoint pointCellRelative)
{
    const CPoint point = pointCellRelative + m_Rect.TopLeft();
    if (!GetCheckPlacement().PtInRect(point))
        return;
    m_bChecked = !m_bChecked;
    if (m_pGrid && m_pGrid->GetSafeHwnd())
        m_pGrid->InvalidateRect(m_Rect, TRUE);
}
