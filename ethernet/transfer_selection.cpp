#include "ethernet/transfer_selection.h"

#include <algorithm>

#include "grid/grid_ctrl.h"

namespace {

bool IsDataRow(int row, int rowCount)
{
    return row >= 1 && row <= rowCount - 2;
}

std::vector<int> DataRowsBetween(int a, int b, int rowCount)
{
    std::vector<int> rows;
    const int low = std::max(std::min(a, b), 1);
    const int high = std::min(std::max(a, b), rowCount - 2);
    for (int r = low; r <= high; ++r)
        rows.push_back(r);
    return rows;
}

std::vector<int> PickedDataRows(const std::vector<int>& picks, int rowCount)
{
    std::vector<int> rows;
    for (std::size_t i = 0; i < picks.size() && i < kMaxPickedRows && picks[i] != 0; ++i) {
        const int row = picks[i];
        if (IsDataRow(row, rowCount) && std::find(rows.begin(), rows.end(), row) == rows.end())
            rows.push_back(row);
    }
    return rows;
}

// The rules' choice once neither picks nor a shift range are set.
PickedRowList BlockRows(const TransferSelection& pick, int rowCount, PickRule rule)
{
    const bool spans = pick.firstRow != pick.lastRow && pick.lastRow != -1;
    const bool block
        = rule == PickRule::Transfer || (spans && (rule == PickRule::Delete || pick.lastRow != 0));
    if (block)
        return { DataRowsBetween(pick.firstRow, pick.lastRow, rowCount), true };
    if (rule == PickRule::Delete) {
        if (IsDataRow(pick.clickRow, rowCount))
            return { { pick.clickRow }, false };
        if (IsDataRow(rowCount - 2, rowCount))
            return { { rowCount - 2 }, false };
    }
    return {};
}

} // namespace

PickedRowList PickRows(const TransferSelection& pick, int rowCount, PickRule rule)
{
    if (pick.listFlag)
        return { PickedDataRows(pick.pickedRows, rowCount), true };
    if (pick.rangeFlag)
        return { DataRowsBetween(pick.rangeA, pick.rangeB, rowCount), true };
    return BlockRows(pick, rowCount, rule);
}

std::vector<int> PickedRows(const TransferSelection& pick, int rowCount, PickRule rule)
{
    return PickRows(pick, rowCount, rule).rows;
}

TransferSelection GridPickState(const CGridCtrl& grid)
{
    TransferSelection pick;
    pick.listFlag = grid.m_bCtrlPick;
    for (const int row : grid.m_PickList) {
        if (row == 0)
            break;
        pick.pickedRows.push_back(row);
    }
    pick.rangeFlag = grid.m_bShiftPick;
    pick.rangeA = grid.m_nAnchorRowA;
    pick.rangeB = grid.m_nAnchorRowB;
    pick.firstRow = grid.m_nDownRow;
    pick.lastRow = grid.m_nUpRow;
    pick.clickRow = grid.m_nClickRow;
    return pick;
}
