#include "grid/grid_cell_combo.h"

#include "grid/grid_ctrl.h"
#include "grid/inplace_list.h"

void CGridCellCombo::SetOptions(const std::vector<CString>& ar)
{
    m_Strings = ar;
}

CWnd* CGridCellCombo::GetEditWnd() const
{
    return m_bEditing ? m_pEditWnd : nullptr;
}

BOOL CGridCellCombo::Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd)
{
    const BOOL editable = m_pGrid && m_pGrid->IsEditable() && !IsReadOnly();
    const int buttonWidth = ::GetSystemMetrics(SM_CXVSCROLL);
    const int buttonHeight = ::GetSystemMetrics(SM_CYHSCROLL);
    if (pDC && editable && !IsEditing() && buttonHeight < rect.Width() && buttonHeight < rect.Height()) {
        CRect button(rect.right - buttonWidth, rect.top, rect.right, rect.top + buttonHeight);
        rect.right -= buttonWidth;
        const BOOL drawn = CGridCell::Draw(pDC, nRow, nCol, rect, bEraseBkgnd);
        if (drawn)
            pDC->DrawFrameControl(button, DFC_SCROLL, DFCS_SCROLLDOWN);
        return drawn;
    }
    if (!IsEditing())
        return CGridCell::Draw(pDC, nRow, nCol, rect, bEraseBkgnd);
    // While the list is open the text is not drawn under it.
    const CString text = m_strText;
    m_strText.Empty();
    const BOOL drawn = CGridCell::Draw(pDC, nRow, nCol, rect, bEraseBkgnd);
    m_strText = text;
    return drawn;
}

CSize CGridCellCombo::GetCellExtent(CDC* pDC)
{
    const CSize size = CGridCell::GetCellExtent(pDC);
    return CSize(size.cx + ::GetSystemMetrics(SM_CXVSCROLL), size.cy + ::GetSystemMetrics(SM_CYHSCROLL));
}

BOOL CGridCellCombo::Edit(int nRow, int nCol, CRect rect, CPoint, UINT nID, UINT nChar)
{
    return OpenEditor(nChar, TRUE, [&] {
        return new CGridInPlaceList(m_pGrid, rect, m_dwStyle, nID, nRow, nCol, GetTextClr(), GetBackClr(),
            m_Strings, GetText(), nChar);
    });
}
