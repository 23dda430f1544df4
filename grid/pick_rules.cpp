#include "grid/pick_rules.h"

#include <algorithm>

#include "grid/pick_list.h"

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
    for (std::size_t i = 0; i < picks.size() && i < kPickListSize && picks[i] != 0; ++i) {
        const int row = picks[i];
        if (IsDataRow(row, rowCount) && std::find(rows.begin(), rows.end(), row) == rows.end())
            rows.push_back(row);
    }
    return rows;
}

// The rules' choice once neither picks nor a shift range are set.
PickedRowList BlockRows(const GridPicks& pick, int rowCount, PickRule rule)
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

PickedRowList PickRows(const GridPicks& pick, int rowCount, PickRule rule)
{
    if (pick.listFlag)
        return { PickedDataRows(pick.pickedRows, rowCount), true };
    if (pick.rangeFlag)
        return { DataRowsBetween(pick.rangeA, pick.rangeB, rowCount), true };
    return BlockRows(pick, rowCount, rule);
}

std::vector<int> PickedRows(const GridPicks& pick, int rowCount, PickRule rule)
{
    return PickRows(pick, rowCount, rule).rows;
}

bool MarksOneRow(const GridPicks& pick)
{
    return !pick.listFlag && !pick.rangeFlag && pick.firstRow == pick.lastRow;
}
