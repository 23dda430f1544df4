// Rows, columns and cell access.

#include <algorithm>

#include "grid/grid_ctrl.h"

BOOL CGridCtrl::IsValid(int nRow, int nCol) const
{
    return nRow >= 0 && nRow < m_nRows && nCol >= 0 && nCol < m_nCols;
}

BOOL CGridCtrl::IsValid(const CGridCellRange& range) const
{
    return range.GetMinRow() >= 0 && range.GetMinCol() >= 0 && range.GetMaxRow() >= 0
        && range.GetMaxCol() >= 0 && range.GetMaxRow() < m_nRows && range.GetMaxCol() < m_nCols
        && range.GetMinRow() <= range.GetMaxRow() && range.GetMinCol() <= range.GetMaxCol();
}

CGridCellBase* CGridCtrl::GetCell(int nRow, int nCol) const
{
    if (!IsValid(nRow, nCol))
        return nullptr;
    if (m_bVirtualMode)
        return const_cast<CGridCtrl*>(this)->GetVirtualCell(nRow, nCol);
    const CGridRow* row = m_RowData[static_cast<size_t>(nRow)].get();
    if (!row || nCol >= static_cast<int>(row->size()))
        return nullptr;
    return (*row)[static_cast<size_t>(nCol)];
}

BOOL CGridCtrl::SetCell(int nRow, int nCol, CGridCellBase* pCell)
{
    if (m_bVirtualMode || !IsValid(nRow, nCol))
        return FALSE;
    CGridRow* row = m_RowData[static_cast<size_t>(nRow)].get();
    if (!row)
        return FALSE;
    if (pCell)
        pCell->SetCoords(nRow, nCol);
    (*row)[static_cast<size_t>(nCol)] = pCell;
    return TRUE;
}

CGridCellBase* CGridCtrl::CreateCell(int nRow, int nCol)
{
    if (!m_pRtcDefault)
        return nullptr;
    CGridCellBase* cell = m_pRtcDefault->CreateObject();
    if (!cell)
        return nullptr;
    cell->SetGrid(this);
    cell->SetCoords(nRow, nCol);
    if (nCol < m_nFixedCols)
        cell->SetState(cell->GetState() | GRIDSTATE_FIXED | GRIDSTATE_FIXEDCOL);
    if (nRow < m_nFixedRows)
        cell->SetState(cell->GetState() | GRIDSTATE_FIXED | GRIDSTATE_FIXEDROW);
    if (CGridDefaultCell* def = cell->GetDefaultCell())
        cell->SetFormat(def->GetFormat());
    return cell;
}

void CGridCtrl::DestroyCell(int nRow, int nCol)
{
    SetItemState(nRow, nCol, 0);
    CGridRow* row = m_RowData[static_cast<size_t>(nRow)].get();
    if (row && nCol < static_cast<int>(row->size())) {
        delete (*row)[static_cast<size_t>(nCol)];
        (*row)[static_cast<size_t>(nCol)] = nullptr;
    }
}

BOOL CGridCtrl::SetRowCount(int nRows)
{
    if (nRows < 0)
        return FALSE;
    if (nRows == m_nRows)
        return TRUE;
    if (nRows < m_nRows)
        CancelEditing();
    m_idTopLeftCell.col = -1;
    if (nRows < m_nFixedRows)
        m_nFixedRows = nRows;
    if (m_idCurrentCell.row >= nRows)
        SetFocusCell(-1, -1);

    const int addedRows = nRows - m_nRows;
    if (addedRows < 0) {
        if (!m_bVirtualMode) {
            for (int row = nRows; row < m_nRows; ++row) {
                for (int col = 0; col < m_nCols; ++col)
                    DestroyCell(row, col);
            }
        }
        m_nRows = nRows;
    }
    m_arRowHeights.resize(static_cast<size_t>(nRows));
    if (!m_bVirtualMode) {
        m_RowData.resize(static_cast<size_t>(nRows));
        const int startRow = nRows - std::max(addedRows, 0);
        for (int row = startRow; row < nRows; ++row) {
            m_arRowHeights[static_cast<size_t>(row)] = static_cast<UINT>(m_cellDefault.GetHeight());
            m_RowData[static_cast<size_t>(row)]
                = std::make_unique<CGridRow>(static_cast<size_t>(m_nCols), nullptr);
            m_nRows = row + 1;
            for (int col = 0; col < m_nCols; ++col)
                (*m_RowData[static_cast<size_t>(row)])[static_cast<size_t>(col)] = CreateCell(row, col);
        }
    } else {
        for (int row = m_nRows; row < nRows; ++row)
            m_arRowHeights[static_cast<size_t>(row)] = static_cast<UINT>(m_cellDefault.GetHeight());
        m_nRows = nRows;
    }
    m_nRowHeightSum = -1;
    SetModified();
    ResetScrollBars();
    Refresh();
    return TRUE;
}

BOOL CGridCtrl::SetColumnCount(int nCols)
{
    if (nCols < 0)
        return FALSE;
    if (nCols == m_nCols)
        return TRUE;
    if (nCols < m_nCols)
        CancelEditing();
    m_idTopLeftCell.col = -1;
    if (nCols < m_nFixedCols)
        m_nFixedCols = nCols;
    if (m_idCurrentCell.col >= nCols)
        SetFocusCell(-1, -1);

    const int oldCols = m_nCols;
    if (nCols < oldCols && !m_bVirtualMode) {
        for (int row = 0; row < m_nRows; ++row) {
            for (int col = nCols; col < oldCols; ++col)
                DestroyCell(row, col);
        }
    }
    m_arColWidths.resize(static_cast<size_t>(nCols));
    if (!m_bVirtualMode) {
        for (auto& row : m_RowData) {
            if (row)
                row->resize(static_cast<size_t>(nCols), nullptr);
        }
    }
    m_nCols = nCols;
    for (int col = oldCols; col < nCols; ++col) {
        m_arColWidths[static_cast<size_t>(col)] = static_cast<UINT>(m_cellFixedColDef.GetWidth());
        if (!m_bVirtualMode) {
            for (int row = 0; row < m_nRows; ++row) {
                if (m_RowData[static_cast<size_t>(row)])
                    (*m_RowData[static_cast<size_t>(row)])[static_cast<size_t>(col)] = CreateCell(row, col);
            }
        }
    }
    SetModified();
    ResetScrollBars();
    Refresh();
    return TRUE;
}

BOOL CGridCtrl::SetFixedRowCount(int nFixedRows)
{
    if (nFixedRows < 0)
        return FALSE;
    if (m_nFixedRows == nFixedRows)
        return TRUE;
    ResetSelectedRange();
    m_idTopLeftCell.col = -1;
    if (nFixedRows > GetRowCount() && !SetRowCount(nFixedRows))
        return FALSE;
    if (!m_bVirtualMode) {
        if (nFixedRows > m_nFixedRows) {
            for (int row = m_nFixedRows; row < nFixedRows; ++row) {
                for (int col = 0; col < m_nCols; ++col) {
                    SetItemState(row, col, GetItemState(row, col) | GRIDSTATE_FIXED | GRIDSTATE_FIXEDROW);
                    SetItemBkColour(row, col, CLR_DEFAULT);
                    SetItemFgColour(row, col, CLR_DEFAULT);
                }
            }
        } else {
            for (int row = nFixedRows; row < m_nFixedRows; ++row) {
                for (int col = 0; col < m_nCols; ++col) {
                    if (col < m_nFixedCols) {
                        SetItemState(row, col, GetItemState(row, col) & ~GRIDSTATE_FIXEDROW);
                    } else {
                        SetItemState(
                            row, col, GetItemState(row, col) & ~(GRIDSTATE_FIXED | GRIDSTATE_FIXEDROW));
                        SetItemBkColour(row, col, CLR_DEFAULT);
                        SetItemFgColour(row, col, CLR_DEFAULT);
                    }
                }
            }
        }
    }
    m_nFixedRows = nFixedRows;
    Refresh();
    return TRUE;
}

BOOL CGridCtrl::SetFixedColumnCount(int nFixedCols)
{
    if (nFixedCols < 0)
        return FALSE;
    if (m_nFixedCols == nFixedCols)
        return TRUE;
    if (nFixedCols > GetColumnCount() && !SetColumnCount(nFixedCols))
        return FALSE;
    ResetSelectedRange();
    m_idTopLeftCell.col = -1;
    if (!m_bVirtualMode) {
        if (nFixedCols > m_nFixedCols) {
            for (int row = 0; row < m_nRows; ++row) {
                for (int col = m_nFixedCols; col < nFixedCols; ++col) {
                    SetItemState(row, col, GetItemState(row, col) | GRIDSTATE_FIXED | GRIDSTATE_FIXEDCOL);
                    SetItemBkColour(row, col, CLR_DEFAULT);
                    SetItemFgColour(row, col, CLR_DEFAULT);
                }
            }
        } else {
            for (int row = 0; row < m_nRows; ++row) {
                for (int col = nFixedCols; col < m_nFixedCols; ++col) {
                    if (row < m_nFixedRows) {
                        SetItemState(row, col, GetItemState(row, col) & ~GRIDSTATE_FIXEDCOL);
                    } else {
                        SetItemState(
                            row, col, GetItemState(row, col) & ~(GRIDSTATE_FIXED | GRIDSTATE_FIXEDCOL));
                        SetItemBkColour(row, col, CLR_DEFAULT);
                        SetItemFgColour(row, col, CLR_DEFAULT);
                    }
                }
            }
        }
    }
    m_nFixedCols = nFixedCols;
    Refresh();
    return TRUE;
}

int CGridCtrl::InsertRow(LPCTSTR strHeading, int nRow)
{
    if (nRow >= 0 && nRow < m_nFixedRows)
        return -1;
    if (nRow >= m_nRows)
        return -1;
    if (nRow >= 0)
        CancelEditing();
    m_idTopLeftCell.col = -1;
    ResetSelectedRange();
    if (m_nCols < 1)
        SetColumnCount(1);

    if (nRow < 0) {
        nRow = m_nRows;
        m_arRowHeights.push_back(0);
        if (!m_bVirtualMode)
            m_RowData.push_back(std::make_unique<CGridRow>(static_cast<size_t>(m_nCols), nullptr));
    } else {
        m_arRowHeights.insert(m_arRowHeights.begin() + nRow, 0);
        if (!m_bVirtualMode)
            m_RowData.insert(
                m_RowData.begin() + nRow, std::make_unique<CGridRow>(static_cast<size_t>(m_nCols), nullptr));
    }
    m_nRows++;
    if (!m_bVirtualMode) {
        for (int col = 0; col < m_nCols; ++col)
            (*m_RowData[static_cast<size_t>(nRow)])[static_cast<size_t>(col)] = CreateCell(nRow, col);
    }
    SetItemText(nRow, 0, strHeading);
    if (!strHeading || !*strHeading) {
        m_arRowHeights[static_cast<size_t>(nRow)] = static_cast<UINT>(m_cellFixedRowDef.GetHeight());
    } else {
        CGridCellBase* cell = GetCell(nRow, 0);
        const int height = cell ? cell->GetTextHeight(strHeading) : m_cellFixedRowDef.GetHeight();
        m_arRowHeights[static_cast<size_t>(nRow)] = static_cast<UINT>(height);
    }
    if (m_nRowHeightSum >= 0)
        m_nRowHeightSum += static_cast<long>(m_arRowHeights[static_cast<size_t>(nRow)]);
    ResetScrollBars();
    SetModified();
    return nRow;
}

int CGridCtrl::InsertColumn(LPCTSTR strHeading, UINT nFormat, int nColumn)
{
    if (nColumn >= 0 && nColumn < m_nFixedCols)
        return -1;
    if (nColumn > m_nCols)
        return -1;
    if (nColumn == m_nCols)
        nColumn = -1;
    if (nColumn >= 0)
        CancelEditing();
    m_idTopLeftCell.col = -1;
    ResetSelectedRange();
    if (m_nRows < 1)
        SetRowCount(1);

    if (nColumn < 0) {
        nColumn = m_nCols;
        m_arColWidths.push_back(0);
        if (!m_bVirtualMode) {
            for (int row = 0; row < m_nRows; ++row) {
                CGridRow* data = m_RowData[static_cast<size_t>(row)].get();
                if (!data)
                    return -1;
                data->push_back(CreateCell(row, nColumn));
            }
        }
    } else {
        m_arColWidths.insert(m_arColWidths.begin() + nColumn, 0);
        if (!m_bVirtualMode) {
            for (int row = 0; row < m_nRows; ++row) {
                CGridRow* data = m_RowData[static_cast<size_t>(row)].get();
                if (!data)
                    return -1;
                data->insert(data->begin() + nColumn, CreateCell(row, nColumn));
            }
        }
    }
    m_nCols++;
    SetItemText(0, nColumn, strHeading);
    for (int row = 0; row < m_nRows; ++row)
        SetItemFormat(row, nColumn, nFormat);
    CGridCellBase* cell = GetCell(0, nColumn);
    const CSize size = cell ? cell->GetTextExtent(strHeading) : CSize(m_cellFixedColDef.GetWidth(), 0);
    m_arColWidths[static_cast<size_t>(nColumn)] = static_cast<UINT>(size.cx);
    ResetScrollBars();
    SetModified();
    return nColumn;
}

BOOL CGridCtrl::DeleteRow(int nRow)
{
    if (nRow < 0 || nRow >= m_nRows)
        return FALSE;
    CancelEditing();
    ResetSelectedRange();
    if (!m_bVirtualMode) {
        if (!m_RowData[static_cast<size_t>(nRow)])
            return FALSE;
        for (int col = 0; col < m_nCols; ++col)
            DestroyCell(nRow, col);
        m_RowData.erase(m_RowData.begin() + nRow);
    }
    m_arRowHeights.erase(m_arRowHeights.begin() + nRow);
    m_nRowHeightSum = -1;
    m_nRows--;
    if (nRow < m_nFixedRows)
        m_nFixedRows--;
    m_idTopLeftCell.col = -1;
    ResetScrollBars();
    SetModified();
    return TRUE;
}

BOOL CGridCtrl::DeleteColumn(int nColumn)
{
    if (nColumn < 0 || nColumn >= m_nCols)
        return FALSE;
    CancelEditing();
    ResetSelectedRange();
    if (!m_bVirtualMode) {
        for (int row = 0; row < m_nRows; ++row) {
            CGridRow* data = m_RowData[static_cast<size_t>(row)].get();
            if (!data)
                return FALSE;
            DestroyCell(row, nColumn);
            data->erase(data->begin() + nColumn);
        }
    }
    m_arColWidths.erase(m_arColWidths.begin() + nColumn);
    m_nCols--;
    if (nColumn < m_nFixedCols)
        m_nFixedCols--;
    m_idTopLeftCell.col = -1;
    ResetScrollBars();
    SetModified();
    return TRUE;
}

BOOL CGridCtrl::DeleteNonFixedRows()
{
    ResetSelectedRange();
    for (int row = m_nRows - 1; row >= m_nFixedRows; --row)
        DeleteRow(row);
    return TRUE;
}

BOOL CGridCtrl::DeleteAllItems()
{
    CancelEditing();
    ResetSelectedRange();
    m_arColWidths.clear();
    m_arRowHeights.clear();
    m_nRowHeightSum = -1;
    if (!m_bVirtualMode) {
        for (int row = 0; row < m_nRows; ++row) {
            for (int col = 0; col < m_nCols; ++col)
                DestroyCell(row, col);
        }
        m_RowData.clear();
    }
    m_idCurrentCell = CGridCellCoord(-1, -1);
    m_nRows = m_nFixedRows = m_nCols = m_nFixedCols = 0;
    m_idTopLeftCell.col = -1;
    ResetScrollBars();
    SetModified();
    return TRUE;
}

BOOL CGridCtrl::SetCellType(int nRow, int nCol, const CGridCellClass* pClass)
{
    if (m_bVirtualMode || !IsValid(nRow, nCol) || !pClass)
        return FALSE;
    CGridCellBase* newCell = pClass->CreateObject();
    if (!newCell)
        return FALSE;
    CGridCellBase* oldCell = GetCell(nRow, nCol);
    if (oldCell && oldCell->IsEditing())
        CancelEditing();
    if (oldCell)
        *newCell = *oldCell;
    SetCell(nRow, nCol, newCell);
    delete oldCell;
    return TRUE;
}

BOOL CGridCtrl::SetDefaultCellType(const CGridCellClass* pClass)
{
    if (!pClass)
        return FALSE;
    m_pRtcDefault = pClass;
    return TRUE;
}

CGridDefaultCell* CGridCtrl::GetDefaultCell(BOOL bFixedRow, BOOL bFixedCol) const
{
    auto* self = const_cast<CGridCtrl*>(this);
    if (bFixedRow && bFixedCol)
        return &self->m_cellFixedRowColDef;
    if (bFixedRow)
        return &self->m_cellFixedRowDef;
    if (bFixedCol)
        return &self->m_cellFixedColDef;
    return &self->m_cellDefault;
}

// ---- Cell access ----

BOOL CGridCtrl::SetItem(const GRIDITEM* pItem)
{
    if (!pItem || m_bVirtualMode)
        return FALSE;
    CGridCellBase* cell = GetCell(pItem->row, pItem->col);
    if (!cell)
        return FALSE;
    SetModified(TRUE, pItem->row, pItem->col);
    if (pItem->mask & GRIDITEM_TEXT)
        SetItemText(pItem->row, pItem->col, pItem->strText);
    if (pItem->mask & GRIDITEM_DATA)
        SetItemData(pItem->row, pItem->col, pItem->lParam);
    if (pItem->mask & GRIDITEM_IMAGE)
        SetItemImage(pItem->row, pItem->col, pItem->iImage);
    if (pItem->mask & GRIDITEM_STATE)
        SetItemState(pItem->row, pItem->col, pItem->nState);
    if (pItem->mask & GRIDITEM_FORMAT)
        cell->SetFormat(pItem->nFormat);
    if (pItem->mask & GRIDITEM_BKCLR)
        cell->SetBackClr(pItem->crBkClr);
    if (pItem->mask & GRIDITEM_FGCLR)
        cell->SetTextClr(pItem->crFgClr);
    if (pItem->mask & GRIDITEM_FONT)
        cell->SetFont(&pItem->lfFont);
    if (pItem->mask & GRIDITEM_MARGIN)
        cell->SetMargin(pItem->nMargin);
    return TRUE;
}

BOOL CGridCtrl::GetItem(GRIDITEM* pItem)
{
    if (!pItem)
        return FALSE;
    CGridCellBase* cell = GetCell(pItem->row, pItem->col);
    if (!cell)
        return FALSE;
    if (pItem->mask & GRIDITEM_TEXT)
        pItem->strText = GetItemText(pItem->row, pItem->col);
    if (pItem->mask & GRIDITEM_DATA)
        pItem->lParam = cell->GetData();
    if (pItem->mask & GRIDITEM_IMAGE)
        pItem->iImage = cell->GetImage();
    if (pItem->mask & GRIDITEM_STATE)
        pItem->nState = cell->GetState();
    if (pItem->mask & GRIDITEM_FORMAT)
        pItem->nFormat = cell->GetFormat();
    if (pItem->mask & GRIDITEM_BKCLR)
        pItem->crBkClr = cell->GetBackClr();
    if (pItem->mask & GRIDITEM_FGCLR)
        pItem->crFgClr = cell->GetTextClr();
    if (pItem->mask & GRIDITEM_FONT) {
        if (const LOGFONT* lf = cell->GetFont())
            pItem->lfFont = *lf;
    }
    if (pItem->mask & GRIDITEM_MARGIN)
        pItem->nMargin = cell->GetMargin();
    return TRUE;
}

BOOL CGridCtrl::SetItemText(int nRow, int nCol, LPCTSTR str)
{
    if (m_bVirtualMode)
        return FALSE;
    CGridCellBase* cell = GetCell(nRow, nCol);
    if (!cell)
        return FALSE;
    cell->SetText(str);
    SetModified(TRUE, nRow, nCol);
    return TRUE;
}

CString CGridCtrl::GetItemText(int nRow, int nCol) const
{
    const CGridCellBase* cell = GetCell(nRow, nCol);
    return cell ? CString(cell->GetText()) : CString();
}

BOOL CGridCtrl::SetItemData(int nRow, int nCol, LPARAM lParam)
{
    if (m_bVirtualMode)
        return FALSE;
    CGridCellBase* cell = GetCell(nRow, nCol);
    if (!cell)
        return FALSE;
    cell->SetData(lParam);
    SetModified(TRUE, nRow, nCol);
    return TRUE;
}

LPARAM CGridCtrl::GetItemData(int nRow, int nCol) const
{
    const CGridCellBase* cell = GetCell(nRow, nCol);
    return cell ? cell->GetData() : 0;
}

BOOL CGridCtrl::SetItemImage(int nRow, int nCol, int iImage)
{
    if (m_bVirtualMode)
        return FALSE;
    CGridCellBase* cell = GetCell(nRow, nCol);
    if (!cell)
        return FALSE;
    cell->SetImage(iImage);
    SetModified(TRUE, nRow, nCol);
    return TRUE;
}

int CGridCtrl::GetItemImage(int nRow, int nCol) const
{
    const CGridCellBase* cell = GetCell(nRow, nCol);
    return cell ? cell->GetImage() : -1;
}

BOOL CGridCtrl::SetItemState(int nRow, int nCol, UINT state)
{
    const BOOL selected = IsCellSelected(nRow, nCol);
    if (selected && !(state & GRIDSTATE_SELECTED))
        m_SelectedCellMap.Remove(nRow, nCol);
    else if (!selected && (state & GRIDSTATE_SELECTED) && IsValid(nRow, nCol))
        m_SelectedCellMap.Add(nRow, nCol);
    if (m_bVirtualMode)
        return FALSE;
    CGridCellBase* cell = GetCell(nRow, nCol);
    if (!cell)
        return FALSE;
    cell->SetState(state);
    return TRUE;
}

UINT CGridCtrl::GetItemState(int nRow, int nCol) const
{
    const CGridCellBase* cell = GetCell(nRow, nCol);
    return cell ? cell->GetState() : 0;
}

BOOL CGridCtrl::SetItemFormat(int nRow, int nCol, UINT nFormat)
{
    CGridCellBase* cell = m_bVirtualMode ? nullptr : GetCell(nRow, nCol);
    if (!cell)
        return FALSE;
    cell->SetFormat(nFormat);
    return TRUE;
}

UINT CGridCtrl::GetItemFormat(int nRow, int nCol) const
{
    const CGridCellBase* cell = GetCell(nRow, nCol);
    return cell ? cell->GetFormat() : 0;
}

BOOL CGridCtrl::SetItemBkColour(int nRow, int nCol, COLORREF cr)
{
    CGridCellBase* cell = m_bVirtualMode ? nullptr : GetCell(nRow, nCol);
    if (!cell)
        return FALSE;
    cell->SetBackClr(cr);
    return TRUE;
}

COLORREF CGridCtrl::GetItemBkColour(int nRow, int nCol) const
{
    const CGridCellBase* cell = GetCell(nRow, nCol);
    return cell ? cell->GetBackClr() : 0;
}

BOOL CGridCtrl::SetItemFgColour(int nRow, int nCol, COLORREF cr)
{
    CGridCellBase* cell = m_bVirtualMode ? nullptr : GetCell(nRow, nCol);
    if (!cell)
        return FALSE;
    cell->SetTextClr(cr);
    return TRUE;
}

COLORREF CGridCtrl::GetItemFgColour(int nRow, int nCol) const
{
    const CGridCellBase* cell = GetCell(nRow, nCol);
    return cell ? cell->GetTextClr() : 0;
}

BOOL CGridCtrl::SetItemFont(int nRow, int nCol, const LOGFONT* lf)
{
    CGridCellBase* cell = m_bVirtualMode ? nullptr : GetCell(nRow, nCol);
    if (!cell)
        return FALSE;
    cell->SetFont(lf);
    return TRUE;
}

const LOGFONT* CGridCtrl::GetItemFont(int nRow, int nCol)
{
    if (const CGridCellBase* cell = GetCell(nRow, nCol))
        return cell->GetFont();
    return GetDefaultCell(nRow < m_nFixedRows, nCol < m_nFixedCols)->GetFont();
}

BOOL CGridCtrl::IsItemEditing(int nRow, int nCol)
{
    const CGridCellBase* cell = GetCell(nRow, nCol);
    return cell ? cell->IsEditing() : FALSE;
}

void CGridCtrl::SetModified(BOOL bModified, int nRow, int nCol)
{
    if (nCol < 0 || nCol == m_nSortColumn)
        m_nSortColumn = -1;
    if (nRow < 0 || nCol < 0) {
        m_bModified = bModified;
    } else if (CGridCellBase* cell = m_bVirtualMode ? nullptr : GetCell(nRow, nCol)) {
        if (!bModified) {
            cell->SetState(cell->GetState() & ~GRIDSTATE_MODIFIED);
        } else {
            cell->SetState(cell->GetState() | GRIDSTATE_MODIFIED);
            m_bModified = TRUE;
        }
    }
    if (!m_bModified && !m_bVirtualMode) {
        for (int row = 0; row < m_nRows; ++row) {
            for (int col = 0; col < m_nCols; ++col) {
                if (CGridCellBase* cell = GetCell(row, col))
                    cell->SetState(cell->GetState() & ~GRIDSTATE_MODIFIED);
            }
        }
    }
}

BOOL CGridCtrl::GetModified(int nRow, int nCol)
{
    if (nRow < 0 || nCol < 0)
        return m_bModified;
    return (GetItemState(nRow, nCol) & GRIDSTATE_MODIFIED) != 0;
}

BOOL CGridCtrl::IsCellFixed(int nRow, int nCol) const
{
    return nRow < m_nFixedRows || nCol < m_nFixedCols;
}

BOOL CGridCtrl::IsCellEditable(int nRow, int nCol) const
{
    return m_bEditable && !(GetItemState(nRow, nCol) & GRIDSTATE_READONLY);
}

BOOL CGridCtrl::IsCellSelected(int nRow, int nCol) const
{
    if (!m_bEnableSelection)
        return FALSE;
    if (m_bVirtualMode)
        return m_SelectedCellMap.Contains(nRow, nCol);
    return (GetItemState(nRow, nCol) & GRIDSTATE_SELECTED) != 0;
}

void CGridCtrl::SetListMode(BOOL bEnableListMode)
{
    ResetSelectedRange();
    SetSortColumn(-1);
    m_bListMode = bEnableListMode;
    SetFixedColumnSelection(FALSE);
    Refresh();
}

void CGridCtrl::EnableSelection(BOOL bEnable)
{
    ResetSelectedRange();
    m_bEnableSelection = bEnable;
    ResetSelectedRange();
}
