// Clipboard, cut and paste, drag-and-drop of tab-separated text.

#include <algorithm>

#include "grid/grid_ctrl.h"
#include "platform/wnd/core/cmdui.h"

namespace {

BOOL IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

CString TrimBlanks(const std::string& piece)
{
    size_t first = 0;
    size_t last = piece.size();
    while (first < last && IsBlank(piece[first]))
        ++first;
    while (last > first && IsBlank(piece[last - 1]))
        --last;
    return CString(piece.substr(first, last - first));
}

} // namespace

void CGridCtrl::SetCellTextAsEdit(int nRow, int nCol, LPCTSTR str)
{
    if (!IsCellEditable(nRow, nCol))
        return;
    if (SendNotify(nRow, nCol, GRIDNOTIFY_BEGINEDIT) < 0)
        return;
    const CString oldText = GetItemText(nRow, nCol);
    NoteReplacedText(nRow, nCol, oldText);
    if (oldText == str)
        return;
    StoreEditedText(nRow, nCol, str, oldText);
}

void CGridCtrl::CutSelectedText()
{
    if (!IsEditable())
        return;
    // A copy: the writes below may change the selection.
    std::vector<CGridCellCoord> cells;
    for (const auto& [key, cell] : m_SelectedCellMap)
        cells.push_back(cell);
    for (const CGridCellCoord& cell : cells) {
        SetCellTextAsEdit(cell.row, cell.col, "");
        SendCellEdited(cell.row, cell.col);
    }
}

COleDataSource* CGridCtrl::CopyTextFromSelection()
{
    const CGridCellRange selection = GetSelectedCellRange();
    if (!IsValid(selection))
        return nullptr;
    if (m_bVirtualMode)
        SendCacheHint(selection);

    std::string text;
    BOOL firstRow = TRUE;
    for (int row = selection.GetMinRow(); row <= selection.GetMaxRow(); ++row) {
        if (GetRowHeight(row) <= 0)
            continue;
        if (!firstRow)
            text += '\n';
        firstRow = FALSE;
        BOOL firstCol = TRUE;
        for (int col = selection.GetMinCol(); col <= selection.GetMaxCol(); ++col) {
            if (GetColumnWidth(col) <= 0)
                continue;
            if (!firstCol)
                text += '\t';
            firstCol = FALSE;
            const CGridCellBase* cell = GetCell(row, col);
            if (cell && IsCellSelected(row, col))
                text += cell->GetText();
        }
    }
    if (m_bVirtualMode)
        SendCacheHint(CGridCellRange(-1, -1, -1, -1));

    auto* source = new COleDataSource;
    source->CacheText(CString(std::move(text)));
    return source;
}

BOOL CGridCtrl::PasteTextToSelection(
    CGridCellCoord cell, COleDataObject* pDataObject, BOOL bSelectPastedCells)
{
    if (!IsValid(cell) || !IsCellEditable(cell) || !pDataObject || !pDataObject->IsDataAvailable(CF_TEXT))
        return FALSE;
    // The text is bounded by the data's own size, not by a NUL inside it.
    const std::string text = pDataObject->GetText().Str();

    CGridCellRange pasteRange(cell.row, cell.col, -1, -1);
    int line = 0;
    size_t pos = 0;
    const int lastRow = GetRowCount() - 1;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        const std::string lineText = text.substr(pos, end - pos);

        int targetRow = cell.row + line;
        while (targetRow < lastRow && GetRowHeight(targetRow) == 0) {
            ++targetRow;
            ++line;
        }
        if (targetRow < lastRow) {
            int column = 0;
            size_t piecePos = 0;
            while (piecePos < lineText.size()) {
                size_t pieceEnd = lineText.find('\t', piecePos);
                if (pieceEnd == std::string::npos)
                    pieceEnd = lineText.size();
                const std::string piece = lineText.substr(piecePos, pieceEnd - piecePos);

                int targetCol = cell.col + column;
                while (targetCol < GetColumnCount() && GetColumnWidth(targetCol) == 0) {
                    ++targetCol;
                    ++column;
                }
                const BOOL inside = IsValid(targetRow, targetCol);
                if (inside) {
                    SetCellTextAsEdit(targetRow, targetCol, TrimBlanks(piece));
                    SetItemState(
                        targetRow, targetCol, GetItemState(targetRow, targetCol) & ~GRIDSTATE_SELECTED);
                    pasteRange.SetMaxRow(std::max(pasteRange.GetMaxRow(), targetRow));
                    pasteRange.SetMaxCol(std::max(pasteRange.GetMaxCol(), targetCol));
                }
                ++column;
                // Pieces that fall outside the grid are not reported as edited.
                if (inside)
                    SendCellEdited(targetRow, targetCol);
                piecePos = pieceEnd + 1;
            }
        }
        ++line;
        if (end == text.size())
            break;
        pos = end + 1;
    }

    if (bSelectPastedCells) {
        SetSelectedRange(pasteRange, TRUE, TRUE);
    } else {
        ResetSelectedRange();
        Refresh();
    }
    return TRUE;
}

void CGridCtrl::OnBeginDrag()
{
    if (!m_bAllowDragAndDrop)
        return;
    std::unique_ptr<COleDataSource> source(CopyTextFromSelection());
    if (!source)
        return;
    SendNotify(GetSelectedCellRange().GetTopLeft().row, GetSelectedCellRange().GetTopLeft().col,
        GRIDNOTIFY_BEGINDRAG);
    m_MouseMode = GRIDMOUSE_DRAGGING;
    m_bLMouseButtonDown = FALSE;
    const DROPEFFECT effect = source->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
    if (effect & DROPEFFECT_MOVE)
        CutSelectedText();
}

DROPEFFECT CGridCtrl::OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    if (!m_bAllowDragAndDrop || !pDataObject || !pDataObject->IsDataAvailable(CF_TEXT))
        return DROPEFFECT_NONE;
    m_LastDragOverCell = GetCellFromPt(point, FALSE);
    if (!IsValid(m_LastDragOverCell) || !IsCellEditable(m_LastDragOverCell))
        return DROPEFFECT_NONE;
    SetItemState(m_LastDragOverCell.row, m_LastDragOverCell.col,
        GetItemState(m_LastDragOverCell.row, m_LastDragOverCell.col) | GRIDSTATE_DROPHILITED);
    RedrawCell(m_LastDragOverCell);
    return (dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

DROPEFFECT CGridCtrl::OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    if (!m_bAllowDragAndDrop || !IsEditable() || !pDataObject || !pDataObject->IsDataAvailable(CF_TEXT))
        return DROPEFFECT_NONE;
    const CGridCellCoord cell = GetCellFromPt(point, FALSE);
    if (!IsValid(cell)) {
        OnDragLeave();
        m_LastDragOverCell = CGridCellCoord(-1, -1);
        return DROPEFFECT_NONE;
    }
    if (!IsCellEditable(cell))
        return DROPEFFECT_NONE;
    if (!(cell == m_LastDragOverCell)) {
        if (IsValid(m_LastDragOverCell)) {
            SetItemState(m_LastDragOverCell.row, m_LastDragOverCell.col,
                GetItemState(m_LastDragOverCell.row, m_LastDragOverCell.col) & ~GRIDSTATE_DROPHILITED);
            RedrawCell(m_LastDragOverCell);
        }
        m_LastDragOverCell = cell;
        SetItemState(cell.row, cell.col, GetItemState(cell.row, cell.col) | GRIDSTATE_DROPHILITED);
        RedrawCell(cell);
    }
    return (dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

void CGridCtrl::OnDragLeave()
{
    if (IsValid(m_LastDragOverCell)) {
        SetItemState(m_LastDragOverCell.row, m_LastDragOverCell.col,
            GetItemState(m_LastDragOverCell.row, m_LastDragOverCell.col) & ~GRIDSTATE_DROPHILITED);
        RedrawCell(m_LastDragOverCell);
    }
}

BOOL CGridCtrl::OnDrop(COleDataObject* pDataObject, DROPEFFECT, CPoint)
{
    m_MouseMode = GRIDMOUSE_NOTHING;
    if (!m_bAllowDragAndDrop || !IsValid(m_LastDragOverCell) || !IsCellEditable(m_LastDragOverCell))
        return FALSE;
    OnDragLeave();
    return PasteTextToSelection(m_LastDragOverCell, pDataObject, FALSE);
}

void CGridCtrl::OnEditCut()
{
    if (!IsEditable())
        return;
    COleDataSource* source = CopyTextFromSelection();
    if (!source)
        return;
    source->SetClipboard();
    CutSelectedText();
}

void CGridCtrl::OnEditCopy()
{
    if (COleDataSource* source = CopyTextFromSelection())
        source->SetClipboard();
}

void CGridCtrl::OnEditPaste()
{
    if (!IsEditable())
        return;
    CGridCellCoord cell;
    const CGridCellRange selection = GetSelectedCellRange();
    if (IsValid(selection))
        cell = selection.GetTopLeft();
    else if (IsValid(m_idCurrentCell))
        cell = m_idCurrentCell;
    else
        cell = GetTopleftNonFixedCell();
    if (!IsValid(cell))
        return;

    CGridCellBase* gridCell = GetCell(cell.row, cell.col);
    if (gridCell && gridCell->IsEditing()) {
        if (CWnd* editor = gridCell->GetEditWnd(); editor && dynamic_cast<CEdit*>(editor)) {
            editor->SendMessage(WM_PASTE, 0, 0);
            return;
        }
    }
    COleDataObject obj;
    if (obj.AttachClipboard())
        PasteTextToSelection(cell, &obj, TRUE);
}

void CGridCtrl::OnEditSelectAll()
{
    SendNotify(m_LeftClickDownCell.row, m_LeftClickDownCell.col, GRIDNOTIFY_SELCHANGING);
    SelectAllCells();
    SendNotify(m_idCurrentCell.row, m_idCurrentCell.col, GRIDNOTIFY_SELCHANGED);
}

void CGridCtrl::OnUpdateEditCopy(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetSelectedCount() > 0);
}

void CGridCtrl::OnUpdateEditCut(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsEditable() && GetSelectedCount() > 0);
}

void CGridCtrl::OnUpdateEditPaste(CCmdUI* pCmdUI)
{
    const CGridCellCoord cell = GetFocusCell();
    pCmdUI->Enable(IsValid(cell) && IsCellEditable(cell) && IsClipboardFormatAvailable(CF_TEXT));
}

void CGridCtrl::OnUpdateEditSelectAll(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsSelectable());
}

void CGridCtrl::ClearCells(CGridCellRange Selection)
{
    for (int row = Selection.GetMinRow(); row <= Selection.GetMaxRow(); ++row) {
        if (GetRowHeight(row) <= 0)
            continue;
        for (int col = Selection.GetMinCol(); col <= Selection.GetMaxCol(); ++col) {
            if (GetColumnWidth(col) > 0)
                SetCellTextAsEdit(row, col, "");
        }
    }
    Refresh();
}
