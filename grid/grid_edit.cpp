// Editing entry points.

#include "grid/grid_ctrl.h"
#include "grid/inplace_edit.h"
#include "grid/title_tip.h"

void CGridCtrl::OnEditCell(int nRow, int nCol, CPoint point, UINT nChar)
{
    if (m_TitleTip)
        m_TitleTip->Hide();
    if (!IsValid(nRow, nCol) || !IsCellEditable(nRow, nCol))
        return;
    EnsureVisible(nRow, nCol);
    if (!IsCellVisible(nRow, nCol))
        return;
    CRect rect;
    if (!GetCellRect(nRow, nCol, rect))
        return;
    if (SendNotify(nRow, nCol, GRIDNOTIFY_BEGINEDIT) < 0)
        return;
    CGridCellBase* cell = GetCell(nRow, nCol);
    if (cell && cell->Edit(nRow, nCol, rect, point, IDC_GRID_INPLACE, nChar))
        m_EditingCell = CGridCellCoord(nRow, nCol);
}

void CGridCtrl::OnEndEditCell(int nRow, int nCol, CString str)
{
    const CString oldText = GetItemText(nRow, nCol);
    NoteReplacedText(nRow, nCol, oldText);
    if (oldText != str)
        StoreEditedText(nRow, nCol, str, oldText);
    if (CGridCellBase* cell = GetCell(nRow, nCol))
        cell->OnEndEdit();
    if (m_EditingCell == CGridCellCoord(nRow, nCol))
        m_EditingCell = CGridCellCoord();
    SendCellEdited(nRow, nCol);
}

BOOL CGridCtrl::StoreEditedText(int nRow, int nCol, LPCTSTR str, const CString& oldText)
{
    SetItemText(nRow, nCol, str);
    if (ValidateEdit(nRow, nCol, str) && SendNotify(nRow, nCol, GRIDNOTIFY_ENDEDIT) >= 0) {
        SetModified(TRUE, nRow, nCol);
        RedrawCell(nRow, nCol);
        return TRUE;
    }
    // Refused: the old text comes back; the cell keeps its modified mark.
    SetItemText(nRow, nCol, oldText);
    return FALSE;
}

void CGridCtrl::NoteReplacedText(int nRow, int nCol, const CString& oldText)
{
    m_ReplacedCell = CGridCellCoord(nRow, nCol);
    m_strReplacedText = oldText;
}

void CGridCtrl::RestoreReplacedText(int nRow, int nCol)
{
    if (m_ReplacedCell != CGridCellCoord(nRow, nCol))
        return;
    SetItemText(nRow, nCol, m_strReplacedText);
    RedrawCell(nRow, nCol);
}

BOOL CGridCtrl::ValidateEdit(int nRow, int nCol, LPCTSTR str)
{
    CGridCellBase* cell = GetCell(nRow, nCol);
    return cell ? cell->ValidateEdit(str) : TRUE;
}

void CGridCtrl::EndEditing()
{
    const CGridCellCoord cell = GetFocusCell();
    if (!IsValid(cell))
        return;
    if (CGridCellBase* gridCell = GetCell(cell.row, cell.col))
        gridCell->EndEdit();
}

void CGridCtrl::CancelEditing()
{
    const CGridCellCoord cell = m_EditingCell;
    m_EditingCell = CGridCellCoord();
    CGridCellBase* gridCell = IsValid(cell) ? GetCell(cell.row, cell.col) : nullptr;
    if (!gridCell || !gridCell->IsEditing())
        return;
    if (auto* editor = dynamic_cast<CGridInPlaceEditor*>(gridCell->GetEditWnd()))
        editor->CancelEdit();
    gridCell->OnEndEdit();
}
