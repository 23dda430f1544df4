// Sorting rows by one column.

#include "grid/compare.h"
#include "grid/grid_ctrl.h"

int CGridCtrl::CompareItemText(LPARAM lParam1, LPARAM lParam2, LPARAM)
{
    const auto* cell1 = reinterpret_cast<const CGridCellBase*>(lParam1);
    const auto* cell2 = reinterpret_cast<const CGridCellBase*>(lParam2);
    if (!cell1 || !cell2)
        return 0;
    return CompareAnsiText(cell1->GetText(), cell2->GetText());
}

int CGridCtrl::CompareItemNumber(LPARAM lParam1, LPARAM lParam2, LPARAM)
{
    const auto* cell1 = reinterpret_cast<const CGridCellBase*>(lParam1);
    const auto* cell2 = reinterpret_cast<const CGridCellBase*>(lParam2);
    if (!cell1 || !cell2)
        return 0;
    const std::int64_t a = LeadingInteger64(cell1->GetText());
    const std::int64_t b = LeadingInteger64(cell2->GetText());
    return a < b ? -1 : (a == b ? 0 : 1);
}

void CGridCtrl::SetSortColumn(int nCol)
{
    if (m_nSortColumn >= 0)
        InvalidateCellRect(0, m_nSortColumn);
    m_nSortColumn = nCol;
    if (nCol >= 0)
        InvalidateCellRect(0, nCol);
}

BOOL CGridCtrl::SortTextItems(int nCol, BOOL bAscending, LPARAM data)
{
    return SortItems(CompareItemText, nCol, bAscending, data);
}

BOOL CGridCtrl::SortItems(int nCol, BOOL bAscending, LPARAM data)
{
    return SortItems(m_pfnCompare ? m_pfnCompare : CompareItemText, nCol, bAscending, data);
}

BOOL CGridCtrl::SortItems(PFNGRIDCOMPARE pfnCompare, int nCol, BOOL bAscending, LPARAM data)
{
    // The cells move under an open editor: close it without taking its text.
    CancelEditing();
    SetSortColumn(nCol);
    SetSortAscending(bAscending);
    ResetSelectedRange();
    return SortItems(pfnCompare, nCol, bAscending, data, GetFixedRowCount(), -1);
}

BOOL CGridCtrl::SortItems(
    PFNGRIDCOMPARE pfnCompare, int nCol, BOOL bAscending, LPARAM data, int low, int high)
{
    if (nCol >= GetColumnCount() || nCol < 0 || !pfnCompare || m_bVirtualMode)
        return FALSE;
    if (high == -1)
        high = GetRowCount() - 2;
    if (low < 0 || high >= GetRowCount() || low >= high)
        return FALSE;

    const auto cellAt = [&](int row) { return reinterpret_cast<LPARAM>(GetCell(row, nCol)); };
    const LPARAM pivot = cellAt((low + high) / 2);
    int lo = low;
    int hi = high;
    while (lo <= hi) {
        if (bAscending) {
            while (lo < high && pfnCompare(cellAt(lo), pivot, data) < 0)
                ++lo;
            while (hi > low && pfnCompare(cellAt(hi), pivot, data) > 0)
                --hi;
        } else {
            while (lo < high && pfnCompare(cellAt(lo), pivot, data) > 0)
                ++lo;
            while (hi > low && pfnCompare(cellAt(hi), pivot, data) < 0)
                --hi;
        }
        if (lo <= hi) {
            if (pfnCompare(cellAt(lo), cellAt(hi), data) != 0) {
                for (int col = 0; col < GetColumnCount(); ++col) {
                    CGridCellBase* cellLo = GetCell(lo, col);
                    CGridCellBase* cellHi = GetCell(hi, col);
                    SetCell(lo, col, cellHi);
                    SetCell(hi, col, cellLo);
                }
                std::swap(m_arRowHeights[static_cast<size_t>(lo)], m_arRowHeights[static_cast<size_t>(hi)]);
            }
            ++lo;
            --hi;
        }
    }
    if (low < hi)
        SortItems(pfnCompare, nCol, bAscending, data, low, hi);
    if (lo < high)
        SortItems(pfnCompare, nCol, bAscending, data, lo, high);
    return TRUE;
}

void CGridCtrl::OnFixedRowClick(CGridCellCoord& cell)
{
    if (!IsValid(cell))
        return;
    if (GetHeaderSort()) {
        CWaitCursor wait;
        if (cell.col == GetSortColumn())
            SortItems(cell.col, !GetSortAscending());
        else if (cell.col == 1)
            SortItems(1, TRUE);
        Invalidate();
    }
    if (GetFixedRowSelection()) {
        if (cell.col < GetFixedColumnCount()) {
            m_MouseMode = GRIDMOUSE_SELECT_ALL;
            OnSelecting(cell);
        } else {
            m_MouseMode = GRIDMOUSE_SELECT_COL;
            OnSelecting(cell);
        }
    }
}

void CGridCtrl::OnFixedColumnClick(CGridCellCoord& cell)
{
    if (!IsValid(cell) || !GetFixedColumnSelection())
        return;
    if (cell.row < GetFixedRowCount()) {
        m_MouseMode = GRIDMOUSE_SELECT_ALL;
        OnSelecting(cell);
    } else {
        m_MouseMode = GRIDMOUSE_SELECT_ROW;
        OnSelecting(cell);
    }
}
